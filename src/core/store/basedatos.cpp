#include "store/basedatos.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

#include "store/cerrojodatos.h"
#include "store/esquema.h"

namespace sortilan {

namespace {

using Clase = Resultado::Clase;

// Another program holding sortilan.db is waited for as long as one holding the folder.
QString opciones() { return QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(CerrojoDatos::espera().count()); }

QString nuevoNombre() {
  static QAtomicInteger<int> contador;
  return QStringLiteral("sortilan-db-%1").arg(contador.fetchAndAddRelaxed(1));
}

// The tables each step creates; a table not created by the steps up to a file's version
// is another program's.
QStringList creadosHasta(int version) {
  static const QRegularExpression kCrea(QStringLiteral("^CREATE TABLE (\\w+)"));
  QStringList nombres;
  for (const Migracion& m : migraciones()) {
    if (m.version > version) break;
    for (const QString& s : m.sentencias)
      if (const QRegularExpressionMatch c = kCrea.match(s); c.hasMatch()) nombres << c.captured(1);
  }
  return nombres;
}

QString nombreDe(const QString& ruta) {
  return ruta.isEmpty() ? QLatin1String(BaseDatos::kArchivo) : QDir::toNativeSeparators(ruta);
}

Resultado ajena(const QString& ruta, const QString& motivo) {
  return Resultado::fallo(Clase::Ajeno,
                          QStringLiteral("La base de datos %1 no es de Sortilan: %2. No se ha cambiado nada en ella.")
                              .arg(nombreDe(ruta), motivo));
}

}  // namespace

Resultado BaseDatos::falloSql(const QSqlError& e, const QString& que, const QString& ruta) {
  bool ok = false;
  const int codigo = e.nativeErrorCode().toInt(&ok) & 0xFF;
  const QString archivo = nombreDe(ruta);
  const QString detalle = QStringLiteral(" (SQLite, %1: %2)").arg(que, e.text().trimmed());
  auto con = [&](Clase c, const QString& frase) { return Resultado::fallo(c, frase + detalle); };
  if (!ok) return con(Clase::Disco, QStringLiteral("No se pudo usar la base de datos %1.").arg(archivo));
  switch (codigo) {
    case 5:  // BUSY
    case 6:  // LOCKED
      return con(Clase::Ocupado, QStringLiteral("Otro programa está usando la base de datos %1 en este momento. No se "
                                                "ha cambiado nada: espere a que termine y repita la operación.")
                                     .arg(archivo));
    case 13:  // FULL
      return con(Clase::Lleno,
                 QStringLiteral("No queda espacio en el disco para la base de datos %1: no se ha cambiado nada.")
                     .arg(archivo));
    case 3:   // PERM
    case 8:   // READONLY
    case 23:  // AUTH
      return con(Clase::Permiso,
                 QStringLiteral("No hay permiso para escribir en la base de datos %1 o en su carpeta.").arg(archivo));
    case 14: {  // CANTOPEN: a folder or a file the user may not use, or a missing folder
      const QFileInfo i(ruta);
      const bool permiso = !ruta.isEmpty() && ((i.exists() && (!i.isReadable() || !i.isWritable())) ||
                                               (!i.exists() && !QFileInfo(i.absolutePath()).isWritable()));
      return con(permiso ? Clase::Permiso : Clase::Disco,
                 QStringLiteral("No se pudo abrir la base de datos %1.").arg(archivo));
    }
    case 10:  // IOERR
      return con(Clase::Disco,
                 QStringLiteral("Error de entrada/salida del disco con la base de datos %1.").arg(archivo));
    case 11:  // CORRUPT
      return con(Clase::Danado,
                 QStringLiteral("La base de datos %1 está dañada: no se ha cambiado nada en ella.").arg(archivo));
    case 26:  // NOTADB
      return con(
          Clase::Ajeno,
          QStringLiteral("%1 no es una base de datos de Sortilan: no se ha cambiado nada en ella.").arg(archivo));
    default:
      return con(Clase::Ninguna,
                 QStringLiteral("La base de datos %1 no aceptó el cambio: no se ha cambiado nada.").arg(archivo));
  }
}

BaseDatos::BaseDatos() : nombre_(nuevoNombre()) {}

BaseDatos::~BaseDatos() {
  cerrar();
  QSqlDatabase::removeDatabase(nombre_);
}

QSqlDatabase BaseDatos::conexion() const { return QSqlDatabase::database(nombre_, false); }

bool BaseDatos::abierta() const { return conexion().isOpen(); }

void BaseDatos::cerrar() {
  if (enTransaccion_) deshacer();
  QSqlDatabase db = conexion();
  if (db.isValid()) db.close();
}

Resultado BaseDatos::abrirConexion(const QString& nombreBase, const QString& opcionesConexion) {
  cerrar();
  QSqlDatabase db = QSqlDatabase::contains(nombre_) ? QSqlDatabase::database(nombre_, false)
                                                    : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nombre_);
  if (!db.isValid()) return Resultado::fallo(QStringLiteral("Falta el controlador SQLite de Qt (QSQLITE)."));
  db.setDatabaseName(nombreBase);
  db.setConnectOptions(opcionesConexion);
  if (!db.open()) return falloSql(db.lastError(), QStringLiteral("abrir"), ruta_);
  return ejecutar(QStringLiteral("PRAGMA foreign_keys = ON"));
}

