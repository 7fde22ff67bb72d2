// sortilan.db: migrations from an older schema, a newer schema left alone, and
// transactions that keep all or nothing, also when the process dies half-way.
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>
#include <csignal>
#include <cstdio>

#include "money/registrodinero.h"
#include "operations/dinero.h"
#include "operations/transaccion.h"
#include "store/almacen.h"
#include "store/basedatos.h"
#include "store/esquema.h"
#include "support/dobles.h"

using namespace Qt::StringLiterals;
using namespace sortilan;

namespace {

TablaPremios tablaDe(QDate fecha, Centimos tercera) {
  TablaPremios t;
  t.fecha = fecha;
  t.categorias[2] = PremioCategoria{tercera, 12};
  t.documento = QStringLiteral("/acta.pdf");
  return t;
}

TablasPremios leidas(const QString& carpeta) {
  BaseDatos b;
  TablasPremios t;
  prueba::exigir(b.abrir(carpeta, BaseDatos::Modo::Lectura));
  prueba::exigir(leerTablas(b, t));
  return t;
}

// A peña known to the database, and a collection of it.
Resultado marcar(BaseDatos& b, QDate sorteo) {
  std::vector<qint64> ids;
  if (Resultado r = registrarPenas(b, {nuevaPena(QStringLiteral("UNA"), 1, QDate(2020, 1, 1))}, ids); !r) return r;
  return ponerCobro(b, ids[0], sorteo, sorteo.addDays(2));
}

// Runs SQL on a file directly, as an older program (or a damaged one) would have left it.
void sql(const QString& archivo, const QStringList& sentencias) {
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("directa"));
    db.setDatabaseName(archivo);
    QVERIFY(db.open());
    QSqlQuery q(db);
    for (const QString& s : sentencias) QVERIFY2(q.exec(s), qPrintable(s));
  }
  QSqlDatabase::removeDatabase(QStringLiteral("directa"));
}

// The child of the crash test: a transaction that has written a lot (more than the page
// cache holds, so pages reach the file) when the parent kills it.
int hijo(const QString& carpeta) {
  const Resultado r = operaciones::cambiarBase(carpeta, [](BaseDatos& base) {
    if (Resultado c = base.ejecutar(QStringLiteral("PRAGMA cache_size = 1")); !c) return c;
    std::vector<TablaPremios> muchas;
    for (int i = 0; i < 400; ++i) muchas.push_back(tablaDe(QDate(2000, 1, 2).addDays(7 * i), 999));
    if (Resultado g = guardarTablas(base, muchas); !g) return g;
    std::puts("dentro");
    std::fflush(stdout);
    for (;;) QThread::sleep(1);
    return Resultado::bien();
  });
  std::printf("%s\n", qPrintable(r.error));
  return 1;
}

}  // namespace

class TestBaseDatos : public QObject {
  Q_OBJECT
 private slots:
  void leerNoCreaNada() {
    prueba::Entorno e;
    BaseDatos b;
    QVERIFY(b.abrir(e.carpeta.path(), BaseDatos::Modo::Lectura).ok);
    QVERIFY(!b.abierta());
    QVERIFY(leidas(e.carpeta.path()).empty());
    QVERIFY(!QFile::exists(e.ruta(QStringLiteral("sortilan.db"))));
  }

