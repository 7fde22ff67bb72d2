// Runs the operations that have no order of the command line (the print calibration
// and the news file) as a program of their own, so that the fault-injection test can
// fail and kill them like the command line.
//   averia_operar calibrar CARPETA X Y
//   averia_operar noticias CARPETA ARCHIVO
#include <QCoreApplication>
#include <QFile>
#include <cstdio>

#include "operations/ajustes.h"
#include "store/almacen.h"
#include "store/escritura.h"

using namespace sortilan;

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList a = QCoreApplication::arguments();
  if (a.size() < 4) return 2;
  Almacen almacen;
  if (!almacen.abrir(a[2])) return 1;
  Resultado r;
  if (a[1] == QLatin1String("calibrar") && a.size() == 5) {
    Calibracion c = almacen.ajustes().leerOCero(1);
    c.x = a[3].toFloat();
    c.y = a[4].toFloat();
    r = operaciones::guardarCalibracion(almacen, c);
  } else if (a[1] == QLatin1String("noticias") && a.size() == 4) {
    bool leido = false;
    const QByteArray datos = leerArchivo(a[3], &leido);
    if (!leido) return 2;
    r = operaciones::guardarNoticias(almacen, datos);
  } else {
    return 2;
  }
  if (r) return 0;
  std::fprintf(stderr, "%s\n", qUtf8Printable(r.error));
  return 1;
}
