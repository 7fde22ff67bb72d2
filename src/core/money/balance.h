#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <functional>
#include <span>
#include <vector>

#include "base/resultado.h"
#include "money/cobros.h"
#include "money/cuentas.h"

namespace sortilan {

// What is still to collect of one peña: its pending collections.
struct PorCobrar {
  int cobros = 0;
  Centimos neto = 0;       // of those whose amount is known
  bool pendiente = false;  // some amount is not known yet
};

// What a peña lost: prizes past their last day that nobody collected. Never part of
// what it won.
struct Caducado {
  Centimos importe = 0;  // of those whose amount is known
  int sinImporte = 0;    // prize bets among them whose amount is not known
};

// How much of the money to work out: a command that prints one peña, or only what may
// still be collected, needs no more.
struct AlcanceCuentas {
  int registro = 0;           // only the peña of this record; 0: every peña
  bool soloVigentes = false;  // only the draws whose last day to collect is not past
};

// The money of every peña, worked out from the draws, the peñas' bets and the prize
// tables and collections of sortilan.db.
struct Cuentas {
  Centimos precio = kPrecioPorDefecto;
  std::vector<CuentaPena> penas;  // the peñas with a valid kind of bet, in record order
  std::vector<Cobro> cobros;      // oldest draw first, then record order
  TablasPremios tablas;
  // The first collection whose last day is not past: the expired ones before it are
  // kept for the lists but never looked at again for what is still to collect.
  size_t primerVigente = 0;
  std::vector<PorCobrar> porCobrarPenas;  // beside `penas`
  std::vector<Caducado> caducadoPenas;    // beside `penas`

  // What the money was worked out from, so that after a change only what it touched is
  // worked out again (actualizarCuentas).
  struct Origen {
    std::vector<Pena> penas;
    std::vector<Sorteo> sorteos;
    CobrosMarcados marcados;
    std::vector<std::optional<qint64>> ids;
    QDate hoy;
    bool completo = false;  // every peña and every draw
  };
  Origen origen;

  const CuentaPena* pena(int registro) const;
  const Cobro* cobro(int registro, const QDate& fecha) const;
  // Every collection that may still be pending (the collected ones among them).
  std::span<const Cobro> vigentes() const { return std::span<const Cobro>(cobros).subspan(primerVigente); }
  PorCobrar porCobrar(int registro) const;
  Caducado caducado(int registro) const;
  // Whether the prize of that draw expired without being collected.
  bool caducado(int registro, const QDate& fecha) const;
  // What a peña won and has collected or may still collect: the known amounts, lost
  // prizes left out.
  Centimos ganado(int registro) const;
  // Prize bets without an amount yet, lost prizes left out.
  int premiosSinImporte(int registro) const;
  Centimos coste() const;
  Centimos ganado() const;    // every peña
  Centimos caducado() const;  // every peña
};

// What the money needs from sortilan.db and sortilan.ini besides the data files.
struct DatosDinero {
  TablasPremios tablas;
  CobrosMarcados marcados;
  std::vector<std::optional<qint64>> ids;  // beside the peñas of the file
  Centimos precio = kPrecioPorDefecto;
  IniciosPenas inicios;
};
// Reads sortilan.db (never creating it) and the price of sortilan.ini in `carpeta`.
// Without what the database holds, `datos` has no tables and no marks and the reason is
// returned: every prize then reads "importe pendiente".
Resultado leerDatosDinero(const QString& carpeta, const std::vector<Pena>& penas, DatosDinero& datos);

// Reads sortilan.db (never creating it) and the price of sortilan.ini in `carpeta`.
// `penas` and `sorteos` are the records of the data files, in file order.
Resultado leerCuentas(const QString& carpeta, const std::vector<Pena>& penas, const std::vector<Sorteo>& sorteos,
                      const QDate& hoy, Cuentas& cuentas, const AlcanceCuentas& alcance = {});
// The money of the deleted peña "B`numero`" (as record 1), over the draws it played.
Resultado leerCuentasBorrada(const QString& carpeta, int numero, const std::vector<Sorteo>& sorteos, const QDate& hoy,
                             Cuentas& cuentas, PenaBorrada* borrada = nullptr);
// Every deleted peña's money together, each under its number as record ("B2" is 2) and
// named as the windows list it; `borradas` gets them in the same order.
Resultado leerCuentasBorradas(const QString& carpeta, const std::vector<Sorteo>& sorteos, const QDate& hoy,
                              Cuentas& cuentas, std::vector<PenaBorrada>& borradas);
// The same on the tables, marks and ids already read.
Cuentas calcularCuentas(const std::vector<Pena>& penas, const std::vector<Sorteo>& sorteos, const TablasPremios& tablas,
                        const CobrosMarcados& marcados, const std::vector<std::optional<qint64>>& ids, Centimos precio,
                        const QDate& hoy, const AlcanceCuentas& alcance = {});

// The money of `previas` brought up to date with the data as they are now. Only the peñas
// that are new or changed, the draws added after the last one, the draws whose table
// changed and the collections whose mark changed are worked out again; the rest is kept.
// What it cannot follow (draws deleted or replaced, another price or day, money worked out
// in part) is worked out whole. The result equals calcularCuentas on the same data.
Cuentas actualizarCuentas(Cuentas previas, const std::vector<Pena>& penas, const std::vector<Sorteo>& sorteos,
                          TablasPremios tablas, CobrosMarcados marcados, const std::vector<std::optional<qint64>>& ids,
                          Centimos precio, const QDate& hoy);
// leerCuentas for the window after a change: reads sortilan.db and sortilan.ini again and
// brings `cuentas` up to date with actualizarCuentas.
Resultado releerCuentas(const QString& carpeta, const std::vector<Pena>& penas, const std::vector<Sorteo>& sorteos,
                        const QDate& hoy, Cuentas& cuentas);

// The collections of `Cuentas::cobros`, in its order, handed over one at a time as they are
// worked out, so that a long list never has to be held whole.
void recorrerCobros(const std::vector<Pena>& penas, const std::vector<Sorteo>& sorteos, const DatosDinero& datos,
                    const QDate& hoy, const AlcanceCuentas& alcance, const std::function<void(const Cobro&)>& cobro);

// "Premios por cobrar: 2 (1.234,56 €)"; "(1.234,56 € + importe pendiente)" when some amount
// is unknown, "(importe pendiente)" when none is known.
QString textoPorCobrar(std::span<const Cobro> cobros);
// The start-up warning for collections at most 14 days from their last day; empty when none.
QString avisoCobrosUrgentes(std::span<const Cobro> cobros, const QDate& hoy);

// "3ª: 1 × 47.445,95 €; reintegro: 2 × 1,50 €"; "importe pendiente" for an unknown prize.
QString textoPremios(const CuentaSorteo& s);
// The state of a collection as the window and the CSV show it: "pendiente hasta el 07/06/2021",
// "cobrado el 10/03/2021", "caducado el 07/06/2021".
QString textoCobro(const Cobro& c);

// The per-draw table of a peña as the window shows it, newest first, as CSV for a
// spreadsheet: UTF-8, ';', decimal comma, CRLF.
QByteArray csvSorteos(const CuentaPena& pena, const Cuentas& cuentas);

}  // namespace sortilan
