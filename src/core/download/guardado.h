#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <array>
#include <functional>
#include <vector>

#include "base/resultado.h"
#include "store/almacen.h"

namespace sortilan {

// What storing new draws did.
struct Guardado {
  Resultado resultado;  // a failure names the reason; `permiso` when a file could not be written
  int guardados = 0;    // draws now in the draw file that were not before
};

// What one answer of the results service leaves to store, as one change: its new draws
// (oldest first), and, when the answer was accepted whole, the answer itself (for its
// prize tables) and its record for "www.txt". A refused answer brings neither.
struct Descargado {
  std::vector<Sorteo> nuevos;
  QByteArray respuesta;
  QByteArray buffer;
};

// The store of an answer, given to the parts below the operations layer (the download
// sequence) by whoever creates them: operaciones::guardarDescarga.
using GuardarDescarga = std::function<Guardado(Almacen& almacen, Descargado descargado, const QDate& hoy)>;

// Why `nuevos` (oldest first) cannot follow `ultimo`, the newest stored draw (zero in an
// empty file), as the sentence shown to the user; "" when every one of them can: each
// newer than the one before, none after `hoy`, each with a sound combination.
QString motivoNuevos(const Sorteo& ultimo, const std::vector<Sorteo>& nuevos, const QDate& hoy);

// A draw typed in by the user.
struct SorteoAMano {
  QDate fecha;
  std::array<int, 5> numeros{};
  int clave = -1;
};

// Why `s` cannot be added, as the sentence shown to the user; "" when it can. `faltan`
// receives the draw days between the newest stored draw and it: adding it would leave
// them out of the history for good, so the user is asked first.
QString motivoSorteoAMano(Almacen& almacen, const SorteoAMano& s, const QDate& hoy, int* faltan = nullptr);
// The record of a draw typed in, numbers ascending as downloaded draws are.
Sorteo sorteoDe(const SorteoAMano& s);

// The question before draws are added after a gap of `faltan` draw days following the
// newest stored draw; `primero` is the date of the first draw to be added.
QString preguntaHueco(double ultimaFecha, const QDate& primero, int faltan);

// The history steps at most 8 days (the last Saturday draw of 2006 to the next Sunday):
// a first new draw further after the newest stored one leaves a hole that no later
// download fills. An empty history has no hole.
bool dejaHueco(double ultimaFecha, double primeraNueva);
// The question before such draws are stored, naming the missing period.
QString preguntaHuecoRespuesta(double ultimaFecha, double primeraNueva);

// Titles of the two ways in that need no service.
extern const QString kTituloAMano;
extern const QString kTituloCsv;

}  // namespace sortilan
