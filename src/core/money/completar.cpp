#include "money/completar.h"

#include <algorithm>
#include <cmath>

#include "base/fechas.h"

namespace sortilan {

std::vector<QDate> tablasQueFaltan(const std::vector<Sorteo>& sorteos, const TablasPremios& tablas,
                                   const QDate& desde) {
  std::vector<QDate> faltan;
  for (const Sorteo& s : sorteos) {
    const QDate f = fechaDesdeOle(s.fecha);
    if (!s.valido() || !f.isValid() || f < desde) continue;
    const auto t = tablas.find(f);
    if (t == tablas.end() || !t->second.publicada()) faltan.push_back(f);
  }
  std::sort(faltan.begin(), faltan.end());
  faltan.erase(std::unique(faltan.begin(), faltan.end()), faltan.end());
  return faltan;
}

std::vector<VentanaPeticion> ventanasPeticion(const std::vector<QDate>& faltan) {
  std::vector<VentanaPeticion> ventanas;
  for (const QDate& f : faltan) {
    if (!ventanas.empty() && ventanas.back().desde.daysTo(f) < kDiasVentana) {
      ventanas.back().hasta = f;
      continue;
    }
    ventanas.push_back({f, f});
  }
  return ventanas;
}

QUrl direccionVentana(const QUrl& base, const VentanaPeticion& v) {
  QUrl u = base;
  QString ruta = u.path();
  if (ruta.endsWith(QLatin1Char('/'))) ruta.chop(1);
  u.setPath(ruta + QStringLiteral("/servicios/buscadorSorteos"));
  u.setQuery(QStringLiteral("game_id=ELGR&celebrados=true&fechaInicioInclusiva=%1&fechaFinInclusiva=%2")
                 .arg(v.desde.toString(QStringLiteral("yyyyMMdd")), v.hasta.toString(QStringLiteral("yyyyMMdd"))));
  u.setFragment(QString());
  return u;
}

QDate creacionMasAntigua(const std::vector<Pena>& penas) {
  QDate primera;
  for (const Pena& p : penas) {
    if (!p.esSencilla() && !p.esMultiple()) continue;
    // A creation with a time of day plays the draws of the following days only.
    const QDate d = fechaDesdeOle(std::ceil(p.creacion));
    if (d.isValid() && (!primera.isValid() || d < primera)) primera = d;
  }
  return primera;
}

}  // namespace sortilan