  // A file of schema 1 (prize tables only) opened by this program gets the later steps
  // and keeps what it held.
  void migraDesdeUnEsquemaAnterior() {
    prueba::Entorno e;
    const QString archivo = e.ruta(QStringLiteral("sortilan.db"));
    QStringList v1 = migraciones().front().sentencias;
    v1 << QStringLiteral("INSERT INTO tablas_premios VALUES ('2021-03-07', '/acta.pdf')")
       << QStringLiteral("INSERT INTO premios_categoria VALUES ('2021-03-07', 3, 4744595, 56281)")
       << QStringLiteral("PRAGMA user_version = 1");
    sql(archivo, v1);

    // Reading sees it as brought up to date, and leaves the file as it was: only a change
    // migrates it, inside its own transaction.
    const QByteArray antes = e.leer(QStringLiteral("sortilan.db"));
    const TablasPremios t = leidas(e.carpeta.path());
    {
      CobrosMarcados cobros;
      BaseDatos b;
      prueba::exigir(b.abrir(e.carpeta.path(), BaseDatos::Modo::Lectura));
      prueba::exigir(leerCobros(b, cobros));
      QVERIFY(cobros.empty());
      QCOMPARE(b.version(), 1);
    }
    QCOMPARE(e.leer(QStringLiteral("sortilan.db")), antes);
    QCOMPARE(t.size(), size_t{1});
    QCOMPARE(t.begin()->second.premio(3).value_or(-1), 4744595);
    QCOMPARE(t.begin()->second.documento, QStringLiteral("/acta.pdf"));

    int version = 0;
    prueba::exigir(operaciones::cambiarBase(e.carpeta.path(), [&](BaseDatos& b) {
      version = b.version();
      return marcar(b, QDate(2021, 3, 7));
    }));
    QCOMPARE(version, versionEsquema());
  }

  // A file this program cannot read as its own is refused, for reading and for writing,
  // with the file and the reason named, and is left byte for byte as it was.
  void archivoAjenoNoSeToca_data() {
    QTest::addColumn<QStringList>("sentencias");
    QTest::addColumn<QByteArray>("crudo");
    QTest::addColumn<QString>("motivo");
    QTest::addColumn<int>("clase");
    const int ajeno = static_cast<int>(Resultado::Clase::Ajeno);
    QStringList nuestras;
    for (const Migracion& m : migraciones()) nuestras << m.sentencias;
    QTest::newRow("esquema más nuevo") << QStringList{u"CREATE TABLE futura (x)"_s, u"PRAGMA user_version = 99"_s}
                                       << QByteArray() << u"creado por una versión más reciente"_s << ajeno;
    QTest::newRow("tablas de otro programa") << QStringList{u"CREATE TABLE clientes (id INTEGER, nombre TEXT)"_s}
                                             << QByteArray() << u"otro programa (clientes)"_s << ajeno;
    QTest::newRow("versión 3 sin sus tablas")
        << QStringList{u"PRAGMA user_version = 3"_s} << QByteArray() << u"le faltan sus tablas"_s << ajeno;
    QTest::newRow("nuestras tablas y una ajena")
        << (QStringList(nuestras) << u"CREATE TABLE intrusa (x)"_s
                                  << u"PRAGMA user_version = %1"_s.arg(versionEsquema()))
        << QByteArray() << u"otro programa (intrusa)"_s << ajeno;
    QTest::newRow("versión negativa") << QStringList{u"PRAGMA user_version = -4"_s} << QByteArray()
                                      << u"no es ninguna de Sortilan"_s << ajeno;
    QTest::newRow("no es una base de datos") << QStringList() << QByteArray(4096, 'x') << u"sortilan.db"_s << ajeno;
  }
  void archivoAjenoNoSeToca() {
    QFETCH(QStringList, sentencias);
    QFETCH(QByteArray, crudo);
    QFETCH(QString, motivo);
    QFETCH(int, clase);
    prueba::Entorno e;
    const QString archivo = e.ruta(QStringLiteral("sortilan.db"));
    if (crudo.isEmpty())
      sql(archivo, sentencias);
    else
      e.escribir(QStringLiteral("sortilan.db"), crudo);
    const QByteArray antes = e.leer(QStringLiteral("sortilan.db"));
    BaseDatos b;
    const Resultado leer = b.abrir(e.carpeta.path(), BaseDatos::Modo::Lectura);
    QVERIFY(!leer);
    QVERIFY2(leer.error.contains(motivo), qPrintable(leer.error));
    QVERIFY2(leer.error.contains(QDir::toNativeSeparators(archivo)) || leer.error.startsWith(u"sortilan.db"_s),
             qPrintable(leer.error));
    QCOMPARE(static_cast<int>(leer.clase), clase);
    QVERIFY(!leer.permiso);
    const Resultado escribir = operaciones::guardarTablasPremios(e.carpeta.path(), {tablaDe(QDate(2021, 3, 7), 100)});
    QVERIFY(!escribir);
    QCOMPARE(static_cast<int>(escribir.clase), clase);
    QCOMPARE(e.leer(QStringLiteral("sortilan.db")), antes);
    QVERIFY(!QFile::exists(e.ruta(QStringLiteral("sortilan.diario"))));
  }

