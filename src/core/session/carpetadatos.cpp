#include "session/carpetadatos.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "platform/plataforma.h"
#include "store/almacen.h"

namespace sortilan {

bool esCopiaPortable(const QString& carpetaPrograma) {
  if (carpetaPrograma.isEmpty()) return false;
  const QDir carpeta(carpetaPrograma);
  // CMakeCache.txt marks the build folder, where developers run the program as always.
  const char* const marcas[] = {kMarcaPortable,   "CMakeCache.txt",  Almacen::kSorteos, Almacen::kPenas,
                                Almacen::kBuffer, Almacen::kAjustes, "sortilan.ini",    "sortilan.db"};
  for (const char* nombre : marcas)
    if (QFileInfo::exists(carpeta.filePath(QLatin1String(nombre)))) return true;
  return false;
}

CarpetaDatos elegirCarpetaDatos(const QString& opcionDatos, const QString& carpetaPrograma,
                                const QString& carpetaUsuario) {
  if (!opcionDatos.isEmpty()) return {QDir(opcionDatos).absolutePath(), OrigenDatos::Opcion};
  if (esCopiaPortable(carpetaPrograma)) return {QDir(carpetaPrograma).absolutePath(), OrigenDatos::Portable};
  return {carpetaUsuario.isEmpty() ? QString() : QDir(carpetaUsuario).absolutePath(), OrigenDatos::Usuario};
}

Resultado usarCarpetaDatos(const QString& opcionDatos, const QString& carpetaPrograma, const QString& carpetaUsuario) {
  const CarpetaDatos elegida = elegirCarpetaDatos(opcionDatos, carpetaPrograma, carpetaUsuario);
  if (elegida.origen == OrigenDatos::Opcion && !QFileInfo(elegida.ruta).isDir())
    return Resultado::fallo(QStringLiteral("La carpeta de datos no existe: ") + elegida.ruta);
  if (elegida.origen == OrigenDatos::Usuario) {
    if (elegida.ruta.isEmpty())
      return Resultado::fallo(QStringLiteral("No se encuentra la carpeta de datos del usuario."));
    // Peñas and their prizes are nobody else's business: the folder is the user's alone.
    const QFileInfo info(elegida.ruta);
    if (!info.isDir() && !(QDir().mkpath(info.absolutePath()) &&
                           QDir().mkdir(elegida.ruta, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)))
      return Resultado::fallo(QStringLiteral("No se pudo crear la carpeta de datos: ") + elegida.ruta, true);
  }
  plataforma::ponerCarpetaPrograma(elegida.ruta);
  return Resultado::bien();
}

Resultado usarCarpetaDatos(const QString& opcionDatos) {
  QCoreApplication::setApplicationName(QLatin1String(kNombreAplicacion));
  return usarCarpetaDatos(opcionDatos, QCoreApplication::applicationDirPath(),
                          QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

}  // namespace sortilan
