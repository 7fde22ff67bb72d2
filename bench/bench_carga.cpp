// The load sequence on the real history with 50 peñas: counting, status, draw list data, peña list.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include "base/fechas.h"
#include "exigir.h"
#include "platform/plataforma.h"
#include "session/sesion.h"

using namespace sortilan;

namespace {

struct Carpeta {
  QTemporaryDir dir;
  Carpeta() {
    QFile::copy(QStringLiteral(SORTILAN_TEST_DATA "/numeros.dat"), dir.filePath(QStringLiteral("numeros.dat")));
    QFile::setPermissions(dir.filePath(QStringLiteral("numeros.dat")), QFile::ReadOwner | QFile::WriteOwner);
    QFile f(dir.filePath(QStringLiteral("apuestas.dat")));
    f.open(QIODevice::WriteOnly);
    for (int k = 0; k < 50; ++k) {
      Pena p = nuevaPena(QStringLiteral("PEÑA %1").arg(k), 24, QDate(2005, 1, 1).addDays(70 * k));
      for (int b = 1; b <= 24; ++b)
        for (int i = 1; i <= 5; ++i) p.ponerApuesta(i, b, static_cast<int16_t>((k + b * 5 + i * 7) % 54 + 1));
      f.write(p.codificar());
    }
  }
};

void BM_Carga(benchmark::State& st) {
  Carpeta c;
  Sesion s;
  exigir(s.abrir(c.dir.path()));
  const QDate hoy(2026, 12, 8);
  for (auto _ : st) {
    EstadoSorteos e = s.cargasorteos(hoy);
    ListaSorteos l = s.listasorteos();
    benchmark::DoNotOptimize(e);
    benchmark::DoNotOptimize(l);
  }
  st.counters["sorteos"] = s.proximoreg - 1;
  st.counters["penas"] = s.proximapena - 1;
}
BENCHMARK(BM_Carga)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
