#include "money/balance.h"

#include <algorithm>

#include "base/escritorcsv.h"
#include "base/fechas.h"
#include "checking/nucleo.h"
#include "store/basedatos.h"

namespace sortilan {

namespace {

QString importeOPendiente(const std::optional<Centimos>& c) {
  return c ? textoEuros(*c) : QStringLiteral("importe pendiente");
}

QString importeOPendienteCsv(const std::optional<Centimos>& c) {
  return c ? textoImporteCsv(*c) : QStringLiteral("importe pendiente");
}
}  // namespace

const CuentaPena* Cuentas::pena(int registro) const {
  const auto p =
      std::lower_bound(penas.begin(), penas.end(), registro, [](const CuentaPena& x, int r) { return x.registro < r; });
  return p != penas.end() && p->registro == registro ? &*p : nullptr;
}

const Cobro* Cuentas::cobro(int registro, const QDate& fecha) const {
  // The list is in draw order, then record order.
  const auto c = std::lower_bound(
      cobros.begin(), cobros.end(), std::make_pair(fecha, registro),
      [](const Cobro& x, const std::pair<QDate, int>& k) { return std::make_pair(x.fecha, x.registro) < k; });
  return c != cobros.end() && c->fecha == fecha && c->registro == registro ? &*c : nullptr;
}

PorCobrar Cuentas::porCobrar(int registro) const {
  const CuentaPena* p = pena(registro);
  if (!p) return {};
  const auto i = static_cast<size_t>(p - penas.data());
  return i < porCobrarPenas.size() ? porCobrarPenas[i] : PorCobrar{};
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

namespace {

bool enOrden(const std::vector<Sorteo>& sorteos) {
  return std::adjacent_find(sorteos.begin(), sorteos.end(),
                            [](const Sorteo& a, const Sorteo& b) { return !(a.fecha < b.fecha); }) == sorteos.end();
}

// The first draw whose collection may still be pending; the draws are in date order.
size_t primerSorteoVigente(const std::vector<Sorteo>& sorteos, const QDate& hoy) {
  const auto vencido = [&](const Sorteo& s) { return ultimoDiaCobro(fechaDesdeOle(s.fecha)) < hoy; };
  if (!std::is_partitioned(sorteos.begin(), sorteos.end(), vencido)) return 0;
  return static_cast<size_t>(std::partition_point(sorteos.begin(), sorteos.end(), vencido) - sorteos.begin());
}

bool enAlcance(const std::vector<Pena>& penas, size_t i, const AlcanceCuentas& alcance) {
  return (alcance.registro == 0 || static_cast<size_t>(alcance.registro) == i + 1) && apuestasPorSorteo(penas[i]) > 0;
}

QDate marcado(const CobrosMarcados& marcados, const std::vector<std::optional<qint64>>& ids, int registro,
              const QDate& fecha) {
  // 0: a peña the database does not know yet, so nothing of it is marked.
  qint64 id = 0;
  if (const auto i = static_cast<size_t>(registro - 1); i < ids.size() && ids[i]) id = *ids[i];
  if (id <= 0) return {};
  const auto m = marcados.find({id, fecha});
  return m != marcados.end() ? m->second : QDate();
}

// The marks of one peña read in date order alongside its draws: the marks of a peña lie
// together in the map, so a large season does not look each one up across all of them.
class MarcasPena {
 public:
  MarcasPena(const CobrosMarcados& marcados, const std::vector<std::optional<qint64>>& ids, int registro) {
    qint64 id = 0;
    if (const auto i = static_cast<size_t>(registro - 1); i < ids.size() && ids[i]) id = *ids[i];
    if (id <= 0) return;
    id_ = id;
    it_ = marcados.lower_bound({id, QDate()});
    fin_ = marcados.end();
  }
  // `fecha` never earlier than the one asked before.
  QDate dia(const QDate& fecha) {
    while (it_ != fin_ && it_->first.first == id_ && it_->first.second < fecha) ++it_;
    return it_ != fin_ && it_->first.first == id_ && it_->first.second == fecha ? it_->second : QDate();
  }

 private:
  qint64 id_ = 0;
  CobrosMarcados::const_iterator it_{}, fin_{};
};

}  // namespace

Cuentas calcularCuentas(const std::vector<Pena>& penas, const std::vector<Sorteo>& todos, const TablasPremios& tablas,
                        const CobrosMarcados& marcados, const std::vector<std::optional<qint64>>& ids, Centimos precio,
                        const QDate& hoy, const AlcanceCuentas& alcance) {
  Cuentas c;
  c.precio = precio;
  c.tablas = tablas;
  const bool ordenados = enOrden(todos);
  const size_t desde = alcance.soloVigentes && ordenados ? primerSorteoVigente(todos, hoy) : 0;
  const std::vector<Sorteo> parte =
      desde > 0 ? std::vector<Sorteo>(todos.begin() + static_cast<qsizetype>(desde), todos.end())
                : std::vector<Sorteo>();
  const std::vector<Sorteo>& sorteos = desde > 0 ? parte : todos;
  for (size_t i = 0; i < penas.size(); ++i)
    if (enAlcance(penas, i, alcance))
      c.penas.push_back(cuentaPena(penas[i], static_cast<int>(i) + 1, sorteos, tablas, precio));

  const auto anadir = [&](const CuentaPena& p, const CuentaSorteo& s) {
    if (std::optional<Cobro> cobro = cobroDe(p, s, marcado(marcados, ids, p.registro, s.fecha), hoy))
      c.cobros.push_back(std::move(*cobro));
  };
  if (ordenados) {
    // Every peña's draws are among `sorteos`, in their order: going through the dates once
    // gives the list in date order, then record order, without sorting it.
    std::vector<size_t> siguiente(c.penas.size(), 0);
    std::vector<MarcasPena> marcas;
    for (const CuentaPena& p : c.penas) marcas.emplace_back(marcados, ids, p.registro);
    for (const Sorteo& s : sorteos) {
      const QDate fecha = fechaDesdeOle(s.fecha);
      for (size_t k = 0; k < c.penas.size(); ++k) {
        const std::vector<CuentaSorteo>& suyos = c.penas[k].sorteos;
        if (siguiente[k] >= suyos.size() || suyos[siguiente[k]].fecha != fecha) continue;
        const CuentaSorteo& cs = suyos[siguiente[k]++];
        if (std::optional<Cobro> cobro = cobroDe(c.penas[k], cs, marcas[k].dia(cs.fecha), hoy))
          c.cobros.push_back(std::move(*cobro));
      }
    }
  } else {
    for (const CuentaPena& p : c.penas)
      for (const CuentaSorteo& s : p.sorteos) anadir(p, s);
    std::stable_sort(c.cobros.begin(), c.cobros.end(),
                     [](const Cobro& a, const Cobro& b) { return a.fecha < b.fecha; });
  }

  c.primerVigente = static_cast<size_t>(
      std::partition_point(c.cobros.begin(), c.cobros.end(), [&](const Cobro& k) { return k.limite < hoy; }) -
      c.cobros.begin());
  c.porCobrarPenas.resize(c.penas.size());
  for (const Cobro& k : c.vigentes()) {
    if (k.estado != EstadoCobro::Pendiente) continue;
    const CuentaPena* p = c.pena(k.registro);
    PorCobrar& pc = c.porCobrarPenas[static_cast<size_t>(p - c.penas.data())];
    ++pc.cobros;
    pc.neto += k.neto.value_or(0);
    pc.pendiente = pc.pendiente || !k.neto;
  }
  return c;
}

void recorrerCobros(const std::vector<Pena>& penas, const std::vector<Sorteo>& sorteos, const DatosDinero& d,
                    const QDate& hoy, const AlcanceCuentas& alcance, const std::function<void(const Cobro&)>& cobro) {
  if (!enOrden(sorteos)) {
    for (const Cobro& k : calcularCuentas(penas, sorteos, d.tablas, d.marcados, d.ids, d.precio, hoy, alcance).cobros)
      cobro(k);
    return;
  }
  struct Jugada {
    CuentaPena pena;  // without its draws: only the record and the name
    const Pena* datos;
    MascarasPena mascaras;
    MarcasPena marcas;
  };
  std::vector<Jugada> jugadas;
  for (size_t i = 0; i < penas.size(); ++i)
    if (enAlcance(penas, i, alcance))
      jugadas.push_back({CuentaPena{static_cast<int>(i) + 1, penas[i].nombreRecortado(), {}}, &penas[i],
                         mascarasPena(penas[i]), MarcasPena(d.marcados, d.ids, static_cast<int>(i) + 1)});
  for (size_t i = alcance.soloVigentes ? primerSorteoVigente(sorteos, hoy) : 0; i < sorteos.size(); ++i) {
    const Sorteo& s = sorteos[i];
    if (!s.valido()) continue;
    const auto t = d.tablas.find(fechaDesdeOle(s.fecha));
    const TablaPremios* tabla = t == d.tablas.end() ? nullptr : &t->second;
    for (Jugada& j : jugadas) {
      if (j.datos->creacion > s.fecha) continue;
      const CuentaSorteo cs = cuentaSorteo(j.mascaras, *j.datos, s, tabla, d.precio);
      if (const std::optional<Cobro> k = cobroDe(j.pena, cs, j.marcas.dia(cs.fecha), hoy)) cobro(*k);
    }
  }
}

Resultado leerDatosDinero(const QString& carpeta, const std::vector<Pena>& penas, DatosDinero& d) {
  BaseDatos base;
  std::vector<PenaGuardada> guardadas;
  d = DatosDinero{};
  Resultado r = base.abrir(carpeta, BaseDatos::Modo::Lectura);
  if (r) r = leerTablas(base, d.tablas);
  if (r) r = leerPenas(base, guardadas);
  if (r) r = leerCobros(base, d.marcados);
  if (!r) {
    d.tablas.clear();
    d.marcados.clear();
    guardadas.clear();
  }
  d.ids = emparejarPenas(guardadas, penas);
  d.precio = precioApuesta(carpeta);
  return r;
}

Resultado leerCuentas(const QString& carpeta, const std::vector<Pena>& penas, const std::vector<Sorteo>& sorteos,
                      const QDate& hoy, Cuentas& cuentas, const AlcanceCuentas& alcance) {
  DatosDinero d;
  // Without what the database holds the money is still worked out: every prize then
  // reads "importe pendiente" and no collection is marked; the reason is returned.
  const Resultado r = leerDatosDinero(carpeta, penas, d);
  cuentas = calcularCuentas(penas, sorteos, d.tablas, d.marcados, d.ids, d.precio, hoy, alcance);
  return r;
}

QString textoPorCobrar(std::span<const Cobro> cobros) {
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

QString avisoCobrosUrgentes(std::span<const Cobro> cobros, const QDate& hoy) {
  QStringList lineas;
  for (const Cobro& c : cobros) {
    if (!cobroUrgente(c, hoy)) continue;
    QString l = QStringLiteral("- Peña %1, sorteo del %2: %3, hasta el %4")
                    .arg(c.nombre, fechaCorta(c.fecha), importeOPendiente(c.neto), fechaCorta(c.limite));
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
    case EstadoCobro::Pendiente: return QStringLiteral("pendiente hasta el %1").arg(fechaCorta(c.limite));
    case EstadoCobro::Cobrado: return QStringLiteral("cobrado el %1").arg(fechaCorta(c.cobrado));
    case EstadoCobro::Caducado: return QStringLiteral("caducado el %1").arg(fechaCorta(c.limite));
  }
  return {};
}

QByteArray csvSorteos(const CuentaPena& pena, const Cuentas& cuentas) {
  EscritorCsv w;
  w.fijo(QStringLiteral("Sorteo;Apuestas;Coste;Premios;Ganado;Neto a cobrar;Lugar;Cobro")).fin();
  // Newest first, as the window lists them.
  for (auto s = pena.sorteos.rbegin(); s != pena.sorteos.rend(); ++s) {
    const Cobro* c = cuentas.cobro(pena.registro, s->fecha);
    w.numero(fechaCorta(s->fecha)).numero(s->apuestas).numero(textoImporteCsv(s->coste)).texto(textoPremios(*s));
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
