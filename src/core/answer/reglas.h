#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringView>

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

// A number of a draw as the user writes it: one or two digits and nothing else. A sign,
// a decimal point or a letter is refused (-1), never read as a neighbouring number.
int numeroEscrito(QStringView texto);
// "N N N N N", also with commas, semicolons or dashes between the numbers: the five
// numbers, or an empty list when anything else is written (a sign before a number).
QList<int> numerosEscritos(const QString& texto);

// Draw days strictly between two dates: the draws a history would lack if the later
// one followed the earlier directly.
int sorteosEntre(const QDate& desde, const QDate& hasta);

}  // namespace sortilan
