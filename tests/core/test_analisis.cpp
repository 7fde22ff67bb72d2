// The request address, the buffer record, busca and the two passes of the parse.
#include <QFile>
#include <QtTest>

#include "base/fechas.h"
#include "download/analisis.h"
#include "download/buscador.h"
#include "support/dobles.h"
#include "support/servicioprueba.h"

using namespace sortilan;

namespace {
QByteArray ejemplo() { return prueba::leerDatoPrueba(QStringLiteral("respuesta_ejemplo.json")); }
QByteArray buffer(const QByteArray& respuesta) { return registroCitado(QString::fromUtf8(respuesta)); }
Sorteo conFecha(QDate d) {
  Sorteo s;
  s.fecha = d.isValid() ? oleDesdeFecha(d) : 0;
  return s;
}
// `n` draws, one a week back from `primera`, with distinct valid combinations.
QList<prueba::SorteoRespuesta> semanas(QDate primera, int n) {
  QList<prueba::SorteoRespuesta> l;
  for (int i = 0; i < n; ++i) {
    const int a = 1 + i % 40;
    l.append({primera.addDays(-7 * i),
              QStringLiteral("%1 - %2 - %3 - %4 - %5")
                  .arg(a + 10, 2, 10, QLatin1Char('0'))
                  .arg(a, 2, 10, QLatin1Char('0'))
                  .arg(a + 3, 2, 10, QLatin1Char('0'))
                  .arg(a + 14, 2, 10, QLatin1Char('0'))
                  .arg(a + 1, 2, 10, QLatin1Char('0')),
              i % 10});
  }
  return l;
}
}  // namespace

class TestAnalisis : public QObject {
  Q_OBJECT
 private slots:
  void direccion_data() {
    QTest::addColumn<QString>("base");
    QTest::addColumn<QDate>("hoy");
    QTest::addColumn<QString>("esperada");
    const QString q = QStringLiteral(
        "/servicios/buscadorSorteos?game_id=ELGR&celebrados=true&fechaInicioInclusiva=%1&fechaFinInclusiva=%2");
    QTest::newRow("7 marzo 2021") << "https://resultados.example" << QDate(2021, 3, 7)
                                  << "https://resultados.example" + q.arg("20201008", "20210307");
    QTest::newRow("cambio de año") << "https://resultados.example" << QDate(2021, 1, 5)
                                   << "https://resultados.example" + q.arg("20200808", "20210105");
    QTest::newRow("servicio local con barra")
        << "http://127.0.0.1:8080/" << QDate(2021, 3, 7) << "http://127.0.0.1:8080" + q.arg("20201008", "20210307");
  }
  void direccion() {
    QFETCH(QString, base);
    QFETCH(QDate, hoy);
    QFETCH(QString, esperada);
    QCOMPARE(direccionPeticion(QUrl(base), hoy).toString(), esperada);
  }

  void registro() {
    // Nine characters become fifteen plus the line end.
    QCOMPARE(registroCitado(QStringLiteral("{\"a\":\"b\"}")), QByteArray("\"{\"\"a\"\":\"\"b\"\"}\"\r\n"));
    QCOMPARE(registroCitado(QString()), QByteArray("\"\"\r\n"));
    // Windows-1252 where it can, a question mark where it cannot.
    QCOMPARE(registroCitado(QStringLiteral("1ª €→")), QByteArray("\"1\xaa \x80?\"\r\n"));
  }

