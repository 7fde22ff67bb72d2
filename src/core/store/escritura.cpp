#include "store/escritura.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

namespace sortilan {

namespace {

#ifdef Q_OS_UNIX
// The reason in Spanish for the errors a user can do something about.
QString causa(int numero) {
  switch (numero) {
    case ENOSPC: return QStringLiteral("no queda espacio en el disco");
    case EDQUOT: return QStringLiteral("se ha superado la cuota de disco");
    case EIO: return QStringLiteral("error de entrada/salida del disco");
    case EACCES:
    case EPERM: return QStringLiteral("permiso denegado");
    case EROFS: return QStringLiteral("el disco es de sólo lectura");
    default: return QString::fromLocal8Bit(std::strerror(numero));
  }
}

Resultado fallo(const QString& que, const QString& ruta, int numero) {
  return Resultado::fallo(claseDeError(numero),
                          QStringLiteral("%1 %2: %3").arg(que, QDir::toNativeSeparators(ruta), causa(numero)));
}

bool escribirTodo(int fd, const QByteArray& datos) {
  const char* p = datos.constData();
  qint64 quedan = datos.size();
  while (quedan > 0) {
    const ssize_t n = ::write(fd, p, static_cast<size_t>(quedan));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    p += n;
    quedan -= n;
  }
  return true;
}

int sincronizarCarpeta(const QString& carpeta) {
  const int fd = ::open(QFile::encodeName(carpeta).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno;
  const int r = ::fsync(fd) == 0 ? 0 : errno;
  ::close(fd);
  return r;
}

mode_t modoNuevo(const QByteArray& destino) {
  struct stat st {};
  if (::stat(destino.constData(), &st) == 0) return st.st_mode & 07777;
  const mode_t mascara = ::umask(0);
  ::umask(mascara);
  return 0666 & ~mascara;
}

// Writes and syncs `datos` to the open descriptor; closes it. 0 or the error number.
int volcar(int fd, const QByteArray& datos, mode_t modo) {
  int err = 0;
  if (::fchmod(fd, modo) != 0) err = errno;
  if (!err && !escribirTodo(fd, datos)) err = errno;
  if (!err && ::fsync(fd) != 0) err = errno;
  if (::close(fd) != 0 && !err) err = errno;
  return err;
}
#endif

}  // namespace

Resultado::Clase claseDeError(int numero) {
#ifdef Q_OS_UNIX
  switch (numero) {
    // A folder the user may not write is the permission message; a full or failing disk
    // is told as it is.
    case EACCES:
    case EPERM:
    case EROFS: return Resultado::Clase::Permiso;
    case ENOSPC:
    case EDQUOT: return Resultado::Clase::Lleno;
    default: return Resultado::Clase::Disco;
  }
#else
  Q_UNUSED(numero);
  return Resultado::Clase::Disco;
#endif
}

Resultado falloLectura(const QString& ruta) {
  return Resultado::fallo(
      Resultado::Clase::Disco,
      QStringLiteral("No se pudo leer %1: no se ha cambiado nada.").arg(QDir::toNativeSeparators(ruta)));
}

Resultado reemplazarArchivo(const QString& destino, const QByteArray& datos) {
#ifdef Q_OS_UNIX
  const QByteArray final = QFile::encodeName(destino);
  QByteArray plantilla = final + ".tmp.XXXXXX";
  const int fd = ::mkostemp(plantilla.data(), O_CLOEXEC);
  if (fd < 0) return fallo(QStringLiteral("No se pudo crear el temporal de"), destino, errno);
  if (const int err = volcar(fd, datos, modoNuevo(final)); err) {
    ::unlink(plantilla.constData());
    return fallo(QStringLiteral("No se pudo escribir"), destino, err);
  }
  if (::rename(plantilla.constData(), final.constData()) != 0) {
    const int err = errno;
    ::unlink(plantilla.constData());
    return fallo(QStringLiteral("No se pudo reemplazar"), destino, err);
  }
  // Without this the rename itself may not survive a power cut.
  if (const int err = sincronizarCarpeta(QFileInfo(destino).absolutePath()); err)
    return fallo(QStringLiteral("No se pudo asegurar en disco"), destino, err);
  return Resultado::bien();
#else
  QSaveFile f(destino);
  if (!f.open(QIODevice::WriteOnly) || f.write(datos) != datos.size() || !f.commit())
    return Resultado::fallo(Resultado::Clase::Disco,
                            QStringLiteral("No se pudo escribir %1: %2").arg(destino, f.errorString()));
  return Resultado::bien();
#endif
}

Resultado crearArchivoNuevo(const QString& destino, const QByteArray& datos, bool* existia) {
  if (existia) *existia = false;
#ifdef Q_OS_UNIX
  const QByteArray final = QFile::encodeName(destino);
  struct stat st {};
  if (::lstat(final.constData(), &st) == 0) {
    if (existia) *existia = true;
    return fallo(QStringLiteral("No se pudo crear"), destino, EEXIST);
  }
  // Written whole under a temporary name and then linked to its own: a crash never leaves
  // a partial file under the final name, and link() never replaces an existing one.
  QByteArray plantilla = final + ".tmp.XXXXXX";
  const int fd = ::mkostemp(plantilla.data(), O_CLOEXEC);
  if (fd < 0) return fallo(QStringLiteral("No se pudo crear el temporal de"), destino, errno);
  const mode_t mascara = ::umask(0);
  ::umask(mascara);
  if (const int err = volcar(fd, datos, 0666 & ~mascara); err) {
    ::unlink(plantilla.constData());
    return fallo(QStringLiteral("No se pudo escribir"), destino, err);
  }
  int err = ::link(plantilla.constData(), final.constData()) == 0 ? 0 : errno;
  if (err == EPERM || err == EOPNOTSUPP || err == ENOSYS) {
    // A file system without hard links: create the name exclusively and copy into it.
    const int nuevo = ::open(final.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666 & ~mascara);
    err = nuevo < 0 ? errno : volcar(nuevo, datos, 0666 & ~mascara);
    if (nuevo >= 0 && err) ::unlink(final.constData());
  }
  ::unlink(plantilla.constData());
  if (err) {
    if (err == EEXIST && existia) *existia = true;
    return fallo(QStringLiteral("No se pudo crear"), destino, err);
  }
  if (const int e = sincronizarCarpeta(QFileInfo(destino).absolutePath()); e)
    return fallo(QStringLiteral("No se pudo asegurar en disco"), destino, e);
  return Resultado::bien();
#else
  QFile f(destino);
  if (f.exists()) {
    if (existia) *existia = true;
    return Resultado::fallo(QStringLiteral("%1 ya existe").arg(destino));
  }
  if (!f.open(QIODevice::WriteOnly | QIODevice::NewOnly) || f.write(datos) != datos.size() || !f.flush())
    return Resultado::fallo(Resultado::Clase::Disco,
                            QStringLiteral("No se pudo escribir %1: %2").arg(destino, f.errorString()));
  return Resultado::bien();
#endif
}

Resultado borrarArchivo(const QString& ruta, bool sincronizar) {
#ifdef Q_OS_UNIX
  if (::unlink(QFile::encodeName(ruta).constData()) != 0) {
    if (errno == ENOENT) return Resultado::bien();
    return fallo(QStringLiteral("No se pudo borrar"), ruta, errno);
  }
  if (!sincronizar) return Resultado::bien();
  if (const int err = sincronizarCarpeta(QFileInfo(ruta).absolutePath()); err)
    return fallo(QStringLiteral("No se pudo asegurar en disco el borrado de"), ruta, err);
  return Resultado::bien();
#else
  Q_UNUSED(sincronizar);
  if (!QFile::exists(ruta) || QFile::remove(ruta)) return Resultado::bien();
  return Resultado::fallo(Resultado::Clase::Disco, QStringLiteral("No se pudo borrar %1").arg(ruta));
#endif
}

void borrarTemporales(const QString& carpeta, const QStringList& nombres) {
  QDir d(carpeta);
  QStringList patrones;
  for (const QString& n : nombres) patrones << n + QStringLiteral(".tmp.??????");
  for (const QString& t : d.entryList(patrones, QDir::Files | QDir::Hidden | QDir::System)) d.remove(t);
}

namespace {

enum class Leido { Bien, Ausente, NoNormal, Grande, Error };

// Up to `maximo` + 1 bytes of `ruta`; the file is opened without blocking and looked at
// before a byte is read, so a pipe or a device costs nothing.
Leido leerHasta(const QString& ruta, qint64 maximo, QByteArray& datos, int* numero) {
  datos.clear();
  *numero = 0;
#ifdef Q_OS_UNIX
  const QByteArray nombre = QFile::encodeName(ruta);
  const int fd = ::open(nombre.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    *numero = errno;
    return errno == ENOENT ? Leido::Ausente : Leido::Error;
  }
  struct stat st {};
  Leido r = Leido::Bien;
  if (::fstat(fd, &st) != 0) {
    *numero = errno;
    r = Leido::Error;
  } else if (!S_ISREG(st.st_mode)) {
    r = Leido::NoNormal;
  } else if (st.st_size > maximo) {
    r = Leido::Grande;
  } else {
    // The size may grow while reading: never more than one byte past the bound.
    datos.resize(static_cast<qsizetype>(st.st_size) + 1);
    qint64 hecho = 0;
    while (hecho < datos.size()) {
      const ssize_t n = ::read(fd, datos.data() + hecho, static_cast<size_t>(datos.size() - hecho));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        *numero = errno;
        r = Leido::Error;
        break;
      }
      if (n == 0) break;
      hecho += n;
      if (hecho == datos.size() && hecho <= maximo) datos.resize(std::min<qint64>(maximo + 1, hecho * 2));
    }
    datos.resize(static_cast<qsizetype>(hecho));
    if (r == Leido::Bien && hecho > maximo) r = Leido::Grande;
  }
  ::close(fd);
  if (r != Leido::Bien && r != Leido::Grande) datos.clear();
  return r;
#else
  const QFileInfo i(ruta);
  if (!i.exists()) return Leido::Ausente;
  if (!i.isFile()) return Leido::NoNormal;
  if (i.size() > maximo) return Leido::Grande;
  QFile f(ruta);
  if (!f.open(QIODevice::ReadOnly)) return Leido::Error;
  datos = f.read(maximo + 1);
  if (f.error() != QFileDevice::NoError) return Leido::Error;
  return datos.size() > maximo ? Leido::Grande : Leido::Bien;
#endif
}

}  // namespace

Resultado leerAcotado(const QString& ruta, qint64 maximo, QByteArray& datos) {
  int numero = 0;
  const QString nombre = QDir::toNativeSeparators(ruta);
  switch (leerHasta(ruta, maximo, datos, &numero)) {
    case Leido::Bien: return Resultado::bien();
    case Leido::Ausente: return Resultado::bien();
    case Leido::NoNormal:
      return Resultado::fallo(QStringLiteral("%1 no es un fichero normal (es una carpeta, una tubería o un "
                                             "dispositivo): no se lee.")
                                  .arg(nombre));
    case Leido::Grande:
      datos.clear();
      return Resultado::fallo(QStringLiteral("El fichero %1 es demasiado grande (más de %2 bytes): no se lee.")
                                  .arg(nombre, QString::number(maximo)));
    case Leido::Error: break;
  }
#ifdef Q_OS_UNIX
  return fallo(QStringLiteral("No se pudo leer"), ruta, numero ? numero : EIO);
#else
  return Resultado::fallo(QStringLiteral("No se pudo leer %1").arg(nombre), true);
#endif
}

QByteArray leerArchivo(const QString& ruta, bool* ok, qint64 maximo) {
  QByteArray b;
  const Resultado r = leerAcotado(ruta, maximo, b);
  if (ok) *ok = r.ok;
  return b;
}

QByteArray leerArchivoAcotado(const QString& ruta, qint64 maximo, bool* ok) {
  QByteArray b;
  int numero = 0;
  const Leido r = leerHasta(ruta, maximo, b, &numero);
  *ok = r == Leido::Bien || r == Leido::Grande;
  return b;
}

FirmaArchivo firmaArchivo(const QString& ruta) {
  FirmaArchivo firma;
#ifdef Q_OS_UNIX
  struct stat st {};
  if (::stat(QFile::encodeName(ruta).constData(), &st) != 0) return firma;
  firma.existe = true;
  firma.tamano = st.st_size;
  firma.modificado = static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  firma.nodo = st.st_ino;
#else
  const QFileInfo i(ruta);
  if (!i.exists()) return firma;
  firma.existe = true;
  firma.tamano = i.size();
  firma.modificado = i.lastModified().toMSecsSinceEpoch() * 1000000;
#endif
  return firma;
}

}  // namespace sortilan
