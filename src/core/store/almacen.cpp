#include "store/almacen.h"

#include <QDir>
#include <QFileInfo>

#include "base/fechas.h"
#include "store/sorteo.h"

namespace sortilan {

QString Almacen::ruta(const char* nombre) const { return ruta(QString::fromLatin1(nombre)); }

QString Almacen::ruta(const QString& nombre) const { return QDir(carpeta_).filePath(nombre); }

Resultado Almacen::abrir(const QString& carpeta) {
  carpeta_ = carpeta;
  penas_.abrir(ruta(kPenas));
  sorteos_.abrir(ruta(kSorteos));
  ajustes_.abrir(ruta(kAjustes));
  if (!QFileInfo(carpeta).isDir())
    return Resultado::fallo(
        QStringLiteral("No se pudo abrir la carpeta de datos %1").arg(QDir::toNativeSeparators(carpeta)), true);
  return Resultado::bien();
}

bool corregirDias(std::vector<Pena>& penas) {
  bool cambio = false;
  for (Pena& p : penas) {
    if (p.diasTexto().trimmed() == QStringLiteral("Sábado")) {
      p.ponerDias(QStringLiteral("Domingo"));
      cambio = true;
    }
  }
  return cambio;
}

std::vector<Pena> Almacen::enumerarPenas() const {
  std::vector<Pena> todas = penas_.leerTodos();
  corregirDias(todas);
  return todas;
}

Resultado Almacen::leerPenas(std::vector<Pena>& penas, bool* danado) const {
  bool parcial = false;
  Resultado r = penas_.leerTodos(penas, &parcial);
  *danado = r && (parcial || primeraPenaDanada(penas) >= 0);
  if (*danado || !r) penas.clear();
  corregirDias(penas);
  return r;
}

Resultado Almacen::leerSorteos(std::vector<Sorteo>& sorteos, bool* danado) const {
  bool parcial = false;
  Resultado r = sorteos_.leerTodos(sorteos, &parcial);
  *danado = r && (parcial || primerSorteoDanado(sorteos) >= 0);
  return r;
}

Almacen::Firma Almacen::firma() const { return {firmaArchivo(ruta(kSorteos)), firmaArchivo(ruta(kPenas))}; }

Pena nuevaPena(const QString& nombre, int tipo, const QDate& hoy) {
  Pena p;
  p.ponerNombre(nombre);
  p.ponerDias(QStringLiteral("Domingo"));
  p.tipo = static_cast<int16_t>(tipo);
  p.creacion = oleDesdeFecha(hoy);
  return p;
}

}  // namespace sortilan
