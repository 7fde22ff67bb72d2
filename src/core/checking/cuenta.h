#pragma once

#include <array>
#include <vector>

#include "store/pena.h"
#include "store/sorteo.h"

namespace sortilan {

// Numbers of bet row `fila` (its first `numeros`) that are among the five drawn.
int aciertosApuesta(const Pena& pena, int fila, int numeros, const Sorteo& sorteo);

// Prizes of a peña in one draw by the prize rules of simple and multiple bets (the
// breakdown of a multiple included), indexed like Pena::aciertos (0 = 8ª .. 7 = 1ª).
// All zero for a record whose kind of bet is corrupt.
std::array<int, 8> premiosDelSorteo(const Pena& pena, const Sorteo& sorteo);
// The same with the peña's masks worked out once for many draws.
struct MascarasPena;
std::array<int, 8> premiosDelSorteo(const MascarasPena& mascaras, const Pena& pena, const Sorteo& sorteo);

// The counting rule, apart from anything shown: every peña counts each draw dated after
// its `ultimacuenta` and not before its `creacion`, and `ultimacuenta` becomes the newest
// draw counted. Counting twice counts nothing more. `sorteos` oldest first. True when a
// peña changed. Records of a corrupt kind of bet are left as they are.
bool contarPremios(std::vector<Pena>& penas, const std::vector<Sorteo>& sorteos);

// The counters when the stored draws change from `viejos` to `nuevos` (both sound, oldest
// first). A draw a peña had counted that is no longer there (deleted, or replaced by an
// import) takes its prizes back out: `retrocedidas` takes out everything the peña counted
// from the draw before the first such one on, and moves `ultimacuenta` back there; that
// state is right for either list of draws, so it is written before the draws change.
// `finales`: then counted forward over `nuevos`. A crash between the writes is repaired
// by counting again from whichever draw file is on disk. Draws not later than
// `ultimacuenta` that only `nuevos` holds count as counted already, as the field says
// (an older version kept the counters of the draws it deleted).
struct Recuento {
  std::vector<Pena> retrocedidas;
  std::vector<Pena> finales;
  bool retrocede = false;  // retrocedidas differs from what was read
  bool cambia = false;     // finales differs from what was read
};
Recuento recontar(const std::vector<Pena>& penas, const std::vector<Sorteo>& viejos, const std::vector<Sorteo>& nuevos);

}  // namespace sortilan
