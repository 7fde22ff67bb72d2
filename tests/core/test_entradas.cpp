// Draws that come from a CSV file or the keyboard, and the one function that stores new draws.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

#include "answer/analisis.h"
#include "base/fechas.h"
#include "download/csv.h"
#include "download/guardado.h"
#include "money/registrodinero.h"
#include "operations/entradas.h"
#include "operations/transaccion.h"
#include "session/sesion.h"
#include "store/basedatos.h"
#include "store/cerrojodatos.h"
#include "support/dobles.h"

using namespace Qt::StringLiterals;
using namespace sortilan;

namespace {
const QDate kHoy(2021, 3, 10);

Sorteo sorteo(QDate fecha, std::array<int16_t, 6> n) {
  Sorteo s;
  std::copy(n.begin(), n.end(), s.numeros.begin());
  s.fecha = oleDesdeFecha(fecha);
  return s;
}

// A data folder with the first `registros` draws of the real history.
struct Carpeta {
  explicit Carpeta(int registros) {
    entorno.escribir(QStringLiteral("numeros.dat"),
                     prueba::leerDatoPrueba(QStringLiteral("numeros.dat")).left(registros * Sorteo::kTamano));
    prueba::exigir(sesion.abrir(entorno.carpeta.path()));
  }
  Almacen& almacen() { return sesion.almacen(); }
  prueba::Entorno entorno{kHoy};
  Sesion sesion;
};
size_t tablasGuardadas(const QString& carpeta) {
  BaseDatos b;
  TablasPremios t;
  prueba::exigir(b.abrir(carpeta, BaseDatos::Modo::Lectura));
  if (b.abierta()) prueba::exigir(leerTablas(b, t));
  return t.size();
}

enum class Montaje { Aceptada, SinDocumentos, Rechazada, BaseAjena, BaseOcupada };

}  // namespace

class TestEntradas : public QObject {
  Q_OBJECT
 private slots:
  void leerCsv_data() {
    QTest::addColumn<QByteArray>("texto");
    QTest::addColumn<int>("sorteos");
    QTest::addColumn<int>("linea");
    QTest::addColumn<QString>("motivo");
    const QByteArray a = "2021-03-07,15,24,40,42,48,9";
    const QByteArray b = "2021-02-28,4,10,29,39,54,0";
    QTest::newRow("iso, cabecera, CRLF, más reciente primero")
        << "fecha,n1,n2,n3,n4,n5,numero_clave\r\n" + a + "\r\n" + b + "\r\n"
        << 2 << 0 << QString();
    QTest::newRow("dd/mm/aaaa con ; y más antiguo primero")
        << QByteArray("28/02/2021;4;10;29;39;54;0\n07/03/2021;15;24;40;42;48;9\n") << 2 << 0 << QString();
    QTest::newRow("d/m/aaaa con ,") << QByteArray("7/3/2021,15,24,40,42,48,9") << 1 << 0 << QString();
    QTest::newRow("BOM, comillas, blancos, ; al final y líneas vacías")
        << QByteArray("\xef\xbb\xbf\"Fecha\";\"N1\"\n\n \"07/03/2021\" ; 15 ;24;40;42;48;9;\n\n") << 1 << 0
        << QString();
    QTest::newRow("repetido igual") << a + "\n" + a + "\n" << 1 << 0 << QString();
    QTest::newRow("sábado de 2005") << QByteArray("22/10/2005;1;2;3;4;5;6") << 1 << 0 << QString();
    QTest::newRow("vacío") << QByteArray() << 0 << 0 << QString();

    QTest::newRow("repetido con otros números")
        << a + "\n" + b + "\n2021-03-07,1,2,3,4,5,9\n"
        << 0 << 3 << QStringLiteral("el sorteo del 07/03/2021 ya está en la línea 1 con otros números");
    QTest::newRow("cabecera que no es la primera") << a + "\nfecha,n1,n2,n3,n4,n5,clave\n"
                                                   << 0 << 2 << QStringLiteral("«fecha» no es una fecha válida");
    QTest::newRow("seis campos") << a + "\n2021-02-28,4,10,29,39,54\n"
                                 << 0 << 2
                                 << QStringLiteral(
                                        "tiene 6 campos y se esperan 7: la fecha, los cinco números y el número clave");
    QTest::newRow("fecha imposible") << QByteArray("31/02/2021;1;2;3;4;5;6") << 0 << 1
                                     << QStringLiteral("«31/02/2021» no es una fecha válida");
    QTest::newRow("mes y día al revés") << QByteArray("2021-28-02;1;2;3;4;5;6") << 0 << 1
                                        << QStringLiteral("«2021-28-02» no es una fecha válida");
    QTest::newRow("posterior a hoy") << QByteArray("14/03/2021;1;2;3;4;5;6") << 0 << 1
                                     << QStringLiteral("la fecha es posterior a hoy");
    QTest::newRow("sábado de 2020") << QByteArray("06/03/2021;1;2;3;4;5;6") << 0 << 1
                                    << QStringLiteral("el 06/03/2021 no es día de sorteo: se sortea los domingos");
    QTest::newRow("no es un número") << QByteArray("07/03/2021;1;2;x;4;5;6") << 0 << 1
                                     << QStringLiteral("«x» no es un número del sorteo");
    QTest::newRow("número repetido") << QByteArray("07/03/2021;1;2;2;4;5;6") << 0 << 1
                                     << QStringLiteral("los números no son cinco números distintos del 1 al 54");
    QTest::newRow("clave 10") << QByteArray("07/03/2021;1;2;3;4;5;10") << 0 << 1
                              << QStringLiteral("el número clave no está entre el 0 y el 9");
  }
  void leerCsv() {
    QFETCH(QByteArray, texto);
    const LecturaCsv l = sortilan::leerCsv(texto, kHoy);
    QTEST(static_cast<int>(l.sorteos.size()), "sorteos");
    QTEST(l.linea, "linea");
    QTEST(l.motivo, "motivo");
    for (size_t i = 1; i < l.sorteos.size(); ++i) QVERIFY(l.sorteos[i - 1].fecha < l.sorteos[i].fecha);
  }

