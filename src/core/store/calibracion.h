#pragma once

#include <QByteArray>
#include <cstdint>

namespace sortilan {

// Printer correction for official ticket paper, record 1 of "nums.ini", 12 bytes:
// reserved 16-bit, x and y as 32-bit floats in millimetres, reserved 16-bit.
// The reserved fields are kept so a record written back is byte-identical.
struct Calibracion {
  static constexpr int kTamano = 12;
  static constexpr int kMaximo = 1024;  // record 1 is used; a few more are tolerated

  int16_t reservado1 = 0;
  float x = 0;
  float y = 0;
  int16_t reservado2 = 0;

  QByteArray codificar() const;
  static Calibracion decodificar(const char* datos);

  bool operator==(const Calibracion&) const = default;
};

}  // namespace sortilan
