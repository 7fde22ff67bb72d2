#include "checking/premios.h"

#include <algorithm>

namespace sortilan {

uint32_t colorPremio(int aciertos, bool clave) {
  switch (aciertos) {
    case 2: return 0x00C000;
    case 3: return 0x0000FF;
    case 4: return 0x400040;
    default: return clave ? 0xFF0000 : 0xC04000;
  }
}

QString comentarioPremio(int aciertos, bool clave) {
  return QStringLiteral("¡¡ Premio !! Has acertado ") + QString::number(aciertos) +
         (clave ? QStringLiteral(" + Nº.Clave.") : QStringLiteral(" números."));
}

int16_t sumarAciertos(int16_t contador, int cuantos) {
  // The counters are 16-bit on disk: they stop at the top instead of wrapping negative.
  const int suma = std::clamp(static_cast<int>(contador) + cuantos, -32768, 32767);
  return static_cast<int16_t>(suma);
}

int binomial(int n, int k) {
  if (k < 0 || n < 0 || k > n) return 0;
  int r = 1;
  for (int i = 1; i <= k; ++i) r = r * (n - k + i) / i;
  return r;
}

std::vector<LineaDesglose> desglose(int numeros, int aciertos) {
  std::vector<LineaDesglose> lineas;
  if (numeros < 6 || numeros > 11 || aciertos < 2 || aciertos > 5) return lineas;
  for (int k = 2; k <= aciertos; ++k) {
    const int x = binomial(aciertos, k) * binomial(numeros - aciertos, 5 - k);
    if (x > 0) lineas.push_back({k, x});
  }
  return lineas;
}

QString textoDesglose(const LineaDesglose& l, bool clave) {
  QString t = QStringLiteral("¡¡ Premio !! Hay ") + QString::number(l.apuestas) +
              (l.apuestas == 1 ? QStringLiteral(" apuesta de ") : QStringLiteral(" apuestas de ")) +
              QString::number(l.k);
  return t + (clave ? QStringLiteral(" + Clave.") : QStringLiteral(" aciertos."));
}

}  // namespace sortilan
