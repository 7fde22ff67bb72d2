#include <QSet>
#include <QtTest>

#include "checking/premios.h"

using namespace sortilan;

// The prize categories, texts and colours of both result lists, and the breakdown of
// a multiple bet into its simple bets.
class TestPremios : public QObject {
  Q_OBJECT

 private slots:
  void categorias_data() {
    QTest::addColumn<int>("aciertos");
    QTest::addColumn<bool>("clave");
    QTest::addColumn<int>("categoria");
    QTest::addColumn<QString>("comentario");
    QTest::addColumn<uint>("color");
    QTest::newRow("2") << 2 << false << 1 << "¡¡ Premio !! Has acertado 2 números." << 0x00C000u;
    QTest::newRow("2+C") << 2 << true << 2 << "¡¡ Premio !! Has acertado 2 + Nº.Clave." << 0x00C000u;
    QTest::newRow("3") << 3 << false << 3 << "¡¡ Premio !! Has acertado 3 números." << 0x0000FFu;
    QTest::newRow("3+C") << 3 << true << 4 << "¡¡ Premio !! Has acertado 3 + Nº.Clave." << 0x0000FFu;
    QTest::newRow("4") << 4 << false << 5 << "¡¡ Premio !! Has acertado 4 números." << 0x400040u;
    QTest::newRow("4+C") << 4 << true << 6 << "¡¡ Premio !! Has acertado 4 + Nº.Clave." << 0x400040u;
    QTest::newRow("5") << 5 << false << 7 << "¡¡ Premio !! Has acertado 5 números." << 0xC04000u;
    QTest::newRow("5+C") << 5 << true << 8 << "¡¡ Premio !! Has acertado 5 + Nº.Clave." << 0xFF0000u;
  }
  void categorias() {
    QFETCH(int, aciertos);
    QFETCH(bool, clave);
    QFETCH(int, categoria);
    QFETCH(QString, comentario);
    QFETCH(uint, color);
    QCOMPARE(sortilan::categoria(aciertos, clave), categoria);
    QCOMPARE(comentarioPremio(aciertos, clave), comentario);
    QCOMPARE(colorPremio(aciertos, clave), color);
  }

  // The breakdown table as it is published, N rows by H columns, "X×K" entries.
  void tablaDesglose_data() {
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("h");
    QTest::addColumn<QString>("lineas");
    const char* tabla[6][4] = {
        {"4x2", "3x2 3x3", "4x3 2x4", "5x4 1x5"},
        {"10x2", "12x2 6x3", "6x2 12x3 3x4", "10x3 10x4 1x5"},
        {"20x2", "30x2 10x3", "24x2 24x3 4x4", "10x2 30x3 15x4 1x5"},
        {"35x2", "60x2 15x3", "60x2 40x3 5x4", "40x2 60x3 20x4 1x5"},
        {"56x2", "105x2 21x3", "120x2 60x3 6x4", "100x2 100x3 25x4 1x5"},
        {"84x2", "168x2 28x3", "210x2 84x3 7x4", "200x2 150x3 30x4 1x5"},
    };
    for (int n = 6; n <= 11; ++n)
      for (int h = 2; h <= 5; ++h) QTest::addRow("N%d H%d", n, h) << n << h << QString::fromLatin1(tabla[n - 6][h - 2]);
  }
  void tablaDesglose() {
    QFETCH(int, n);
    QFETCH(int, h);
    QFETCH(QString, lineas);
    QStringList obtenidas;
    for (const LineaDesglose& l : desglose(n, h)) obtenidas << QStringLiteral("%1x%2").arg(l.apuestas).arg(l.k);
    QCOMPARE(obtenidas.join(QLatin1Char(' ')), lineas);

    // Independent check: enumerate every 5-number combination of the multiple, with
    // the first h numbers taken as the drawn ones.
    int porAciertos[6] = {};
    for (int m = 0; m < (1 << n); ++m) {
      if (__builtin_popcount(static_cast<unsigned>(m)) != 5) continue;
      ++porAciertos[__builtin_popcount(static_cast<unsigned>(m) & ((1u << h) - 1))];
    }
    int total = 0;
    for (const LineaDesglose& l : desglose(n, h)) {
      QCOMPARE(l.apuestas, porAciertos[l.k]);
      total += l.apuestas;
    }
    QCOMPARE(total + porAciertos[0] + porAciertos[1], binomial(n, 5));
  }

  void textosDesglose() {
    QSet<QString> textos;
    for (int n = 6; n <= 11; ++n)
      for (int h = 2; h <= 5; ++h)
        for (bool clave : {false, true})
          for (const LineaDesglose& l : desglose(n, h)) {
            const QString t = textoDesglose(l, clave);
            const QString esperado = QStringLiteral("¡¡ Premio !! Hay %1 %2 de %3%4")
                                         .arg(l.apuestas)
                                         .arg(l.apuestas == 1 ? QStringLiteral("apuesta") : QStringLiteral("apuestas"))
                                         .arg(l.k)
                                         .arg(clave ? QStringLiteral(" + Clave.") : QStringLiteral(" aciertos."));
            QCOMPARE(t, esperado);
            QVERIFY(l.apuestas != 1 || l.k == 5);
            textos.insert(t);
          }
    QCOMPARE(textos.size(), 92);
    QCOMPARE(textoDesglose({3, 24}, false), QStringLiteral("¡¡ Premio !! Hay 24 apuestas de 3 aciertos."));
    QCOMPARE(textoDesglose({5, 1}, true), QStringLiteral("¡¡ Premio !! Hay 1 apuesta de 5 + Clave."));
  }

  void desgloseFueraDeRango() {
    QVERIFY(desglose(5, 3).empty());
    QVERIFY(desglose(12, 3).empty());
    QVERIFY(desglose(8, 1).empty());
    QVERIFY(desglose(8, 6).empty());
  }

  void contadorSeDetieneEnElTope_data() {
    QTest::addColumn<int>("antes");
    QTest::addColumn<int>("suma");
    QTest::addColumn<int>("despues");
    QTest::newRow("normal") << 10 << 462 << 472;
    QTest::newRow("justo") << 32766 << 1 << 32767;
    QTest::newRow("pasaria") << 32767 << 1 << 32767;
    QTest::newRow("desglose grande") << 32600 << 462 << 32767;
  }
  void contadorSeDetieneEnElTope() {
    QFETCH(int, antes);
    QFETCH(int, suma);
    QFETCH(int, despues);
    QCOMPARE(static_cast<int>(sumarAciertos(static_cast<int16_t>(antes), suma)), despues);
  }
};

QTEST_GUILESS_MAIN(TestPremios)
#include "test_premios.moc"
