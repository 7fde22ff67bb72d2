#pragma once

#include <QRandomGenerator>
#include <array>
#include <vector>

#include "store/pena.h"
#include "store/sorteo.h"

namespace sortilan::prueba {

// The prize counters a peña must hold, worked out in the plainest way: every stored draw
// dated on or after its creation, every simple bet (each 5-number combination of a
// multiple enumerated one by one), clamped at 32767 like the file.
std::array<int16_t, 8> cuentaReferencia(const Pena& pena, const std::vector<Sorteo>& sorteos);

// Peñas of every kind (simple of 1 to 24 bets, multiples of 6 to 11 numbers), created
// around the dates of `sorteos`, counters at zero.
std::vector<Pena> penasAlAzar(QRandomGenerator& g, const std::vector<Sorteo>& sorteos, int cuantas);

// The real history of tests/data, oldest first.
std::vector<Sorteo> historiaReal();

}  // namespace sortilan::prueba
