#pragma once

#include <QDate>
#include <QString>
#include <vector>

#include "base/resultado.h"
#include "members/socios.h"
#include "money/registrodinero.h"
#include "store/basedatos.h"
#include "store/pena.h"
#include "store/sorteo.h"

namespace sortilan {

// What sortilan.db keeps of the members of the peñas. Readers accept a database that is
// not open (no file yet): nobody is stored. Writers run inside a transaction.

// The members, their movements and the splits of peña `pena` (its id).
Resultado leerSociosGuardados(BaseDatos& base, qint64 pena, SociosPena& p);

// Adds a member with their first period; `numero` is the next number of the peña.
Resultado insertarSocio(BaseDatos& base, qint64 pena, const Socio& datos, int& numero);
// Replaces every period of member `socio` with `periodos`.
Resultado escribirPeriodos(BaseDatos& base, qint64 socio, const std::vector<Periodo>& periodos);
Resultado insertarMovimiento(BaseDatos& base, const MovimientoGuardado& m, qint64 reparto = 0);
// Records a split with its parts (`r.id` is set); a paid-out split records a payout of
// each member's net on the day it was made.
Resultado insertarReparto(BaseDatos& base, qint64 pena, Reparto& r);
// Voids movement `movimiento` on `fecha`; `repartoAnulado`: the voided split it paid out.
Resultado insertarAnulacion(BaseDatos& base, qint64 movimiento, const QDate& fecha, const QString& motivo,
                            qint64 repartoAnulado = 0);
// Moves split `r` (in force, read with its parts) to the voided ones on `fecha`, voiding
// the payouts it made, so that its prize can be split again.
Resultado anularRepartoGuardado(BaseDatos& base, qint64 pena, const Reparto& r, const QDate& fecha,
                                const QString& motivo);

// The members' side of peña `registro` (1-based record of `penas`) read from the data
// folder: sortilan.db (never created here) and the price of sortilan.ini, with the cost
// of every draw of `sorteos` the peña played. A peña the database does not know yet has
// no members. On a failure `p` still holds the peña's name and costs.
Resultado leerSociosPena(const QString& carpeta, const std::vector<Pena>& penas, const std::vector<Sorteo>& sorteos,
                         int registro, SociosPena& p);

// The same for the deleted peña "B`numero`", over the draws it played. `borrada`, when
// given, receives what is kept of it.
Resultado leerSociosPenaBorrada(const QString& carpeta, const std::vector<Sorteo>& sorteos, int numero, SociosPena& p,
                                PenaBorrada* borrada = nullptr);

// A deleted peña as its list shows it: its members and what they hold together.
struct ResumenBorrada {
  PenaBorrada pena;
  int socios = 0;
  Centimos saldo = 0;  // the sum of its members' balances
};
// Every deleted peña kept in sortilan.db (none without the file), in order of deletion.
Resultado leerPenasBorradas(const QString& carpeta, const std::vector<Sorteo>& sorteos,
                            std::vector<ResumenBorrada>& borradas);

}  // namespace sortilan
