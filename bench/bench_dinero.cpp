// Money, members and counting at one, ten and a hundred times a large peña. Each pair
// runs the code as it is and the path it replaced (anterior.h) on the same season, so
// the ratios come from one run.

#include <benchmark/benchmark.h>

#include <map>

#include "anterior.h"
#include "checking/cuenta.h"
#include "checking/nucleo.h"
#include "money/balance.h"
#include "temporada.h"

using namespace sortilan;

namespace {

const temporada::Temporada& season(int escala) {
  static std::map<int, temporada::Temporada> hechas;
  auto it = hechas.find(escala);
  if (it == hechas.end()) it = hechas.emplace(escala, temporada::crear(escala)).first;
  return it->second;
}

Cuentas todas(const temporada::Temporada& t) {
  return calcularCuentas(t.penas, t.sorteos, t.tablas, t.marcados, t.ids, kPrecioPorDefecto, t.hoy);
}

void escalas(benchmark::internal::Benchmark* b) { b->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond); }

// Everything the money tab and the start-up work out: every peña, draw and collection.
void BM_Cuentas(benchmark::State& st) {
  const auto& t = season(static_cast<int>(st.range(0)));
  for (auto _ : st) benchmark::DoNotOptimize(todas(t).cobros.size());
}
BENCHMARK(BM_Cuentas)->Apply(escalas);

void BM_CuentasAnterior(benchmark::State& st) {
  const auto& t = season(static_cast<int>(st.range(0)));
  for (auto _ : st)
    benchmark::DoNotOptimize(
        anterior::calcularCuentas(t.penas, t.sorteos, t.tablas, t.marcados, t.ids, kPrecioPorDefecto, t.hoy)
            .cobros.size());
}
BENCHMARK(BM_CuentasAnterior)->Apply(escalas);

// The window after a change: the money brought up to date (actualizarCuentas) beside
// working it all out again, as the window did. Changes: 0 a download window of 20 draws
// with their tables, 1 a new peña, 2 a collection marked, 3 a peña deleted.
struct Cambio {
  temporada::Temporada antes, despues;
  Cuentas previas;
};

const Cambio& cambio(int escala, int clase) {
  static std::map<std::pair<int, int>, Cambio> hechos;
  auto it = hechos.find({escala, clase});
  if (it != hechos.end()) return it->second;
  Cambio c;
  c.antes = c.despues = season(escala);
  temporada::Temporada& a = c.antes;
  switch (clase) {
    case 0:
      a.sorteos.resize(a.sorteos.size() - 20);
      for (auto i = a.tablas.begin(); i != a.tablas.end();)
        i = i->first > fechaDesdeOle(a.sorteos.back().fecha) ? a.tablas.erase(i) : std::next(i);
      break;
    case 1:
      c.despues.penas.push_back(c.despues.penas[7]);
      c.despues.penas.back().ponerNombre(QStringLiteral("NUEVA"));
      c.despues.ids.push_back(std::nullopt);
      break;
    case 2:
      c.despues.marcados[{3, fechaDesdeOle(c.despues.sorteos[c.despues.sorteos.size() - 2].fecha)}] = a.hoy;
      break;
    default: c.despues.penas.erase(c.despues.penas.begin() + 5); c.despues.ids.erase(c.despues.ids.begin() + 5);
  }
  c.previas = todas(a);
  return hechos.emplace(std::make_pair(escala, clase), std::move(c)).first->second;
}

void clasesDeCambio(benchmark::internal::Benchmark* b) {
  for (const int escala : {1, 10})
    for (int clase = 0; clase < 4; ++clase) b->Args({escala, clase});
  b->Unit(benchmark::kMillisecond);
}

void BM_TrasCambio(benchmark::State& st) {
  const Cambio& c = cambio(static_cast<int>(st.range(0)), static_cast<int>(st.range(1)));
  const temporada::Temporada& d = c.despues;
  // The copy handed in and the result are made and freed outside the time: the window
  // hands its own over and keeps what it gets back.
  Cuentas previas, hecho;
  for (auto _ : st) {
    st.PauseTiming();
    hecho = Cuentas();
    previas = c.previas;
    st.ResumeTiming();
    hecho = actualizarCuentas(std::move(previas), d.penas, d.sorteos, d.tablas, d.marcados, d.ids, kPrecioPorDefecto,
                              d.hoy);
    benchmark::DoNotOptimize(hecho.cobros.size());
  }
}
BENCHMARK(BM_TrasCambio)->Apply(clasesDeCambio);

void BM_TrasCambioAnterior(benchmark::State& st) {
  const Cambio& c = cambio(static_cast<int>(st.range(0)), static_cast<int>(st.range(1)));
  Cuentas hecho;
  for (auto _ : st) {
    st.PauseTiming();
    hecho = Cuentas();
    st.ResumeTiming();
    hecho = todas(c.despues);
    benchmark::DoNotOptimize(hecho.cobros.size());
  }
}
BENCHMARK(BM_TrasCambioAnterior)->Apply(clasesDeCambio);

