#pragma once

#include <QByteArray>
#include <array>
#include <cstdint>
#include <vector>

namespace sortilan {

// One draw, 24 bytes on disk: numeros(1..8) as signed 16-bit (1..5 winning numbers,
// 6 the key number, 7..8 reserved) and the OLE date.
struct Sorteo {
  static constexpr int kTamano = 24;
  static constexpr int kMaximo = 32767;  // records the 16-bit record counter can number

  std::array<int16_t, 8> numeros{};  // numeros[0] is numeros(1)
  double fecha = 0;

  int16_t numero(int i) const { return numeros[static_cast<size_t>(i - 1)]; }  // 1-based
  int16_t clave() const { return numeros[5]; }
  // Winning numbers 1..5 in 1..54 and key 0..9.
  bool valido() const;
  // A record of a sound draw file: valido(), five different numbers and a date that is
  // a finite whole day after 1 January 1990 (and within the date encoding, up to the
  // year 9999). Whether the date is past or future does not matter: the computer's
  // clock never makes a file damaged.
  bool registroSano() const;
  // Bit n set for each winning number n (1..54).
  uint64_t mascara() const;
  // The same draw: same date, same winning numbers in any order, same key. The reserved
  // slots do not matter.
  bool mismoResultado(const Sorteo& o) const {
    return fecha == o.fecha && mascara() == o.mascara() && clave() == o.clave();
  }

  QByteArray codificar() const;
  static Sorteo decodificar(const char* datos);

  bool operator==(const Sorteo&) const = default;
};

// Index of the first record that makes a draw file damaged (an unsound record, or a date
// not later than the record before it), -1 when the whole file is sound.
int primerSorteoDanado(const std::vector<Sorteo>& sorteos);

}  // namespace sortilan
