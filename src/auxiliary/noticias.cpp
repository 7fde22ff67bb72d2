#include "auxiliary/noticias.h"

#include <QFile>

#include "base/fechas.h"
#include "platform/descarga.h"
#include "store/escritura.h"

namespace sortilan {

bool tocaComprobarInforme(double fechaUltimoSorteo, const QDate& hoy) {
  return fechaUltimoSorteo != 0 && oleDesdeFecha(hoy) - fechaUltimoSorteo >= 3;
}

bool avisainforme(qsizetype antes, qsizetype despues) { return despues != antes && despues >= 301; }

bool informeVisible(qint64 tamano) { return tamano > 10; }

bool compruebainforme(Almacen& almacen, double fechaUltimoSorteo, const QDate& hoy, const QUrl& direccion) {
  if (direccion.isEmpty() || !tocaComprobarInforme(fechaUltimoSorteo, hoy)) return false;
  const QString informe = almacen.ruta(kInforme);
  if (!QFile::exists(informe)) QFile(informe).open(QIODevice::WriteOnly);

  // bajainforme: news only matter to someone who keeps at least one peña.
  Pena primera;
  if (!almacen.penas().leer(1, primera)) return false;
  const qsizetype antes = leerArchivo(informe).size();
  // The news check is silent: a failed fetch simply brings no news.
  if (!plataforma::descargarArchivo(direccion, informe)) return false;
  const qsizetype despues = leerArchivo(informe).size();
  return avisainforme(antes, despues);
}

void DerivaEtiqueta::avanzar() {
  izquierda += paso;
  if (izquierda > 3700) paso = -100;
  if (izquierda < 360) paso = 100;
}

}  // namespace sortilan
