// One change over the record files and sortilan.db together: a change cut short at any
// point is finished or undone by the next one, as one; and each failure says its kind.
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>
#include <cerrno>

#include "operations/penas.h"
#include "operations/transaccion.h"
#include "store/basedatos.h"
#include "store/cerrojodatos.h"
#include "support/dobles.h"

using namespace Qt::StringLiterals;
using namespace sortilan;

namespace {

// How far a change got before its process died.
enum class Hasta {
  ArchivosEscritos,      // the record files replaced, the database not opened
  BaseSinConfirmar,      // the files replaced and a row written, not committed
  BaseConfirmada,        // the database committed, the journal still there
  BaseNuevaSinConfirmar  // a database this change created, not committed
};

// Runs a change in a child process that dies (no destructor, no clean-up) at `hasta`.
void cortar(const QString& carpeta, Hasta hasta) {
  const pid_t hijo = fork();
  if (hijo == 0) {
    Almacen a;
    if (!a.abrir(carpeta)) _exit(2);
    auto* t = new operaciones::Transaccion(a);  // never destroyed: the process dies
    if (!t->empezar(false)) _exit(3);
    if (!t->escribir(a.ruta(Almacen::kPenas), "nuevas") || !t->escribir(a.ruta(Almacen::kSorteos), "nuevos")) _exit(4);
    if (hasta != Hasta::ArchivosEscritos) {
      if (!t->abrirBase()) _exit(5);
      if (!t->base().ejecutar(u"INSERT INTO penas (huella, nombre) VALUES (x'01', 'NUEVA')"_s)) _exit(6);
      if (hasta == Hasta::BaseConfirmada && !t->base().confirmar()) _exit(7);
    }
    _exit(0);
  }
  int estado = 0;
  QCOMPARE(waitpid(hijo, &estado, 0), hijo);
  QVERIFY(WIFEXITED(estado));
  QCOMPARE(WEXITSTATUS(estado), 0);
}

int penasEnBase(const QString& carpeta) {
  BaseDatos b;
  prueba::exigir(b.abrir(carpeta, BaseDatos::Modo::Lectura));
  if (!b.abierta()) return -1;
  QSqlQuery q(b.conexion());
  prueba::exigir(b.ejecutar(q, u"SELECT COUNT(*) FROM penas"_s));
  return q.next() ? q.value(0).toInt() : -1;
}

}  // namespace

class TestTransaccion : public QObject {
  Q_OBJECT
 private slots:
  void init() { CerrojoDatos::ponerEspera(std::chrono::milliseconds(10)); }

  // The next start (the count) finds the journal and leaves the old or the new state of
  // every file together: the database's commit decides.
  void corteYRecuperacion_data() {
    QTest::addColumn<int>("hasta");
    QTest::addColumn<bool>("conBase");
    QTest::addColumn<bool>("nuevo");
    QTest::newRow("archivos escritos") << static_cast<int>(Hasta::ArchivosEscritos) << true << false;
    QTest::newRow("archivos escritos, sin base") << static_cast<int>(Hasta::ArchivosEscritos) << false << false;
    QTest::newRow("base sin confirmar") << static_cast<int>(Hasta::BaseSinConfirmar) << true << false;
    QTest::newRow("base confirmada") << static_cast<int>(Hasta::BaseConfirmada) << true << true;
    QTest::newRow("base nueva sin confirmar") << static_cast<int>(Hasta::BaseSinConfirmar) << false << false;
    QTest::newRow("base nueva confirmada") << static_cast<int>(Hasta::BaseConfirmada) << false << true;
  }
  void corteYRecuperacion() {
    QFETCH(int, hasta);
    QFETCH(bool, conBase);
    QFETCH(bool, nuevo);
    prueba::Entorno e;
    e.escribir(u"apuestas.dat"_s, "viejas");
    e.escribir(u"numeros.dat"_s, "viejos");
    if (conBase)
      prueba::exigir(operaciones::cambiarBase(e.carpeta.path(), [](BaseDatos&) { return Resultado::bien(); }));
    const QByteArray baseAntes = conBase ? e.leer(u"sortilan.db"_s) : QByteArray();

    cortar(e.carpeta.path(), static_cast<Hasta>(hasta));
    QVERIFY(QFile::exists(e.ruta(u"sortilan.diario"_s)));

    Almacen a;
    prueba::exigir(a.abrir(e.carpeta.path()));
    prueba::exigir(operaciones::contarPremios(a));
    QVERIFY(!QFile::exists(e.ruta(u"sortilan.diario"_s)));
    QCOMPARE(e.leer(u"apuestas.dat"_s), nuevo ? QByteArray("nuevas") : QByteArray("viejas"));
    QCOMPARE(e.leer(u"numeros.dat"_s), nuevo ? QByteArray("nuevos") : QByteArray("viejos"));
    if (nuevo) {
      QCOMPARE(penasEnBase(e.carpeta.path()), 1);
    } else if (conBase) {
      QCOMPARE(penasEnBase(e.carpeta.path()), 0);
      QCOMPARE(e.leer(u"sortilan.db"_s), baseAntes);
    } else {
      QVERIFY(!QFile::exists(e.ruta(u"sortilan.db"_s)));
    }
    const QStringList quedan = QDir(e.carpeta.path()).entryList(QDir::Files | QDir::Hidden);
    for (const QString& n : quedan) {
      QVERIFY2(!n.contains(u".tmp"_s) && n != u"sortilan.lock"_s, qPrintable(n));
      // A journal whose header was never written holds nothing: SQLite ignores it.
      const QByteArray diario = n.endsWith(u"-journal"_s) ? e.leer(n) : QByteArray();
      QVERIFY2(diario.isEmpty() || diario.at(0) == '\0', qPrintable(n));
    }
  }

