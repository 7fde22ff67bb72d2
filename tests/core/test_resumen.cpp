#include <QtTest>

#include "base/fechas.h"
#include "checking/resumenpenas.h"

using namespace Qt::StringLiterals;

using namespace sortilan;

namespace {

Pena sencilla(int apuestas, int clave, double creacion = 0) {
  Pena p;
  p.ponerNombre(QStringLiteral("PEÑA"));
  p.ponerDias(QStringLiteral("Domingo"));
  p.tipo = static_cast<int16_t>(apuestas);
  for (int b = 1; b <= apuestas; ++b)
    for (int i = 1; i <= 5; ++i) p.ponerApuesta(i, b, static_cast<int16_t>((b + 7 * i) % 54 + 1));
  p.ponerApuesta(6, 1, static_cast<int16_t>(clave));
  p.creacion = creacion;
  return p;
}

std::vector<Sorteo> sorteosDesde(double desde, int cuantos) {
  std::vector<Sorteo> s(static_cast<size_t>(cuantos));
  for (int i = 0; i < cuantos; ++i) s[static_cast<size_t>(i)].fecha = desde + 7 * i;
  return s;
}

}  // namespace

class TestResumen : public QObject {
  Q_OBJECT

 private slots:
  void porcentajes_data() {
    QTest::addColumn<int>("premios");
    QTest::addColumn<int>("sorteos");
    QTest::addColumn<QString>("texto");
    QTest::newRow("un tercio") << 1 << 3 << "33,3";
    QTest::newRow("dos tercios") << 2 << 3 << "66,7";
    QTest::newRow("octavo") << 1 << 8 << "12,5";
    QTest::newRow("mitad") << 4 << 8 << "50";
    QTest::newRow("cero") << 0 << 7 << "0";
    QTest::newRow("más de cien") << 4 << 2 << "200";
    QTest::newRow("empate a par hacia abajo") << 1 << 16 << "6,2";    // 6.25
    QTest::newRow("empate a par hacia arriba") << 3 << 16 << "18,8";  // 18.75
    QTest::newRow("empate no binario") << 7 << 2000 << "0,4";         // 0.35, not 0.3499..
    QTest::newRow("empate no binario par") << 9 << 2000 << "0,4";     // 0.45
    QTest::newRow("casi empate") << 1 << 7 << "14,3";
  }
  void porcentajes() {
    QFETCH(int, premios);
    QFETCH(int, sorteos);
    QFETCH(QString, texto);
    QCOMPARE(porcentaje(premios, sorteos), texto);
  }

  void unDecimalMitadAPar_data() {
    QTest::addColumn<double>("valor");
    QTest::addColumn<QString>("texto");
    QTest::newRow("33,3") << 100.0 / 3 << "33,3";
    QTest::newRow("0,25") << 0.25 << "0,2";
    QTest::newRow("0,35") << 0.35 << "0,4";
    QTest::newRow("2,25") << 2.25 << "2,2";
    QTest::newRow("entero") << 50.0 << "50";
    QTest::newRow("9,96") << 9.96 << "10";
  }
  void unDecimalMitadAPar() {
    QFETCH(double, valor);
    QFETCH(QString, texto);
    QCOMPARE(unDecimal(valor), texto);
  }

  void listaDeApuestas_data() {
    QTest::addColumn<int>("apuestas");
    QTest::addColumn<int>("lineas");
    QTest::addColumn<int>("alto");
    QTest::newRow("3") << 3 << 4 << 900;
    QTest::newRow("7") << 7 << 8 << 1800;
    QTest::newRow("8") << 8 << 9 << 1825;
    QTest::newRow("10") << 10 << 11 << 2275;
    QTest::newRow("21") << 21 << 22 << 4550;
    QTest::newRow("24") << 24 << 25 << 5225;
  }
  void listaDeApuestas() {
    QFETCH(int, apuestas);
    QFETCH(int, lineas);
    QFETCH(int, alto);
    const Pena p = sencilla(apuestas, 7);
    const DetallePena d = detallepena(&p, {});
    QCOMPARE(d.lineas.size(), lineas);
    QCOMPARE(d.altoTwips, alto);
    QCOMPARE(d.lineas.first(), QStringLiteral("Número clave:  7"));
  }

