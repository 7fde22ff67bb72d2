#pragma once

#include <QString>
#include <cstdint>
#include <vector>

namespace sortilan {

// Colours of the result lists as 0xRRGGBB.
namespace colores {
constexpr uint32_t kAcierto = 0xFF0000;   // a drawn number, a matching key number
constexpr uint32_t kCabecera = 0x800000;  // peña header row
constexpr uint32_t kFecha = 0x008000;     // draw date row
}  // namespace colores

// Index into Pena::aciertos (1-based, 1 = 8ª .. 8 = 1ª) of a bet with `aciertos`
// hits (2..5) and the key number matching or not.
inline int categoria(int aciertos, bool clave) { return 2 * (aciertos - 2) + 1 + (clave ? 1 : 0); }

// Colour of a prize text by hits; five hits with the key stand out in red.
uint32_t colorPremio(int aciertos, bool clave);

// Comment of a winning simple bet: "¡¡ Premio !! Has acertado 4 + Nº.Clave.".
QString comentarioPremio(int aciertos, bool clave);

// Adds to a 16-bit prize counter without passing 32767.
int16_t sumarAciertos(int16_t contador, int cuantos);

// Binomial coefficient, 0 outside 0 <= k <= n.
int binomial(int n, int k);

// One line of the breakdown of a multiple bet: `apuestas` simple bets of `k` hits.
struct LineaDesglose {
  int k;
  int apuestas;
};

// Breakdown of a multiple of `numeros` (6..11) chosen numbers with `aciertos` hits (2..5)
// into its simple bets, K ascending, lines of no bet left out. Empty outside those ranges.
std::vector<LineaDesglose> desglose(int numeros, int aciertos);

// "¡¡ Premio !! Hay 24 apuestas de 3 aciertos." / "... de 3 + Clave.", singular for one bet.
QString textoDesglose(const LineaDesglose& linea, bool clave);

}  // namespace sortilan