  void guardarRechaza_data() {
    QTest::addColumn<QList<QDate>>("fechas");
    QTest::addColumn<int>("clave");
    QTest::addColumn<QString>("error");
    // The newest stored draw is 28 February 2021.
    QTest::newRow("no es posterior al último")
        << QList<QDate>{QDate(2021, 2, 28)} << 1
        << QStringLiteral(
               "El sorteo del Domingo, 28 de febrero del 2021 no se ha guardado: no es posterior al sorteo "
               "anterior.");
    QTest::newRow("desordenados") << QList<QDate>{QDate(2021, 3, 7), QDate(2021, 3, 7)} << 1
                                  << QStringLiteral(
                                         "El sorteo del Domingo, 7 de marzo del 2021 no se ha guardado: no es "
                                         "posterior al sorteo anterior.");
    QTest::newRow("después de hoy") << QList<QDate>{QDate(2021, 3, 7), QDate(2021, 3, 14)} << 1
                                    << QStringLiteral(
                                           "El sorteo del Domingo, 14 de marzo del 2021 no se ha guardado: la fecha es "
                                           "posterior a hoy.");
    QTest::newRow("clave inválida") << QList<QDate>{QDate(2021, 3, 7)} << 11
                                    << QStringLiteral(
                                           "El sorteo del Domingo, 7 de marzo del 2021 no se ha guardado: el número "
                                           "clave no está entre el 0 y el 9.");
  }
  void guardarRechaza() {
    QFETCH(QList<QDate>, fechas);
    QFETCH(int, clave);
    Carpeta c(829);
    const QByteArray antes = c.entorno.leer(QStringLiteral("numeros.dat"));
    std::vector<Sorteo> nuevos;
    for (const QDate& f : fechas) nuevos.push_back(sorteo(f, {1, 2, 3, 4, 5, static_cast<int16_t>(clave)}));
    const Guardado g = operaciones::guardarSorteosNuevos(c.almacen(), nuevos, kHoy);
    QTEST(g.resultado.error, "error");
    QCOMPARE(g.guardados, 0);
    QCOMPARE(c.entorno.leer(QStringLiteral("numeros.dat")), antes);
  }

