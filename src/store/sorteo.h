#pragma once

#include <QByteArray>
#include <array>
#include <cstdint>

namespace sortilan {

// One draw, 24 bytes on disk: numeros(1..8) as signed 16-bit (1..5 winning numbers,
// 6 the key number, 7..8 reserved) and the OLE date.
struct Sorteo {
  static constexpr int kTamano = 24;

  std::array<int16_t, 8> numeros{};  // numeros[0] is numeros(1)
  double fecha = 0;

  int16_t numero(int i) const { return numeros[static_cast<size_t>(i - 1)]; }  // 1-based
  int16_t clave() const { return numeros[5]; }
  // Winning numbers 1..5 in 1..54 and key 0..9.
  bool valido() const;
  // Bit n set for each winning number n (1..54).
  uint64_t mascara() const;

  QByteArray codificar() const;
  static Sorteo decodificar(const char* datos);

  bool operator==(const Sorteo&) const = default;
};

}  // namespace sortilan
