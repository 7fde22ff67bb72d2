#pragma once

#include <array>
#include <cstdint>

#include "store/pena.h"
#include "store/sorteo.h"

namespace sortilan {

// The bets of a peña as 64-bit masks (bit n for number n), so that checking, counting
// and money find a bet's hits with one AND and one population count.
struct MascarasPena {
  std::array<uint64_t, Pena::kFilas> mascaras{};
  int filas = 0;         // 24 at most for simple bets, 1 for a multiple, 0 for a corrupt kind
  uint32_t limpias = 0;  // bit b: row b holds distinct numbers in 1..54, its hits are a popcount
};
MascarasPena mascarasPena(const Pena& pena);

using AciertosFilas = std::array<uint8_t, Pena::kFilas>;

// Hits of each of the `n` masks against a draw's mask. Picks the processor's population
// count instruction where there is one, the portable count otherwise.
void aciertosMascaras(const uint64_t* mascaras, int n, uint64_t sorteo, uint8_t* aciertos);

// Hits of each row of the peña in the draw: the masks for clean rows, position by position
// for odd ones (a repeated number, a number out of range), as they were always counted.
void aciertosPena(const MascarasPena& m, const Pena& pena, const Sorteo& sorteo, AciertosFilas& aciertos);

}  // namespace sortilan
