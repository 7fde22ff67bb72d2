#include <benchmark/benchmark.h>

#include <bit>
#include <random>

#include "base/fechas.h"
#include "checking/comprobacion.h"
#include "checking/nucleo.h"
#include "exigir.h"
#include "store/archivoregistros.h"

using namespace sortilan;

namespace {

std::vector<Sorteo> historia() {
  ArchivoDe<Sorteo> f;
  f.abrir(QStringLiteral(SORTILAN_TEST_DATA "/numeros.dat"));
  return f.leerTodos();
}

// 50 peñas of 24 bets, created before the first draw.
std::vector<Pena> penas(int cuantas = 50) {
  std::mt19937 g(1);
  std::vector<Pena> r;
  for (int k = 0; k < cuantas; ++k) {
    Pena p = nuevaPena(QStringLiteral("PEÑA %1").arg(k), 24, QDate(2005, 1, 1));
    for (int f = 1; f <= 24; ++f) {
      std::vector<int> n;
      while (n.size() < 5) {
        const int x = static_cast<int>(g() % 54) + 1;
        if (std::find(n.begin(), n.end(), x) == n.end()) n.push_back(x);
      }
      std::sort(n.begin(), n.end());
      for (int i = 0; i < 5; ++i) p.ponerApuesta(i + 1, f, static_cast<int16_t>(n[static_cast<size_t>(i)]));
    }
    p.ponerApuesta(6, 1, static_cast<int16_t>(k % 10));
    r.push_back(p);
  }
  return r;
}

// The mask of every bet of the benchmark's peñas.
std::vector<uint64_t> mascarasApuestas() {
  std::vector<uint64_t> apuestas;
  for (const Pena& p : penas())
    for (int f = 1; f <= 24; ++f) {
      uint64_t m = 0;
      for (int i = 1; i <= 5; ++i) m |= uint64_t{1} << p.apuesta(i, f);
      apuestas.push_back(m);
    }
  return apuestas;
}

// The kernel on its own: one AND and one popcount per bet and draw, prizes tallied.
void BM_NucleoMascaras(benchmark::State& st) {
  const std::vector<Sorteo> s = historia();
  std::vector<uint64_t> sorteos;
  for (const Sorteo& x : s) sorteos.push_back(x.mascara());
  const std::vector<uint64_t> apuestas = mascarasApuestas();
  for (auto _ : st) {
    std::array<int64_t, 6> porAciertos{};
    for (uint64_t ms : sorteos)
      for (uint64_t ma : apuestas) ++porAciertos[static_cast<size_t>(std::popcount(ms & ma))];
    benchmark::DoNotOptimize(porAciertos);
  }
  st.counters["comprobaciones/s"] =
      benchmark::Counter(static_cast<double>(sorteos.size() * apuestas.size()) * static_cast<double>(st.iterations()),
                         benchmark::Counter::kIsRate);
}
BENCHMARK(BM_NucleoMascaras)->Unit(benchmark::kMillisecond);

// The same work through the program's kernel, which picks the processor's popcount at
// start in the baseline build people install (the loop above is built for the baseline).
void BM_NucleoDelPrograma(benchmark::State& st) {
  const std::vector<Sorteo> s = historia();
  const std::vector<uint64_t> apuestas = mascarasApuestas();
  std::vector<uint8_t> aciertos(apuestas.size());
  const int n = static_cast<int>(apuestas.size());
  for (auto _ : st) {
    for (const Sorteo& x : s) aciertosMascaras(apuestas.data(), n, x.mascara(), aciertos.data());
    benchmark::DoNotOptimize(aciertos.data());
    benchmark::ClobberMemory();
  }
  st.counters["comprobaciones/s"] =
      benchmark::Counter(static_cast<double>(s.size() * apuestas.size()) * static_cast<double>(st.iterations()),
                         benchmark::Counter::kIsRate);
}
BENCHMARK(BM_NucleoDelPrograma)->Unit(benchmark::kMillisecond);

// The real checker over the whole history, keeping only the winning rows: counting,
// record updates and the prize rows included.
void BM_ComprobarHistoricoSoloPremios(benchmark::State& st) {
  const std::vector<Sorteo> s = historia();
  const std::vector<Pena> p = penas();
  for (auto _ : st) {
    Comprobacion c(s, p);
    AvisoPremio aviso;
    auto l = c.compruebapenas(static_cast<int>(s.size()), {true, true}, aviso);
    benchmark::DoNotOptimize(l->filas());
  }
  st.counters["comprobaciones/s"] =
      benchmark::Counter(static_cast<double>(s.size() * p.size() * 24) * static_cast<double>(st.iterations()),
                         benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ComprobarHistoricoSoloPremios)->Unit(benchmark::kMillisecond);

// The full list: 1,114 draws x 50 peñas x (3 + 24) rows = 1,503,900 rows with "Histórico".
void BM_ListaCompleta(benchmark::State& st) {
  const std::vector<Sorteo> s = historia();
  const std::vector<Pena> p = penas();
  int64_t filas = 0;
  size_t bytes = 0;
  for (auto _ : st) {
    Comprobacion c(s, p);
    AvisoPremio aviso;
    auto l = c.compruebapenas(static_cast<int>(s.size()), {true, false}, aviso);
    filas = l->filas();
    bytes = l->filasInternas().capacity() * sizeof(FilaResultado) + s.size() * sizeof(Sorteo) + p.size() * sizeof(Pena);
    benchmark::DoNotOptimize(filas);
  }
  st.counters["filas"] = static_cast<double>(filas);
  st.counters["bytes/fila"] = static_cast<double>(bytes) / static_cast<double>(filas);
}
BENCHMARK(BM_ListaCompleta)->Unit(benchmark::kMillisecond);

// Texts and colours of one screenful, as the view asks for them.
void BM_TextosDeUnaPantalla(benchmark::State& st) {
  const std::vector<Sorteo> s = historia();
  Comprobacion c(s, penas());
  AvisoPremio aviso;
  auto l = c.compruebapenas(static_cast<int>(s.size()), {true, false}, aviso);
  int inicio = 0;
  for (auto _ : st) {
    for (int i = inicio; i < inicio + 40; ++i)
      for (int k = 0; k < 8; ++k) {
        benchmark::DoNotOptimize(l->texto(i, k));
        benchmark::DoNotOptimize(l->color(i, k));
      }
    inicio = (inicio + 37171) % (l->filas() - 40);
  }
}
BENCHMARK(BM_TextosDeUnaPantalla)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
