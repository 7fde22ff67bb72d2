#include "store/sorteo.h"

#include "store/codec.h"

namespace sortilan {

bool Sorteo::valido() const {
  for (int i = 0; i < 5; ++i)
    if (numeros[i] < 1 || numeros[i] > 54) return false;
  return numeros[5] >= 0 && numeros[5] <= 9;
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