  // Not kept, a change goes back whole, the database it created included.
  void sinConfirmarSeDeshace() {
    prueba::Entorno e;
    e.escribir(u"apuestas.dat"_s, "viejas");
    Almacen a;
    prueba::exigir(a.abrir(e.carpeta.path()));
    {
      operaciones::Transaccion t(a);
      prueba::exigir(t.empezar(false));
      prueba::exigir(t.escribir(a.ruta(Almacen::kPenas), "nuevas"));
      prueba::exigir(t.escribir(a.ruta(Almacen::kBuffer), "buffer"));
      prueba::exigir(t.abrirBase());
      prueba::exigir(t.base().ejecutar(u"INSERT INTO penas (huella, nombre) VALUES (x'01', 'NUEVA')"_s));
    }
    QCOMPARE(QDir(e.carpeta.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"apuestas.dat"_s});
    QCOMPARE(e.leer(u"apuestas.dat"_s), QByteArray("viejas"));
  }

  // A damaged journal stops every change and is kept for whoever looks at it.
  void diarioDanado() {
    prueba::Entorno e;
    e.escribir(u"sortilan.diario"_s, "basura");
    Almacen a;
    prueba::exigir(a.abrir(e.carpeta.path()));
    const Resultado r = operaciones::contarPremios(a);
    QVERIFY(!r);
    QCOMPARE(r.clase, Resultado::Clase::Danado);
    QCOMPARE(e.leer(u"sortilan.diario"_s), QByteArray("basura"));
  }

  // Each SQLite failure the user can act on has its own kind; the sentence comes first, the
  // database's words after it.
  void clasesDeFalloSql_data() {
    QTest::addColumn<QString>("codigo");
    QTest::addColumn<int>("clase");
    QTest::addColumn<QString>("frase");
    QTest::newRow("BUSY") << u"5"_s << static_cast<int>(Resultado::Clase::Ocupado) << u"Otro programa está usando"_s;
    QTest::newRow("LOCKED") << u"6"_s << static_cast<int>(Resultado::Clase::Ocupado) << u"Otro programa"_s;
    QTest::newRow("READONLY") << u"8"_s << static_cast<int>(Resultado::Clase::Permiso) << u"No hay permiso"_s;
    QTest::newRow("IOERR_WRITE") << u"778"_s << static_cast<int>(Resultado::Clase::Disco) << u"entrada/salida"_s;
    QTest::newRow("CORRUPT") << u"11"_s << static_cast<int>(Resultado::Clase::Danado) << u"está dañada"_s;
    QTest::newRow("FULL") << u"13"_s << static_cast<int>(Resultado::Clase::Lleno) << u"No queda espacio"_s;
    QTest::newRow("CANTOPEN") << u"14"_s << static_cast<int>(Resultado::Clase::Disco) << u"No se pudo abrir"_s;
    QTest::newRow("NOTADB") << u"26"_s << static_cast<int>(Resultado::Clase::Ajeno) << u"no es una base de datos"_s;
    QTest::newRow("CONSTRAINT") << u"19"_s << static_cast<int>(Resultado::Clase::Ninguna) << u"no aceptó"_s;
  }
  void clasesDeFalloSql() {
    QFETCH(QString, codigo);
    QFETCH(int, clase);
    QFETCH(QString, frase);
    prueba::Entorno e;
    const QSqlError error(u"controlador"_s, u"texto de sqlite"_s, QSqlError::StatementError, codigo);
    const Resultado r = BaseDatos::falloSql(error, u"COMMIT"_s, e.ruta(u"sortilan.db"_s));
    QVERIFY(!r);
    QCOMPARE(static_cast<int>(r.clase), clase);
    QCOMPARE(r.permiso, r.clase == Resultado::Clase::Permiso);
    QVERIFY2(r.error.startsWith(frase) || r.error.contains(frase), qPrintable(r.error));
    QVERIFY2(r.error.indexOf(u"texto de sqlite"_s) > r.error.indexOf(frase), qPrintable(r.error));
  }

