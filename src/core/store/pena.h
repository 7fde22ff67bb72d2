#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

namespace sortilan {

// One peña, 645 bytes on disk. Texts are kept as their raw Windows-1252 bytes so a
// record read and written back is byte-identical whatever it holds.
struct Pena {
  static constexpr int kTamano = 645;
  static constexpr int kMaximo = 32767;  // records the 16-bit record counter can number
  static constexpr int kFilas = 24;
  static constexpr int kPosiciones = 12;

  std::array<char, 20> nombre{};                                    // blank-padded
  std::array<std::array<int16_t, kPosiciones>, kFilas> apuestas{};  // [fila][posicion], 0-based
  std::array<int16_t, 8> aciertos{};                                // aciertos[0] is aciertos(1): 8ª
  std::array<char, 15> dias{};
  int16_t tipo = 0;
  double creacion = 0;
  double ultimacuenta = 0;

  // 1-based access as the bet matrix is described: apuesta(posicion, fila).
  int16_t apuesta(int posicion, int fila) const {
    return apuestas[static_cast<size_t>(fila - 1)][static_cast<size_t>(posicion - 1)];
  }
  void ponerApuesta(int posicion, int fila, int16_t v) {
    apuestas[static_cast<size_t>(fila - 1)][static_cast<size_t>(posicion - 1)] = v;
  }

  QString nombreTexto() const;      // as stored, 20 characters with padding
  QString nombreRecortado() const;  // trailing blanks removed
  QString diasTexto() const;
  void ponerNombre(const QString& texto);
  void ponerDias(const QString& texto);

  bool esSencilla() const { return tipo >= 1 && tipo <= 24; }
  bool esMultiple() const { return tipo >= 101 && tipo <= 106; }
  // Numbers per bet: 5 for simple bets, 6..11 for a multiple, 0 when tipo is corrupt.
  int numerosPorApuesta() const;
  int clave() const;  // the peña's key number, or -1 when tipo is corrupt

  QByteArray codificar() const;
  static Pena decodificar(const char* datos);

  // A record the program could have written: a known tipo, the numbers of every bet in
  // use within 1..54 and not repeated in it, a key 0..9, whole-day dates the encoding can
  // stand for, and a name of Windows-1252 text. Rows and positions not in use are not
  // looked at.
  bool registroSano() const;

  bool operator==(const Pena&) const = default;
};

// Index of the first record that makes a peña file damaged, -1 when every one is sound.
int primeraPenaDanada(const std::vector<Pena>& penas);

// Number of chosen numbers (101..106) or of equivalent simple bets (107..112).
int cuantos(int codigo);

}  // namespace sortilan
