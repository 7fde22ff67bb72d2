// The window on the benchmarks' seasons (×10 = 500 peñas, ×100 = 5,000): "Entrar" to a
// painted main window and the memory it then holds, "Socios" and "Cuentas" shown, and a
// 22-month catch-up (96 draws in five windows of the local stand-in service) until the
// window answers again. Message boxes, pauses and the clock are the tests' doubles.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "app/arranque.h"
#include "app/presentacion.h"
#include "app/principal.h"
#include "exigir.h"
#include "gui/download/descargador.h"
#include "gui/members/tabsocios.h"
#include "gui/money/tabcuentas.h"
#include "operations/dinero.h"
#include "store/escritura.h"
#include "support/dobles.h"
#include "support/servicioprueba.h"
#include "temporada.h"

using namespace sortilan;

namespace {

// Resident memory of this process, in MB.
double memoriaMb(const char* campo) {
  QFile f(QStringLiteral("/proc/self/status"));
  if (!f.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& l : f.readAll().split('\n'))
    if (l.startsWith(campo))
      return l.mid(static_cast<qsizetype>(qstrlen(campo))).trimmed().split(' ').at(0).toDouble() / 1024;
  return 0;
}

// A season written as a data folder, its peñas counted by a first start (as a user's
// folder is after its first day). `quitar` leaves the newest draws out.
struct Carpeta {
  temporada::Temporada t;
  std::unique_ptr<prueba::Entorno> e;
  Carpeta(int escala, int quitar = 0) : t(temporada::crear(escala)) {
    e = std::make_unique<prueba::Entorno>(t.hoy);
    const QString dir = e->carpeta.path();
    std::vector<Sorteo> guardados(t.sorteos.begin(), t.sorteos.end() - quitar);
    exigir(crearArchivoNuevo(e->ruta(QStringLiteral("numeros.dat")), ArchivoDe<Sorteo>::codificar(guardados)));
    exigir(crearArchivoNuevo(e->ruta(QStringLiteral("apuestas.dat")), ArchivoDe<Pena>::codificar(t.penas)));
    std::vector<TablaPremios> tablas;
    for (const auto& [fecha, tabla] : t.tablas) tablas.push_back(tabla);
    exigir(operaciones::guardarTablasPremios(dir, tablas));
    // Nothing listens there: the news and the document fail at once.
    e->escribir(QStringLiteral("sortilan.ini"),
                QStringLiteral("[servicios]\nresultados=http://127.0.0.1:%1\noperador=http://127.0.0.1:%1\n")
                    .arg(prueba::puertoCerrado())
                    .toUtf8());
    ui::Principal w;
    w.cargar(dir);
  }
  QString ruta() const { return e->carpeta.path(); }
};

// How long the window kept the event loop to itself while it was waited for: the time
// spent inside event handlers (a pass that took over a millisecond), and the longest one.
struct Ocupacion {
  double total = 0, maximo = 0;  // seconds
};

// Runs the event loop until `hecho` holds, at most `limite` ms.
template <class F>
Ocupacion esperar(F hecho, int limite = 600000) {
  Ocupacion o;
  QElapsedTimer t, pasada;
  t.start();
  while (!hecho() && t.elapsed() < limite) {
    pasada.start();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    const double s = static_cast<double>(pasada.nsecsElapsed()) / 1e9;
    if (s > 1e-3) o.total += s;
    o.maximo = std::max(o.maximo, s);
  }
  exigir(hecho(), "la ventana no terminó");
  return o;
}

// The start as main() runs it, from "Entrar" to the main window painted whole; its time.
// Then, with `dinero`, the time until the money of every draw is worked out too (the
// window does it once it is on screen).
double arrancar(const QString& carpeta, double* dinero = nullptr) {
  ui::Arranque a;
  exigir(a.iniciar({QStringLiteral("sortilan"), QStringLiteral("--datos"), carpeta}) == 0, "iniciar");
  bool mostrada = false;
  QObject::connect(&a, &ui::Arranque::mostrada, [&] { mostrada = true; });
  QElapsedTimer reloj;
  reloj.start();
  a.presentacion()->Command1_Click();
  esperar([&] { return mostrada; });
  a.principal()->grab();  // every visible widget painted
  const double pintada = static_cast<double>(reloj.nsecsElapsed()) / 1e9;
  if (dinero) {
    const size_t penas = a.principal()->sesion().penas().size();
    esperar([&] { return a.principal()->cuentas()->cuentas().penas.size() == penas; });
    *dinero = static_cast<double>(reloj.nsecsElapsed()) / 1e9;
  }
  return pintada;
}

// The memory is that of a process of its own that does only the start, as a user's does:
// this program again, with the folder to start on and its day.
constexpr const char* kSoloArranque = "--solo-arranque";

void BM_ArranqueVentana(benchmark::State& st) {
  Carpeta c(static_cast<int>(st.range(0)));
  for (auto _ : st) st.SetIterationTime(arrancar(c.ruta()));
  QProcess p;
  p.start(QCoreApplication::applicationFilePath(),
          {QLatin1String(kSoloArranque), c.ruta(), c.t.hoy.toString(Qt::ISODate)});
  exigir(p.waitForFinished(600000) && p.exitCode() == 0, "el arranque aparte");
  const QList<QByteArray> cifras = p.readAllStandardOutput().trimmed().split(' ');
  exigir(cifras.size() == 3, "las cifras del arranque aparte");
  st.counters["s_aparte"] = cifras[0].toDouble();
  st.counters["MB_aparte"] = cifras[1].toDouble();  // the peak, the money of every draw worked out
  st.counters["s_dinero_aparte"] = cifras[2].toDouble();
  st.counters["penas"] = static_cast<double>(c.t.penas.size());
}
BENCHMARK(BM_ArranqueVentana)->Arg(10)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ArranqueVentana)->Arg(100)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// From the click on a tab to the tab painted.
void BM_MostrarPestana(benchmark::State& st) {
  static std::unique_ptr<Carpeta> c;
  if (!c) c = std::make_unique<Carpeta>(10);
  ui::Principal w;
  w.cargar(c->ruta());
  w.show();
  QTabWidget* tabs = w.SSTab1();
  QWidget* destino = st.range(0) == 0 ? static_cast<QWidget*>(w.socios()) : static_cast<QWidget*>(w.cuentas());
  for (auto _ : st) {
    tabs->setCurrentIndex(0);
    QCoreApplication::processEvents();
    QElapsedTimer reloj;
    reloj.start();
    tabs->setCurrentWidget(destino);
    w.grab();
    st.SetIterationTime(static_cast<double>(reloj.nsecsElapsed()) / 1e9);
  }
  st.SetLabel(st.range(0) == 0 ? "Socios" : "Cuentas");
}
BENCHMARK(BM_MostrarPestana)->Arg(0)->Arg(1)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

