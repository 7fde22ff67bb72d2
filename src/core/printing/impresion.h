#pragma once

#include <QString>
#include <array>
#include <vector>

#include "store/calibracion.h"
#include "store/pena.h"

namespace sortilan {

enum class Papel { Oficial, Normal };

// One drawing step in millimetres from the top-left corner of the printable area.
// Texts are placed by their top-left corner, in bold "arial".
struct OperacionDibujo {
  enum class Tipo { Texto, Rectangulo, Relleno };
  Tipo tipo = Tipo::Texto;
  double x = 0;
  double y = 0;
  double ancho = 0;  // rectangles
  double alto = 0;
  QString texto;         // texts
  double tamano = 11.5;  // font size in points

  bool operator==(const OperacionDibujo&) const = default;
};

struct PaginaImpresion {
  std::vector<OperacionDibujo> operaciones;
};

// A whole print job: one document, its pages in order.
struct Impresion {
  std::vector<PaginaImpresion> paginas;
};

inline constexpr const char* kFuenteImpresion = "arial";
inline constexpr double kTamanoImpresion = 11.5;
inline constexpr double kTamanoTitulo = 18;
// The bets written out under the marks of a plain sheet.
inline constexpr double kTamanoApuestas = 8;
// Vertical shift of the lower ticket of a plain sheet.
inline constexpr double kDesplazamientoInferior = 104;

struct Punto {
  double x = 0;
  double y = 0;
};

// Official tickets a peña needs: six simple bets per ticket, one for a multiple.
// A peña whose kind is not a valid one needs none.
int nboletos(const Pena& pena);
// Bets printed: the simple bets, or the one multiple bet.
int apuestasAImprimir(const Pena& pena);

// Cells 1..59 of a block (1..6 bets, 7 the key column); index 0 is unused.
std::array<Punto, 60> calculacasillas(int bloque, Papel papel, const Calibracion& cal);

// Every ticket of the peña as pages of drawing operations.
Impresion imprimeboletos(const Pena& pena, Papel papel, const Calibracion& cal);

}  // namespace sortilan
