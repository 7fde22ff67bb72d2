#include "money/cuentas.h"

#include <QDir>
#include <QSettings>
#include <algorithm>
#include <array>

#include "base/fechas.h"
#include "checking/cuenta.h"
#include "checking/nucleo.h"
#include "checking/premios.h"

namespace sortilan {

Centimos precioApuesta(const QString& carpeta) {
  QSettings ini(QDir(carpeta).filePath(QStringLiteral("sortilan.ini")), QSettings::IniFormat);
  const QVariant v = ini.value(QStringLiteral("juego/precio"));
  // An unquoted "1,50" reaches us split at the comma.
  const QString texto = v.typeId() == QMetaType::QStringList ? v.toStringList().join(QLatin1Char(',')) : v.toString();
  const std::optional<Centimos> precio = leerImporte(texto);
  return precio && *precio > 0 ? *precio : kPrecioPorDefecto;
}

int apuestasPorSorteo(const Pena& p) {
  if (p.esSencilla()) return p.tipo;
  if (p.esMultiple()) return binomial(p.numerosPorApuesta(), 5);
  return 0;
}

Centimos CuentaSorteo::ganadoConocido() const {
  Centimos g = 0;
  for (const LineaPremio& l : premios) g += l.importe().value_or(0);
  if (reintegro) g += reintegro->importe().value_or(0);
  return g;
}

int CuentaSorteo::apuestasSinImporte() const {
  int n = 0;
  for (const LineaPremio& l : premios)
    if (!l.porApuesta) n += l.apuestas;
  if (reintegro && !reintegro->porApuesta) n += reintegro->apuestas;
  return n;
}

std::optional<Centimos> CuentaSorteo::ganado() const {
  if (apuestasSinImporte() > 0) return std::nullopt;
  return ganadoConocido();
}

Centimos CuentaPena::coste() const {
  Centimos c = 0;
  for (const CuentaSorteo& s : sorteos) c += s.coste;
  return c;
}

Centimos CuentaPena::ganadoConocido() const {
  Centimos g = 0;
  for (const CuentaSorteo& s : sorteos) g += s.ganadoConocido();
  return g;
}

int CuentaPena::premiosSinImporte() const {
  int n = 0;
  for (const CuentaSorteo& s : sorteos) n += s.apuestasSinImporte();
  return n;
}

CuentaSorteo cuentaSorteo(const Pena& p, const Sorteo& s, const TablaPremios* tabla, Centimos precio) {
  return cuentaSorteo(mascarasPena(p), p, s, tabla, precio);
}

CuentaSorteo cuentaSorteo(const MascarasPena& m, const Pena& p, const Sorteo& s, const TablaPremios* tabla,
                          Centimos precio) {
  CuentaSorteo c;
  c.fecha = fechaDesdeOle(s.fecha);
  c.apuestas = apuestasPorSorteo(p);
  c.coste = precio * c.apuestas;
  if (c.apuestas == 0) return c;

  // Simple bets by hits (0..5) of each; a multiple is counted by the combinations of its
  // numbers that hold K of the drawn ones.
  std::array<int, 6> porAciertos{};
  AciertosFilas aciertos;
  aciertosPena(m, p, s, aciertos);
  if (p.esSencilla()) {
    for (int b = 0; b < m.filas; ++b) ++porAciertos[std::min<size_t>(aciertos[static_cast<size_t>(b)], 5)];
  } else {
    const int n = p.numerosPorApuesta();
    const int h = aciertos[0];
    for (int k = 0; k <= 5; ++k) porAciertos[static_cast<size_t>(k)] = binomial(h, k) * binomial(n - h, 5 - k);
  }

  const bool clave = p.clave() == s.clave();
  for (int k = 5; k >= 2; --k) {
    const int x = porAciertos[static_cast<size_t>(k)];
    if (x == 0) continue;
    const int categoria = categoriaOficial(k, clave);
    c.premios.push_back({categoria, x, tabla ? tabla->premio(categoria) : std::nullopt});
  }
  const int sinPremio = porAciertos[0] + porAciertos[1];
  if (clave && sinPremio > 0 && (!tabla || tabla->reintegro))
    c.reintegro = LineaPremio{0, sinPremio, tabla ? tabla->premioReintegro() : std::nullopt};
  return c;
}

CuentaPena cuentaPena(const Pena& p, int registro, const std::vector<Sorteo>& sorteos, const TablasPremios& tablas,
                      Centimos precio) {
  CuentaPena c;
  c.registro = registro;
  c.nombre = p.nombreRecortado();
  if (apuestasPorSorteo(p) == 0) return c;
  const MascarasPena m = mascarasPena(p);
  // Sized once: at a hundred times a large peña, growing by doubling held twice the rows.
  c.sorteos.reserve(static_cast<size_t>(std::count_if(
      sorteos.begin(), sorteos.end(), [&](const Sorteo& s) { return s.valido() && p.creacion <= s.fecha; })));
  for (const Sorteo& s : sorteos) {
    if (!s.valido() || p.creacion > s.fecha) continue;
    const auto t = tablas.find(fechaDesdeOle(s.fecha));
    c.sorteos.push_back(cuentaSorteo(m, p, s, t == tablas.end() ? nullptr : &t->second, precio));
  }
  return c;
}

}  // namespace sortilan