// `balance K`: one peña's money.
void BM_BalanceK(benchmark::State& st) {
  const auto& t = season(static_cast<int>(st.range(0)));
  for (auto _ : st)
    benchmark::DoNotOptimize(
        calcularCuentas(t.penas, t.sorteos, t.tablas, t.marcados, t.ids, kPrecioPorDefecto, t.hoy, {1})
            .pena(1)
            ->coste());
}
BENCHMARK(BM_BalanceK)->Apply(escalas);

void BM_BalanceKAnterior(benchmark::State& st) {
  const auto& t = season(static_cast<int>(st.range(0)));
  for (auto _ : st)
    benchmark::DoNotOptimize(
        anterior::calcularCuentas(t.penas, t.sorteos, t.tablas, t.marcados, t.ids, kPrecioPorDefecto, t.hoy)
            .penas.front()
            .coste());
}
BENCHMARK(BM_BalanceKAnterior)->Apply(escalas);

// `cobros --pendientes`: only the draws whose collection may still be pending.
void BM_CobrosPendientes(benchmark::State& st) {
  const auto& t = season(static_cast<int>(st.range(0)));
  const DatosDinero d{t.tablas, t.marcados, t.ids, kPrecioPorDefecto, {}};
  for (auto _ : st) {
    int n = 0;
    recorrerCobros(t.penas, t.sorteos, d, t.hoy, {0, true},
                   [&n](const Cobro& c) { n += c.estado == EstadoCobro::Pendiente; });
    benchmark::DoNotOptimize(n);
  }
}
BENCHMARK(BM_CobrosPendientes)->Apply(escalas);

void BM_CobrosPendientesAnterior(benchmark::State& st) {
  const auto& t = season(static_cast<int>(st.range(0)));
  for (auto _ : st) {
    int n = 0;
    for (const Cobro& c :
         anterior::calcularCuentas(t.penas, t.sorteos, t.tablas, t.marcados, t.ids, kPrecioPorDefecto, t.hoy).cobros)
      n += c.estado == EstadoCobro::Pendiente;
    benchmark::DoNotOptimize(n);
  }
}
BENCHMARK(BM_CobrosPendientesAnterior)->Apply(escalas);

// `cobros`: every collection, one at a time, none held.
void BM_Cobros(benchmark::State& st) {
  const auto& t = season(static_cast<int>(st.range(0)));
  const DatosDinero d{t.tablas, t.marcados, t.ids, kPrecioPorDefecto, {}};
  for (auto _ : st) {
    Centimos n = 0;
    recorrerCobros(t.penas, t.sorteos, d, t.hoy, {}, [&n](const Cobro& c) { n += c.neto.value_or(0); });
    benchmark::DoNotOptimize(n);
  }
}
BENCHMARK(BM_Cobros)->Apply(escalas);

// The money tab's list of peñas: what each still has to collect.
void BM_PorCobrarPenas(benchmark::State& st) {
  const Cuentas c = todas(season(static_cast<int>(st.range(0))));
  for (auto _ : st) {
    Centimos total = 0;
    for (const CuentaPena& p : c.penas) total += c.porCobrar(p.registro).neto;
    benchmark::DoNotOptimize(total);
  }
}
BENCHMARK(BM_PorCobrarPenas)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_PorCobrarPenasAnterior(benchmark::State& st) {
  const Cuentas c = todas(season(static_cast<int>(st.range(0))));
  for (auto _ : st) {
    Centimos total = 0;
    for (const CuentaPena& p : c.penas)
      for (const Cobro& k : c.cobros)
        if (k.registro == p.registro && k.estado == EstadoCobro::Pendiente) total += k.neto.value_or(0);
    benchmark::DoNotOptimize(total);
  }
}
BENCHMARK(BM_PorCobrarPenasAnterior)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

// One peña's detail: each of its draws looks up its collection.
void BM_DetallePena(benchmark::State& st) {
  const auto& t = season(static_cast<int>(st.range(0)));
  const Cuentas c = todas(t);
  for (auto _ : st) {
    int n = 0;
    for (const CuentaSorteo& s : c.penas.front().sorteos) n += c.cobro(1, s.fecha) != nullptr;
    benchmark::DoNotOptimize(n);
  }
}
BENCHMARK(BM_DetallePena)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_DetallePenaAnterior(benchmark::State& st) {
  const auto& t = season(static_cast<int>(st.range(0)));
  const Cuentas c = todas(t);
  for (auto _ : st) {
    int n = 0;
    for (const CuentaSorteo& s : c.penas.front().sorteos) n += anterior::cobro(c, 1, s.fecha) != nullptr;
    benchmark::DoNotOptimize(n);
  }
}
BENCHMARK(BM_DetallePenaAnterior)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

// Every member's balance, as `socios K` and the Socios tab list them.
void BM_SociosK(benchmark::State& st) {
  const SociosPena p = temporada::socios(season(1), static_cast<int>(st.range(0)));
  for (auto _ : st) {
    Centimos total = 0;
    for (const Centimos c : p.saldos()) total += c;
    benchmark::DoNotOptimize(total);
  }
}
BENCHMARK(BM_SociosK)->Arg(100)->Arg(400)->Arg(800)->Unit(benchmark::kMillisecond);

