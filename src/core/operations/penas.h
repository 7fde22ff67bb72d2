#pragma once

#include <QDate>
#include <QString>
#include <vector>

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

// What sortilan.db keeps of a peña, which stays when the peña is deleted.
struct ConservaPena {
  int socios = 0;
  int movimientos = 0;
  int cobros = 0;
  int repartos = 0;
  int papeles = 0;
  bool algo() const { return socios + movimientos + cobros + repartos + papeles > 0; }
};
// Read without the lock, for the question; nothing when the database cannot be read.
ConservaPena conservaPena(const QString& carpeta, const std::vector<Pena>& penas, int registro);
// "Tiene 4 socios y 12 movimientos; sus saldos y extractos se conservan."; empty when nothing is kept.
QString lineaConservaPena(const ConservaPena& c);

// The question asked before deleting a peña: it says what of it is kept.
QString preguntaBorrarPena(const Pena& pena, const ConservaPena& conserva = {});
// Deletes record `registro`, moving the later peñas up, provided it still holds
// `esperada` (the peña the user was asked about): another program may have moved it.
// Whatever sortilan.db keeps of it stays there as a deleted peña dated `hoy`, in the same
// change. `borrada`, when given, receives what was kept and its number.
struct PenaConservada {
  int numero = 0;  // "B1" is 1; 0 when nothing was kept
  ConservaPena conserva;
};
Resultado borrarPena(Almacen& almacen, int registro, const Pena& esperada, const QDate& hoy,
                     PenaConservada* borrada = nullptr);

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