  void guardarTomaLosReservados() {
    Carpeta c(829);
    std::vector<Sorteo> todos = c.almacen().sorteos().leerTodos();
    todos.back().numeros[6] = 3;
    todos.back().numeros[7] = -4;
    prueba::exigir(reemplazarArchivo(c.almacen().sorteos().ruta(), ArchivoDe<Sorteo>::codificar(todos)));
    const Guardado g =
        operaciones::guardarSorteosNuevos(c.almacen(), {sorteo(QDate(2021, 3, 7), {15, 24, 40, 42, 48, 9})}, kHoy);
    QVERIFY(g.resultado);
    QCOMPARE(g.guardados, 1);
    QCOMPARE(c.almacen().sorteos().ultimo().numeros, (std::array<int16_t, 8>{15, 24, 40, 42, 48, 9, 3, -4}));
  }

  void aManoOrdenaLosNumeros() {
    Carpeta c(829);
    SorteoAMano s{QDate(2021, 3, 7), {48, 15, 42, 24, 40}, 9};
    int faltan = -1;
    QCOMPARE(motivoSorteoAMano(c.almacen(), s, kHoy, &faltan), QString());
    QCOMPARE(faltan, 0);
    const Guardado g = operaciones::anadirSorteoAMano(c.almacen(), s, kHoy);
    QVERIFY(g.resultado);
    QCOMPARE(c.almacen().sorteos().ultimo().numeros, (std::array<int16_t, 8>{15, 24, 40, 42, 48, 9, 0, 0}));
    // Into an empty file any draw day goes, with nothing missing before it.
    Carpeta vacia(0);
    QCOMPARE(motivoSorteoAMano(vacia.almacen(), s, kHoy, &faltan), QString());
    QCOMPARE(faltan, 0);
  }

  void prepararCsv() {
    Carpeta c(826);  // up to 7 February 2021
    c.entorno.escribir(QStringLiteral("a.csv"), "2021-02-07,1,2,3,4,5,6\n2021-02-14,1,2,3,4,5,6\n");
    c.entorno.escribir(QStringLiteral("b.csv"), "2021-02-21,1,2,3,4,5,6\n2021-02-28,1,2,3,4,5,6\n");
    c.entorno.escribir(QStringLiteral("c.csv"), "2021-01-31,1,2,3,4,5,6\n");
    // Listing the newest stored draw, the file carries on from it.
    ImportacionCsv im = sortilan::prepararCsv(c.almacen(), c.entorno.ruta(QStringLiteral("a.csv")), kHoy);
    QCOMPARE(im.estado, ImportacionCsv::Estado::Lista);
    QCOMPARE(im.nuevos.size(), size_t{1});
    QCOMPARE(im.faltan, 0);
    // Starting two weeks later, the draw of 14 February would be missing.
    im = sortilan::prepararCsv(c.almacen(), c.entorno.ruta(QStringLiteral("b.csv")), kHoy);
    QCOMPARE(im.faltan, 1);
    im = sortilan::prepararCsv(c.almacen(), c.entorno.ruta(QStringLiteral("c.csv")), kHoy);
    QCOMPARE(im.estado, ImportacionCsv::Estado::NadaNuevo);
    // A folder is no file.
    im = sortilan::prepararCsv(c.almacen(), c.entorno.carpeta.path(), kHoy);
    QCOMPARE(im.estado, ImportacionCsv::Estado::NoLeido);
  }

