#include "store/escritura.h"

#include <QFile>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace sortilan {

namespace {
bool sincronizar(QFile& f) {
  if (!f.flush()) return false;
#ifdef Q_OS_UNIX
  return ::fsync(f.handle()) == 0;
#else
  return true;
#endif
}
}  // namespace

Resultado renombrarSobre(const QString& origen, const QString& destino) {
  std::error_code ec;
  std::filesystem::rename(std::filesystem::path(origen.toStdU16String()),
                          std::filesystem::path(destino.toStdU16String()), ec);
  if (ec)
    return Resultado::fallo(
        QStringLiteral("No se pudo reemplazar %1: %2").arg(destino, QString::fromStdString(ec.message())), true);
  return Resultado::bien();
}

Resultado reemplazarArchivo(const QString& destino, const QByteArray& datos, const QString& temporal) {
  const QString tmp = temporal.isEmpty() ? destino + QStringLiteral(".tmp") : temporal;
  QFile f(tmp);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
    return Resultado::fallo(QStringLiteral("No se pudo crear %1: %2").arg(tmp, f.errorString()), true);
  if (f.write(datos) != datos.size() || !sincronizar(f)) {
    const QString err = f.errorString();
    f.close();
    QFile::remove(tmp);
    return Resultado::fallo(QStringLiteral("No se pudo escribir %1: %2").arg(tmp, err), true);
  }
  f.close();
  Resultado r = renombrarSobre(tmp, destino);
  if (!r) QFile::remove(tmp);
  return r;
}

QByteArray leerArchivo(const QString& ruta, bool* ok) {
  QFile f(ruta);
  if (!f.exists()) {
    if (ok) *ok = true;
    return {};
  }
  if (!f.open(QIODevice::ReadOnly)) {
    if (ok) *ok = false;
    return {};
  }
  if (ok) *ok = true;
  return f.readAll();
}

}  // namespace sortilan
