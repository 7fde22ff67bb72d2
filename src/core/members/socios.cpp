#include "members/socios.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <optional>

#include "base/fechas.h"

namespace sortilan {

int Socio::participacionesEn(const QDate& d) const {
  for (const Periodo& p : periodos)
    if (p.contiene(d)) return p.participaciones;
  return 0;
}

QDate Socio::alta() const { return periodos.empty() ? QDate() : periodos.front().desde; }

QDate Socio::baja() const { return periodos.empty() ? QDate() : periodos.back().hasta; }

int Socio::participacionesActuales() const {
  return periodos.empty() || periodos.back().hasta.isValid() ? 0 : periodos.back().participaciones;
}

QString textoConcepto(Concepto c) {
  switch (c) {
    case Concepto::Aportacion: return QStringLiteral("aportación");
    case Concepto::Coste: return QStringLiteral("coste del sorteo");
    case Concepto::Premio: return QStringLiteral("premio");
    case Concepto::Pago: return QStringLiteral("pago");
    case Concepto::Anulacion: return QStringLiteral("anulación");
  }
  return {};
}

QString textoLinea(const Movimiento& m) {
  QString t = textoConcepto(m.concepto);
  if (m.anulado.isValid()) {
    // The number ties a voided line to its reversal further down.
    if (m.numero > 0) t += QStringLiteral(" nº %1").arg(m.numero);
    const bool femenino = m.concepto == Concepto::Aportacion;
    t += QStringLiteral(", %1 el %2")
             .arg(femenino ? QStringLiteral("anulada") : QStringLiteral("anulado"), fechaCorta(m.anulado));
  }
  if (m.concepto == Concepto::Anulacion)
    t += m.anula > 0 ? QStringLiteral(" del nº %1").arg(m.anula) : QStringLiteral(" del reparto");
  if (!m.motivo.isEmpty()) t += QStringLiteral(": ") + m.motivo;
  return t;
}

std::vector<Centimos> repartir(Centimos total, const std::vector<qint64>& pesos) {
  if (pesos.empty()) return {};
  // 128 bits: a large prize times many shares must not overflow on the way.
  const __int128 suma = std::accumulate(pesos.begin(), pesos.end(), __int128{0});
  if (suma <= 0) return {};
  const bool negativo = total < 0;
  const __int128 t = negativo ? -static_cast<__int128>(total) : total;
  std::vector<Centimos> partes(pesos.size());
  std::vector<__int128> restos(pesos.size());
  __int128 repartido = 0;
  for (size_t i = 0; i < pesos.size(); ++i) {
    const __int128 producto = t * pesos[i];
    partes[i] = static_cast<Centimos>(producto / suma);
    restos[i] = producto % suma;
    repartido += partes[i];
  }
  // Fewer cents are left over than there are parts: only that many largest remainders
  // are needed, among equal ones the earlier part first.
  const auto sobran = static_cast<size_t>(t - repartido);
  std::vector<size_t> orden(pesos.size());
  std::iota(orden.begin(), orden.end(), size_t{0});
  std::partial_sort(orden.begin(), orden.begin() + static_cast<std::ptrdiff_t>(sobran), orden.end(),
                    [&](size_t a, size_t b) { return restos[a] != restos[b] ? restos[a] > restos[b] : a < b; });
  for (size_t k = 0; k < sobran; ++k) ++partes[orden[k]];
  if (negativo)
    for (Centimos& c : partes) c = -c;
  return partes;
}

std::vector<ParteReparto> partesReparto(const std::vector<Socio>& socios, const QDate& sorteo, Centimos bruto,
                                        Centimos retencion) {
  std::vector<ParteReparto> partes;
  std::vector<qint64> pesos;
  for (const Socio& s : socios) {
    if (const int p = s.participacionesEn(sorteo); p > 0) {
      partes.push_back({s.id, p, 0, 0});
      pesos.push_back(p);
    }
  }
  const std::vector<Centimos> brutos = repartir(bruto, pesos);
  const std::vector<Centimos> retenciones = repartir(retencion, pesos);
  for (size_t i = 0; i < partes.size(); ++i) {
    partes[i].bruto = brutos[i];
    partes[i].retencion = retenciones[i];
  }
  return partes;
}

const Socio* SociosPena::socio(int numero) const {
  for (const Socio& s : socios)
    if (s.numero == numero) return &s;
  return nullptr;
}

const Reparto* SociosPena::reparto(const QDate& sorteo) const {
  for (const Reparto& r : repartos)
    if (r.sorteo == sorteo) return &r;
  return nullptr;
}

const MovimientoGuardado* SociosPena::movimiento(qint64 id) const {
  for (const MovimientoGuardado& m : movimientos)
    if (m.id == id) return &m;
  return nullptr;
}

Resultado SociosPena::anulable(const Socio& s, qint64 id) const {
  const MovimientoGuardado* m = movimiento(id);
  if (!m || m->socio != s.id)
    return Resultado::fallo(
        QStringLiteral("%1 no tiene ningún movimiento %2 que anular: sólo se anulan sus aportaciones y pagos.")
            .arg(s.nombre)
            .arg(id));
  if (m->anulado.isValid())
    return Resultado::fallo(
        QStringLiteral("El movimiento %1 ya está anulado desde el %2.").arg(id).arg(fechaCorta(m->anulado)));
  if (m->reparto > 0)
    for (const Reparto& r : repartos)
      if (r.id == m->reparto)
        return Resultado::fallo(
            QStringLiteral("El movimiento %1 es el pago del reparto del premio del sorteo del %2: anule el reparto "
                           "entero.")
                .arg(id)
                .arg(fechaCorta(r.sorteo)));
  return Resultado::bien();
}

namespace {

// The cost of each draw among the members holding shares that day, in member order:
// `parte(coste, quienes, partes)` with the members' indices and their parts. Shares
// change only on the first and the last days of periods, so the split is worked out again
// only when a draw falls between other such days than the draw before, or costs another
// amount.
template <typename F>
void repartirCostes(const SociosPena& sp, F&& parte) {
  std::vector<QDate> cambios;
  for (const Socio& s : sp.socios)
    for (const Periodo& p : s.periodos) {
      cambios.push_back(p.desde);
      if (p.hasta.isValid()) cambios.push_back(p.hasta);
    }
  std::sort(cambios.begin(), cambios.end());
  cambios.erase(std::unique(cambios.begin(), cambios.end()), cambios.end());
  std::vector<size_t> quienes;
  std::vector<qint64> pesos;
  std::vector<Centimos> partes;
  std::optional<size_t> tramoAnterior;
  Centimos costeAnterior = 0;
  for (const CosteSorteo& c : sp.costes) {
    const auto tramo = static_cast<size_t>(std::upper_bound(cambios.begin(), cambios.end(), c.fecha) - cambios.begin());
    if (tramo != tramoAnterior) {
      quienes.clear();
      pesos.clear();
      for (size_t i = 0; i < sp.socios.size(); ++i)
        if (const int p = sp.socios[i].participacionesEn(c.fecha); p > 0) {
          quienes.push_back(i);
          pesos.push_back(p);
        }
    }
    if (tramo != tramoAnterior || c.coste != costeAnterior) partes = repartir(c.coste, pesos);
    tramoAnterior = tramo;
    costeAnterior = c.coste;
    if (!quienes.empty()) parte(c, quienes, partes);
  }
}

}  // namespace

std::vector<Movimiento> SociosPena::movimientosDe(int numero) const {
  const Socio* s = socio(numero);
  if (!s) return {};
  const auto propio = static_cast<size_t>(s - socios.data());
  std::vector<Movimiento> lista;
  for (const MovimientoGuardado& m : movimientos) {
    if (m.socio != s->id) continue;
    const Centimos importe = m.concepto == Concepto::Pago ? -m.centimos : m.centimos;
    lista.push_back({m.fecha, m.concepto, importe, 0, m.id, m.anulado, 0, {}});
    if (m.anulado.isValid()) lista.push_back({m.anulado, Concepto::Anulacion, -importe, 0, 0, {}, m.id, m.motivo});
  }
  repartirCostes(*this,
                 [&](const CosteSorteo& c, const std::vector<size_t>& quienes, const std::vector<Centimos>& partes) {
                   const auto i = std::lower_bound(quienes.begin(), quienes.end(), propio);
                   if (i == quienes.end() || *i != propio) return;
                   const Centimos mia = partes[static_cast<size_t>(i - quienes.begin())];
                   if (mia != 0) lista.push_back({c.fecha, Concepto::Coste, -mia, 0});
                 });
  for (const Reparto& r : repartos)
    for (const ParteReparto& p : r.partes)
      if (p.socio == s->id && p.neto() != 0) lista.push_back({r.cobrado, Concepto::Premio, p.neto(), 0});
  for (const Reparto& r : repartosAnulados)
    for (const ParteReparto& p : r.partes)
      if (p.socio == s->id && p.neto() != 0) {
        lista.push_back({r.cobrado, Concepto::Premio, p.neto(), 0, 0, r.anulado, 0, {}});
        lista.push_back({r.anulado, Concepto::Anulacion, -p.neto(), 0, 0, {}, 0, r.motivo});
      }
  std::stable_sort(lista.begin(), lista.end(), [](const Movimiento& a, const Movimiento& b) {
    if (a.fecha != b.fecha) return a.fecha < b.fecha;
    return static_cast<int>(a.concepto) < static_cast<int>(b.concepto);
  });
  Centimos saldo = 0;
  for (Movimiento& m : lista) {
    if (m.cuenta()) saldo += m.importe;
    m.saldo = saldo;
  }
  return lista;
}

Centimos SociosPena::saldo(int numero) const {
  const Socio* s = socio(numero);
  return s ? saldos()[static_cast<size_t>(s - socios.data())] : 0;
}

std::vector<Centimos> SociosPena::saldos() const {
  std::vector<Centimos> r(socios.size(), 0);
  std::map<qint64, size_t> porId;
  for (size_t i = 0; i < socios.size(); ++i) porId.emplace(socios[i].id, i);
  const auto de = [&](qint64 id) -> Centimos* {
    const auto i = porId.find(id);
    return i == porId.end() ? nullptr : &r[i->second];
  };
  for (const MovimientoGuardado& m : movimientos)
    if (Centimos* c = de(m.socio); c && !m.anulado.isValid())
      *c += m.concepto == Concepto::Pago ? -m.centimos : m.centimos;
  repartirCostes(*this,
                 [&](const CosteSorteo&, const std::vector<size_t>& quienes, const std::vector<Centimos>& partes) {
                   for (size_t j = 0; j < quienes.size(); ++j) r[quienes[j]] -= partes[j];
                 });
  for (const Reparto& rep : repartos)
    for (const ParteReparto& p : rep.partes)
      if (Centimos* c = de(p.socio)) *c += p.neto();
  return r;
}

std::optional<Extracto> extracto(const SociosPena& p, int numero, const QDate& desde, const QDate& hasta) {
  const Socio* s = p.socio(numero);
  if (!s) return std::nullopt;
  Extracto e;
  e.registro = p.registro;
  e.pena = p.nombre;
  e.numero = s->numero;
  e.nombre = s->nombre;
  e.nif = s->nif;
  e.desde = desde;
  e.hasta = hasta;
  for (const Periodo& per : s->periodos) {
    const bool despues = desde.isValid() && per.hasta.isValid() && per.hasta <= desde;
    const bool antes = hasta.isValid() && per.desde > hasta;
    if (!despues && !antes) e.periodos.push_back(per);
  }
  for (const Movimiento& m : p.movimientosDe(numero)) {
    if (desde.isValid() && m.fecha < desde) {
      e.saldoAnterior = m.saldo;
      continue;
    }
    if (hasta.isValid() && m.fecha > hasta) break;
    e.movimientos.push_back(m);
  }
  e.saldo = e.movimientos.empty() ? e.saldoAnterior : e.movimientos.back().saldo;
  return e;
}

QString textoSaldo(Centimos c) { return c < 0 ? QStringLiteral("debe ") + textoEuros(-c) : textoEuros(c); }

}  // namespace sortilan
