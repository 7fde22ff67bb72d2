// The request addresses, the buffer record, busca (for the prize report) and the
// answer read draw by draw.
#include <QJsonDocument>
#include <QtTest>
#include <algorithm>

#include "answer/analisis.h"
#include "answer/buscador.h"
#include "base/fechas.h"
#include "support/dobles.h"
#include "support/servicioprueba.h"

using namespace Qt::StringLiterals;

using namespace sortilan;

namespace {
const QDate kHoy(2021, 3, 10);
QByteArray ejemplo() { return prueba::leerDatoPrueba(QStringLiteral("respuesta_ejemplo.json")); }
double ole(QDate d) { return d.isValid() ? oleDesdeFecha(d) : 0; }
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
QList<QDate> fechas(const std::vector<Sorteo>& s) {
  QList<QDate> r;
  for (const Sorteo& x : s) r << fechaDesdeOle(x.fecha);
  return r;
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
    QTest::newRow("7 marzo 2021") << u"https://resultados.example"_s << QDate(2021, 3, 7)
                                  << u"https://resultados.example"_s + q.arg(u"20201008"_s, u"20210307"_s);
    QTest::newRow("cambio de año") << u"https://resultados.example"_s << QDate(2021, 1, 5)
                                   << u"https://resultados.example"_s + q.arg(u"20200808"_s, u"20210105"_s);
    QTest::newRow("servicio local con barra") << u"http://127.0.0.1:8080/"_s << QDate(2021, 3, 7)
                                              << u"http://127.0.0.1:8080"_s + q.arg(u"20201008"_s, u"20210307"_s);
  }
  void direccion() {
    QFETCH(QString, base);
    QFETCH(QDate, hoy);
    QFETCH(QString, esperada);
    QCOMPARE(direccionPeticion(QUrl(base), hoy).toString(), esperada);
  }

