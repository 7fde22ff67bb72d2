#include "operations/transaccion.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <mutex>

#include "auxiliary/noticias.h"
#include "store/escritura.h"

namespace sortilan::operaciones {

namespace {

constexpr quint32 kMarcaDiario = 0x53444931;  // "SDI1"
// The journal holds whole record files; none of them comes near this.
constexpr qint64 kMaximoDiario = 512LL * 1024 * 1024;

QString rutaBase(const QString& carpeta) { return QDir(carpeta).filePath(QLatin1String(BaseDatos::kArchivo)); }

// SQLite's own change counter (offset 24 of the header), which every commit moves; -1
// without a file. A transaction cut short is rolled back by SQLite first, so what is read
// is committed state.
qint64 contadorBase(const QString& carpeta, bool recuperarAntes) {
  const QString ruta = rutaBase(carpeta);
  if (!QFileInfo(ruta).isFile()) return -1;
  if (recuperarAntes) {
    BaseDatos b;
    (void)b.abrir(carpeta, BaseDatos::Modo::Lectura);
  }
  QFile f(ruta);
  if (!f.open(QIODevice::ReadOnly)) return -1;
  const QByteArray cabecera = f.read(100);
  if (cabecera.size() < 28) return 0;
  return (static_cast<qint64>(static_cast<uchar>(cabecera[24])) << 24) | (static_cast<uchar>(cabecera[25]) << 16) |
         (static_cast<uchar>(cabecera[26]) << 8) | static_cast<uchar>(cabecera[27]);
}

// A database that a change created and never committed: empty, its journal (which only
// says "empty") with it.
Resultado borrarBaseNueva(const QString& carpeta) {
  if (Resultado r = borrarArchivo(rutaBase(carpeta) + QStringLiteral("-journal")); !r) return r;
  return borrarArchivo(rutaBase(carpeta));
}

bool nombreSencillo(const QString& n) {
  return !n.isEmpty() && !n.contains(QLatin1Char('/')) && !n.contains(QLatin1Char('\\')) && n != QLatin1String(".") &&
         n != QLatin1String("..");
}

Resultado diarioDanado(const QString& ruta) {
  return Resultado::fallo(Resultado::Clase::Danado,
                          QStringLiteral("El diario %1 de un cambio interrumpido está dañado: no se ha cambiado nada. "
                                         "Haga una copia de la carpeta de datos y aparte ese archivo.")
                              .arg(QDir::toNativeSeparators(ruta)));
}

// The folders this process has a change open on. A second change of the same folder
// from inside the first (an event loop run while it was open) would take the lock file
// over as a leftover of its own, overwrite the first one's journal and release the lock
// under it.
std::mutex abiertasMutex;
QHash<QString, int>& abiertas() {
  static QHash<QString, int> h;
  return h;
}

QString claveCarpeta(const QString& carpeta) {
  const QFileInfo info(carpeta);
  const QString canonica = info.canonicalFilePath();
  return canonica.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonica;
}

}  // namespace

QStringList archivosDeDatos() {
  return {QLatin1String(Almacen::kPenas),
          QLatin1String(Almacen::kSorteos),
          QLatin1String(Almacen::kSorteosBak),
          QStringLiteral("numeros*.err"),
          QStringLiteral("apuestas*.err"),
          QLatin1String(Almacen::kAjustes),
          QLatin1String(kInforme),
          QLatin1String(Almacen::kBuffer),
          QStringLiteral("vix.pdf"),
          QLatin1String(Transaccion::kDiario)};
}

Transaccion::Transaccion(Almacen& a) : almacen(a), cerrojo_(a.carpeta()) {}

Transaccion::~Transaccion() {
  if (!confirmada_) deshacer();
  base_.reset();
  if (!abierta_.isEmpty()) {
    const std::lock_guard<std::mutex> g(abiertasMutex);
    if (--abiertas()[abierta_] <= 0) abiertas().remove(abierta_);
  }
}

QString Transaccion::ruta(const QString& nombre) const { return QDir(almacen.carpeta()).filePath(nombre); }

bool Transaccion::hayDiario(const QString& carpeta) {
  return QFileInfo::exists(QDir(carpeta).filePath(QLatin1String(kDiario)));
}

Resultado Transaccion::empezar(bool leerDatos) {
  if (abierta_.isEmpty()) {
    const QString clave = claveCarpeta(almacen.carpeta());
    const std::lock_guard<std::mutex> g(abiertasMutex);
    if (abiertas().value(clave) > 0)
      return Resultado::fallo(Resultado::Clase::Ocupado,
                              QStringLiteral("Sortilan aún no ha terminado otro cambio de los datos de %1. No se ha "
                                             "cambiado nada: repita la operación cuando termine.")
                                  .arg(QDir::toNativeSeparators(almacen.carpeta())));
    ++abiertas()[clave];
    abierta_ = clave;
  }
  if (Resultado r = cerrojo_.tomar(); !r) return r;
  if (Resultado r = recuperar(); !r) return r;
  // Temporaries of a change that was cut short: only while holding the lock is nobody
  // else writing them. The two fixed names are those of older versions.
  borrarTemporales(almacen.carpeta(), archivosDeDatos());
  QFile::remove(almacen.ruta(Almacen::kPenasTmp));
  QFile::remove(almacen.ruta(Almacen::kSorteosTmp));
  if (!leerDatos) return Resultado::bien();

  if (Resultado r = almacen.leerPenas(penas, &penasDanadas); !r) return r;
  // Nothing is ever written back from a damaged peña file: it is first set aside.
  if (penasDanadas)
    return Resultado::fallo(Resultado::Clase::Danado,
                            QString::fromUtf8(kPenasCorruptas) + QStringLiteral(" No se ha cambiado nada."));
  if (Resultado r = almacen.leerSorteos(sorteos, &sorteosDanados); !r) return r;
  return Resultado::bien();
}

Resultado Transaccion::recuperar() {
  const QString diario = ruta(QLatin1String(kDiario));
  // A transaction of sortilan.db cut short without any record file: SQLite rolls it back
  // at the first reading, before its counter is looked at.
  if (QFile::exists(rutaBase(almacen.carpeta()) + QStringLiteral("-journal")))
    (void)contadorBase(almacen.carpeta(), true);
  if (!QFile::exists(diario)) return Resultado::bien();
  bool leido = false;
  const QByteArray bytes = leerArchivoAcotado(diario, kMaximoDiario, &leido);
  if (!leido || bytes.size() > kMaximoDiario) return diarioDanado(diario);
  QDataStream in(bytes);
  in.setVersion(QDataStream::Qt_6_4);
  quint32 marca = 0, n = 0;
  qint64 contador = 0;
  in >> marca >> contador >> n;
  if (marca != kMarcaDiario || in.status() != QDataStream::Ok) return diarioDanado(diario);
  std::vector<Anterior> anteriores;
  for (quint32 i = 0; i < n; ++i) {
    Anterior a;
    in >> a.nombre >> a.existia >> a.datos;
    if (in.status() != QDataStream::Ok || !nombreSencillo(a.nombre)) return diarioDanado(diario);
    anteriores.push_back(std::move(a));
  }
  const qint64 ahora = contadorBase(almacen.carpeta(), true);
  // The database is the commit point of a change that touched it: committed, the record
  // files written before it are the new state too.
  const bool confirmado = contador < 0 ? ahora > 0 : ahora != contador;
  if (!confirmado) {
    for (auto a = anteriores.rbegin(); a != anteriores.rend(); ++a) {
      const QString r = ruta(a->nombre);
      if (a->existia) {
        bool ok = false;
        if (leerArchivo(r, &ok) == a->datos && ok && QFile::exists(r)) continue;
        if (Resultado w = reemplazarArchivo(r, a->datos); !w) return w;
      } else if (Resultado b = borrarArchivo(r); !b) {
        return b;
      }
    }
    // A database this change created and never committed.
    if (contador < 0 && QFileInfo(rutaBase(almacen.carpeta())).size() == 0)
      if (Resultado b = borrarBaseNueva(almacen.carpeta()); !b) return b;
  }
  return borrarArchivo(diario);
}

Resultado Transaccion::escribirDiario() {
  if (!estadoBaseTomado_) {
    contadorBase_ = contadorBase(almacen.carpeta(), false);
    estadoBaseTomado_ = true;
  }
  QByteArray bytes;
  QDataStream out(&bytes, QIODevice::WriteOnly);
  out.setVersion(QDataStream::Qt_6_4);
  out << kMarcaDiario << contadorBase_ << static_cast<quint32>(anteriores_.size());
  for (const Anterior& a : anteriores_) out << a.nombre << a.existia << a.datos;
  const QString diario = ruta(QLatin1String(kDiario));
  const Resultado r = reemplazarArchivo(diario, bytes);
  // Renamed into place but not made durable counts as written: undoing removes it.
  diarioEscrito_ = diarioEscrito_ || QFileInfo::exists(diario);
  return r;
}

Resultado Transaccion::anotar(const QString& destino, bool nuevo) {
  const QString nombre = QFileInfo(destino).fileName();
  for (const Anterior& a : anteriores_)
    if (a.nombre == nombre) return Resultado::bien();
  Anterior a{nombre, {}, false};
  if (!nuevo) {
    bool ok = false;
    a.existia = QFile::exists(destino);
    a.datos = leerArchivo(destino, &ok);
    if (!ok) return falloLectura(destino);
  }
  // Kept even when the journal cannot be written: putting back bytes that never changed
  // changes nothing.
  anteriores_.push_back(std::move(a));
  return escribirDiario();
}

Resultado Transaccion::escribir(const QString& destino, const QByteArray& datos) {
  if (Resultado r = anotar(destino, false); !r) return r;
  return reemplazarArchivo(destino, datos);
}

Resultado Transaccion::escribirPenas(const std::vector<Pena>& nuevas) {
  return escribir(almacen.penas().ruta(), ArchivoDe<Pena>::codificar(nuevas));
}

Resultado Transaccion::escribirSorteos(const std::vector<Sorteo>& nuevos) {
  return escribir(almacen.sorteos().ruta(), ArchivoDe<Sorteo>::codificar(nuevos));
}

Resultado Transaccion::crearNuevo(const QString& destino, const QByteArray& datos, bool* existia) {
  if (existia) *existia = false;
  // A name already taken is someone else's file: it is never journaled, so never removed.
  if (QFileInfo::exists(destino) || QFileInfo(destino).isSymLink()) {
    bool ocupado = false;
    Resultado r = crearArchivoNuevo(destino, datos, &ocupado);
    if (existia) *existia = ocupado;
    return r;
  }
  if (Resultado r = anotar(destino, true); !r) return r;
  bool ocupado = false;
  Resultado r = crearArchivoNuevo(destino, datos, &ocupado);
  if (existia) *existia = ocupado;
  if (ocupado) {
    // Taken meanwhile by another program: out of the journal again.
    anteriores_.pop_back();
    if (Resultado d = escribirDiario(); !d) return d;
  }
  return r;
}

Resultado Transaccion::abrirBase() {
  if (base_) return Resultado::bien();
  if (!cerrojo_.tomado()) return Resultado::fallo(QStringLiteral("sortilan.db se abre dentro de un cambio empezado."));
  const bool existia = QFileInfo(rutaBase(almacen.carpeta())).isFile();
  // A database this change creates must go again if the change does not stay: the
  // journal says it was absent before the file appears.
  if (!existia && !diarioEscrito_)
    if (Resultado r = escribirDiario(); !r) return r;
  if (!estadoBaseTomado_) {
    contadorBase_ = contadorBase(almacen.carpeta(), false);
    estadoBaseTomado_ = true;
  }
  auto b = std::make_unique<BaseDatos>();
  if (Resultado r = b->abrir(almacen.carpeta(), BaseDatos::Modo::Escritura); !r) return r;
  if (Resultado r = b->empezar(); !r) return r;
  base_ = std::move(b);
  return Resultado::bien();
}

Resultado Transaccion::confirmar() {
  bool baseConfirmada = false;
  if (base_ && base_->enTransaccion()) {
    if (Resultado r = base_->confirmar(); !r) {
      deshacer();
      return r;
    }
    baseConfirmada = true;
  }
  if (diarioEscrito_) {
    // With the database committed the journal only says so: a removal that a power cut
    // undoes is recovered as the new state. Without it, the removal is the commit.
    if (Resultado r = borrarArchivo(ruta(QLatin1String(kDiario)), !baseConfirmada); !r && !baseConfirmada) {
      // Left in place, the journal would undo at the next start a change reported as made.
      deshacer();
      return r;
    }
    diarioEscrito_ = false;
  }
  anteriores_.clear();
  confirmada_ = true;
  return Resultado::bien();
}

void Transaccion::deshacer() {
  const bool baseExistia = contadorBase_ >= 0 || !estadoBaseTomado_;
  if (base_) {
    base_->deshacer();
    base_.reset();
  }
  bool todo = true;
  for (auto a = anteriores_.rbegin(); a != anteriores_.rend(); ++a) {
    const QString r = ruta(a->nombre);
    if (a->existia) {
      bool leido = false;
      // A write that failed before its rename changed nothing: no need to write it again.
      if (leerArchivo(r, &leido) == a->datos && leido && QFile::exists(r)) continue;
      if (const Resultado w = reemplazarArchivo(r, a->datos); !w) {
        qWarning("%s", qUtf8Printable(w.error));
        todo = false;
      }
    } else if (const Resultado b = borrarArchivo(r); !b) {
      todo = false;
    }
  }
  const QString db = rutaBase(almacen.carpeta());
  if (!baseExistia && QFileInfo(db).isFile() && QFileInfo(db).size() == 0 && !borrarBaseNueva(almacen.carpeta()))
    todo = false;
  // What could not be put back stays journaled: the next change finishes the undoing.
  if (todo && diarioEscrito_ && borrarArchivo(ruta(QLatin1String(kDiario)))) diarioEscrito_ = false;
  anteriores_.clear();
}

Resultado Transaccion::terminar(Resultado r) {
  if (!r) {
    deshacer();
    return r;
  }
  if (Resultado c = confirmar(); !c) return c;
  return r;
}

Resultado terminarCambioCortado(Almacen& almacen) {
  if (!Transaccion::hayDiario(almacen.carpeta())) return Resultado::bien();
  Transaccion t(almacen);
  return t.empezar(false);
}

Resultado cambiarBase(const QString& carpeta, const std::function<Resultado(BaseDatos&)>& cambios) {
  Almacen almacen;
  if (Resultado r = almacen.abrir(carpeta); !r) return r;
  Transaccion t(almacen);
  if (Resultado r = t.empezar(false); !r) return r;
  if (Resultado r = t.abrirBase(); !r) return r;
  return t.terminar(cambios(t.base()));
}

}  // namespace sortilan::operaciones