  void busca_data() {
    QTest::addColumn<QByteArray>("datos");
    QTest::addColumn<int>("desde");
    QTest::addColumn<QByteArray>("empieza");
    QTest::addColumn<QByteArray>("final");
    QTest::addColumn<QByteArray>("resultado");
    QTest::addColumn<int>("despues");
    QTest::addColumn<bool>("finbusca");
    QTest::addColumn<bool>("fallo");
    QTest::newRow("inicio sin mayúsculas") << QByteArray("zzFecha_Sorteo\":\"2021-") << 1 << QByteArray("FECHA_SORTEO")
                                           << QByteArray(":\"") << QByteArray("\"") << 17 << false << false;
    QTest::newRow("queda uno tras el final") << QByteArray("\"2021-03-07 ") << 1 << QByteArray("\"") << QByteArray("-")
                                             << QByteArray("2021") << 7 << false << false;
    QTest::newRow("final en mayúsculas") << QByteArray("[xyAB--") << 1 << QByteArray("[") << QByteArray("ab")
                                         << QByteArray("xy") << 5 << false << false;
    QTest::newRow("final mezclado no vale") << QByteArray("[xyaB--") << 1 << QByteArray("[") << QByteArray("ab")
                                            << QByteArray("xyaB") << 7 << false << false;
    QTest::newRow("la recogida para en el último")
        << QByteArray("[abc") << 1 << QByteArray("[") << QByteArray("]") << QByteArray("a") << 4 << false << false;
    QTest::newRow("no está") << QByteArray("abc") << 1 << QByteArray("x") << QByteArray("y") << QByteArray() << 4
                             << true << false;
    QTest::newRow("acaba en el último carácter")
        << QByteArray("abcX") << 1 << QByteArray("X") << QByteArray("") << QByteArray() << 5 << true << false;
    QTest::newRow("empieza fuera") << QByteArray("abc") << 10 << QByteArray("a") << QByteArray("b") << QByteArray()
                                   << 10 << false << true;
    QTest::newRow("posición cero") << QByteArray("abc") << 0 << QByteArray("a") << QByteArray("b") << QByteArray() << 0
                                   << false << true;
  }
  void busca() {
    QFETCH(QByteArray, datos);
    QFETCH(int, desde);
    QFETCH(QByteArray, empieza);
    QFETCH(QByteArray, final);
    Buscador b(datos);
    b.ponerPosicion(desde);
    QTEST(b.busca(empieza, final), "resultado");
    QTEST(static_cast<int>(b.posicion()), "despues");
    QTEST(b.finbusca(), "finbusca");
    QTEST(b.fallo(), "fallo");
  }

  void ejemploResuelto() {
    // The date and the combination of one draw, walked as the two passes walk them.
    const QByteArray d =
        buffer(R"x({"fecha_sorteo":"2021-03-07 00:00:00","combinacion":"04 - 10 - 29 - 39 - 54 R(9)"})x");
    Buscador b(d);
    b.busca("fecha_sorteo", ":\"");
    b.mover(1);
    const QByteArray anio = b.busca("\"", "-");
    b.mover(-1);
    const QByteArray mes = b.busca("-", "-");
    b.mover(-1);
    QCOMPARE((QList<QByteArray>{anio, mes, b.busca("-", " ")}), (QList<QByteArray>{"2021", "03", "07"}));
    b.ponerPosicion(1);
    b.busca("combinacion\"", ":\"");
    QList<QByteArray> partes{b.busca("\"\"", "-")};
    b.mover(-1);
    for (int j = 0; j < 4; ++j) partes << b.busca("- ", " ");
    partes << b.busca("(", ")");
    QCOMPARE(partes, (QList<QByteArray>{"04 ", "10", "29", "39", "54", "9"}));
    QVERIFY(!b.finbusca() && !b.fallo());
  }

