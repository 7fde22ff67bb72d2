#pragma once

#include <QDate>
#include <QString>

namespace sortilan {

// Dates are stored as OLE day counts: days since 30 December 1899, 0 = no date.
QDate fechaDesdeOle(double dias);
double oleDesdeFecha(const QDate& fecha);

// Spanish weekday name, Sunday first: "Domingo" .. "Sábado".
QString diasemana(const QDate& fecha);
QString diasemana(double oleFecha);

// "Domingo, 7 de marzo del 2021".
QString fechaLarga(double oleFecha);

// The short date of the lists: dd/MM/yyyy on every system.
QString fechaCorta(double oleFecha);
QString fechaCorta(const QDate& fecha);

// Number with one decimal, ties to even, shortest form, decimal comma ("33,3", "50").
QString unDecimal(double valor);
// The same text for a count of tenths: 125 -> "12,5", 500 -> "50".
QString unDecimalDeDecimas(long long decimas);

}  // namespace sortilan
