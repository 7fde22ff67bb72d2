#include "money/completar.h"

#include <algorithm>

#include "base/fechas.h"

namespace sortilan {

std::vector<QDate> importesQueFaltan(const std::vector<Pena>& penas, const std::vector<Sorteo>& sorteos,
                                     const DatosDinero& datos, const QDate& desde) {
  std::vector<QDate> faltan;
  // Whether a collection is pending or expired plays no part here: any day will do.
  recorrerCobros(penas, sorteos, datos, QDate(), {}, [&](const Cobro& k) {
    if (!k.neto && (!desde.isValid() || k.fecha >= desde)) faltan.push_back(k.fecha);
  });
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

}  // namespace sortilan
