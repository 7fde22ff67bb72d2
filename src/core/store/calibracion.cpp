#include "store/calibracion.h"

#include <bit>

#include "store/codec.h"

namespace sortilan {

namespace {
float leerFloat(const char* p) {
  const auto* u = reinterpret_cast<const unsigned char*>(p);
  const uint32_t bits = static_cast<uint32_t>(u[0]) | (static_cast<uint32_t>(u[1]) << 8) |
                        (static_cast<uint32_t>(u[2]) << 16) | (static_cast<uint32_t>(u[3]) << 24);
  return std::bit_cast<float>(bits);
}

void escribirFloat(char* p, float v) {
  auto bits = std::bit_cast<uint32_t>(v);
  for (int i = 0; i < 4; ++i) {
    p[i] = static_cast<char>(bits & 0xFF);
    bits >>= 8;
  }
}
}  // namespace

QByteArray Calibracion::codificar() const {
  QByteArray b(kTamano, '\0');
  char* d = b.data();
  escribirInt16(d, reservado1);
  escribirFloat(d + 2, x);
  escribirFloat(d + 6, y);
  escribirInt16(d + 10, reservado2);
  return b;
}

Calibracion Calibracion::decodificar(const char* d) {
  Calibracion c;
  c.reservado1 = leerInt16(d);
  c.x = leerFloat(d + 2);
  c.y = leerFloat(d + 6);
  c.reservado2 = leerInt16(d + 10);
  return c;
}

}  // namespace sortilan
