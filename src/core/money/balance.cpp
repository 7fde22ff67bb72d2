#include "money/balance.h"

#include <QHash>
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

Caducado Cuentas::caducado(int registro) const {
  const CuentaPena* p = pena(registro);
  if (!p) return {};
  const auto i = static_cast<size_t>(p - penas.data());
  return i < caducadoPenas.size() ? caducadoPenas[i] : Caducado{};
}

bool Cuentas::caducado(int registro, const QDate& fecha) const {
  const Cobro* c = cobro(registro, fecha);
  return c && c->estado == EstadoCobro::Caducado;
}

Centimos Cuentas::ganado(int registro) const {
  const CuentaPena* p = pena(registro);
  return p ? p->ganadoConocido() - caducado(registro).importe : 0;
}

int Cuentas::premiosSinImporte(int registro) const {
  const CuentaPena* p = pena(registro);
  return p ? p->premiosSinImporte() - caducado(registro).sinImporte : 0;
}

Centimos Cuentas::coste() const {
  Centimos c = 0;
  for (const CuentaPena& p : penas) c += p.coste();
  return c;
}

Centimos Cuentas::ganado() const {
  Centimos g = 0;
  for (const CuentaPena& p : penas) g += ganado(p.registro);
  return g;
}

Centimos Cuentas::caducado() const {
  Centimos c = 0;
  for (const Caducado& k : caducadoPenas) c += k.importe;
  return c;
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

const CuentaSorteo* sorteoDe(const CuentaPena& p, const QDate& fecha) {
  const auto s = std::lower_bound(p.sorteos.begin(), p.sorteos.end(), fecha,
                                  [](const CuentaSorteo& x, const QDate& f) { return x.fecha < f; });
  return s != p.sorteos.end() && s->fecha == fecha ? &*s : nullptr;
}

// The first collection that may still be pending, what each peña has to collect and
// what it lost.
void resumirCobros(Cuentas& c, const QDate& hoy) {
  c.primerVigente = static_cast<size_t>(
      std::partition_point(c.cobros.begin(), c.cobros.end(), [&](const Cobro& k) { return k.limite < hoy; }) -
      c.cobros.begin());
  c.porCobrarPenas.assign(c.penas.size(), PorCobrar{});
  for (const Cobro& k : c.vigentes()) {
    if (k.estado != EstadoCobro::Pendiente) continue;
    const CuentaPena* p = c.pena(k.registro);
    PorCobrar& pc = c.porCobrarPenas[static_cast<size_t>(p - c.penas.data())];
    ++pc.cobros;
    pc.neto += k.neto.value_or(0);
    pc.pendiente = pc.pendiente || !k.neto;
  }
  c.caducadoPenas.assign(c.penas.size(), Caducado{});
  // Only a collection whose last day is past can have expired.
  for (const Cobro& k : std::span<const Cobro>(c.cobros).first(c.primerVigente)) {
    if (k.estado != EstadoCobro::Caducado) continue;
    const CuentaPena* p = c.pena(k.registro);
    const CuentaSorteo* s = p ? sorteoDe(*p, k.fecha) : nullptr;
    if (!s) continue;
    Caducado& perdido = c.caducadoPenas[static_cast<size_t>(p - c.penas.data())];
    perdido.importe += s->ganadoConocido();
    perdido.sinImporte += s->apuestasSinImporte();
  }
}

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

  // Every prize ever won is a collection: sized once rather than doubled (and copied) as it grows.
  size_t premiados = 0;
  for (const CuentaPena& p : c.penas)
    premiados += static_cast<size_t>(
        std::count_if(p.sorteos.begin(), p.sorteos.end(), [](const CuentaSorteo& s) { return s.hayPremio(); }));
  c.cobros.reserve(premiados);
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

  resumirCobros(c, hoy);
  c.origen = {penas, todos, marcados, ids, hoy, alcance.registro == 0 && !alcance.soloVigentes};
  return c;
}