  // An empty file is a new database: read as empty, written as new.
  void archivoVacioEsNuevo() {
    prueba::Entorno e;
    e.escribir(QStringLiteral("sortilan.db"), QByteArray());
    QVERIFY(leidas(e.carpeta.path()).empty());
    QCOMPARE(e.leer(QStringLiteral("sortilan.db")), QByteArray());
    prueba::exigir(operaciones::guardarTablasPremios(e.carpeta.path(), {tablaDe(QDate(2021, 3, 7), 100)}));
    QCOMPARE(leidas(e.carpeta.path()).size(), size_t{1});
  }

  // A step that fails undoes the steps before it in the same change.
  void unPasoFallidoLoDeshaceTodo() {
    prueba::Entorno e;
    prueba::exigir(operaciones::guardarTablasPremios(e.carpeta.path(), {tablaDe(QDate(2021, 2, 28), 100)}));
    TablaPremios mala = tablaDe(QDate(2021, 3, 7), 100);
    mala.categorias[7] = PremioCategoria{-5, 0};  // refused by the schema
    const Resultado r = operaciones::guardarTablasPremios(
        e.carpeta.path(), {tablaDe(QDate(2021, 2, 28), 777), tablaDe(QDate(2021, 2, 21), 100), mala});
    QVERIFY(!r);
    const TablasPremios t = leidas(e.carpeta.path());
    QCOMPARE(t.size(), size_t{1});
    QCOMPARE(t.at(QDate(2021, 2, 28)).premio(3).value_or(-1), 100);

    QVERIFY(!operaciones::cambiarBase(e.carpeta.path(), [](BaseDatos& b) {
      if (Resultado p = marcar(b, QDate(2021, 2, 28)); !p) return p;
      return Resultado::fallo(QStringLiteral("a medias"));
    }));
    BaseDatos b;
    CobrosMarcados cobros;
    prueba::exigir(b.abrir(e.carpeta.path(), BaseDatos::Modo::Lectura));
    prueba::exigir(leerCobros(b, cobros));
    QVERIFY(cobros.empty());
  }

  // A process killed inside a transaction leaves the database as it was, and its lock
  // does not keep the next change out.
  void muerteDentroDeUnaTransaccion() {
    prueba::Entorno e;
    prueba::exigir(operaciones::guardarTablasPremios(e.carpeta.path(), {tablaDe(QDate(2021, 3, 7), 4744595)}));
    const TablasPremios antes = leidas(e.carpeta.path());

    QProcess p;
    p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--hijo"), e.carpeta.path()});
    QVERIFY(p.waitForStarted());
    QVERIFY(p.waitForReadyRead(20000));
    QCOMPARE(p.readLine().trimmed(), QByteArray("dentro"));
    // The pages of the transaction are in the file itself, the journal beside it.
    QVERIFY(QFile::exists(e.ruta(QStringLiteral("sortilan.db-journal"))));
    ::kill(static_cast<pid_t>(p.processId()), SIGKILL);
    QVERIFY(p.waitForFinished());

    QCOMPARE(leidas(e.carpeta.path()), antes);
    {
      BaseDatos b;
      prueba::exigir(b.abrir(e.carpeta.path(), BaseDatos::Modo::Lectura));
      QSqlQuery q(b.conexion());
      QVERIFY(q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next());
      QCOMPARE(q.value(0).toString(), QStringLiteral("ok"));
    }
    prueba::exigir(operaciones::guardarTablasPremios(e.carpeta.path(), {tablaDe(QDate(2021, 2, 28), 100)}));
    QCOMPARE(leidas(e.carpeta.path()).size(), size_t{2});
  }
};

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc == 3 && QByteArray(argv[1]) == "--hijo") return hijo(QString::fromLocal8Bit(argv[2]));
  TestBaseDatos t;
  return QTest::qExec(&t, argc, argv);
}

#include "test_basedatos.moc"
