#include "store/cerrojodatos.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>
#include <QThread>
#include <atomic>

namespace sortilan {

namespace {
std::chrono::milliseconds esperaActual{5000};
// Locks this process holds: a second one would wait on itself.
std::atomic<int> tomadosAqui{0};
// How long an empty lock file must stay empty to be a dead holder's.
constexpr std::chrono::milliseconds kVacioMuerto{1000};
}  // namespace

CerrojoDatos::CerrojoDatos(const QString& carpeta)
    : cerrojo_(std::make_unique<QLockFile>(QDir(carpeta).filePath(QLatin1String(kNombre)))) {
  // A change lasts well under a second, but a slow disk must not make a live holder look
  // dead: only a holder that no longer runs leaves a stale lock.
  cerrojo_->setStaleLockTime(std::chrono::milliseconds::zero());
}

CerrojoDatos::~CerrojoDatos() { soltar(); }

QString CerrojoDatos::textoOcupado() {
  return QStringLiteral(
      "Otro programa está modificando los datos de Sortilan en este momento. No se ha cambiado nada: espere a que "
      "termine y repita la operación.");
}

Resultado CerrojoDatos::tomar() {
  if (cerrojo_->isLocked()) return Resultado::bien();
  const QFileInfo info(cerrojo_->fileName());
  if (info.exists() && (!info.isFile() || info.isSymLink()))
    return Resultado::fallo(Resultado::Clase::Ajeno,
                            QStringLiteral("%1 no es el archivo de bloqueo de Sortilan (es una carpeta u otra cosa): "
                                           "no se ha cambiado nada. Apártelo de la carpeta de datos.")
                                .arg(QDir::toNativeSeparators(cerrojo_->fileName())));
  const QDeadlineTimer fin(esperaActual);
  for (;;) {
    if (cerrojo_->tryLock(std::chrono::milliseconds::zero())) return tomadoBien();
    if (cerrojo_->error() != QLockFile::LockFailedError) return fallo();
    qint64 pid = 0;
    QString maquina, programa;
    const bool conDueno = cerrojo_->getLockInfo(&pid, &maquina, &programa);
    // A holder that died between creating the lock file and writing its name in it leaves
    // it empty, which would never look stale. A live holder writes its name at once, so
    // only an empty file that has stayed empty a while is a dead one's; and the system
    // lock on the file goes with the process, so removeStaleLockFile() only succeeds when
    // nobody holds it any more.
    if (!conDueno) {
      const QFileInfo vacio(cerrojo_->fileName());
      if (vacio.exists() && vacio.lastModified().msecsTo(QDateTime::currentDateTime()) > kVacioMuerto.count() &&
          cerrojo_->removeStaleLockFile() && cerrojo_->tryLock(std::chrono::milliseconds::zero()))
        return tomadoBien();
    }
    // Our own name in it while we hold none: a release of ours that could not remove the
    // file. Waiting would only wait on ourselves.
    if (conDueno && tomadosAqui.load() == 0 && pid == QCoreApplication::applicationPid() &&
        maquina == QSysInfo::machineHostName()) {
      if (QFile::remove(cerrojo_->fileName()) && cerrojo_->tryLock(std::chrono::milliseconds::zero()))
        return tomadoBien();
      return Resultado::fallo(Resultado::Clase::Permiso,
                              QStringLiteral("No se pudo quitar el bloqueo %1 que dejó este mismo programa.")
                                  .arg(QDir::toNativeSeparators(cerrojo_->fileName())));
    }
    if (fin.hasExpired()) return fallo();
    QThread::msleep(20);
  }
}

Resultado CerrojoDatos::tomadoBien() {
  ++tomadosAqui;
  return Resultado::bien();
}

Resultado CerrojoDatos::fallo() const {
  switch (cerrojo_->error()) {
    case QLockFile::LockFailedError: return Resultado::fallo(Resultado::Clase::Ocupado, textoOcupado());
    case QLockFile::PermissionError:
      return Resultado::fallo(QStringLiteral("No se puede escribir en la carpeta de datos %1")
                                  .arg(QDir::toNativeSeparators(QFileInfo(cerrojo_->fileName()).absolutePath())),
                              true);
    default:
      // QLockFile does not say why; a full or failing disk is the usual cause.
      return Resultado::fallo(Resultado::Clase::Disco,
                              QStringLiteral("No se pudo crear %1: el disco no admite la escritura (¿está lleno?).")
                                  .arg(QDir::toNativeSeparators(cerrojo_->fileName())));
  }
}

bool CerrojoDatos::tomado() const { return cerrojo_->isLocked(); }

void CerrojoDatos::soltar() {
  if (!cerrojo_->isLocked()) return;
  cerrojo_->unlock();
  --tomadosAqui;
}

std::chrono::milliseconds CerrojoDatos::espera() { return esperaActual; }

void CerrojoDatos::ponerEspera(std::chrono::milliseconds ms) { esperaActual = ms; }

}  // namespace sortilan
