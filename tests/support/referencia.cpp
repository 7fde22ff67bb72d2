#include "support/referencia.h"

#include <QFile>
#include <algorithm>

#include "base/fechas.h"
#include "store/almacen.h"
#include "support/dobles.h"

namespace sortilan::prueba {

std::array<int16_t, 8> cuentaReferencia(const Pena& p, const std::vector<Sorteo>& sorteos) {
  std::array<int, 8> total{};
  const bool sencilla = p.tipo >= 1 && p.tipo <= 24;
  const bool multiple = p.tipo >= 101 && p.tipo <= 106;
  if (sencilla || multiple) {
    const int numeros = sencilla ? 5 : p.tipo - 95;
    const int clave = p.apuesta(numeros + 1, 1);
    for (const Sorteo& s : sorteos) {
      if (s.fecha < p.creacion) continue;
      auto sumar = [&](const std::vector<int>& apuesta) {
        int h = 0;
        for (int x : apuesta) {
          bool sale = false;
          for (int j = 1; j <= 5; ++j) sale = sale || x == s.numero(j);
          if (sale) ++h;
        }
        if (h >= 2) ++total[static_cast<size_t>(2 * (h - 2) + (clave == s.clave() ? 1 : 0))];
      };
      if (sencilla) {
        for (int b = 1; b <= p.tipo; ++b) {
          std::vector<int> apuesta;
          for (int i = 1; i <= 5; ++i) apuesta.push_back(p.apuesta(i, b));
          sumar(apuesta);
        }
      } else {
        for (int m = 0; m < (1 << numeros); ++m) {
          if (__builtin_popcount(static_cast<unsigned>(m)) != 5) continue;
          std::vector<int> apuesta;
          for (int i = 0; i < numeros; ++i)
            if (m & (1 << i)) apuesta.push_back(p.apuesta(i + 1, 1));
          sumar(apuesta);
        }
      }
    }
  }
  std::array<int16_t, 8> r{};
  for (size_t i = 0; i < 8; ++i) r[i] = static_cast<int16_t>(std::min(total[i], 32767));
  return r;
}

namespace {
std::vector<int> numerosAlAzar(QRandomGenerator& g, int cuantos) {
  std::vector<int> v;
  while (static_cast<int>(v.size()) < cuantos) {
    const int n = g.bounded(1, 55);
    if (std::find(v.begin(), v.end(), n) == v.end()) v.push_back(n);
  }
  std::sort(v.begin(), v.end());
  return v;
}
}  // namespace

std::vector<Pena> penasAlAzar(QRandomGenerator& g, const std::vector<Sorteo>& sorteos, int cuantas) {
  std::vector<Pena> penas;
  for (int i = 0; i < cuantas; ++i) {
    const Sorteo& desde = sorteos[static_cast<size_t>(g.bounded(static_cast<int>(sorteos.size())))];
    const QDate creacion = fechaDesdeOle(desde.fecha).addDays(g.bounded(-3, 4));
    std::vector<std::vector<int>> apuestas;
    if (g.bounded(3) == 0)
      apuestas.push_back(numerosAlAzar(g, g.bounded(6, 12)));
    else
      for (int b = g.bounded(1, 25); b > 0; --b) apuestas.push_back(numerosAlAzar(g, 5));
    const bool multiple = apuestas[0].size() > 5;
    Pena p =
        nuevaPena(QStringLiteral("PEÑA %1").arg(i),
                  multiple ? 95 + static_cast<int>(apuestas[0].size()) : static_cast<int>(apuestas.size()), creacion);
    for (size_t f = 0; f < apuestas.size(); ++f)
      for (size_t k = 0; k < apuestas[f].size(); ++k)
        p.ponerApuesta(static_cast<int>(k) + 1, static_cast<int>(f) + 1, static_cast<int16_t>(apuestas[f][k]));
    p.ponerApuesta(static_cast<int>(apuestas[0].size()) + 1, 1, static_cast<int16_t>(g.bounded(10)));
    penas.push_back(p);
  }
  return penas;
}

std::vector<Sorteo> historiaReal() {
  const QByteArray b = leerDatoPrueba(QStringLiteral("numeros.dat"));
  std::vector<Sorteo> s;
  for (qsizetype off = 0; off + Sorteo::kTamano <= b.size(); off += Sorteo::kTamano)
    s.push_back(Sorteo::decodificar(b.constData() + off));
  return s;
}

}  // namespace sortilan::prueba
