#include "auxiliary/noticias.h"

#include "base/fechas.h"
#include "platform/descarga.h"
#include "store/escritura.h"

namespace sortilan {

bool tocaComprobarInforme(double fechaUltimoSorteo, const QDate& hoy) {
  return fechaUltimoSorteo != 0 && oleDesdeFecha(hoy) - fechaUltimoSorteo >= 3;
}

bool avisainforme(qsizetype antes, qsizetype despues) { return despues != antes && despues >= 301; }

bool informeVisible(qint64 tamano) { return tamano > 10; }

bool compruebainforme(Almacen& almacen, double fechaUltimoSorteo, const QDate& hoy, const QUrl& direccion,
                      const GuardarNoticias& guardar) {
  if (direccion.isEmpty() || !tocaComprobarInforme(fechaUltimoSorteo, hoy)) return false;
  const QString informe = almacen.ruta(kInforme);

  // bajainforme: news only matter to someone who keeps at least one peña.
  Pena primera;
  if (!almacen.penas().leer(1, primera)) return false;
  const qsizetype antes = leerArchivo(informe).size();
  // The news check is silent: a failed fetch or store simply brings no news.
  QByteArray cuerpo;
  if (!plataforma::descargarDatos(direccion, cuerpo)) return false;
  if (const Resultado r = guardar(cuerpo); !r) {
    qWarning("%s", qUtf8Printable(r.error));
    return false;
  }
  return avisainforme(antes, cuerpo.size());
}

void DerivaEtiqueta::avanzar() {
  izquierda += paso;
  if (izquierda > 3700) paso = -100;
  if (izquierda < 360) paso = 100;
}

}  // namespace sortilan
