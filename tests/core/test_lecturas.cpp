// What the program refuses to read or to take: unbounded or special files, damaged peña
// records, numbers with a sign, holes in the history, cells a spreadsheet would run.
#include <sys/stat.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QtTest>
#include <cmath>
#include <functional>

#include "answer/reglas.h"
#include "base/escritorcsv.h"
#include "base/fechas.h"
#include "download/csv.h"
#include "download/guardado.h"
#include "operations/penas.h"
#include "platform/servicios.h"
#include "session/sesion.h"
#include "store/almacen.h"
#include "store/basedatos.h"
#include "store/codec.h"
#include "support/dobles.h"

using namespace sortilan;
using namespace Qt::StringLiterals;

namespace {

Pena penaSana() {
  Pena p = nuevaPena(u"LOS DE SIEMPRE"_s, 2, QDate(2021, 1, 4));
  const int apuestas[2][5] = {{1, 2, 3, 4, 5}, {10, 20, 30, 40, 54}};
  for (int f = 0; f < 2; ++f)
    for (int i = 0; i < 5; ++i) p.ponerApuesta(i + 1, f + 1, static_cast<int16_t>(apuestas[f][i]));
  p.ponerApuesta(6, 1, 7);
  return p;
}

Pena multipleSana() {
  Pena p = nuevaPena(u"MÚLTIPLE"_s, 101, QDate(2021, 1, 4));
  for (int i = 0; i < 6; ++i) p.ponerApuesta(i + 1, 1, static_cast<int16_t>(i + 1));
  p.ponerApuesta(7, 1, 0);
  return p;
}

}  // namespace

class TestLecturas : public QObject {
  Q_OBJECT