  void clasesDeErrorDelSistema_data() {
    QTest::addColumn<int>("numero");
    QTest::addColumn<int>("clase");
    QTest::newRow("EACCES") << EACCES << static_cast<int>(Resultado::Clase::Permiso);
    QTest::newRow("EROFS") << EROFS << static_cast<int>(Resultado::Clase::Permiso);
    QTest::newRow("ENOSPC") << ENOSPC << static_cast<int>(Resultado::Clase::Lleno);
    QTest::newRow("EDQUOT") << EDQUOT << static_cast<int>(Resultado::Clase::Lleno);
    QTest::newRow("EIO") << EIO << static_cast<int>(Resultado::Clase::Disco);
  }
  void clasesDeErrorDelSistema() {
    QFETCH(int, numero);
    QFETCH(int, clase);
    QCOMPARE(static_cast<int>(claseDeError(numero)), clase);
  }

  // A folder where the lock should be is refused at once, not waited on as busy.
  void cerrojoQueEsUnaCarpeta() {
    prueba::Entorno e;
    QVERIFY(QDir(e.carpeta.path()).mkdir(u"sortilan.lock"_s));
    CerrojoDatos::ponerEspera(std::chrono::milliseconds(60000));
    CerrojoDatos c(e.carpeta.path());
    const Resultado r = c.tomar();
    QVERIFY(!r);
    QCOMPARE(r.clase, Resultado::Clase::Ajeno);
    QVERIFY2(r.error.contains(u"sortilan.lock"_s), qPrintable(r.error));
  }

  // A lock file with this process's own name while it holds no lock (its release could
  // not remove it) is taken back, not waited on.
  void cerrojoPropioQueQuedo() {
    prueba::Entorno e;
    e.escribir(u"sortilan.lock"_s, QByteArray::number(QCoreApplication::applicationPid()) + '\n' +
                                       QCoreApplication::applicationName().toUtf8() + '\n' +
                                       QSysInfo::machineHostName().toUtf8() + '\n');
    CerrojoDatos::ponerEspera(std::chrono::milliseconds::zero());
    CerrojoDatos c(e.carpeta.path());
    QVERIFY(c.tomar());
  }

  // A change begun while another of the same folder is open in this process is refused
  // at once, however the folder is named, and leaves the first one whole.
  void cambioDentroDeOtro_data() {
    QTest::addColumn<QString>("nombre");
    QTest::newRow("el mismo nombre") << u""_s;
    QTest::newRow("con ./") << u"/."_s;
    QTest::newRow("por un enlace") << u"enlace"_s;
  }
  void cambioDentroDeOtro() {
    QFETCH(QString, nombre);
    prueba::Entorno e;
    e.escribir(u"apuestas.dat"_s, "viejas");
    QTemporaryDir otra;
    QString carpeta = e.carpeta.path() + nombre;
    if (nombre == u"enlace"_s) {
      carpeta = otra.filePath(nombre);
      QVERIFY(QFile::link(e.carpeta.path(), carpeta));
    }
    CerrojoDatos::ponerEspera(std::chrono::milliseconds(60000));
    Almacen a, b;
    prueba::exigir(a.abrir(e.carpeta.path()));
    prueba::exigir(b.abrir(carpeta));
    operaciones::Transaccion t(a);
    prueba::exigir(t.empezar(false));
    prueba::exigir(t.escribir(a.ruta(Almacen::kPenas), "nuevas"));
    {
      operaciones::Transaccion dentro(b);
      const Resultado r = dentro.empezar(false);
      QVERIFY(!r);
      QCOMPARE(r.clase, Resultado::Clase::Ocupado);
      QVERIFY2(r.error.contains(u"no ha terminado otro cambio"_s), qPrintable(r.error));
    }
    QVERIFY(QFile::exists(e.carpeta.filePath(u"sortilan.lock"_s)));
    QVERIFY(QFile::exists(e.carpeta.filePath(u"sortilan.diario"_s)));
    prueba::exigir(t.confirmar());
    QCOMPARE(e.leer(u"apuestas.dat"_s), QByteArray("nuevas"));
  }

  // Once the first change has ended, the next one begins.
  void cambioDespuesDeOtro() {
    prueba::Entorno e;
    Almacen a;
    prueba::exigir(a.abrir(e.carpeta.path()));
    {
      operaciones::Transaccion t(a);
      prueba::exigir(t.empezar(false));
    }
    operaciones::Transaccion t(a);
    prueba::exigir(t.empezar(false));
  }
};

QTEST_GUILESS_MAIN(TestTransaccion)
#include "test_transaccion.moc"