  void intervalos_data() {
    QTest::addColumn<QDate>("ultima");
    QTest::addColumn<int>("peticiones");
    const QDate hoy = QDate(2021, 3, 7);
    QTest::newRow("archivo vacío: la de siempre") << QDate() << 1;
    QTest::newRow("al día") << hoy.addDays(-7) << 1;
    QTest::newRow("hoy mismo") << hoy << 1;
    QTest::newRow("justo dentro") << hoy.addDays(-151) << 1;
    QTest::newRow("un día fuera") << hoy.addDays(-152) << 2;
    QTest::newRow("400 días") << hoy.addDays(-400) << 3;
    QTest::newRow("seis años") << hoy.addDays(-6 * 365) << 15;
  }
  void intervalos() {
    QFETCH(QDate, ultima);
    QFETCH(int, peticiones);
    const QDate hoy = QDate(2021, 3, 7);
    const std::vector<Intervalo> v = intervalosPeticion(ole(ultima), hoy);
    QCOMPARE(static_cast<int>(v.size()), peticiones);
    QCOMPARE(v.back().hasta, hoy);
    if (peticiones == 1) {
      // The usual request, whose address for 7 March 2021 has always been the same.
      QCOMPARE(v.front(), (Intervalo{QDate(2020, 10, 8), hoy}));
      return;
    }
    // From the day after the newest draw, oldest first, no day left out, none longer than 150 days.
    QCOMPARE(v.front().desde, ultima.addDays(1));
    for (size_t i = 0; i < v.size(); ++i) {
      QVERIFY(v[i].desde <= v[i].hasta);
      QVERIFY(v[i].desde.daysTo(v[i].hasta) <= kDiasPeticion);
      if (i > 0) QCOMPARE(v[i].desde, v[i - 1].hasta.addDays(1));
    }
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

  void valorDeTexto_data() {
    QTest::addColumn<QByteArray>("texto");
    QTest::addColumn<long long>("valor");
    QTest::newRow("con blanco") << QByteArray("04 ") << 4LL;
    QTest::newRow("vacío") << QByteArray() << 0LL;
    QTest::newRow("letras") << QByteArray("abc") << 0LL;
    QTest::newRow("blanco dentro") << QByteArray(" 1 2") << 12LL;
    QTest::newRow("hasta la letra") << QByteArray("12x3") << 12LL;
    QTest::newRow("redondeo a par") << QByteArray("2.5") << 2LL;
    QTest::newRow("negativo") << QByteArray("-3") << -3LL;
    QTest::newRow("enorme") << QByteArray("99999999999999999999999") << 1'000'000'000'000LL;
  }
  void valorDeTexto() {
    QFETCH(QByteArray, texto);
    QTEST(valor(texto), "valor");
  }

  void ejemploReal_data() {
    QTest::addColumn<QDate>("ultimo");
    QTest::addColumn<int>("nuevos");
    // Every draw of the answer is read, the oldest ones at the end of the array too.
    QTest::newRow("archivo vacío") << QDate() << 22;
    QTest::newRow("desde el 4 de octubre") << QDate(2020, 10, 4) << 22;
    QTest::newRow("dos nuevos") << QDate(2021, 2, 21) << 2;
    QTest::newRow("la misma fecha no es nueva") << QDate(2021, 3, 7) << 0;
  }
  void ejemploReal() {
    QFETCH(QDate, ultimo);
    const Analisis a = analizar(ejemplo(), ole(ultimo), kHoy);
    QCOMPARE(a.estado, Analisis::Estado::Bien);
    QCOMPARE(a.leidos.size(), size_t{22});
    // Each object is kept whole for readers of its other fields.
    QCOMPARE(a.leidos.front().objeto.value(QStringLiteral("escrutinio")).toArray().size(), 9);
    QTEST(static_cast<int>(a.nuevos.size()), "nuevos");
    if (a.nuevos.empty()) return;
    QCOMPARE(fechaDesdeOle(a.nuevos.back().fecha), QDate(2021, 3, 7));
    QCOMPARE(a.nuevos.back().numeros, (std::array<int16_t, 8>{15, 24, 40, 42, 48, 9, 0, 0}));
    for (size_t i = 1; i < a.nuevos.size(); ++i) QCOMPARE(a.nuevos[i].fecha, a.nuevos[i - 1].fecha + 7);
  }

  // Answers in every shape the service may take, against a file whose newest draw is
  // 31 January 2021: the five draws after it are new.
  void respuestas_data() {
    QTest::addColumn<QByteArray>("respuesta");
    QTest::addColumn<int>("estado");
    QTest::addColumn<QList<QDate>>("guardar");
    QTest::addColumn<QDate>("mala");
    const QList<prueba::SorteoRespuesta> l = semanas(QDate(2021, 3, 7), 20);
    QList<QDate> cinco;
    for (int i = 4; i >= 0; --i) cinco << QDate(2021, 3, 7).addDays(-7 * i);
    const auto bien = static_cast<int>(Analisis::Estado::Bien);
    const auto mala = static_cast<int>(Analisis::Estado::SorteoMalo);
    const auto ilegible = static_cast<int>(Analisis::Estado::Ilegible);

    QTest::newRow("tal cual") << prueba::respuestaSintetica(l) << bien << cinco << QDate();
    QList<prueba::SorteoRespuesta> x = l;
    std::reverse(x.begin(), x.end());
    QTest::newRow("más antiguo primero") << prueba::respuestaSintetica(x) << bien << cinco << QDate();
    x = l;
    std::swap(x[0], x[7]);  // a stored draw first, then the new ones out of order
    std::swap(x[1], x[3]);
    QTest::newRow("desordenada, un guardado primero") << prueba::respuestaSintetica(x) << bien << cinco << QDate();
    x = l;
    x.insert(3, l[1]);
    QTest::newRow("uno repetido igual") << prueba::respuestaSintetica(x) << bien << cinco << QDate();
    x = l;
    x.insert(3, {l[1].fecha, QStringLiteral("01 - 02 - 03 - 04 - 05"), 1});
    QTest::newRow("repetido con otros números")
        << prueba::respuestaSintetica(x) << mala << cinco.mid(0, 3) << l[1].fecha;
    const QByteArray bonita =
        QJsonDocument::fromJson(prueba::respuestaSintetica(l)).toJson(QJsonDocument::Indented).replace(":", " : ");
    QTest::newRow("con espacios y saltos de línea") << bonita << bien << cinco << QDate();
    QTest::newRow("texto antes del array") << ")]}',\n" + prueba::respuestaSintetica(l) << bien << cinco << QDate();
    QTest::newRow("clave entre paréntesis sin R")
        << prueba::respuestaSintetica(l, 1500, true) << bien << cinco << QDate();

    x = l;
    x[2].combinacion = QStringLiteral("00 - 02 - 03 - 04 - 05");
    QTest::newRow("inválido en medio") << prueba::respuestaSintetica(x) << mala << cinco.mid(0, 2) << l[2].fecha;
    x = l;
    x.prepend({QDate(2021, 3, 14), QStringLiteral("01 - 02 - 03 - 04 - 05"), 1});
    QTest::newRow("uno posterior a hoy") << prueba::respuestaSintetica(x) << mala << cinco << QDate(2021, 3, 14);
    QByteArray rota = prueba::respuestaSintetica(l);
    rota.replace(rota.indexOf("\"domingo\"", rota.indexOf("2021-02-21")), 9, "domingo");
    QTest::newRow("un objeto roto") << rota << mala << cinco.mid(0, 2) << QDate(2021, 2, 21);
    QByteArray sinFecha = prueba::respuestaSintetica(l);
    sinFecha.replace("2021-02-21", "2021-02-31");
    QTest::newRow("fecha imposible: nada") << sinFecha << ilegible << QList<QDate>() << QDate();
    // A bad draw that is not new does not stop anything.
    x = l;
    x[10].combinacion = QStringLiteral("55 - 02 - 03 - 04 - 05");
    QTest::newRow("inválido ya guardado") << prueba::respuestaSintetica(x) << bien << cinco << QDate();

    QByteArray cortada = prueba::respuestaSintetica(l);
    cortada.chop(300);
    QTest::newRow("cortada") << cortada << ilegible << QList<QDate>() << QDate();
    QTest::newRow("página de error") << QByteArray("<html>Error</html>") << ilegible << QList<QDate>() << QDate();
    QTest::newRow("vacía") << QByteArray() << ilegible << QList<QDate>() << QDate();
    QTest::newRow("array vacío") << QByteArray(" [ ] ") << bien << QList<QDate>() << QDate();
    QTest::newRow("búsqueda sin registros")
        << QByteArray("\"No se ha encontrado ningún registro para los parámetros introducidos.\"") << bien
        << QList<QDate>() << QDate();
  }
  void respuestas() {
    QFETCH(QByteArray, respuesta);
    QFETCH(QList<QDate>, guardar);
    QFETCH(QDate, mala);
    const Analisis a = analizar(respuesta, oleDesdeFecha(QDate(2021, 1, 31)), kHoy);
    QTEST(static_cast<int>(a.estado), "estado");
    QCOMPARE(fechas(a.nuevos), guardar);
    QCOMPARE(a.fechaMala, mala);
    QCOMPARE(a.motivo.isEmpty(), a.estado != Analisis::Estado::SorteoMalo);
    for (const Sorteo& s : a.nuevos) QVERIFY(s.valido());
  }

  void combinaciones_data() {
    QTest::addColumn<QString>("tercera");
    QTest::addColumn<int>("clave");
    QTest::addColumn<QString>("motivo");
    const QString numeros = QStringLiteral("los números no son cinco números distintos del 1 al 54");
    QTest::newRow("desordenada") << "54 - 04 - 39 - 10 - 29" << 0 << QString();
    QTest::newRow("un cero") << "00 - 04 - 39 - 10 - 29" << 1 << numeros;
    QTest::newRow("repetido") << "04 - 04 - 39 - 10 - 29" << 1 << numeros;
    QTest::newRow("más de 54") << "55 - 04 - 39 - 10 - 29" << 1 << numeros;
    QTest::newRow("clave de dos cifras") << "01 - 04 - 39 - 10 - 29" << 10
                                         << QStringLiteral("el número clave no está entre el 0 y el 9");
    QTest::newRow("cuatro números") << "04 - 39 - 10 - 29" << 1 << QStringLiteral("la combinación no se puede leer");
    QTest::newRow("vacía") << "" << 1 << QStringLiteral("la combinación no se puede leer");
  }
  void combinaciones() {
    QFETCH(QString, tercera);
    QFETCH(int, clave);
    QFETCH(QString, motivo);
    QList<prueba::SorteoRespuesta> l = semanas(QDate(2021, 3, 7), 5);
    l[2].combinacion = tercera;
    l[2].clave = clave;
    const Analisis a = analizar(prueba::respuestaSintetica(l), 0, kHoy);
    QCOMPARE(a.motivo, motivo);
    if (!motivo.isEmpty()) {
      QCOMPARE(a.nuevos.size(), size_t{2});
      return;
    }
    QCOMPARE(a.nuevos.size(), size_t{5});
    QCOMPARE(a.nuevos[2].numeros, (std::array<int16_t, 8>{4, 10, 29, 39, 54, 0, 0, 0}));
  }
};

QTEST_GUILESS_MAIN(TestAnalisis)
#include "test_analisis.moc"