namespace {

// What of a peña's record its money depends on: all but the prize counters, which every
// count changes.
QByteArray claveDinero(Pena p) {
  p.aciertos = {};
  p.ultimacuenta = 0;
  return p.codificar();
}

bool porFechaYRegistro(const Cobro& a, const Cobro& b) {
  return std::make_pair(a.fecha, a.registro) < std::make_pair(b.fecha, b.registro);
}

// The dates whose table is new, gone or different.
std::vector<QDate> tablasCambiadas(const TablasPremios& antes, const TablasPremios& ahora) {
  std::vector<QDate> fechas;
  auto a = antes.begin();
  auto b = ahora.begin();
  while (a != antes.end() || b != ahora.end()) {
    if (b == ahora.end() || (a != antes.end() && a->first < b->first)) {
      fechas.push_back((a++)->first);
    } else if (a == antes.end() || b->first < a->first) {
      fechas.push_back((b++)->first);
    } else {
      if (!(a->second == b->second)) fechas.push_back(a->first);
      ++a;
      ++b;
    }
  }
  return fechas;
}

// The (peña id, draw) whose mark is new, gone or another day.
std::vector<std::pair<qint64, QDate>> marcasCambiadas(const CobrosMarcados& antes, const CobrosMarcados& ahora) {
  std::vector<std::pair<qint64, QDate>> claves;
  auto a = antes.begin();
  auto b = ahora.begin();
  while (a != antes.end() || b != ahora.end()) {
    if (b == ahora.end() || (a != antes.end() && a->first < b->first)) {
      claves.push_back((a++)->first);
    } else if (a == antes.end() || b->first < a->first) {
      claves.push_back((b++)->first);
    } else {
      if (a->second != b->second) claves.push_back(a->first);
      ++a;
      ++b;
    }
  }
  return claves;
}

}  // namespace