// "Bajar sorteos" 22 months after the last download, until the window answers again.
void BM_PuestaAlDia22Meses(benchmark::State& st) {
  constexpr int kFaltan = 96;
  for (auto _ : st) {
    st.PauseTiming();
    Carpeta c(10, kFaltan);
    prueba::ServicioPrueba servicio;
    servicio.historia = prueba::historiaRespuesta();
    servicio.configurar(c.ruta());
    ui::Principal w;
    w.cargar(c.ruta());
    w.show();
    QCoreApplication::processEvents();
    const int antes = w.sesion().proximoreg;
    st.ResumeTiming();
    QElapsedTimer clic;
    clic.start();
    w.descargador()->Picture2_Click();
    const double enClic = static_cast<double>(clic.nsecsElapsed()) / 1e9;
    Ocupacion o = esperar([&] { return !w.descargador()->enCurso() && w.sesion().proximoreg >= antes + kFaltan; });
    w.grab();
    st.PauseTiming();
    o.total += enClic;
    o.maximo = std::max(o.maximo, enClic);
    // The wall time is mostly the sequence's one-second ticks; the window's own work is this.
    st.counters["s_ventana_ocupada"] += o.total / static_cast<double>(st.max_iterations);
    st.counters["s_bloqueo_mayor"] = std::max(static_cast<double>(st.counters["s_bloqueo_mayor"]), o.maximo);
    st.counters["sorteos"] = w.sesion().proximoreg - antes;
    st.counters["peticiones"] = static_cast<double>(servicio.pedidas.size());
    st.ResumeTiming();
  }
}
BENCHMARK(BM_PuestaAlDia22Meses)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc == 4 && qstrcmp(argv[1], kSoloArranque) == 0) {
    prueba::Entorno e(QDate::fromString(QString::fromLatin1(argv[3]), Qt::ISODate));
    double dinero = 0;
    const double s = arrancar(QString::fromLocal8Bit(argv[2]), &dinero);
    std::printf("%.3f %.1f %.3f\n", s, memoriaMb("VmHWM:"), dinero);
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