Resultado BaseDatos::identificar(int* version) {
  QSqlQuery q(conexion());
  if (Resultado r = ejecutar(q, QStringLiteral("PRAGMA user_version")); !r) return r;
  const int v = q.next() ? q.value(0).toInt() : -1;
  *version = v;
  if (v > versionEsquema())
    return Resultado::fallo(Clase::Ajeno,
                            QStringLiteral("El archivo %1 ha sido creado por una versión más reciente de Sortilan "
                                           "(esquema %2; este programa llega al %3): actualice el programa. No se ha "
                                           "cambiado nada en él.")
                                .arg(nombreDe(ruta_))
                                .arg(v)
                                .arg(versionEsquema()));
  if (v < 0) return ajena(ruta_, QStringLiteral("su versión de esquema (%1) no es ninguna de Sortilan").arg(v));
  if (Resultado r = ejecutar(q, QStringLiteral("SELECT name FROM sqlite_master WHERE type IN ('table', 'view')")); !r)
    return r;
  QSet<QString> hay;
  while (q.next())
    if (const QString n = q.value(0).toString(); !n.startsWith(QLatin1String("sqlite_"))) hay.insert(n);
  const QStringList nuestros = creadosHasta(v);
  QStringList otros, faltan;
  for (const QString& n : hay)
    if (!nuestros.contains(n)) otros << n;
  for (const QString& n : nuestros)
    if (!hay.contains(n)) faltan << n;
  otros.sort();
  if (!otros.isEmpty())
    return ajena(ruta_, QStringLiteral("tiene tablas de otro programa (%1)").arg(otros.join(QStringLiteral(", "))));
  if (!faltan.isEmpty())
    return ajena(ruta_, QStringLiteral("dice ser del esquema %1 pero le faltan sus tablas (%2)")
                            .arg(v)
                            .arg(faltan.join(QStringLiteral(", "))));
  return Resultado::bien();
}

Resultado BaseDatos::abrir(const QString& carpeta, Modo modo) {
  ruta_ = QDir(carpeta).filePath(QLatin1String(kArchivo));
  // A pipe or a device under the database's name would hang SQLite or feed it without end.
  if (const QFileInfo info(ruta_); info.exists() || info.isSymLink()) {
    if (!info.isFile())
      return Resultado::fallo(
          Clase::Danado,
          QStringLiteral("%1 no es un fichero normal (es una carpeta, una tubería o un dispositivo): no se lee.")
              .arg(QDir::toNativeSeparators(ruta_)));
    if (info.size() > kMaximoTamano)
      return Resultado::fallo(Clase::Danado,
                              QStringLiteral("El fichero %1 es demasiado grande (más de %2 bytes): no se lee.")
                                  .arg(QDir::toNativeSeparators(ruta_), QString::number(kMaximoTamano)));
  }
  int v = 0;
  if (modo == Modo::Escritura) {
    // An empty file is a new database: SQLite reads it as one, without tables.
    if (Resultado r = abrirConexion(ruta_, opciones()); !r) return r;
    if (Resultado r = identificar(&v); !r) {
      cerrar();
      return r;
    }
    return Resultado::bien();
  }
  const QFileInfo info(ruta_);
  if (!info.exists() || (info.isFile() && info.size() == 0)) return Resultado::bien();
  // Through a URI so that reading never creates the file; read-write when it can, so a
  // transaction cut short by a crash is rolled back before anything is read.
  const QString uri = QUrl::fromLocalFile(ruta_).toString(QUrl::FullyEncoded);
  const QString conUri = opciones() + QStringLiteral(";QSQLITE_OPEN_URI");
  Resultado r = abrirConexion(uri + QStringLiteral("?mode=rw"), conUri);
  if (!r) r = abrirConexion(uri + QStringLiteral("?mode=ro"), conUri);
  if (r) r = identificar(&v);
  if (r && v < versionEsquema()) r = sombrearPasosNuevos(v);
  // Whatever a reader runs, it changes nothing on disk.
  if (r) r = ejecutar(QStringLiteral("PRAGMA query_only = ON"));
  if (!r) cerrar();
  return r;
}

