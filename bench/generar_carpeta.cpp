// Writes a data folder of the benchmarks' seasons, for timing the real executables:
// generar_carpeta CARPETA ESCALA (1, 10, 100). The folder must not hold data yet.
#include <QCoreApplication>
#include <QDir>
#include <cstdio>

#include "exigir.h"
#include "operations/dinero.h"
#include "store/escritura.h"
#include "temporada.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  const int escala = args.size() == 3 ? args.at(2).toInt() : 0;
  if (escala < 1) {
    std::fprintf(stderr, "Uso: generar_carpeta CARPETA ESCALA\n");
    return 2;
  }
  const QString carpeta = args.at(1);
  exigir(QDir().mkpath(carpeta), "crear la carpeta");
  const temporada::Temporada t = temporada::crear(escala);
  exigir(sortilan::crearArchivoNuevo(QDir(carpeta).filePath(QStringLiteral("numeros.dat")),
                                     sortilan::ArchivoDe<sortilan::Sorteo>::codificar(t.sorteos)));
  exigir(sortilan::crearArchivoNuevo(QDir(carpeta).filePath(QStringLiteral("apuestas.dat")),
                                     sortilan::ArchivoDe<sortilan::Pena>::codificar(t.penas)));
  std::vector<sortilan::TablaPremios> tablas;
  for (const auto& [fecha, tabla] : t.tablas) tablas.push_back(tabla);
  exigir(sortilan::operaciones::guardarTablasPremios(carpeta, tablas));
  std::printf("%zu sorteos, %zu peñas, %zu tablas de premios en %s\n", t.sorteos.size(), t.penas.size(), tablas.size(),
              qUtf8Printable(carpeta));
  return 0;
}
