#include "checking/resumenpenas.h"

#include <algorithm>

#include "base/fechas.h"

namespace sortilan {

QString textoVacio() { return QStringLiteral("VACÍO"); }
QString textoPenaCorrupta() { return QStringLiteral("Error crítico: fichero apuestas.dat corrupto."); }
QString tituloPenaCorrupta() { return QStringLiteral("¡Vaya hombre!"); }

int apuestasSencillas(const Pena& p) { return p.tipo > 100 ? cuantos(p.tipo + 6) : p.tipo; }

QString lineaApuesta(const Pena& p, int fila, int numeros) {
  QString t;
  for (int i = 1; i <= numeros; ++i) {
    const int n = p.apuesta(i, fila);
    if (i > 1) t += QLatin1Char('-');
    if (n < 10) t += QLatin1Char(' ');
    t += QString::number(n);
  }
  return t;
}

int altoLista(int lineas) {
  int alto = lineas * 225;
  if (lineas > 8) alto -= 200;
  if (lineas > 21) alto -= 200;
  return alto;
}

QString porcentaje(long long premios, long long sorteos) {
  // Exact tenths of premios * 100 / sorteos, ties to the even tenth.
  const long long num = premios * 1000;
  long long q = num / sorteos;
  long long r = num % sorteos;
  if (r < 0) {
    q -= 1;
    r += sorteos;
  }
  if (2 * r > sorteos || (2 * r == sorteos && (q % 2 != 0))) q += 1;
  return unDecimalDeDecimas(q);
}

ResumenPenas resumen(const std::vector<Pena>& penas, int sorteosjugados) {
  ResumenPenas r;
  if (penas.empty()) {
    r.penasRegistradas = QStringLiteral("0");
    r.efectividad = QStringLiteral("¡Nunca has acertado nada!");
    r.sumaAciertos = QStringLiteral("0");
    r.grafico = {1, std::nullopt};
    return r;
  }
  r.vacio = false;
  long long total = 0;
  for (const Pena& p : penas) {
    r.filas.push_back({p.nombreTexto(), QString::number(apuestasSencillas(p)), fechaCorta(p.creacion), p.diasTexto()});
    for (int16_t a : p.aciertos) total += a;
  }
  r.penasRegistradas = QString::number(penas.size());
  const long long d = sorteosjugados;
  r.sumaAciertos = QString::number(total);
  QString eficacia;
  if (total < d) {
    r.grafico = {static_cast<double>(d - total), static_cast<double>(total)};
    eficacia = porcentaje(total, d);
  } else if (total != 0) {
    r.grafico = {0, static_cast<double>(total)};
    eficacia = QStringLiteral("100");
  } else {
    r.grafico = {1, 0.0};
    eficacia = QStringLiteral("0");
  }
  r.efectividad = eficacia + QStringLiteral("% de efectividad en premios");
  r.sorteos = QStringLiteral("en %1 sorteos").arg(d);
  return r;
}

DetallePena detallepena(const Pena* pena, const std::vector<Sorteo>& sorteos) {
  DetallePena d;
  if (!pena) {
    d.participados = QStringLiteral("-");
    d.efectividad = QStringLiteral("-");
    d.grafico = {0, 0.0};
    return d;
  }
  const Pena& p = *pena;
  if (!p.esSencilla() && !p.esMultiple()) {
    // Its bets would lie outside the 24 rows of the record: show nothing of it.
    d.corrupta = true;
    return d;
  }
  const int n = p.numerosPorApuesta();
  const int lineas = p.esSencilla() ? p.tipo + 1 : 2;
  d.altoTwips = altoLista(lineas);
  d.lineas << QStringLiteral("Número clave:  ") + QString::number(p.apuesta(n + 1, 1));
  for (int b = 1; b <= lineas - 1; ++b) d.lineas << lineaApuesta(p, b, n);

  long long s = 0;
  for (int i = 0; i < 8; ++i) {
    d.premios[static_cast<size_t>(i)] = QString::number(p.aciertos[static_cast<size_t>(i)]);
    s += p.aciertos[static_cast<size_t>(i)];
  }
  d.participados = QStringLiteral("0");
  long long sinPremio = 0;
  if (sorteos.empty()) {
    d.efectividad = s != 0 ? QStringLiteral("100 %") : QStringLiteral("-");
  } else {
    const long long participados =
        std::count_if(sorteos.begin(), sorteos.end(), [&](const Sorteo& x) { return x.fecha >= p.creacion; });
    d.participados = QString::number(participados);
    d.efectividad = (participados > 0 ? porcentaje(s, participados) : QStringLiteral("0")) + QStringLiteral(" %");
    sinPremio = std::max(0LL, participados - s);
  }
  d.grafico = {static_cast<double>(sinPremio), static_cast<double>(s)};
  return d;
}

}  // namespace sortilan