Resultado BaseDatos::sombrearPasosNuevos(int desde) {
  // The tables of the later steps, empty and only in this connection's memory: an older
  // file reads as it will once a change brings it up to date, and stays as it is.
  static const QRegularExpression kTabla(QStringLiteral("^CREATE TABLE "));
  for (const Migracion& m : migraciones()) {
    if (m.version <= desde) continue;
    for (const QString& s : m.sentencias) {
      if (s.startsWith(QLatin1String("CREATE INDEX"))) continue;
      if (!kTabla.match(s).hasMatch())
        return Resultado::fallo(Clase::Ninguna,
                                QStringLiteral("La base de datos %1 es de una versión anterior de Sortilan y debe "
                                               "actualizarse: haga antes cualquier cambio de los datos.")
                                    .arg(nombreDe(ruta_)));
      QString temporal = s;
      temporal.replace(0, 13, QStringLiteral("CREATE TEMP TABLE "));
      if (Resultado r = ejecutar(temporal); !r) return r;
    }
  }
  return Resultado::bien();
}

int BaseDatos::version() {
  QSqlQuery q(conexion());
  if (!ejecutar(q, QStringLiteral("PRAGMA user_version")) || !q.next()) return -1;
  return q.value(0).toInt();
}

Resultado BaseDatos::ejecutar(QSqlQuery& q, const QString& sql, const QVariantList& valores) {
  if (!q.prepare(sql)) return falloSql(q.lastError(), sql.section(QLatin1Char(' '), 0, 1), ruta_);
  for (const QVariant& v : valores) q.addBindValue(v);
  if (!q.exec()) return falloSql(q.lastError(), sql.section(QLatin1Char(' '), 0, 1), ruta_);
  return Resultado::bien();
}

Resultado BaseDatos::ejecutar(const QString& sql, const QVariantList& valores) {
  QSqlQuery q(conexion());
  return ejecutar(q, sql, valores);
}

Resultado BaseDatos::empezar() {
  // IMMEDIATE takes the write lock at once: a reader that started before cannot make
  // the commit fail half-way through.
  if (Resultado r = ejecutar(QStringLiteral("BEGIN IMMEDIATE")); !r) return r;
  enTransaccion_ = true;
  // Looked at again under the write lock: what was read at the opening may have changed.
  int v = 0;
  Resultado r = identificar(&v);
  if (r) r = migrar(v);
  if (!r) deshacer();
  return r;
}

Resultado BaseDatos::confirmar() {
  if (!enTransaccion_) return Resultado::bien();
  Resultado r = ejecutar(QStringLiteral("COMMIT"));
  if (!r) deshacer();
  enTransaccion_ = false;
  return r;
}

void BaseDatos::deshacer() {
  if (!enTransaccion_) return;
  enTransaccion_ = false;
  // After a failed COMMIT SQLite may have rolled back already; then there is nothing
  // left to undo, and what it says about it means nothing to the user.
  QSqlQuery q(conexion());
  (void)q.exec(QStringLiteral("ROLLBACK"));
}

Resultado BaseDatos::migrar(int desde) {
  for (const Migracion& m : migraciones()) {
    if (m.version <= desde) continue;
    for (const QString& s : m.sentencias)
      if (Resultado e = ejecutar(s); !e) return e;
    // PRAGMA takes no bound values; the version is a number of this program.
    if (Resultado e = ejecutar(QStringLiteral("PRAGMA user_version = %1").arg(m.version)); !e) return e;
  }
  return Resultado::bien();
}

}  // namespace sortilan
