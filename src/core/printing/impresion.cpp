#include "printing/impresion.h"

#include <QStringList>

namespace sortilan {

namespace {

// Multiple kinds 101..106: the cell and block of the mark that tells the reader how
// many numbers the bet has.
struct MarcaTipo {
  int casilla;
  int bloque;
};
constexpr std::array<MarcaTipo, 6> kMarcasTipo = {{{19, 1}, {39, 1}, {59, 1}, {19, 2}, {39, 2}, {59, 2}}};

OperacionDibujo texto(double x, double y, const QString& t, double tamano = kTamanoImpresion) {
  OperacionDibujo o;
  o.tipo = OperacionDibujo::Tipo::Texto;
  o.x = x;
  o.y = y;
  o.texto = t;
  o.tamano = tamano;
  return o;
}

OperacionDibujo rectangulo(OperacionDibujo::Tipo tipo, double x, double y, double ancho, double alto) {
  OperacionDibujo o;
  o.tipo = tipo;
  o.x = x;
  o.y = y;
  o.ancho = ancho;
  o.alto = alto;
  o.tamano = 0;
  return o;
}

// The frame and the reader marks of a plain-paper ticket whose top is shifted by d.
void dibujaboleto(std::vector<OperacionDibujo>& ops, double d) {
  using T = OperacionDibujo::Tipo;
  ops.push_back(rectangulo(T::Rectangulo, 20, d + 20, 160.5, 104));
  ops.push_back(rectangulo(T::Relleno, 23.8, d + 117.3, 2.5, 3));
  ops.push_back(rectangulo(T::Relleno, 174.5, d + 117.3, 2.5, 3));
  for (int i = 0; i < 5; ++i) ops.push_back(rectangulo(T::Relleno, 22.5, d + 44 + 12 * i, 1, 4));
}

}  // namespace

int nboletos(const Pena& pena) {
  if (pena.esSencilla()) return pena.tipo / 6 + (pena.tipo % 6 != 0 ? 1 : 0);
  if (pena.esMultiple()) return 1;
  // A damaged kind would send the bet counter past the 24 rows of the record.
  return 0;
}

int apuestasAImprimir(const Pena& pena) {
  if (pena.esSencilla()) return pena.tipo;
  return pena.esMultiple() ? 1 : 0;
}

std::array<Punto, 60> calculacasillas(int bloque, Papel papel, const Calibracion& cal) {
  const double x0 = papel == Papel::Oficial ? static_cast<double>(cal.x) : 0.0;
  const double y0 = papel == Papel::Oficial ? static_cast<double>(cal.y) : 0.0;
  std::array<Punto, 60> c{};
  for (int i = 1; i <= 59; ++i)
    c[static_cast<size_t>(i)] = {x0 + 22.5 * (bloque - 1) + 3.8 * (i / 10), y0 + 5.0 * (i % 10)};
  return c;
}

Impresion imprimeboletos(const Pena& pena, Papel papel, const Calibracion& cal) {
  Impresion imp;
  const int total = nboletos(pena);
  if (total == 0) return imp;
  const bool normal = papel == Papel::Normal;
  const int n = pena.numerosPorApuesta();
  const int apuestas = apuestasAImprimir(pena);
  const QString nombre = pena.nombreTexto().trimmed();
  const QString x = QStringLiteral("X");

  imp.paginas.emplace_back();
  int b = 0;
  for (int t = 1; t <= total; ++t) {
    std::vector<OperacionDibujo>& ops = imp.paginas.back().operaciones;
    const double desplazamiento = normal && t % 2 == 0 ? kDesplazamientoInferior : 0;
    const double margenx = normal ? 25.8 : 0;
    const double margeny = normal ? 45 + desplazamiento : 0;
    if (normal) dibujaboleto(ops, desplazamiento);

    for (int bloque = 1; bloque <= 6; ++bloque) {
      ++b;
      if (b > apuestas) continue;
      const auto casillas = calculacasillas(bloque, papel, cal);
      for (int p = 1; p <= n; ++p) {
        const int v = pena.apuesta(p, b);
        // A damaged record may hold anything; only real numbers have a cell.
        if (v < 1 || v > 54) continue;
        const Punto& c = casillas[static_cast<size_t>(v)];
        ops.push_back(texto(c.x + margenx, c.y + margeny, x));
      }
    }

    const int k = pena.clave();
    if (k >= 0 && k <= 9) {
      // A copy: the array of cells is a temporary that ends with this statement.
      const Punto c = calculacasillas(7, papel, cal)[static_cast<size_t>(10 + k)];
      ops.push_back(texto(c.x + margenx, c.y + margeny, x));
    }

    const QString cuenta = QStringLiteral(" (%1/%2)").arg(t).arg(total);
    if (normal) {
      const double d = desplazamiento;
      ops.push_back(texto(32, d + 37, QStringLiteral("PEÑA ") + nombre + cuenta));
      ops.push_back(texto(110, d + 97, QStringLiteral("El Gordo de la Primitiva del:")));
      ops.push_back(texto(110, d + 102, pena.diasTexto().trimmed().toUpper()));
      ops.push_back(texto(72.5, d + 25, QStringLiteral("SORTILAN v.1.3."), kTamanoTitulo));
      // The bets of this ticket in digits under the marks, so a copy handed to a member
      // reads without the grid.
      const auto dos = [](int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
      QStringList lineas;
      for (int f = b - 5; f <= b && f <= apuestas; ++f) {
        QStringList numeros;
        for (int p = 1; p <= n; ++p) numeros << dos(pena.apuesta(p, f));
        lineas << (pena.esMultiple() ? QStringLiteral("Múltiple de %1: ").arg(n) : QStringLiteral("%1: ").arg(f)) +
                      numeros.join(QLatin1Char(' '));
      }
      if (k >= 0 && k <= 9) lineas << QStringLiteral("Clave: %1").arg(k);
      for (int i = 0; i < lineas.size(); ++i)
        ops.push_back(texto(i < 4 ? 32 : 70, d + 95 + 4.0 * (i % 4), lineas[i], kTamanoApuestas));
    } else {
      ops.push_back(texto(static_cast<double>(cal.x) + 5, static_cast<double>(cal.y) - 9,
                          QStringLiteral("PEÑA ") + nombre + cuenta + QStringLiteral("     Sortilan v1.2.")));
    }

    if (pena.esMultiple()) {
      const MarcaTipo m = kMarcasTipo[static_cast<size_t>(pena.tipo - 101)];
      const Punto c = calculacasillas(m.bloque, papel, cal)[static_cast<size_t>(m.casilla)];
      ops.push_back(texto(c.x + margenx, c.y + margeny + 10 + desplazamiento, x));
    }

    const bool nuevaHoja = normal ? t % 2 == 0 : true;
    if (nuevaHoja && t < total) imp.paginas.emplace_back();
  }
  return imp;
}

}  // namespace sortilan
