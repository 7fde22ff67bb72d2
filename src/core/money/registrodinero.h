#pragma once

#include <QByteArray>
#include <QDate>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "base/resultado.h"
#include "money/tablapremios.h"
#include "store/basedatos.h"
#include "store/pena.h"
#include "store/sorteo.h"

namespace sortilan {

// What sortilan.db keeps for the money side: prize tables, peñas by id, collections.
// Readers accept a database that is not open (no file yet): there is nothing stored.

using TablasPremios = std::map<QDate, TablaPremios>;

Resultado leerTablas(BaseDatos& base, TablasPremios& tablas);
// Each table over the stored one of its draw (see combinar); `cambiadas` counts the
// tables that were new or changed. Inside a transaction.
Resultado guardarTablas(BaseDatos& base, const std::vector<TablaPremios>& tablas, int* cambiadas = nullptr);

// Record numbers move up when a peña is deleted, so the database knows a peña by the
// fingerprint of what never changes in its record (name, kind of bet, bets) and keeps
// the record number it last had.
QByteArray huellaPena(const Pena& p);

struct PenaGuardada {
  qint64 id = 0;
  QByteArray huella;
  std::optional<int> registro;
};

// The stored id of each peña of the file, in record order; empty for a peña the database
// does not know yet. Two peñas with the same fingerprint keep their record order.
std::vector<std::optional<qint64>> emparejarPenas(const std::vector<PenaGuardada>& guardadas,
                                                  const std::vector<Pena>& penas);
Resultado leerPenas(BaseDatos& base, std::vector<PenaGuardada>& penas);
// The peñas the file may hold: a deleted one (penas_borradas) is left out.
// Records the peñas of the file: a new one gets an id, one that is gone loses its record
// number (its history stays). Their ids in record order. Inside a transaction.
Resultado registrarPenas(BaseDatos& base, const std::vector<Pena>& penas, std::vector<qint64>& ids);

// The day a peña really started playing, kept when a reset of its counters moved the
// creation of its record on to `reinicio`: what it played before stays played.
struct InicioPena {
  QDate inicio;
  QDate reinicio;
};
using IniciosPenas = std::map<qint64, InicioPena>;
Resultado leerInicios(BaseDatos& base, IniciosPenas& inicios);
// Before a reset moves the creation of every peña of `penas` (their ids beside) to `hoy`:
// keeps where each one's money starts. Inside a transaction.
Resultado guardarInicios(BaseDatos& base, const std::vector<Pena>& penas, const std::vector<qint64>& ids,
                         const QDate& hoy);
// The peñas as their money sees them: a peña whose creation is still the day of its reset
// plays from the day it really started.
std::vector<Pena> penasDelDinero(std::vector<Pena> penas, const std::vector<std::optional<qint64>>& ids,
                                 const IniciosPenas& inicios);
// The same for the peñas of the file, with their ids read from `base` (not open: as they are).
Resultado leerPenasDelDinero(BaseDatos& base, std::vector<Pena>& penas);

// A deleted peña whose members, movements, collections or papers stay in sortilan.db.
// Known as "B1", "B2", ... (`numero`, in order of deletion); only read, never changed.
struct PenaBorrada {
  qint64 id = 0;
  int numero = 0;
  QString nombre;
  QDate borrada;
  Pena pena;               // its record as it was when deleted
  QDate ultimoSorteo;      // the newest draw stored then; invalid when there was none
  QString codigo() const;  // "B1"
  // The draws it played: those stored up to its deletion.
  std::vector<Sorteo> jugados(const std::vector<Sorteo>& sorteos) const;
};
// "B1. NOMBRE (borrada el 10/12/2026)": how the windows list it.
QString textoPenaBorrada(const PenaBorrada& b);
// "B1" or "b1" into 1; 0 for anything else.
int numeroPenaBorrada(const QString& texto);
// Every deleted peña kept, in order of deletion.
Resultado leerPenasBorradas(BaseDatos& base, std::vector<PenaBorrada>& borradas);
// The deleted peña `numero`; a failure naming it when there is none.
Resultado leerPenaBorrada(BaseDatos& base, int numero, PenaBorrada& borrada);
// Keeps the stored peña `id` as deleted on `hoy` with its record, and gives it the next
// number; it is never matched to a peña of the file again. Inside a transaction.
Resultado guardarPenaBorrada(BaseDatos& base, qint64 id, const Pena& pena, const QDate& hoy, const QDate& ultimoSorteo,
                             int& numero);

// Collections the user marked: (peña id, draw date) -> day collected.
using CobrosMarcados = std::map<std::pair<qint64, QDate>, QDate>;
Resultado leerCobros(BaseDatos& base, CobrosMarcados& cobros);
// Marks a collection, or with no day takes the mark away. Inside a transaction.
Resultado ponerCobro(BaseDatos& base, qint64 pena, const QDate& sorteo, const std::optional<QDate>& cobrado);

}  // namespace sortilan
