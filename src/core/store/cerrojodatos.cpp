#include "store/cerrojodatos.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

namespace sortilan {

namespace {
std::chrono::milliseconds esperaActual{5000};
}

CerrojoDatos::CerrojoDatos(const QString& carpeta)
    : cerrojo_(std::make_unique<QLockFile>(QDir(carpeta).filePath(QLatin1String(kNombre)))) {
  // A change lasts well under a second, but a slow disk must not make a live holder look
  // dead: only a holder that no longer runs leaves a stale lock.
  cerrojo_->setStaleLockTime(std::chrono::milliseconds::zero());
}

CerrojoDatos::~CerrojoDatos() = default;

QString CerrojoDatos::textoOcupado() {
  return QStringLiteral(
      "Otro programa está modificando los datos de Sortilan en este momento. No se ha cambiado nada: espere a que "
      "termine y repita la operación.");
}

Resultado CerrojoDatos::tomar() {
  if (cerrojo_->isLocked() || cerrojo_->tryLock(std::chrono::milliseconds::zero())) return Resultado::bien();
  if (cerrojo_->error() != QLockFile::LockFailedError) return fallo();
  // A holder that died between creating the lock file and writing its name in it leaves
  // it empty, which would never look stale. The system lock on the file goes with the
  // process, so removeStaleLockFile() only succeeds when nobody holds it any more.
  qint64 pid = 0;
  QString maquina, programa;
  if (!cerrojo_->getLockInfo(&pid, &maquina, &programa) && cerrojo_->removeStaleLockFile() &&
      cerrojo_->tryLock(std::chrono::milliseconds::zero()))
    return Resultado::bien();
  if (cerrojo_->tryLock(esperaActual)) return Resultado::bien();
  return fallo();
}

Resultado CerrojoDatos::fallo() const {
  switch (cerrojo_->error()) {
    case QLockFile::LockFailedError: return Resultado::fallo(textoOcupado());
    case QLockFile::PermissionError:
      return Resultado::fallo(QStringLiteral("No se puede escribir en la carpeta de datos %1")
                                  .arg(QDir::toNativeSeparators(QFileInfo(cerrojo_->fileName()).absolutePath())),
                              true);
    default:
      return Resultado::fallo(QStringLiteral("No se pudo crear %1").arg(QDir::toNativeSeparators(cerrojo_->fileName())),
                              true);
  }
}

void CerrojoDatos::soltar() {
  if (cerrojo_->isLocked()) cerrojo_->unlock();
}

std::chrono::milliseconds CerrojoDatos::espera() { return esperaActual; }

void CerrojoDatos::ponerEspera(std::chrono::milliseconds ms) { esperaActual = ms; }

}  // namespace sortilan
