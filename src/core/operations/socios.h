#pragma once

#include <QDate>
#include <QString>

#include "base/dinero.h"
#include "base/resultado.h"
#include "members/socios.h"
#include "store/almacen.h"

namespace sortilan::operaciones {

// Changes of the members of a peña. Each takes the folder lock and one transaction of
// sortilan.db, reading the peñas again inside it; `registro` is the peña's 1-based record.
// A change dated on or before a draw whose prize is already split is refused: the split
// recorded who held shares that day.

struct DatosSocio {
  QString nombre;
  QString nif;
  QString contacto;
};

// A new member holding `participaciones` from `desde`; `numero` receives their number.
// A name or NIF already in the peña is refused: a member appears once per peña.
Resultado altaSocio(Almacen& almacen, int registro, const DatosSocio& datos, int participaciones, const QDate& desde,
                    int* numero = nullptr);
// The member holds no shares from `desde` on.
Resultado bajaSocio(Almacen& almacen, int registro, int numero, const QDate& desde);
// From `desde` on the member holds `participaciones`: a leave and a join on that day, so
// earlier draws keep the shares they had. A member who left joins again this way.
Resultado cambiarParticipaciones(Almacen& almacen, int registro, int numero, int participaciones, const QDate& desde);
// A contribution received from a member or a payout to them (`concepto` Aportacion or Pago).
Resultado anotarMovimiento(Almacen& almacen, int registro, int numero, Concepto concepto, Centimos importe,
                           const QDate& fecha, const QDate& hoy);
// Splits the collected prize of draw `sorteo` among the members holding shares that day:
// paid out (a payout of each member's net, dated today) or kept in the peña. The
// collection must be marked collected, and a prize is split only once.
Resultado repartirPremio(Almacen& almacen, int registro, const QDate& sorteo, bool pagar, const QDate& hoy);

// Voids contribution or payout `movimiento` (its number in the statement) of member
// `numero`: a reversing entry dated `hoy`, with the reason if given; both stay in the
// statement and the balance counts neither. A payout made by a split is voided with the
// split, never alone.
Resultado anularMovimiento(Almacen& almacen, int registro, int numero, qint64 movimiento, const QString& motivo,
                           const QDate& hoy);
// Voids the split of the prize of draw `sorteo` as a whole (its parts and the payouts it
// made), after which the prize can be split again.
Resultado anularReparto(Almacen& almacen, int registro, const QDate& sorteo, const QString& motivo, const QDate& hoy);

}  // namespace sortilan::operaciones
