#include "operations/transaccion.h"

#include <QFile>

#include "auxiliary/noticias.h"
#include "store/escritura.h"

namespace sortilan::operaciones {

QStringList archivosDeDatos() {
  return {QLatin1String(Almacen::kPenas), QLatin1String(Almacen::kSorteos), QLatin1String(Almacen::kSorteosBak),
          QStringLiteral("numeros*.err"), QStringLiteral("apuestas*.err"),  QLatin1String(Almacen::kAjustes),
          QLatin1String(kInforme)};
}

Transaccion::Transaccion(Almacen& a) : almacen(a), cerrojo_(a.carpeta()) {}

Resultado Transaccion::empezar(bool leerDatos) {
  if (Resultado r = cerrojo_.tomar(); !r) return r;
  // Temporaries of a change that was cut short: only while holding the lock is nobody
  // else writing them. The two fixed names are those of older versions.
  borrarTemporales(almacen.carpeta(), archivosDeDatos());
  QFile::remove(almacen.ruta(Almacen::kPenasTmp));
  QFile::remove(almacen.ruta(Almacen::kSorteosTmp));
  if (!leerDatos) return Resultado::bien();

  if (Resultado r = almacen.leerPenas(penas, &penasDanadas); !r) return r;
  // Nothing is ever written back from a damaged peña file: it is first set aside.
  if (penasDanadas)
    return Resultado::fallo(QString::fromUtf8(kPenasCorruptas) + QStringLiteral(" No se ha cambiado nada."));
  if (Resultado r = almacen.leerSorteos(sorteos); !r) return r;
  sorteosDanados = primerSorteoDanado(sorteos) >= 0;
  return Resultado::bien();
}

Resultado Transaccion::leerAnterior(const QString& ruta) {
  for (const Anterior& a : diario_)
    if (a.ruta == ruta) return Resultado::bien();
  bool ok = false;
  const bool existia = QFile::exists(ruta);
  QByteArray datos = leerArchivo(ruta, &ok);
  if (!ok) return Resultado::fallo(QStringLiteral("No se pudo leer %1").arg(ruta), true);
  diario_.push_back({ruta, std::move(datos), existia});
  return Resultado::bien();
}

Resultado Transaccion::escribir(const QString& ruta, const QByteArray& datos) {
  if (Resultado r = leerAnterior(ruta); !r) return r;
  return reemplazarArchivo(ruta, datos);
}

Resultado Transaccion::escribirPenas(const std::vector<Pena>& nuevas) {
  return escribir(almacen.penas().ruta(), ArchivoDe<Pena>::codificar(nuevas));
}

Resultado Transaccion::escribirSorteos(const std::vector<Sorteo>& nuevos) {
  return escribir(almacen.sorteos().ruta(), ArchivoDe<Sorteo>::codificar(nuevos));
}

Resultado Transaccion::crearNuevo(const QString& ruta, const QByteArray& datos, bool* existia) {
  bool ocupado = false;
  Resultado r = crearArchivoNuevo(ruta, datos, &ocupado);
  if (existia) *existia = ocupado;
  // Created, even when what followed failed: undoing removes it. A name that was already
  // taken is someone else's file and is never touched.
  if (!ocupado && QFile::exists(ruta)) diario_.push_back({ruta, {}, false});
  return r;
}

void Transaccion::deshacer() {
  for (auto a = diario_.rbegin(); a != diario_.rend(); ++a) {
    bool leido = false;
    const QByteArray ahora = leerArchivo(a->ruta, &leido);
    if (a->existia) {
      // A write that failed before its rename changed nothing: no need to write it again.
      if (leido && QFile::exists(a->ruta) && ahora == a->datos) continue;
      if (const Resultado r = reemplazarArchivo(a->ruta, a->datos); !r) qWarning("%s", qUtf8Printable(r.error));
    } else {
      QFile::remove(a->ruta);
    }
  }
  diario_.clear();
}

Resultado Transaccion::terminar(Resultado r) {
  if (!r) deshacer();
  return r;
}

}  // namespace sortilan::operaciones