Cuentas actualizarCuentas(Cuentas previas, const std::vector<Pena>& penas, const std::vector<Sorteo>& sorteos,
                          TablasPremios tablas, CobrosMarcados marcados, const std::vector<std::optional<qint64>>& ids,
                          Centimos precio, const QDate& hoy) {
  Cuentas::Origen& antes = previas.origen;
  const size_t viejos = antes.sorteos.size();
  const bool seguible = antes.completo && previas.precio == precio && antes.hoy == hoy && enOrden(sorteos) &&
                        viejos <= sorteos.size() &&
                        std::equal(antes.sorteos.begin(), antes.sorteos.end(), sorteos.begin());
  if (!seguible) return calcularCuentas(penas, sorteos, tablas, marcados, ids, precio, hoy);

  const std::vector<QDate> tablasNuevas = tablasCambiadas(previas.tablas, tablas);
  const std::vector<std::pair<qint64, QDate>> marcasNuevas = marcasCambiadas(antes.marcados, marcados);
  const auto idDe = [](const std::vector<std::optional<qint64>>& v, size_t i) {
    return i < v.size() ? v[i] : std::nullopt;
  };

  // Each peña of the file to the same one before (record numbers move up after a
  // deletion), the equal ones taken in record order.
  QHash<QByteArray, std::vector<size_t>> anteriores;
  for (size_t j = antes.penas.size(); j-- > 0;) anteriores[claveDinero(antes.penas[j])].push_back(j);
  std::vector<int> posicionAnterior(antes.penas.size(), -1);  // in previas.penas
  for (size_t k = 0; k < previas.penas.size(); ++k)
    posicionAnterior[static_cast<size_t>(previas.penas[k].registro - 1)] = static_cast<int>(k);

  Cuentas c;
  c.precio = precio;
  // Old record -> new record of the peñas whose collections may be kept; 0: none kept.
  std::vector<int> conservada(antes.penas.size(), 0);
  std::vector<Cobro> nuevos;
  const std::vector<Sorteo> anadidos(sorteos.begin() + static_cast<qsizetype>(viejos), sorteos.end());
  for (size_t i = 0; i < penas.size(); ++i) {
    if (apuestasPorSorteo(penas[i]) <= 0) continue;
    const int registro = static_cast<int>(i) + 1;
    std::optional<size_t> j;
    if (const auto e = anteriores.find(claveDinero(penas[i])); e != anteriores.end() && !e->empty()) {
      j = e->back();
      e->pop_back();
    }
    if (!j || posicionAnterior[*j] < 0) {
      c.penas.push_back(cuentaPena(penas[i], registro, sorteos, tablas, precio));
      for (const CuentaSorteo& s : c.penas.back().sorteos)
        if (auto k = cobroDe(c.penas.back(), s, marcado(marcados, ids, registro, s.fecha), hoy))
          nuevos.push_back(std::move(*k));
      continue;
    }

    CuentaPena p = std::move(previas.penas[static_cast<size_t>(posicionAnterior[*j])]);
    p.registro = registro;
    const MascarasPena m = mascarasPena(penas[i]);
    const auto tablaDe = [&](const QDate& f) {
      const auto t = tablas.find(f);
      return t == tablas.end() ? nullptr : &t->second;
    };
    const auto buscar = [&](const QDate& f) {
      const auto s = std::lower_bound(p.sorteos.begin(), p.sorteos.end(), f,
                                      [](const CuentaSorteo& x, const QDate& y) { return x.fecha < y; });
      return s != p.sorteos.end() && s->fecha == f ? s : p.sorteos.end();
    };
    // The draws whose collection is worked out again.
    std::vector<QDate> fechas;
    for (const QDate& f : tablasNuevas) {
      const auto s = buscar(f);
      if (s == p.sorteos.end()) continue;
      const auto orig = std::lower_bound(sorteos.begin(), sorteos.begin() + static_cast<qsizetype>(viejos), f,
                                         [](const Sorteo& x, const QDate& y) { return fechaDesdeOle(x.fecha) < y; });
      *s = cuentaSorteo(m, penas[i], *orig, tablaDe(f), precio);
      fechas.push_back(f);
    }
    const size_t primerAnadido = p.sorteos.size();
    for (const Sorteo& s : anadidos) {
      if (!s.valido() || penas[i].creacion > s.fecha) continue;
      p.sorteos.push_back(cuentaSorteo(m, penas[i], s, tablaDe(fechaDesdeOle(s.fecha)), precio));
    }
    const std::optional<qint64> id = idDe(ids, i);
    if (id == idDe(antes.ids, *j)) {
      conservada[*j] = registro;
      if (id && *id > 0)
        for (auto k = std::lower_bound(marcasNuevas.begin(), marcasNuevas.end(), std::make_pair(*id, QDate()));
             k != marcasNuevas.end() && k->first == *id; ++k)
          if (buscar(k->second) != p.sorteos.end()) fechas.push_back(k->second);
      for (size_t k = primerAnadido; k < p.sorteos.size(); ++k) fechas.push_back(p.sorteos[k].fecha);
    } else {
      // Another id: every mark of the peña may be another.
      for (const CuentaSorteo& s : p.sorteos) fechas.push_back(s.fecha);
    }
    std::sort(fechas.begin(), fechas.end());
    fechas.erase(std::unique(fechas.begin(), fechas.end()), fechas.end());
    for (const QDate& f : fechas)
      if (auto k = cobroDe(p, *buscar(f), marcado(marcados, ids, registro, f), hoy)) nuevos.push_back(std::move(*k));
    c.penas.push_back(std::move(p));
  }

  // The collections nothing touched keep their place; the ones worked out again go in
  // among them.
  std::vector<Cobro>& quedan = previas.cobros;
  size_t n = 0;
  for (Cobro& k : quedan) {
    const auto j = static_cast<size_t>(k.registro - 1);
    if (j >= conservada.size() || conservada[j] == 0) continue;
    if (std::binary_search(tablasNuevas.begin(), tablasNuevas.end(), k.fecha)) continue;
    if (const std::optional<qint64> id = idDe(antes.ids, j);
        id && *id > 0 && std::binary_search(marcasNuevas.begin(), marcasNuevas.end(), std::make_pair(*id, k.fecha)))
      continue;
    k.registro = conservada[j];
    if (&quedan[n] != &k) quedan[n] = std::move(k);
    ++n;
  }
  quedan.resize(n);
  // Peñas that changed places among themselves (another program's file) break the order.
  if (!std::is_sorted(quedan.begin(), quedan.end(), porFechaYRegistro))
    std::stable_sort(quedan.begin(), quedan.end(), porFechaYRegistro);
  std::sort(nuevos.begin(), nuevos.end(), porFechaYRegistro);
  c.cobros = std::move(quedan);
  const auto medio = static_cast<qsizetype>(c.cobros.size());
  c.cobros.insert(c.cobros.end(), std::make_move_iterator(nuevos.begin()), std::make_move_iterator(nuevos.end()));
  std::inplace_merge(c.cobros.begin(), c.cobros.begin() + medio, c.cobros.end(), porFechaYRegistro);
  resumirCobros(c, hoy);
  c.tablas = std::move(tablas);
  c.origen = {penas, sorteos, std::move(marcados), ids, hoy, true};
  return c;
}