  // One answer of the download is one change: its draws, their counts, its prize tables
  // and www.txt, all or none, and a failure says why.
  void descargaEntera_data() {
    QTest::addColumn<int>("montaje");
    QTest::addColumn<bool>("guarda");
    QTest::addColumn<size_t>("tablas");
    QTest::addColumn<int>("clase");
    const int bien = static_cast<int>(Resultado::Clase::Ninguna);
    QTest::newRow("aceptada") << static_cast<int>(Montaje::Aceptada) << true << size_t{22} << bien;
    // The document is a link beside the prizes: without it the prizes are still kept.
    QTest::newRow("un sorteo sin documentos") << static_cast<int>(Montaje::SinDocumentos) << true << size_t{22} << bien;
    // A refused answer brings its draws at most, never its tables or its buffer.
    QTest::newRow("rechazada") << static_cast<int>(Montaje::Rechazada) << true << size_t{0} << bien;
    QTest::newRow("sortilan.db de otro programa")
        << static_cast<int>(Montaje::BaseAjena) << false << size_t{0} << static_cast<int>(Resultado::Clase::Ajeno);
    QTest::newRow("sortilan.db ocupada") << static_cast<int>(Montaje::BaseOcupada) << false << size_t{0}
                                         << static_cast<int>(Resultado::Clase::Ocupado);
  }
  void descargaEntera() {
    QFETCH(int, montaje);
    QFETCH(bool, guarda);
    QFETCH(size_t, tablas);
    QFETCH(int, clase);
    Carpeta c(808);
    const QString carpeta = c.entorno.carpeta.path();
    const QByteArray antes = c.entorno.leer(u"numeros.dat"_s);
    QByteArray respuesta = prueba::leerDatoPrueba(u"respuesta_ejemplo.json"_s);
    if (montaje == static_cast<int>(Montaje::SinDocumentos)) {
      QJsonArray a = QJsonDocument::fromJson(respuesta).array();
      QJsonObject o = a[3].toObject();
      QJsonObject r = o[u"contenidosRelacionados"_s].toObject();
      r.remove(u"documentos"_s);
      o[u"contenidosRelacionados"_s] = r;
      a[3] = o;
      respuesta = QJsonDocument(a).toJson();
    }
    const QString db = c.entorno.ruta(u"sortilan.db"_s);
    QSqlDatabase otra = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"otra"_s);
    otra.setDatabaseName(db);
    QVERIFY(otra.open());
    QSqlQuery q(otra);
    if (montaje == static_cast<int>(Montaje::BaseAjena)) QVERIFY(q.exec(u"CREATE TABLE clientes (x)"_s));
    if (montaje == static_cast<int>(Montaje::BaseOcupada)) {
      prueba::exigir(operaciones::cambiarBase(carpeta, [](BaseDatos&) { return Resultado::bien(); }));
      QVERIFY(q.exec(u"BEGIN EXCLUSIVE"_s));
    }
    const QByteArray baseAntes = c.entorno.leer(u"sortilan.db"_s);
    CerrojoDatos::ponerEspera(std::chrono::milliseconds(10));

    const Analisis a = analizar(respuesta, c.almacen().sorteos().ultimo().fecha, kHoy);
    QCOMPARE(a.nuevos.size(), size_t{22});
    Descargado d{a.nuevos, respuesta, "registro"};
    if (montaje == static_cast<int>(Montaje::Rechazada)) d = Descargado{a.nuevos, {}, {}};
    const Guardado g = operaciones::guardarDescarga(c.almacen(), d, kHoy);
    CerrojoDatos::ponerEspera(std::chrono::milliseconds(5000));
    if (montaje == static_cast<int>(Montaje::BaseOcupada)) QVERIFY(q.exec(u"ROLLBACK"_s));
    q = QSqlQuery();
    otra.close();
    otra = QSqlDatabase();
    QSqlDatabase::removeDatabase(u"otra"_s);

    QCOMPARE(static_cast<bool>(g.resultado), guarda);
    QCOMPARE(static_cast<int>(g.resultado.clase), clase);
    QVERIFY2(!g.resultado.error.startsWith(u"SQLite"_s), qPrintable(g.resultado.error));
    QCOMPARE(g.guardados, guarda ? 22 : 0);
    if (!guarda) {
      QVERIFY2(g.resultado.error.contains(db), qPrintable(g.resultado.error));
      QCOMPARE(c.entorno.leer(u"numeros.dat"_s), antes);
      QCOMPARE(c.entorno.leer(u"sortilan.db"_s), baseAntes);
    } else {
      QCOMPARE(c.almacen().sorteos().cuenta(), 830);
      QCOMPARE(tablasGuardadas(carpeta), tablas);
    }
    const bool conBuffer = guarda && montaje != static_cast<int>(Montaje::Rechazada);
    QCOMPARE(QFile::exists(c.entorno.ruta(u"www.txt"_s)), conBuffer);
    QVERIFY(!QFile::exists(c.entorno.ruta(u"sortilan.diario"_s)));
  }
};

QTEST_GUILESS_MAIN(TestEntradas)
#include "test_entradas.moc"