  void lineaDeApuesta() {
    Pena p;
    p.tipo = 1;
    const int n[5] = {3, 12, 5, 40, 54};
    for (int i = 0; i < 5; ++i) p.ponerApuesta(i + 1, 1, static_cast<int16_t>(n[i]));
    QCOMPARE(lineaApuesta(p, 1, 5), QStringLiteral(" 3-12- 5-40-54"));
  }

  void multipleDeOcho() {
    Pena p;
    p.tipo = 103;
    for (int i = 1; i <= 8; ++i) p.ponerApuesta(i, 1, static_cast<int16_t>(i * 6));
    p.ponerApuesta(9, 1, 0);
    const DetallePena d = detallepena(&p, {});
    QCOMPARE(d.lineas, QStringList({u"Número clave:  0"_s, u" 6-12-18-24-30-36-42-48"_s}));
    QCOMPARE(d.altoTwips, 450);
    QCOMPARE(resumen({p}, 0).filas.at(0).apuestas, QStringLiteral("56"));
  }

  void detalle_data() {
    QTest::addColumn<QList<int>>("aciertos");
    QTest::addColumn<int>("sorteosDesdeCreacion");
    QTest::addColumn<int>("sorteosAntes");
    QTest::addColumn<QString>("participados");
    QTest::addColumn<QString>("efectividad");
    QTest::addColumn<double>("sinPremio");
    QTest::addColumn<double>("premios");
    QTest::newRow("3 y 1 en 8") << QList<int>({3, 0, 0, 1, 0, 0, 0, 0}) << 8 << 5 << "8"
                                << "50 %" << 4.0 << 4.0;
    QTest::newRow("nada en 7") << QList<int>(8, 0) << 7 << 0 << "7"
                               << "0 %" << 7.0 << 0.0;
    QTest::newRow("múltiple 4 en 2") << QList<int>({4, 0, 0, 0, 0, 0, 0, 0}) << 2 << 3 << "2"
                                     << "200 %" << 0.0 << 4.0;
    QTest::newRow("un tercio") << QList<int>({1, 0, 0, 0, 0, 0, 0, 0}) << 3 << 0 << "3"
                               << "33,3 %" << 2.0 << 1.0;
    QTest::newRow("sin sorteos, con premios") << QList<int>({0, 0, 0, 0, 0, 0, 0, 2}) << 0 << 0 << "0"
                                              << "100 %" << 0.0 << 2.0;
    QTest::newRow("sin sorteos ni premios") << QList<int>(8, 0) << 0 << 0 << "0"
                                            << "-" << 0.0 << 0.0;
    QTest::newRow("todos antes") << QList<int>(8, 0) << 0 << 4 << "0"
                                 << "0 %" << 0.0 << 0.0;
  }
  void detalle() {
    QFETCH(QList<int>, aciertos);
    QFETCH(int, sorteosDesdeCreacion);
    QFETCH(int, sorteosAntes);
    QFETCH(QString, participados);
    QFETCH(QString, efectividad);
    QFETCH(double, sinPremio);
    QFETCH(double, premios);
    const double creacion = 40000;
    Pena p = sencilla(2, 1, creacion);
    for (int i = 0; i < 8; ++i) p.aciertos[static_cast<size_t>(i)] = static_cast<int16_t>(aciertos[i]);
    std::vector<Sorteo> s = sorteosDesde(creacion - 7 * sorteosAntes, sorteosAntes + sorteosDesdeCreacion);
    const DetallePena d = detallepena(&p, s);
    QCOMPARE(d.participados, participados);
    QCOMPARE(d.efectividad, efectividad);
    QCOMPARE(d.grafico, (DatosGrafico{sinPremio, premios}));
    for (int i = 0; i < 8; ++i) QCOMPARE(d.premios[static_cast<size_t>(i)], QString::number(aciertos[i]));
  }

  void detalleSinPenas() {
    const DetallePena d = detallepena(nullptr, sorteosDesde(1, 3));
    QCOMPARE(d.participados, QStringLiteral("-"));
    QCOMPARE(d.efectividad, QStringLiteral("-"));
    QCOMPARE(d.grafico, (DatosGrafico{0, 0.0}));
    QVERIFY(d.lineas.isEmpty());
  }

