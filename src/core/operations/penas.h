#pragma once

#include <QDate>
#include <QString>

#include "operations/sorteos.h"
#include "store/almacen.h"

namespace sortilan::operaciones {

// Every change of the peña file, for the window and the command line alike. Each one
// takes the folder lock, reads the files again, works on what it read, replaces the
// files whole and counts the prizes still to count. A failure changes nothing.

// Most peñas the file holds: its record counter is 16-bit.
inline constexpr int kMaximoPenas = 32766;

struct Alta {
  Resultado resultado;
  int registro = 0;  // record number of the new peña
};

// Appends `nueva` after the last whole record (never over an existing one), once the
// first peña and the newest draw are not dated after `hoy`.
Alta crearPena(Almacen& almacen, const Pena& nueva, const QDate& hoy);

// The question asked before deleting a peña.
QString preguntaBorrarPena(const Pena& pena);
// Deletes record `registro`, moving the later peñas up, provided it still holds
// `esperada` (the peña the user was asked about): another program may have moved it.
Resultado borrarPena(Almacen& almacen, int registro, const Pena& esperada);

// Counts the draws each peña has not counted yet. Reads first and takes the lock only
// when there is something to count or to clear, so a start with nothing to do changes
// nothing. A damaged draw file is not counted from.
Resultado contarPremios(Almacen& almacen);

// A damaged peña file (Sesion::penasDanadas): kept under a name not yet used
// (apuestas.err, then apuestas.2.err, ...) and an empty peña file left. Nothing of it is
// read into a peña. Shows nothing: the caller tells kPenasCorruptas and where it went.
Apartado apartarPenasDanadas(Almacen& almacen);

// Prize counters and last count to zero, creation date to `hoy`, for every peña.
Resultado reiniciarContadores(Almacen& almacen, const QDate& hoy);

}  // namespace sortilan::operaciones