  void valorDeTexto_data() {
    QTest::addColumn<QByteArray>("texto");
    QTest::addColumn<long long>("valor");
    QTest::newRow("con blanco") << QByteArray("04 ") << 4LL;
    QTest::newRow("vacío") << QByteArray() << 0LL;
    QTest::newRow("letras") << QByteArray("abc") << 0LL;
    QTest::newRow("retorno") << QByteArray("\r") << 0LL;
    QTest::newRow("blanco dentro") << QByteArray(" 1 2") << 12LL;
    QTest::newRow("hasta la letra") << QByteArray("12x3") << 12LL;
    QTest::newRow("redondeo arriba") << QByteArray("1.6") << 2LL;
    QTest::newRow("redondeo a par") << QByteArray("2.5") << 2LL;
    QTest::newRow("negativo") << QByteArray("-3") << -3LL;
    QTest::newRow("enorme") << QByteArray("99999999999999999999999") << 1'000'000'000'000LL;
  }
  void valorDeTexto() {
    QFETCH(QByteArray, texto);
    QTEST(valor(texto), "valor");
  }

  void ordenaNumeros() {
    Sorteo s;
    s.numeros = {54, 4, 39, 10, 29, 9, 0, 0};
    ordena(s);
    QCOMPARE(s.numeros, (std::array<int16_t, 8>{4, 10, 29, 39, 54, 9, 0, 0}));
  }

  void ejemploReal_data() {
    QTest::addColumn<QDate>("ultimo");
    QTest::addColumn<int>("nuevos");
    QTest::newRow("archivo vacío: no los del final") << QDate() << 18;
    QTest::newRow("desde octubre") << QDate(2020, 10, 4) << 18;
    QTest::newRow("dos nuevos") << QDate(2021, 2, 21) << 2;
    QTest::newRow("la misma fecha no es nueva") << QDate(2021, 3, 7) << 0;
  }
  void ejemploReal() {
    QFETCH(QDate, ultimo);
    const Analisis a = analizar(buffer(ejemplo()), conFecha(ultimo));
    QVERIFY(!a.error && !a.finbusca && !a.invalido);
    QTEST(static_cast<int>(a.sorteos.size()), "nuevos");
    if (a.sorteos.empty()) return;
    const Sorteo& nuevo = a.sorteos.front();
    QCOMPARE(fechaDesdeOle(nuevo.fecha), QDate(2021, 3, 7));
    QCOMPARE(nuevo.numeros, (std::array<int16_t, 8>{15, 24, 40, 42, 48, 9, 0, 0}));
    for (size_t i = 1; i < a.sorteos.size(); ++i) QCOMPARE(a.sorteos[i].fecha, a.sorteos[i - 1].fecha - 7);
  }

  void combinaciones_data() {
    QTest::addColumn<QString>("tercera");
    QTest::addColumn<int>("clave");
    QTest::addColumn<bool>("parentesis");
    QTest::addColumn<int>("aceptados");
    QTest::newRow("desordenada") << "54 - 04 - 39 - 10 - 29" << 0 << false << 15;
    QTest::newRow("clave con blanco") << "54 - 04 - 39 - 10 - 29" << 7 << true << 15;
    QTest::newRow("un cero") << "00 - 04 - 39 - 10 - 29" << 1 << false << 2;
    QTest::newRow("repetido") << "04 - 04 - 39 - 10 - 29" << 1 << false << 2;
    QTest::newRow("más de 54") << "55 - 04 - 39 - 10 - 29" << 1 << false << 2;
    QTest::newRow("clave de dos cifras") << "01 - 04 - 39 - 10 - 29" << 10 << false << 2;
    QTest::newRow("vacía") << "" << 1 << false << 2;
  }
  void combinaciones() {
    QFETCH(QString, tercera);
    QFETCH(int, clave);
    QFETCH(bool, parentesis);
    QList<prueba::SorteoRespuesta> l = semanas(QDate(2021, 3, 7), 20);
    l[2].combinacion = tercera;
    l[2].clave = clave;
    const Analisis a = analizar(buffer(prueba::respuestaSintetica(l, 1500, parentesis)), Sorteo{});
    QVERIFY(!a.error);
    QTEST(static_cast<int>(a.sorteos.size()), "aceptados");
    QCOMPARE(a.invalido, a.sorteos.size() == 2);
    for (const Sorteo& s : a.sorteos) QVERIFY(s.valido());
    if (a.sorteos.size() > 2) {
      QCOMPARE(a.sorteos[2].numeros, (std::array<int16_t, 8>{4, 10, 29, 39, 54, static_cast<int16_t>(clave), 0, 0}));
    }
  }