void BM_SociosKAnterior(benchmark::State& st) {
  const SociosPena p = temporada::socios(season(1), static_cast<int>(st.range(0)));
  for (auto _ : st) {
    Centimos total = 0;
    for (const Socio& s : p.socios) total += anterior::saldo(p, s.numero);
    benchmark::DoNotOptimize(total);
  }
}
BENCHMARK(BM_SociosKAnterior)->Arg(100)->Arg(400)->Arg(800)->Unit(benchmark::kMillisecond);

// One member's statement.
void BM_MovimientosSocio(benchmark::State& st) {
  const SociosPena p = temporada::socios(season(1), static_cast<int>(st.range(0)));
  for (auto _ : st) benchmark::DoNotOptimize(p.movimientosDe(3).size());
}
BENCHMARK(BM_MovimientosSocio)->Arg(800)->Unit(benchmark::kMillisecond);

// The first count of every peña over every draw since its creation.
void BM_PrimeraCuenta(benchmark::State& st) {
  const auto& t = season(static_cast<int>(st.range(0)));
  for (auto _ : st) {
    std::vector<Pena> p = t.penas;
    benchmark::DoNotOptimize(contarPremios(p, t.sorteos));
  }
}
BENCHMARK(BM_PrimeraCuenta)->Apply(escalas);

void BM_PrimeraCuentaAnterior(benchmark::State& st) {
  const auto& t = season(static_cast<int>(st.range(0)));
  for (auto _ : st) {
    std::vector<Pena> p = t.penas;
    anterior::contarPremios(p, t.sorteos);
    benchmark::DoNotOptimize(p.data());
  }
}
BENCHMARK(BM_PrimeraCuentaAnterior)->Apply(escalas);

// Bet-draw checks per second of the prize rule that counting and money share, on the 40
// simple peñas of the ×1 season (24 bets each).
template <typename F>
void comprobaciones(benchmark::State& st, F premios) {
  const auto& t = season(1);
  std::vector<Pena> sencillas;
  for (const Pena& p : t.penas)
    if (p.esSencilla()) sencillas.push_back(p);
  for (auto _ : st) {
    int total = 0;
    for (const Pena& p : sencillas)
      for (const Sorteo& s : t.sorteos) total += premios(p, s)[0];
    benchmark::DoNotOptimize(total);
  }
  st.counters["comprobaciones/s"] = benchmark::Counter(
      static_cast<double>(sencillas.size() * 24 * t.sorteos.size()) * static_cast<double>(st.iterations()),
      benchmark::Counter::kIsRate);
}
void BM_ComprobacionesPremios(benchmark::State& st) {
  comprobaciones(st, [](const Pena& p, const Sorteo& s) { return premiosDelSorteo(p, s); });
}
BENCHMARK(BM_ComprobacionesPremios)->Unit(benchmark::kMillisecond);
void BM_ComprobacionesPremiosAnterior(benchmark::State& st) {
  comprobaciones(st, [](const Pena& p, const Sorteo& s) { return anterior::premiosDelSorteo(p, s); });
}
BENCHMARK(BM_ComprobacionesPremiosAnterior)->Unit(benchmark::kMillisecond);

// Counting and money as they run: each peña's masks worked out once for all the draws.
void BM_ComprobacionesMascaras(benchmark::State& st) {
  std::map<const Pena*, MascarasPena> m;
  comprobaciones(st, [&m](const Pena& p, const Sorteo& s) {
    auto it = m.find(&p);
    if (it == m.end()) it = m.emplace(&p, mascarasPena(p)).first;
    return premiosDelSorteo(it->second, p, s);
  });
}
BENCHMARK(BM_ComprobacionesMascaras)->Unit(benchmark::kMillisecond);

// The kernel alone: every row of every simple peña against every draw.
void BM_Nucleo(benchmark::State& st) {
  const auto& t = season(1);
  std::vector<MascarasPena> m;
  for (const Pena& p : t.penas)
    if (p.esSencilla()) m.push_back(mascarasPena(p));
  std::vector<uint64_t> sorteos;
  for (const Sorteo& s : t.sorteos) sorteos.push_back(s.mascara());
  for (auto _ : st) {
    std::array<int64_t, 8> porAciertos{};
    AciertosFilas h;
    for (uint64_t s : sorteos)
      for (const MascarasPena& x : m) {
        aciertosMascaras(x.mascaras.data(), x.filas, s, h.data());
        for (int b = 0; b < x.filas; ++b) ++porAciertos[h[static_cast<size_t>(b)] & 7u];
      }
    benchmark::DoNotOptimize(porAciertos);
  }
  st.counters["comprobaciones/s"] =
      benchmark::Counter(static_cast<double>(m.size() * 24 * sorteos.size()) * static_cast<double>(st.iterations()),
                         benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Nucleo)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