  void detalleDeRegistroCorrupto_data() {
    QTest::addColumn<int>("tipo");
    for (int t : {25, 60, 99, 0, -1, 100, 107, 200}) QTest::addRow("%d", t) << t;
  }
  void detalleDeRegistroCorrupto() {
    QFETCH(int, tipo);
    Pena p = sencilla(1, 1);
    p.tipo = static_cast<int16_t>(tipo);
    const DetallePena d = detallepena(&p, sorteosDesde(1, 3));
    QVERIFY(d.corrupta);
    QVERIFY(d.lineas.isEmpty());
    QCOMPARE(textoPenaCorrupta(), QStringLiteral("Error crítico: fichero apuestas.dat corrupto."));
  }

  void resumenGeneral_data() {
    QTest::addColumn<QList<int>>("premiosPorPena");
    QTest::addColumn<int>("jugados");
    QTest::addColumn<QString>("suma");
    QTest::addColumn<QString>("efectividad");
    QTest::addColumn<QString>("sorteos");
    QTest::addColumn<double>("sinPremio");
    QTest::addColumn<double>("premios");
    QTest::newRow("5 en 20") << QList<int>({2, 3}) << 20 << "5"
                             << "25% de efectividad en premios"
                             << "en 20 sorteos" << 15.0 << 5.0;
    QTest::newRow("1 en 8") << QList<int>({1}) << 8 << "1"
                            << "12,5% de efectividad en premios"
                            << "en 8 sorteos" << 7.0 << 1.0;
    QTest::newRow("más premios que sorteos") << QList<int>({30, 4}) << 20 << "34"
                                             << "100% de efectividad en premios"
                                             << "en 20 sorteos" << 0.0 << 34.0;
    QTest::newRow("nada de nada") << QList<int>({0}) << 0 << "0"
                                  << "0% de efectividad en premios"
                                  << "en 0 sorteos" << 1.0 << 0.0;
    QTest::newRow("nada en 3") << QList<int>({0, 0}) << 3 << "0"
                               << "0% de efectividad en premios"
                               << "en 3 sorteos" << 3.0 << 0.0;
  }
  void resumenGeneral() {
    QFETCH(QList<int>, premiosPorPena);
    QFETCH(int, jugados);
    QFETCH(QString, suma);
    QFETCH(QString, efectividad);
    QFETCH(QString, sorteos);
    QFETCH(double, sinPremio);
    QFETCH(double, premios);
    std::vector<Pena> penas;
    for (int x : premiosPorPena) {
      Pena p = sencilla(3, 2, oleDesdeFecha(QDate(2021, 3, 7)));
      p.aciertos[0] = static_cast<int16_t>(x);
      penas.push_back(p);
    }
    const ResumenPenas r = resumen(penas, jugados);
    QVERIFY(!r.vacio);
    QCOMPARE(r.sumaAciertos, suma);
    QCOMPARE(r.efectividad, efectividad);
    QCOMPARE(r.sorteos, sorteos);
    QCOMPARE(r.grafico, (DatosGrafico{sinPremio, premios}));
    QCOMPARE(r.penasRegistradas, QString::number(penas.size()));
    QCOMPARE(r.filas.size(), penas.size());
    QCOMPARE(r.filas[0].nombre, QStringLiteral("PEÑA                "));
    QCOMPARE(r.filas[0].apuestas, QStringLiteral("3"));
    QCOMPARE(r.filas[0].creacion, QStringLiteral("07/03/2021"));
    QCOMPARE(r.filas[0].dias.trimmed(), QStringLiteral("Domingo"));
  }

  void resumenVacio() {
    const ResumenPenas r = resumen({}, 12);
    QVERIFY(r.vacio);
    QVERIFY(r.filas.empty());
    QCOMPARE(r.penasRegistradas, QStringLiteral("0"));
    QCOMPARE(r.sumaAciertos, QStringLiteral("0"));
    QCOMPARE(r.efectividad, QStringLiteral("¡Nunca has acertado nada!"));
    QCOMPARE(r.sorteos, QString());
    QCOMPARE(r.grafico, (DatosGrafico{1, std::nullopt}));
  }
};

QTEST_GUILESS_MAIN(TestResumen)
#include "test_resumen.moc"