  void ordenYRepetidos() {
    // Oldest first, or the newest draw listed twice: still newest first, each date once.
    QList<prueba::SorteoRespuesta> l = semanas(QDate(2021, 3, 7), 20);
    QList<prueba::SorteoRespuesta> alReves = l;
    std::reverse(alReves.begin(), alReves.begin() + 5);  // the five new draws, oldest first
    QList<prueba::SorteoRespuesta> doble = l;
    doble.insert(1, l[0]);
    const Sorteo ultimo = conFecha(QDate(2021, 3, 7).addDays(-7 * 5));
    for (const auto& respuesta : {alReves, doble}) {
      const Analisis a = analizar(buffer(prueba::respuestaSintetica(respuesta, 1500)), ultimo);
      QVERIFY(!a.error);
      QCOMPARE(a.sorteos.size(), size_t{5});
      for (size_t i = 0; i < a.sorteos.size(); ++i)
        QCOMPARE(a.sorteos[i].fecha, oleDesdeFecha(QDate(2021, 3, 7).addDays(-7 * static_cast<int>(i))));
    }
  }

  void limites() {
    // The end marker within the first 10,000 characters: no date is read.
    const QByteArray corta = buffer(prueba::respuestaSintetica(semanas(QDate(2021, 3, 7), 5), 1500));
    QVERIFY(corta.size() < 10000);
    Analisis a = analizar(corta, Sorteo{});
    QVERIFY(!a.error);
    QCOMPARE(a.sorteos.size(), size_t{0});

    // 51 new dates are more than the parse takes.
    a = analizar(buffer(prueba::respuestaSintetica(semanas(QDate(2021, 3, 7), 60), 1500)), Sorteo{});
    QVERIFY(a.error);
    QVERIFY(a.sorteos.empty());
    a = analizar(buffer(prueba::respuestaSintetica(semanas(QDate(2021, 3, 7), 60), 1500)),
                 conFecha(QDate(2021, 3, 7).addDays(-7 * 50)));
    QVERIFY(!a.error);
    QCOMPARE(a.sorteos.size(), size_t{50});

    // A date that is no date.
    QList<prueba::SorteoRespuesta> l = semanas(QDate(2021, 3, 7), 20);
    QByteArray mala = prueba::respuestaSintetica(l, 1500);
    mala.replace("2021-02-21", "2021-02-31");
    a = analizar(buffer(mala), Sorteo{});
    QVERIFY(a.error);

    // An empty array, and the plain answer of a search that found nothing.
    a = analizar(buffer("[]"), Sorteo{});
    QVERIFY(!a.error && !a.finbusca && a.sorteos.empty());
    a = analizar(buffer("\"No se ha encontrado ningún registro para los parámetros introducidos.\""), Sorteo{});
    QVERIFY(!a.error && a.finbusca && a.sorteos.empty());

    // Beyond the size an answer can have.
    QVERIFY(analizar(QByteArray(kMaximoBuffer + 1, ' '), Sorteo{}).error);
  }

  void reservadosDelUltimo() {
    Sorteo ultimo = conFecha(QDate(2021, 2, 21));
    ultimo.numeros[6] = 3;
    ultimo.numeros[7] = 4;
    const Analisis a = analizar(buffer(ejemplo()), ultimo);
    QCOMPARE(a.sorteos.size(), size_t{2});
    QCOMPARE(a.sorteos[1].numeros[6], int16_t{3});
    QCOMPARE(a.sorteos[1].numeros[7], int16_t{4});
  }
};

QTEST_GUILESS_MAIN(TestAnalisis)
#include "test_analisis.moc"
