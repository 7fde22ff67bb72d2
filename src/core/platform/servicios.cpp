#include "platform/servicios.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include "platform/plataforma.h"

namespace sortilan::plataforma {

namespace {
constexpr qint64 kMaximoIni = 64 * 1024;

QUrl direccion(const QSettings& ini, const char* clave, const QUrl& defecto) {
  const QString v = ini.value(QLatin1String(clave)).toString().trimmed();
  if (v.isEmpty()) return defecto;
  QUrl u(v, QUrl::StrictMode);
  if (!u.isValid() || (u.scheme() != QLatin1String("https") && u.scheme() != QLatin1String("http")) ||
      u.host().isEmpty())
    return defecto;
  return u;
}
}  // namespace

QUrl Servicios::porDefectoOperador() { return QUrl(QStringLiteral("https://www.loteriasyapuestas.es")); }

QUrl Servicios::delFabricante(const QString& ruta, const QString& fragmento) const {
  if (!hayFabricante()) return {};
  QUrl u = fabricante;
  QString base = u.path();
  if (base.endsWith(QLatin1Char('/'))) base.chop(1);
  u.setPath(base + ruta);
  if (!fragmento.isEmpty()) u.setFragment(fragmento);
  return u;
}

Servicios leerServicios(const QString& carpeta) {
  QString archivo = QDir(carpeta).filePath(QStringLiteral("sortilan.ini"));
  // The settings are read whole: a pipe, a device or a huge file keeps the usual addresses.
  if (const QFileInfo info(archivo);
      (info.exists() || info.isSymLink()) && (!info.isFile() || info.size() > kMaximoIni)) {
    qWarning("%s", qUtf8Printable(QStringLiteral("Se usan las direcciones de siempre: %1 no es un fichero de ajustes "
                                                 "válido (no es un fichero normal o pasa de %2 bytes).")
                                      .arg(QDir::toNativeSeparators(archivo))
                                      .arg(kMaximoIni)));
    archivo.clear();
  }
  QSettings ini(archivo.isEmpty() ? QString() : archivo, QSettings::IniFormat);
  ini.beginGroup(QStringLiteral("servicios"));
  Servicios s;
  s.resultados = direccion(ini, "resultados", Servicios::porDefectoOperador());
  s.operador = direccion(ini, "operador", Servicios::porDefectoOperador());
  s.fabricante = direccion(ini, "fabricante", QUrl());
  s.correo = ini.value(QStringLiteral("correo")).toString().trimmed();
  return s;
}

Servicios servicios() { return leerServicios(carpetaPrograma()); }

QUrl portadaDe(const QUrl& direccion) {
  QUrl u = direccion;
  u.setPath(QStringLiteral("/"));
  u.setQuery(QString());
  u.setFragment(QString());
  return u;
}

}  // namespace sortilan::plataforma