void recorrerCobros(const std::vector<Pena>& deLosArchivos, const std::vector<Sorteo>& sorteos, const DatosDinero& d,
                    const QDate& hoy, const AlcanceCuentas& alcance, const std::function<void(const Cobro&)>& cobro) {
  const std::vector<Pena> penas = penasDelDinero(deLosArchivos, d.ids, d.inicios);
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
  if (r) r = leerInicios(base, d.inicios);
  if (!r) {
    d.tablas.clear();
    d.marcados.clear();
    d.inicios.clear();
    guardadas.clear();
  }
  d.ids = emparejarPenas(guardadas, penas);
  d.precio = precioApuesta(carpeta);
  return r;
}

Resultado releerCuentas(const QString& carpeta, const std::vector<Pena>& penas, const std::vector<Sorteo>& sorteos,
                        const QDate& hoy, Cuentas& cuentas) {
  DatosDinero d;
  const Resultado r = leerDatosDinero(carpeta, penas, d);
  cuentas = actualizarCuentas(std::move(cuentas), penasDelDinero(penas, d.ids, d.inicios), sorteos, std::move(d.tablas),
                              std::move(d.marcados), d.ids, d.precio, hoy);
  return r;
}

Resultado leerCuentas(const QString& carpeta, const std::vector<Pena>& penas, const std::vector<Sorteo>& sorteos,
                      const QDate& hoy, Cuentas& cuentas, const AlcanceCuentas& alcance) {
  DatosDinero d;
  // Without what the database holds the money is still worked out: every prize then
  // reads "importe pendiente" and no collection is marked; the reason is returned.
  const Resultado r = leerDatosDinero(carpeta, penas, d);
  cuentas = calcularCuentas(penasDelDinero(penas, d.ids, d.inicios), sorteos, d.tablas, d.marcados, d.ids, d.precio,
                            hoy, alcance);
  return r;
}

Resultado leerCuentasBorrada(const QString& carpeta, int numero, const std::vector<Sorteo>& sorteos, const QDate& hoy,
                             Cuentas& cuentas, PenaBorrada* borrada) {
  cuentas = Cuentas{};
  BaseDatos base;
  PenaBorrada b;
  DatosDinero d;
  Resultado r = base.abrir(carpeta, BaseDatos::Modo::Lectura);
  if (r && !base.abierta()) r = Resultado::fallo(QStringLiteral("No hay ninguna peña borrada B%1.").arg(numero));
  if (r) r = leerPenaBorrada(base, numero, b);
  if (r) r = leerTablas(base, d.tablas);
  if (r) r = leerCobros(base, d.marcados);
  IniciosPenas inicios;
  if (r) r = leerInicios(base, inicios);
  if (!r) return r;
  d.ids = {b.id};
  d.precio = precioApuesta(carpeta);
  // The record it had, alone, over the draws it played since it really started: its
  // collections keep their marks.
  cuentas = calcularCuentas(penasDelDinero({b.pena}, d.ids, inicios), b.jugados(sorteos), d.tablas, d.marcados, d.ids,
                            d.precio, hoy, {1});
  if (borrada) *borrada = std::move(b);
  return r;
}

