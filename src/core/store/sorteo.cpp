#include "store/sorteo.h"

#include <bit>
#include <cmath>

#include "store/codec.h"

namespace sortilan {

bool Sorteo::valido() const {
  for (int i = 0; i < 5; ++i)
    if (numeros[i] < 1 || numeros[i] > 54) return false;
  return numeros[5] >= 0 && numeros[5] <= 9;
}

bool Sorteo::registroSano() const {
  // Day 32874 is 1 January 1990, long before the first draw of the game; day 2958465 is
  // 31 December 9999, the last one the date encoding can stand for.
  constexpr double kPrimerDia = 32874;
  constexpr double kUltimoDia = 2958465;
  if (!valido() || !std::isfinite(fecha) || fecha <= kPrimerDia || fecha > kUltimoDia || std::floor(fecha) != fecha)
    return false;
  return std::popcount(mascara()) == 5;
}

int primerSorteoDanado(const std::vector<Sorteo>& sorteos) {
  for (size_t i = 0; i < sorteos.size(); ++i) {
    if (!sorteos[i].registroSano()) return static_cast<int>(i);
    if (i > 0 && !(sorteos[i].fecha > sorteos[i - 1].fecha)) return static_cast<int>(i);
  }
  return -1;
}

uint64_t Sorteo::mascara() const {
  uint64_t m = 0;
  for (int i = 0; i < 5; ++i)
    if (numeros[i] >= 1 && numeros[i] <= 63) m |= uint64_t{1} << numeros[i];
  return m;
}

QByteArray Sorteo::codificar() const {
  QByteArray b(kTamano, '\0');
  for (int i = 0; i < 8; ++i) escribirInt16(b.data() + 2 * i, numeros[static_cast<size_t>(i)]);
  escribirDouble(b.data() + 16, fecha);
  return b;
}

Sorteo Sorteo::decodificar(const char* d) {
  Sorteo s;
  for (int i = 0; i < 8; ++i) s.numeros[static_cast<size_t>(i)] = leerInt16(d + 2 * i);
  s.fecha = leerDouble(d + 16);
  return s;
}

}  // namespace sortilan
