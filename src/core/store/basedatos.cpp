#include "store/basedatos.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

#include "store/cerrojodatos.h"
#include "store/esquema.h"

namespace sortilan {

namespace {

constexpr const char* kOpciones = "QSQLITE_BUSY_TIMEOUT=5000";

QString nuevoNombre() {
  static QAtomicInteger<int> contador;
  return QStringLiteral("sortilan-db-%1").arg(contador.fetchAndAddRelaxed(1));
}

// Failures of the file itself (read-only, cannot open, disk full, I/O) are reported as
// permission problems, the rest as the database's own reason.
Resultado falloSql(const QSqlError& e, const QString& que) {
  bool ok = false;
  const int codigo = e.nativeErrorCode().toInt(&ok) & 0xFF;
  const bool dePermiso = ok && (codigo == 8 || codigo == 10 || codigo == 13 || codigo == 14);
  return Resultado::fallo(QStringLiteral("Error de la base de datos %1 (%2): %3")
                              .arg(QLatin1String(BaseDatos::kArchivo), que, e.text().trimmed()),
                          dePermiso);
}

Resultado falloVersionNueva() {
  return Resultado::fallo(
      QStringLiteral("La base de datos %1 es de una versión más nueva de Sortilan; actualice el programa.")
          .arg(QLatin1String(BaseDatos::kArchivo)));
}

}  // namespace

BaseDatos::BaseDatos() : nombre_(nuevoNombre()) {}

BaseDatos::~BaseDatos() {
  cerrar();
  QSqlDatabase::removeDatabase(nombre_);
}

QSqlDatabase BaseDatos::conexion() const { return QSqlDatabase::database(nombre_, false); }

bool BaseDatos::abierta() const { return conexion().isOpen(); }

void BaseDatos::cerrar() {
  QSqlDatabase db = conexion();
  if (db.isValid()) db.close();
}

Resultado BaseDatos::abrirConexion(const QString& nombreBase, const QString& opciones) {
  cerrar();
  QSqlDatabase db = QSqlDatabase::contains(nombre_) ? QSqlDatabase::database(nombre_, false)
                                                    : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nombre_);
  if (!db.isValid()) return Resultado::fallo(QStringLiteral("Falta el controlador SQLite de Qt (QSQLITE)."));
  db.setDatabaseName(nombreBase);
  db.setConnectOptions(opciones);
  if (!db.open()) return falloSql(db.lastError(), QStringLiteral("abrir"));
  return ejecutar(QStringLiteral("PRAGMA foreign_keys = ON"));
}

Resultado BaseDatos::abrir(const QString& carpeta, Modo modo) {
  const QString ruta = QDir(carpeta).filePath(QLatin1String(kArchivo));
  // A pipe or a device under the database's name would hang SQLite or feed it without end.
  if (const QFileInfo info(ruta); info.exists() || info.isSymLink()) {
    if (!info.isFile())
      return Resultado::fallo(
          QStringLiteral("%1 no es un fichero normal (es una carpeta, una tubería o un dispositivo): no se lee.")
              .arg(QDir::toNativeSeparators(ruta)));
    if (info.size() > kMaximoTamano)
      return Resultado::fallo(QStringLiteral("El fichero %1 es demasiado grande (más de %2 bytes): no se lee.")
                                  .arg(QDir::toNativeSeparators(ruta), QString::number(kMaximoTamano)));
  }
  if (modo == Modo::Escritura) {
    if (Resultado r = abrirConexion(ruta, QLatin1String(kOpciones)); !r) return r;
    return migrar();
  }
  if (!QFile::exists(ruta)) return Resultado::bien();
  // Through a URI so that reading never creates the file; read-write when it can, so a
  // transaction cut short by a crash is rolled back before anything is read.
  const QString uri = QUrl::fromLocalFile(ruta).toString(QUrl::FullyEncoded);
  const QString opciones = QLatin1String(kOpciones) + QStringLiteral(";QSQLITE_OPEN_URI");
  Resultado r = abrirConexion(uri + QStringLiteral("?mode=rw"), opciones);
  if (!r) r = abrirConexion(uri + QStringLiteral("?mode=ro"), opciones);
  if (!r) return r;
  const int v = version();
  if (v > versionEsquema()) return falloVersionNueva();
  if (v == versionEsquema()) return Resultado::bien();
  // An older file is brought up to date once, as a change of the folder.
  cerrar();
  if (Resultado m = cambiarBase(carpeta, [](BaseDatos&) { return Resultado::bien(); }); !m) return m;
  return abrirConexion(uri + QStringLiteral("?mode=rw"), opciones);
}

int BaseDatos::version() {
  QSqlQuery q(conexion());
  if (!ejecutar(q, QStringLiteral("PRAGMA user_version")) || !q.next()) return -1;
  return q.value(0).toInt();
}

Resultado BaseDatos::ejecutar(QSqlQuery& q, const QString& sql, const QVariantList& valores) {
  if (!q.prepare(sql)) return falloSql(q.lastError(), sql.section(QLatin1Char(' '), 0, 1));
  for (const QVariant& v : valores) q.addBindValue(v);
  if (!q.exec()) return falloSql(q.lastError(), sql.section(QLatin1Char(' '), 0, 1));
  return Resultado::bien();
}

Resultado BaseDatos::ejecutar(const QString& sql, const QVariantList& valores) {
  QSqlQuery q(conexion());
  return ejecutar(q, sql, valores);
}

Resultado BaseDatos::transaccion(const std::function<Resultado()>& cambios) {
  // IMMEDIATE takes the write lock at once: a reader that started before cannot make
  // the commit fail half-way through.
  if (Resultado r = ejecutar(QStringLiteral("BEGIN IMMEDIATE")); !r) return r;
  Resultado r = cambios();
  if (r) r = ejecutar(QStringLiteral("COMMIT"));
  if (!r) {
    if (const Resultado deshecho = ejecutar(QStringLiteral("ROLLBACK")); !deshecho)
      qWarning("%s", qUtf8Printable(deshecho.error));
  }
  return r;
}

Resultado BaseDatos::migrar() {
  const int v = version();
  if (v < 0) return Resultado::fallo(QStringLiteral("%1 no es una base de datos.").arg(QLatin1String(kArchivo)));
  if (v > versionEsquema()) return falloVersionNueva();
  for (const Migracion& m : migraciones()) {
    if (m.version <= v) continue;
    const Resultado r = transaccion([&] {
      for (const QString& s : m.sentencias)
        if (Resultado e = ejecutar(s); !e) return e;
      // PRAGMA takes no bound values; the version is a number of this program.
      return ejecutar(QStringLiteral("PRAGMA user_version = %1").arg(m.version));
    });
    if (!r) return r;
  }
  return Resultado::bien();
}

Resultado cambiarBase(const QString& carpeta, const std::function<Resultado(BaseDatos&)>& cambios) {
  CerrojoDatos cerrojo(carpeta);
  if (Resultado r = cerrojo.tomar(); !r) return r;
  BaseDatos base;
  if (Resultado r = base.abrir(carpeta, BaseDatos::Modo::Escritura); !r) return r;
  return base.transaccion([&] { return cambios(base); });
}

}  // namespace sortilan
