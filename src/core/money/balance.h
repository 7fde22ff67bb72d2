#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <vector>

#include "base/resultado.h"
#include "money/cobros.h"
#include "money/cuentas.h"

namespace sortilan {

// The money of every peña, worked out from the draws, the peñas' bets and the prize
// tables and collections of sortilan.db.
struct Cuentas {
  Centimos precio = kPrecioPorDefecto;
  std::vector<CuentaPena> penas;  // the peñas with a valid kind of bet, in record order
  std::vector<Cobro> cobros;      // oldest draw first, then record order
  TablasPremios tablas;

  const CuentaPena* pena(int registro) const;
  const Cobro* cobro(int registro, const QDate& fecha) const;
  Centimos coste() const;
  Centimos ganadoConocido() const;
};

// Reads sortilan.db (never creating it) and the price of sortilan.ini in `carpeta`.
// `penas` and `sorteos` are the records of the data files, in file order.
Resultado leerCuentas(const QString& carpeta, const std::vector<Pena>& penas, const std::vector<Sorteo>& sorteos,
                      const QDate& hoy, Cuentas& cuentas);
// The same on the tables, marks and ids already read.
Cuentas calcularCuentas(const std::vector<Pena>& penas, const std::vector<Sorteo>& sorteos, const TablasPremios& tablas,
                        const CobrosMarcados& marcados, const std::vector<std::optional<qint64>>& ids, Centimos precio,
                        const QDate& hoy);

// "Premios por cobrar: 2 (1.234,56 €)"; "+ importe pendiente" when some amount is unknown.
QString textoPorCobrar(const std::vector<Cobro>& cobros);
// The start-up warning for collections at most 14 days from their last day; empty when none.
QString avisoCobrosUrgentes(const std::vector<Cobro>& cobros, const QDate& hoy);

// "3ª: 1 × 47.445,95 €; reintegro: 2 × 1,50 €"; "importe pendiente" for an unknown prize.
QString textoPremios(const CuentaSorteo& s);
// The state of a collection as the window and the CSV show it: "pendiente hasta el 07/06/2021",
// "cobrado el 10/03/2021", "caducado el 07/06/2021".
QString textoCobro(const Cobro& c);

// The per-draw table of a peña as the window shows it, newest first, as CSV for a
// spreadsheet: UTF-8, ';', decimal comma, CRLF.
QByteArray csvSorteos(const CuentaPena& pena, const Cuentas& cuentas);

}  // namespace sortilan