 private slots:
  void penaDanada_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("danado");
    const QByteArray sana = penaSana().codificar();
    const auto con = [](Pena p, const std::function<void(Pena&)>& f) {
      f(p);
      return p.codificar();
    };
    QTest::newRow("sana") << sana + multipleSana().codificar() << false;
    QTest::newRow("vacío") << QByteArray() << false;
    QTest::newRow("cortado a 1000 bytes") << (sana + sana).left(1000) << true;
    QTest::newRow("un byte de más") << sana + 'x' << true;
    QTest::newRow("tipo 0") << con(penaSana(), [](Pena& p) { p.tipo = 0; }) << true;
    QTest::newRow("tipo 25") << con(penaSana(), [](Pena& p) { p.tipo = 25; }) << true;
    QTest::newRow("tipo 107") << con(multipleSana(), [](Pena& p) { p.tipo = 107; }) << true;
    QTest::newRow("número 55") << con(penaSana(), [](Pena& p) { p.ponerApuesta(5, 2, 55); }) << true;
    QTest::newRow("número 0") << con(penaSana(), [](Pena& p) { p.ponerApuesta(1, 1, 0); }) << true;
    QTest::newRow("repetido") << con(penaSana(), [](Pena& p) { p.ponerApuesta(2, 1, 1); }) << true;
    QTest::newRow("múltiple repetido") << con(multipleSana(), [](Pena& p) { p.ponerApuesta(6, 1, 1); }) << true;
    QTest::newRow("clave 10") << con(penaSana(), [](Pena& p) { p.ponerApuesta(6, 1, 10); }) << true;
    QTest::newRow("clave -1") << con(multipleSana(), [](Pena& p) { p.ponerApuesta(7, 1, -1); }) << true;
    QTest::newRow("fila sin usar") << con(penaSana(), [](Pena& p) { p.ponerApuesta(1, 3, 99); }) << false;
    QTest::newRow("creación no entera") << con(penaSana(), [](Pena& p) { p.creacion += 0.5; }) << true;
    QTest::newRow("creación 29/12/1899") << con(penaSana(), [](Pena& p) { p.creacion = -1; }) << true;
    QTest::newRow("creación NaN") << con(penaSana(), [](Pena& p) { p.creacion = std::nan(""); }) << true;
    QTest::newRow("última cuenta no entera") << con(penaSana(), [](Pena& p) { p.ultimacuenta = 44000.25; }) << true;
    QTest::newRow("nombre binario") << con(penaSana(), [](Pena& p) { p.nombre[3] = '\x01'; }) << true;
    QTest::newRow("nombre con byte indefinido") << con(penaSana(), [](Pena& p) { p.nombre[0] = '\x81'; }) << true;
    QTest::newRow("nombre con €") << con(penaSana(), [](Pena& p) { p.nombre[0] = '\x80'; }) << false;
    QByteArray azar(Pena::kTamano * 3, '\0');
    quint32 x = 12345;
    for (char& c : azar) c = static_cast<char>((x = x * 1103515245 + 12345) >> 24);
    QTest::newRow("bytes al azar") << azar << true;
  }

  void penaDanada() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, danado);
    prueba::Entorno e;
    e.escribir(u"apuestas.dat"_s, bytes);
    Almacen a;
    prueba::exigir(a.abrir(e.carpeta.path()));
    std::vector<Pena> penas;
    bool visto = false;
    prueba::exigir(a.leerPenas(penas, &visto));
    QCOMPARE(visto, danado);
    if (danado) QVERIFY(penas.empty());

    // Set aside whole under a name never used before; nothing is written from it.
    e.escribir(u"apuestas.err"_s, "anterior");
    const operaciones::Apartado ap = operaciones::apartarPenasDanadas(a);
    prueba::exigir(ap.resultado);
    QCOMPARE(ap.apartado, danado);
    QCOMPARE(e.leer(u"apuestas.err"_s), QByteArray("anterior"));
    if (danado) {
      QCOMPARE(ap.archivo, u"apuestas.2.err"_s);
      QCOMPARE(e.leer(u"apuestas.2.err"_s), bytes);
      QCOMPARE(e.leer(u"apuestas.dat"_s), QByteArray());
    } else {
      QCOMPARE(e.leer(u"apuestas.dat"_s), bytes);
    }
    // A change never writes the peñas back from a damaged file.
    if (danado) {
      e.escribir(u"apuestas.dat"_s, bytes);
      const operaciones::Alta alta = operaciones::crearPena(a, penaSana(), QDate(2021, 3, 10));
      QVERIFY(!alta.resultado);
      QVERIFY(alta.resultado.error.contains(u"Error crítico: fichero apuestas.dat corrupto."_s));
      QCOMPARE(e.leer(u"apuestas.dat"_s), bytes);
    }
  }

  // Each file of the folder pointed at a device or a pipe, or grown past its bound, is
  // refused at once with its name, never read whole and never waited on.
  void lecturaAcotada_data() {
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QString>("especial");
    for (const char* n : {"numeros.dat", "apuestas.dat", "nums.ini", "www.txt", "respuesta.json", "sorteos.csv"}) {
      QTest::addRow("%s /dev/zero", n) << QString::fromLatin1(n) << u"cero"_s;
      QTest::addRow("%s tubería", n) << QString::fromLatin1(n) << u"tuberia"_s;
      QTest::addRow("%s carpeta", n) << QString::fromLatin1(n) << u"carpeta"_s;
    }
  }

  void lecturaAcotada() {
    QFETCH(QString, nombre);
    QFETCH(QString, especial);
    prueba::Entorno e;
    const QString ruta = e.ruta(nombre);
    if (especial == u"cero"_s)
      QVERIFY(QFile::link(u"/dev/zero"_s, ruta));
    else if (especial == u"tuberia"_s)
      QCOMPARE(::mkfifo(QFile::encodeName(ruta).constData(), 0600), 0);
    else
      QVERIFY(QDir(e.carpeta.path()).mkdir(nombre));
    QElapsedTimer reloj;
    reloj.start();
    QByteArray datos;
    const Resultado r = leerAcotado(ruta, kMaximoLectura, datos);
    QVERIFY(!r);
    QVERIFY(r.error.contains(nombre));
    QVERIFY(datos.isEmpty());
    bool ok = true;
    QVERIFY(leerArchivo(ruta, &ok).isEmpty());
    QVERIFY(!ok);
    // The load of the window and of every order says so instead of showing an empty file.
    Sesion s;
    prueba::exigir(s.abrir(e.carpeta.path()));
    (void)s.cargasorteos(QDate(2021, 3, 10));
    const bool registro = nombre == u"numeros.dat"_s || nombre == u"apuestas.dat"_s;
    QCOMPARE(!s.lectura(), registro);
    if (nombre == u"numeros.dat"_s) QVERIFY(s.listasorteos().danado);
    QVERIFY(reloj.elapsed() < 1000);
  }

  // The database and the settings are not read by us byte by byte, but a pipe or a
  // device under their names must not hang the program either.
  void baseYAjustesEspeciales_data() {
    QTest::addColumn<QString>("especial");
    QTest::newRow("/dev/zero") << u"cero"_s;
    QTest::newRow("tubería") << u"tuberia"_s;
  }

  void baseYAjustesEspeciales() {
    QFETCH(QString, especial);
    prueba::Entorno e;
    for (const QString& n : {u"sortilan.db"_s, u"sortilan.ini"_s}) {
      if (especial == u"cero"_s)
        QVERIFY(QFile::link(u"/dev/zero"_s, e.ruta(n)));
      else
        QCOMPARE(::mkfifo(QFile::encodeName(e.ruta(n)).constData(), 0600), 0);
    }
    QElapsedTimer reloj;
    reloj.start();
    BaseDatos base;
    const Resultado r = base.abrir(e.carpeta.path(), BaseDatos::Modo::Lectura);
    QVERIFY(!r);
    QVERIFY(r.error.contains(u"sortilan.db no es un fichero normal"_s));
    QCOMPARE(plataforma::leerServicios(e.carpeta.path()).resultados, plataforma::Servicios::porDefectoOperador());
    QVERIFY(reloj.elapsed() < 1000);
  }

  void tamanoMaximo() {
    prueba::Entorno e;
    QByteArray datos;
    e.escribir(u"a"_s, QByteArray(1000, 'x'));
    prueba::exigir(leerAcotado(e.ruta(u"a"_s), 1000, datos));
    QCOMPARE(datos.size(), 1000);
    const Resultado r = leerAcotado(e.ruta(u"a"_s), 999, datos);
    QVERIFY(!r);
    QVERIFY(r.error.contains(u"demasiado grande"_s));
    QVERIFY(datos.isEmpty());
    // An absent file is an empty one.
    prueba::exigir(leerAcotado(e.ruta(u"no"_s), 10, datos));
    QVERIFY(datos.isEmpty());
    // A draw file longer than the record counter can number is refused, not read.
    e.escribir(u"numeros.dat"_s, QByteArray(Sorteo::kTamano * (Sorteo::kMaximo + 1), '\0'));
    Almacen a;
    prueba::exigir(a.abrir(e.carpeta.path()));
    std::vector<Sorteo> sorteos;
    QVERIFY(!a.leerSorteos(sorteos));
    QVERIFY(sorteos.empty());
  }

  void numerosEscritos_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QList<int>>("numeros");
    QTest::newRow("espacios") << u"1 2 3 4 5"_s << QList<int>{1, 2, 3, 4, 5};
    QTest::newRow("guiones") << u"04-10-29 - 39-54"_s << QList<int>{4, 10, 29, 39, 54};
    QTest::newRow("comas y punto y coma") << u" 1,2;3 , 4 ;5 "_s << QList<int>{1, 2, 3, 4, 5};
    QTest::newRow("signo menos") << u"-1 2 3 4 5"_s << QList<int>{};
    QTest::newRow("signo más") << u"+1 2 3 4 5"_s << QList<int>{};
    QTest::newRow("guion al final") << u"1 2 3 4 5-"_s << QList<int>{};
    QTest::newRow("decimal") << u"1 2 3 4 5.0"_s << QList<int>{};
    QTest::newRow("letra") << u"1 2 3 4 x"_s << QList<int>{};
    QTest::newRow("tres cifras") << u"1 2 3 4 100"_s << QList<int>{};
    QTest::newRow("cuatro") << u"1 2 3 4"_s << QList<int>{};
    QTest::newRow("seis") << u"1 2 3 4 5 6"_s << QList<int>{};
    QTest::newRow("cifras árabes") << u"1 2 3 4 \u0665"_s << QList<int>{};
  }

  void numerosEscritos() {
    QFETCH(QString, texto);
    QTEST(sortilan::numerosEscritos(texto), "numeros");
  }

  void numeroEscrito_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<int>("valor");
    QTest::newRow("cero") << u"0"_s << 0;
    QTest::newRow("dos cifras") << u" 09 "_s << 9;
    QTest::newRow("menos") << u"-1"_s << -1;
    QTest::newRow("más") << u"+3"_s << -1;
    QTest::newRow("vacío") << QString() << -1;
    QTest::newRow("hexadecimal") << u"0x1"_s << -1;
    QTest::newRow("tres cifras") << u"100"_s << -1;
  }

  void numeroEscrito() {
    QFETCH(QString, texto);
    QTEST(sortilan::numeroEscrito(texto), "valor");
  }

  // The service, the CSV file and the keyboard refuse the same draws.
  void juzgadoIgual_data() {
    QTest::addColumn<QDate>("fecha");
    QTest::addColumn<bool>("vale");
    QTest::newRow("domingo") << QDate(2021, 3, 7) << true;
    QTest::newRow("sábado de 2006") << QDate(2006, 1, 7) << true;
    QTest::newRow("sábado de 2021") << QDate(2021, 3, 6) << false;
    QTest::newRow("lunes") << QDate(2021, 3, 8) << false;
  }

  void juzgadoIgual() {
    QFETCH(QDate, fecha);
    QFETCH(bool, vale);
    Sorteo s;
    s.numeros = {1, 2, 3, 4, 5, 6, 0, 0};
    s.fecha = oleDesdeFecha(fecha);
    QCOMPARE(motivoNuevos(Sorteo{}, {s}, QDate(2021, 3, 10)).isEmpty(), vale);
    const QByteArray csv = fecha.toString(u"yyyy-MM-dd"_s).toLatin1() + ";1;2;3;4;5;6\n";
    QCOMPARE(leerCsv(csv, QDate(2021, 3, 10)).linea == 0, vale);
  }

  void hueco_data() {
    QTest::addColumn<QDate>("ultima");
    QTest::addColumn<QDate>("primera");
    QTest::addColumn<bool>("hueco");
    QTest::newRow("semana") << QDate(2021, 2, 28) << QDate(2021, 3, 7) << false;
    QTest::newRow("de sábado a domingo en 2006") << QDate(2006, 7, 1) << QDate(2006, 7, 9) << false;
    QTest::newRow("dos semanas") << QDate(2021, 2, 21) << QDate(2021, 3, 7) << true;
    QTest::newRow("meses") << QDate(2024, 10, 13) << QDate(2025, 3, 16) << true;
    QTest::newRow("historia vacía") << QDate() << QDate(2021, 3, 7) << false;
  }

  void hueco() {
    QFETCH(QDate, ultima);
    QFETCH(QDate, primera);
    const double u = ultima.isValid() ? oleDesdeFecha(ultima) : 0;
    QTEST(dejaHueco(u, oleDesdeFecha(primera)), "hueco");
    if (ultima.isValid())
      QCOMPARE(preguntaHuecoRespuesta(u, oleDesdeFecha(primera)).left(48),
               u"Faltan los sorteos entre el %1 y el %2"_s
                   .arg(ultima.toString(u"dd/MM/yyyy"_s), primera.toString(u"dd/MM/yyyy"_s))
                   .left(48));
  }

  // Draw days missing between two stored draws; the 2005-2006 Saturdays replaced the
  // Sundays, they were not drawn besides them.
  void sorteosEntre_data() {
    QTest::addColumn<QDate>("desde");
    QTest::addColumn<QDate>("hasta");
    QTest::addColumn<int>("faltan");
    QTest::newRow("semana seguida") << QDate(2021, 2, 28) << QDate(2021, 3, 7) << 0;
    QTest::newRow("dos domingos") << QDate(2021, 2, 14) << QDate(2021, 3, 7) << 2;
    QTest::newRow("al empezar los sábados") << QDate(2005, 10, 16) << QDate(2005, 10, 22) << 0;
    QTest::newRow("entre sábados") << QDate(2005, 12, 3) << QDate(2005, 12, 17) << 1;
    QTest::newRow("al volver los domingos") << QDate(2006, 7, 1) << QDate(2006, 7, 9) << 0;
    QTest::newRow("tras volver") << QDate(2006, 7, 1) << QDate(2006, 7, 16) << 1;
  }

  void sorteosEntre() {
    QFETCH(QDate, desde);
    QFETCH(QDate, hasta);
    QTEST(sortilan::sorteosEntre(desde, hasta), "faltan");
  }

  void celdasNeutralizadas_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("celda");
    QTest::newRow("fórmula") << u"=HYPERLINK(\"x\")"_s << u"\"'=HYPERLINK(\"\"x\"\")\""_s;
    QTest::newRow("más") << u"+34 600"_s << u"\"'+34 600\""_s;
    QTest::newRow("menos") << u"-1+1"_s << u"\"'-1+1\""_s;
    QTest::newRow("arroba") << u"@SUMA(A1)"_s << u"\"'@SUMA(A1)\""_s;
    QTest::newRow("tabulador") << u"\t=1"_s << u"\"'\t=1\""_s;
    QTest::newRow("retorno") << u"\r=1"_s << u"\"'\r=1\""_s;
    QTest::newRow("nombre") << u"Ana García"_s << u"\"Ana García\""_s;
    QTest::newRow("igual dentro") << u"a=b"_s << u"\"a=b\""_s;
    QTest::newRow("vacío") << QString() << u"\"\""_s;
  }

  void celdasNeutralizadas() {
    QFETCH(QString, texto);
    QTEST(EscritorCsv::celda(texto), "celda");
  }

  void numerosSiguenSiendoNumeros() {
    EscritorCsv w;
    w.texto(u"-Peña"_s).numero(u"-12,50"_s).numero(-3).vacio().fin();
    QCOMPARE(w.bytes(), QByteArray("\xEF\xBB\xBF\"'-Peña\";-12,50;-3;\r\n"));
  }
};

QTEST_GUILESS_MAIN(TestLecturas)
#include "test_lecturas.moc"