Resultado leerCuentasBorradas(const QString& carpeta, const std::vector<Sorteo>& sorteos, const QDate& hoy,
                              Cuentas& cuentas, std::vector<PenaBorrada>& borradas) {
  cuentas = Cuentas{};
  cuentas.precio = precioApuesta(carpeta);
  borradas.clear();
  std::vector<PenaBorrada> lista;
  {
    BaseDatos base;
    if (Resultado r = base.abrir(carpeta, BaseDatos::Modo::Lectura); !r) return r;
    if (Resultado r = leerPenasBorradas(base, lista); !r) return r;
  }
  for (const PenaBorrada& b : lista) {
    Cuentas una;
    if (Resultado r = leerCuentasBorrada(carpeta, b.numero, sorteos, hoy, una); !r) {
      cuentas = Cuentas{};
      cuentas.precio = precioApuesta(carpeta);
      return r;
    }
    const QString nombre = textoPenaBorrada(b);
    for (size_t i = 0; i < una.penas.size(); ++i) {
      una.penas[i].registro = b.numero;
      una.penas[i].nombre = nombre;
      cuentas.penas.push_back(std::move(una.penas[i]));
      cuentas.porCobrarPenas.push_back(i < una.porCobrarPenas.size() ? una.porCobrarPenas[i] : PorCobrar{});
    }
    for (Cobro& c : una.cobros) {
      c.registro = b.numero;
      c.nombre = nombre;
      cuentas.cobros.push_back(std::move(c));
    }
    if (cuentas.tablas.empty()) cuentas.tablas = std::move(una.tablas);
  }
  // Draw order, then number: as Cuentas::cobro looks them up.
  std::stable_sort(cuentas.cobros.begin(), cuentas.cobros.end(), [](const Cobro& a, const Cobro& b) {
    return std::make_pair(a.fecha, a.registro) < std::make_pair(b.fecha, b.registro);
  });
  borradas = std::move(lista);
  return Resultado::bien();
}

QString textoPorCobrar(std::span<const Cobro> cobros) {
  int n = 0, conocidos = 0;
  Centimos total = 0;
  for (const Cobro& c : cobros) {
    if (c.estado != EstadoCobro::Pendiente) continue;
    ++n;
    if (!c.neto) continue;
    ++conocidos;
    total += *c.neto;
  }
  // Nothing known yet is no amount at all, not 0,00 €.
  QString importe = conocidos > 0 || n == 0 ? textoEuros(total) : QString();
  if (conocidos < n)
    importe += importe.isEmpty() ? QStringLiteral("importe pendiente") : QStringLiteral(" + importe pendiente");
  return QStringLiteral("Premios por cobrar: %1 (%2)").arg(n).arg(importe);
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
  w.fijo(QStringLiteral("Sorteo;Apuestas;Coste;Premios;Ganado;Caducado;Neto a cobrar;Lugar;Cobro")).fin();
  // Newest first, as the window lists them.
  for (auto s = pena.sorteos.rbegin(); s != pena.sorteos.rend(); ++s) {
    const Cobro* c = cuentas.cobro(pena.registro, s->fecha);
    const bool perdido = c && c->estado == EstadoCobro::Caducado;
    const QString premio = s->hayPremio() ? importeOPendienteCsv(s->ganado()) : QString();
    w.numero(fechaCorta(s->fecha)).numero(s->apuestas).numero(textoImporteCsv(s->coste)).texto(textoPremios(*s));
    w.numero(perdido ? QString() : premio).numero(perdido ? premio : QString());
    if (c)
      w.numero(importeOPendienteCsv(c->neto)).fijo(c->lugar ? textoLugar(*c->lugar) : QString()).fijo(textoCobro(*c));
    else
      w.vacio().vacio().vacio();
    w.fin();
  }
  return w.bytes();
}

}  // namespace sortilan
