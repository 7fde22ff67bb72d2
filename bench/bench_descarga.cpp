// Storing and parsing an answer of the results service: the 150-day answer with its
// new draws appended, the largest answer accepted (16 MiB) walked to the end, and the
// prize tables of an answer as long as the history can be (32,767 draws, each date once).
#include <benchmark/benchmark.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "answer/analisis.h"
#include "anterior.h"
#include "base/fechas.h"
#include "exigir.h"
#include "money/tablapremios.h"
#include "report/escrutinio.h"
#include "store/archivoregistros.h"
#include "store/escritura.h"

using namespace sortilan;

namespace {

QByteArray ejemplo() {
  QFile f(QStringLiteral(SORTILAN_TEST_DATA "/respuesta_ejemplo.json"));
  f.open(QIODevice::ReadOnly);
  return f.readAll();
}

// The history up to 4 October 2020: the sample brings 18 draws after it.
struct Carpeta {
  QTemporaryDir dir;
  ArchivoDe<Sorteo> sorteos;
  Sorteo ultimo;
  Carpeta() {
    QFile origen(QStringLiteral(SORTILAN_TEST_DATA "/numeros.dat"));
    origen.open(QIODevice::ReadOnly);
    QFile f(dir.filePath(QStringLiteral("numeros.dat")));
    f.open(QIODevice::WriteOnly);
    f.write(origen.read(808 * Sorteo::kTamano));
    f.close();
    sorteos.abrir(f.fileName());
    exigir(sorteos.leer(808, ultimo), "sorteo 808");
  }
};

void BM_Respuesta150Dias(benchmark::State& st) {
  Carpeta c;
  const QByteArray respuesta = ejemplo();
  for (auto _ : st) {
    const QByteArray buffer = registroCitado(QString::fromUtf8(respuesta));
    const Analisis a = analizar(respuesta, c.ultimo.fecha, QDate(2021, 3, 10));
    // The draw file is replaced whole with the new draws after the stored ones.
    std::vector<Sorteo> todos = c.sorteos.leerTodos();
    todos.resize(808);
    todos.insert(todos.end(), a.nuevos.begin(), a.nuevos.end());
    exigir(reemplazarArchivo(c.sorteos.ruta(), ArchivoDe<Sorteo>::codificar(todos)));
    benchmark::DoNotOptimize(buffer.size());
  }
  st.SetBytesProcessed(static_cast<int64_t>(st.iterations()) * respuesta.size());
}
BENCHMARK(BM_Respuesta150Dias)->Unit(benchmark::kMicrosecond);

void BM_Escrutinio150Dias(benchmark::State& st) {
  const QByteArray buffer = registroCitado(QString::fromUtf8(ejemplo()));
  const QUrl operador(QStringLiteral("https://operador.example"));
  for (auto _ : st) benchmark::DoNotOptimize(escrutinio(buffer, oleDesdeFecha(QDate(2021, 3, 7)), operador));
}
BENCHMARK(BM_Escrutinio150Dias)->Unit(benchmark::kMicrosecond);

// 16 MiB of draws already stored: every object is read.
void BM_Respuesta16MiB(benchmark::State& st) {
  const QByteArray e = ejemplo();
  const QByteArray objetos = e.mid(1, e.size() - 2);
  QByteArray grande = "[";
  while (grande.size() + objetos.size() + 2 < kMaximoRespuesta) grande += objetos + ",";
  grande += objetos + "]";
  const double ultima = oleDesdeFecha(QDate(2021, 3, 7));
  for (auto _ : st) {
    const QByteArray buffer = registroCitado(QString::fromUtf8(grande));
    const Analisis a = analizar(grande, ultima, QDate(2021, 3, 10));
    benchmark::DoNotOptimize(a.leidos.size());
    benchmark::DoNotOptimize(buffer.size());
  }
  st.SetBytesProcessed(static_cast<int64_t>(st.iterations()) * grande.size());
}
BENCHMARK(BM_Respuesta16MiB)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {
void BM_SoloRegistro(benchmark::State& st) {
  const QString respuesta = QString::fromUtf8(ejemplo());
  for (auto _ : st) benchmark::DoNotOptimize(registroCitado(respuesta));
}
BENCHMARK(BM_SoloRegistro)->Unit(benchmark::kMicrosecond);
void BM_SoloAnalisis(benchmark::State& st) {
  Carpeta c;
  const QByteArray respuesta = ejemplo();
  for (auto _ : st) benchmark::DoNotOptimize(analizar(respuesta, c.ultimo.fecha, QDate(2021, 3, 10)));
}
BENCHMARK(BM_SoloAnalisis)->Unit(benchmark::kMicrosecond);
}  // namespace
// The sample's first draw repeated with one date after another, Sundays back from 2021.
QByteArray respuestaLarga(int sorteos) {
  QJsonObject uno = QJsonDocument::fromJson(ejemplo()).array().at(0).toObject();
  QByteArray r = "[";
  for (int i = 0; i < sorteos; ++i) {
    uno[QStringLiteral("fecha_sorteo")] = QDate(2021, 3, 7).addDays(-7 * i).toString(Qt::ISODate);
    if (i) r += ',';
    r += QJsonDocument(uno).toJson(QJsonDocument::Compact);
  }
  return r + ']';
}

template <std::vector<TablaPremios> (*leer)(const QByteArray&)>
void BM_TablasPremios(benchmark::State& st) {
  const QByteArray respuesta = respuestaLarga(static_cast<int>(st.range(0)));
  exigir(static_cast<qint64>(leer(respuesta).size()) == st.range(0), "una tabla por sorteo");
  for (auto _ : st) benchmark::DoNotOptimize(leer(respuesta).size());
  st.SetBytesProcessed(static_cast<int64_t>(st.iterations()) * respuesta.size());
}
BENCHMARK(BM_TablasPremios<&leerTablasRespuesta>)->Arg(1000)->Arg(Sorteo::kMaximo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TablasPremios<&anterior::leerTablasRespuesta>)
    ->Arg(1000)
    ->Arg(Sorteo::kMaximo)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

BENCHMARK_MAIN();
