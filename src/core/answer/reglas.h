#pragma once

#include <QDate>
#include <QString>

#include "store/sorteo.h"

namespace sortilan {

// The checks every draw passes before it is stored, whatever brought it (the results
// service, a CSV file or the keyboard). Each gives the reason in Spanish, or "" when
// the draw passes.

// A real calendar day, not after today.
QString motivoFecha(const QDate& fecha, const QDate& hoy);
// Five different numbers 1..54 and a key number 0..9.
QString motivoCombinacion(const Sorteo& s);

// The game is drawn on Sundays; from 22 October 2005 to 1 July 2006 it was drawn on
// Saturdays. Draws typed in or imported by the user must fall on one of those days: a
// slip of the date, or a history of another game, is refused instead of being stored.
bool esDiaDeSorteo(const QDate& fecha);
QString motivoDia(const QDate& fecha);

// Draw days strictly between two dates: the draws a history would lack if the later
// one followed the earlier directly.
int sorteosEntre(const QDate& desde, const QDate& hasta);

}  // namespace sortilan
