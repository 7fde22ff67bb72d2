#include "store/almacen.h"

#include <QDir>
#include <QFile>

#include "base/fechas.h"
#include "store/escritura.h"

namespace sortilan {

QString Almacen::ruta(const char* nombre) const { return ruta(QString::fromLatin1(nombre)); }

QString Almacen::ruta(const QString& nombre) const { return QDir(carpeta_).filePath(nombre); }

Resultado Almacen::abrir(const QString& carpeta) {
  cerrar();
  carpeta_ = carpeta;
  QFile::remove(ruta(kPenasTmp));
  Resultado total = Resultado::bien();
  auto anotar = [&total](const Resultado& r) {
    if (!r && total) total = r;
  };
  anotar(penas_.abrir(ruta(kPenas)));
  anotar(sorteos_.abrir(ruta(kSorteos)));
  QFile buffer(ruta(kBuffer));
  if (!buffer.exists()) {
    if (!buffer.open(QIODevice::WriteOnly))
      anotar(Resultado::fallo(QStringLiteral("No se pudo crear %1").arg(buffer.fileName()), true));
  }
  anotar(ajustes_.abrir(ruta(kAjustes)));
  if (Calibracion c; ajustes_.abierto() && !ajustes_.leer(1, c)) anotar(ajustes_.escribir(1, Calibracion{}));
  return total;
}

void Almacen::cerrar() {
  penas_.cerrar();
  sorteos_.cerrar();
  ajustes_.cerrar();
}

std::vector<Pena> Almacen::enumerarPenas() {
  std::vector<Pena> todas = penas_.leerTodos();
  for (size_t i = 0; i < todas.size(); ++i) {
    Pena& p = todas[i];
    if (p.diasTexto().trimmed() == QStringLiteral("Sábado")) {
      p.ponerDias(QStringLiteral("Domingo"));
      // The corrected day is used either way; a folder that cannot be written is
      // corrected again at the next reading.
      if (const Resultado r = penas_.escribir(static_cast<int>(i) + 1, p); !r) qWarning("%s", qUtf8Printable(r.error));
    }
  }
  return todas;
}

Resultado Almacen::anadirPena(const Pena& pena, int proximapena) {
  return penas_.escribir(proximapena <= 0 ? 1 : proximapena, pena);
}

Resultado Almacen::eliminarPena(int k) {
  std::vector<Pena> todas = penas_.leerTodos();
  if (k < 1 || k > static_cast<int>(todas.size()))
    return Resultado::fallo(QStringLiteral("La peña %1 no existe.").arg(k));
  todas.erase(todas.begin() + (k - 1));
  return penas_.reemplazar(todas, ruta(kPenasTmp));
}

Resultado Almacen::reiniciarResultados(const QDate& hoy) {
  std::vector<Pena> todas = penas_.leerTodos();
  for (size_t i = 0; i < todas.size(); ++i) {
    Pena& p = todas[i];
    p.aciertos.fill(0);
    p.ultimacuenta = 0;
    p.creacion = oleDesdeFecha(hoy);
    if (Resultado r = penas_.escribir(static_cast<int>(i) + 1, p); !r) return r;
  }
  return Resultado::bien();
}

Resultado Almacen::apartarSorteosDanados() {
  sorteos_.cerrar();
  Resultado r = renombrarSobre(ruta(kSorteos), ruta(kSorteosErr));
  const Resultado reabierto = sorteos_.abrir(ruta(kSorteos));
  if (!r) return r;
  return reabierto;
}

Pena nuevaPena(const QString& nombre, int tipo, const QDate& hoy) {
  Pena p;
  p.ponerNombre(nombre);
  p.ponerDias(QStringLiteral("Domingo"));
  p.tipo = static_cast<int16_t>(tipo);
  p.creacion = oleDesdeFecha(hoy);
  return p;
}

}  // namespace sortilan
