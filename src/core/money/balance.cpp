#include "money/balance.h"

#include <algorithm>

#include "base/escritorcsv.h"
#include "store/basedatos.h"

namespace sortilan {

namespace {
QString corta(const QDate& d) { return d.toString(QStringLiteral("dd/MM/yyyy")); }

QString importeOPendiente(const std::optional<Centimos>& c) {
  return c ? textoEuros(*c) : QStringLiteral("importe pendiente");
}

QString importeOPendienteCsv(const std::optional<Centimos>& c) {
  return c ? textoImporteCsv(*c) : QStringLiteral("importe pendiente");
}
}  // namespace

const CuentaPena* Cuentas::pena(int registro) const {
  for (const CuentaPena& p : penas)
    if (p.registro == registro) return &p;
  return nullptr;
}

const Cobro* Cuentas::cobro(int registro, const QDate& fecha) const {
  for (const Cobro& c : cobros)
    if (c.registro == registro && c.fecha == fecha) return &c;
  return nullptr;
}

Centimos Cuentas::coste() const {
  Centimos c = 0;
  for (const CuentaPena& p : penas) c += p.coste();
  return c;
}

Centimos Cuentas::ganadoConocido() const {
  Centimos g = 0;
  for (const CuentaPena& p : penas) g += p.ganadoConocido();
  return g;
}

Cuentas calcularCuentas(const std::vector<Pena>& penas, const std::vector<Sorteo>& sorteos, const TablasPremios& tablas,
                        const CobrosMarcados& marcados, const std::vector<std::optional<qint64>>& ids, Centimos precio,
                        const QDate& hoy) {
  Cuentas c;
  c.precio = precio;
  c.tablas = tablas;
  for (size_t i = 0; i < penas.size(); ++i) {
    if (apuestasPorSorteo(penas[i]) == 0) continue;
    c.penas.push_back(cuentaPena(penas[i], static_cast<int>(i) + 1, sorteos, tablas, precio));
  }
  for (const CuentaPena& p : c.penas) {
    // 0: a peña the database does not know yet, so nothing of it is marked.
    qint64 id = 0;
    if (const auto i = static_cast<size_t>(p.registro - 1); i < ids.size() && ids[i]) id = *ids[i];
    for (const CuentaSorteo& s : p.sorteos) {
      QDate dia;
      if (const auto m = marcados.find({id, s.fecha}); id > 0 && m != marcados.end()) dia = m->second;
      if (std::optional<Cobro> cobro = cobroDe(p, s, dia, hoy)) c.cobros.push_back(std::move(*cobro));
    }
  }
  std::stable_sort(c.cobros.begin(), c.cobros.end(), [](const Cobro& a, const Cobro& b) { return a.fecha < b.fecha; });
  return c;
}

Resultado leerCuentas(const QString& carpeta, const std::vector<Pena>& penas, const std::vector<Sorteo>& sorteos,
                      const QDate& hoy, Cuentas& cuentas) {
  BaseDatos base;
  TablasPremios tablas;
  CobrosMarcados marcados;
  std::vector<PenaGuardada> guardadas;
  Resultado r = base.abrir(carpeta, BaseDatos::Modo::Lectura);
  if (r) r = leerTablas(base, tablas);
  if (r) r = leerPenas(base, guardadas);
  if (r) r = leerCobros(base, marcados);
  // Without what the database holds the money is still worked out: every prize then
  // reads "importe pendiente" and no collection is marked; the reason is returned.
  if (!r) {
    tablas.clear();
    marcados.clear();
    guardadas.clear();
  }
  cuentas =
      calcularCuentas(penas, sorteos, tablas, marcados, emparejarPenas(guardadas, penas), precioApuesta(carpeta), hoy);
  return r;
}

QString textoPorCobrar(const std::vector<Cobro>& cobros) {
  int n = 0;
  Centimos total = 0;
  bool pendiente = false;
  for (const Cobro& c : cobros) {
    if (c.estado != EstadoCobro::Pendiente) continue;
    ++n;
    if (c.neto)
      total += *c.neto;
    else
      pendiente = true;
  }
  QString t = QStringLiteral("Premios por cobrar: %1 (%2").arg(n).arg(textoEuros(total));
  if (pendiente) t += QStringLiteral(" + importe pendiente");
  return t + QLatin1Char(')');
}

QString avisoCobrosUrgentes(const std::vector<Cobro>& cobros, const QDate& hoy) {
  QStringList lineas;
  for (const Cobro& c : cobros) {
    if (!cobroUrgente(c, hoy)) continue;
    QString l = QStringLiteral("- Peña %1, sorteo del %2: %3, hasta el %4")
                    .arg(c.nombre, corta(c.fecha), importeOPendiente(c.neto), corta(c.limite));
    if (c.lugar) l += QStringLiteral(" (%1)").arg(textoLugar(*c.lugar));
    lineas << l + QLatin1Char('.');
  }
  if (lineas.isEmpty()) return {};
  return QStringLiteral("Quedan %1 días o menos para cobrar estos premios; después caducan:\n").arg(kDiasAviso) +
         lineas.join(QLatin1Char('\n'));
}

QString textoPremios(const CuentaSorteo& s) {
  QStringList partes;
  for (const LineaPremio& l : s.premios)
    partes << QStringLiteral("%1ª: %2 × %3").arg(l.categoria).arg(l.apuestas).arg(importeOPendiente(l.porApuesta));
  if (s.reintegro)
    partes << QStringLiteral("reintegro: %1 × %2")
                  .arg(s.reintegro->apuestas)
                  .arg(importeOPendiente(s.reintegro->porApuesta));
  return partes.join(QStringLiteral("; "));
}

QString textoCobro(const Cobro& c) {
  switch (c.estado) {
    case EstadoCobro::Pendiente: return QStringLiteral("pendiente hasta el %1").arg(corta(c.limite));
    case EstadoCobro::Cobrado: return QStringLiteral("cobrado el %1").arg(corta(c.cobrado));
    case EstadoCobro::Caducado: return QStringLiteral("caducado el %1").arg(corta(c.limite));
  }
  return {};
}

QByteArray csvSorteos(const CuentaPena& pena, const Cuentas& cuentas) {
  EscritorCsv w;
  w.fijo(QStringLiteral("Sorteo;Apuestas;Coste;Premios;Ganado;Neto a cobrar;Lugar;Cobro")).fin();
  // Newest first, as the window lists them.
  for (auto s = pena.sorteos.rbegin(); s != pena.sorteos.rend(); ++s) {
    const Cobro* c = cuentas.cobro(pena.registro, s->fecha);
    w.numero(corta(s->fecha)).numero(s->apuestas).numero(textoImporteCsv(s->coste)).texto(textoPremios(*s));
    w.numero(s->hayPremio() ? importeOPendienteCsv(s->ganado()) : QString());
    if (c)
      w.numero(importeOPendienteCsv(c->neto)).fijo(c->lugar ? textoLugar(*c->lugar) : QString()).fijo(textoCobro(*c));
    else
      w.vacio().vacio().vacio();
    w.fin();
  }
  return w.bytes();
}

}  // namespace sortilan
