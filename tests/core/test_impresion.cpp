#include <QtTest>

#include "printing/impresion.h"

using namespace sortilan;

Q_DECLARE_METATYPE(sortilan::Papel)
Q_DECLARE_METATYPE(sortilan::Pena)

namespace {

// A peña with `tipo` bets; bet b holds b, b+6, b+12, b+18, b+24 (all different cells).
Pena sencilla(int tipo, int clave = 7) {
  Pena p;
  p.ponerNombre(QStringLiteral("  Oficina  "));
  p.ponerDias(QStringLiteral("Domingo"));
  p.tipo = static_cast<int16_t>(tipo);
  for (int b = 1; b <= tipo; ++b)
    for (int q = 1; q <= 5; ++q) p.ponerApuesta(q, b, static_cast<int16_t>(b + 6 * (q - 1)));
  p.ponerApuesta(6, 1, static_cast<int16_t>(clave));
  return p;
}

Pena multiple(int tipo, int clave = 0) {
  Pena p;
  p.ponerNombre(QStringLiteral("Bar"));
  p.ponerDias(QStringLiteral("Domingo"));
  p.tipo = static_cast<int16_t>(tipo);
  const int n = tipo - 95;
  for (int q = 1; q <= n; ++q) p.ponerApuesta(q, 1, static_cast<int16_t>(q * 4));
  p.ponerApuesta(n + 1, 1, static_cast<int16_t>(clave));
  return p;
}

std::vector<OperacionDibujo> de(const PaginaImpresion& pag, OperacionDibujo::Tipo tipo, const QString& texto = {}) {
  std::vector<OperacionDibujo> out;
  for (const OperacionDibujo& o : pag.operaciones)
    if (o.tipo == tipo && (texto.isEmpty() || o.texto == texto)) out.push_back(o);
  return out;
}

std::vector<OperacionDibujo> equis(const PaginaImpresion& pag) {
  return de(pag, OperacionDibujo::Tipo::Texto, QStringLiteral("X"));
}

bool hayEn(const std::vector<OperacionDibujo>& ops, double x, double y) {
  for (const OperacionDibujo& o : ops)
    if (qAbs(o.x - x) < 1e-6 && qAbs(o.y - y) < 1e-6) return true;
  return false;
}

const Calibracion kCero{};

}  // namespace

class TestImpresion : public QObject {
  Q_OBJECT
 private slots:
  void boletosNecesarios_data() {
    QTest::addColumn<int>("tipo");
    QTest::addColumn<int>("boletos");
    QTest::addColumn<int>("apuestas");
    QTest::newRow("24 sencillas") << 24 << 4 << 24;
    QTest::newRow("7 sencillas") << 7 << 2 << 7;
    QTest::newRow("6 sencillas") << 6 << 1 << 6;
    QTest::newRow("1 sencilla") << 1 << 1 << 1;
    QTest::newRow("13 sencillas") << 13 << 3 << 13;
    QTest::newRow("múltiple de 6") << 101 << 1 << 1;
    QTest::newRow("múltiple de 11") << 106 << 1 << 1;
    // Damaged kinds would read past the 24 rows of the record: nothing is printed.
    QTest::newRow("tipo 0") << 0 << 0 << 0;
    QTest::newRow("tipo 25") << 25 << 0 << 0;
    QTest::newRow("tipo negativo") << -6 << 0 << 0;
    QTest::newRow("tipo 107") << 107 << 0 << 0;
  }
  void boletosNecesarios() {
    QFETCH(int, tipo);
    QFETCH(int, boletos);
    QFETCH(int, apuestas);
    Pena p;
    p.tipo = static_cast<int16_t>(tipo);
    QCOMPARE(nboletos(p), boletos);
    QCOMPARE(apuestasAImprimir(p), apuestas);
    if (boletos == 0) QVERIFY(imprimeboletos(p, Papel::Normal, kCero).paginas.empty());
  }

  void casillas_data() {
    QTest::addColumn<int>("bloque");
    QTest::addColumn<int>("casilla");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::newRow("1 en fila 1 columna 0") << 1 << 1 << 0.0 << 5.0;
    QTest::newRow("9 en fila 9") << 1 << 9 << 0.0 << 45.0;
    QTest::newRow("10 en fila 0") << 1 << 10 << 3.8 << 0.0;
    QTest::newRow("20 en fila 0") << 1 << 20 << 7.6 << 0.0;
    QTest::newRow("30 en fila 0") << 1 << 30 << 11.4 << 0.0;
    QTest::newRow("40 en fila 0") << 1 << 40 << 15.2 << 0.0;
    QTest::newRow("50 en fila 0") << 1 << 50 << 19.0 << 0.0;
    QTest::newRow("54") << 1 << 54 << 19.0 << 20.0;
    QTest::newRow("bloque 6 columna 0") << 6 << 1 << 112.5 << 5.0;
    QTest::newRow("columna de la clave") << 7 << 13 << 138.8 << 15.0;
  }
  void casillas() {
    QFETCH(int, bloque);
    QFETCH(int, casilla);
    QFETCH(double, x);
    QFETCH(double, y);
    const Punto normal = calculacasillas(bloque, Papel::Normal, kCero)[static_cast<size_t>(casilla)];
    QCOMPARE(normal.x, x);
    QCOMPARE(normal.y, y);
    // Official paper starts from the calibration; plain paper ignores it.
    const Calibracion cal{0, 10.5f, -2.25f, 0};
    const Punto oficial = calculacasillas(bloque, Papel::Oficial, cal)[static_cast<size_t>(casilla)];
    QCOMPARE(oficial.x, x + 10.5);
    QCOMPARE(oficial.y, y - 2.25);
    const Punto ignorada = calculacasillas(bloque, Papel::Normal, cal)[static_cast<size_t>(casilla)];
    QCOMPARE(ignorada.x, x);
  }

  // Where the marks of a peña land, per paper: plain adds the ticket offsets (25.8, 45).
  void marcasDeApuestasYClave_data() {
    QTest::addColumn<Papel>("papel");
    QTest::addColumn<double>("mx");
    QTest::addColumn<double>("my");
    QTest::newRow("normal") << Papel::Normal << 25.8 << 45.0;
    QTest::newRow("oficial calibrado") << Papel::Oficial << 12.0 << 31.5;
  }
  void marcasDeApuestasYClave() {
    QFETCH(Papel, papel);
    QFETCH(double, mx);
    QFETCH(double, my);
    const Calibracion cal{0, 12.0f, 31.5f, 0};
    Pena p = sencilla(6, 9);
    p.ponerApuesta(1, 1, 1);
    p.ponerApuesta(2, 1, 10);
    p.ponerApuesta(3, 1, 20);
    p.ponerApuesta(4, 1, 50);
    p.ponerApuesta(5, 1, 54);
    const Impresion imp = imprimeboletos(p, papel, cal);
    QCOMPARE(imp.paginas.size(), size_t(1));
    const auto x = equis(imp.paginas[0]);
    QCOMPARE(x.size(), size_t(6 * 5 + 1));
    QVERIFY(hayEn(x, mx + 0, my + 5));      // 1
    QVERIFY(hayEn(x, mx + 3.8, my + 0));    // 10
    QVERIFY(hayEn(x, mx + 7.6, my + 0));    // 20
    QVERIFY(hayEn(x, mx + 19.0, my + 0));   // 50
    QVERIFY(hayEn(x, mx + 19.0, my + 20));  // 54
    // Bet 6 (6, 12, 18, 24, 30) in block 6.
    QVERIFY(hayEn(x, mx + 112.5 + 0, my + 30));
    QVERIFY(hayEn(x, mx + 112.5 + 11.4, my + 0));
    // Key 9: column 1, row 9 of block 7.
    QVERIFY(hayEn(x, mx + 138.8, my + 45));
    for (const OperacionDibujo& o : x) QCOMPARE(o.tamano, kTamanoImpresion);
  }

  void claveEnCadaBoleto() {
    for (int k : {0, 5, 9}) {
      const Impresion imp = imprimeboletos(sencilla(13, k), Papel::Normal, kCero);
      QCOMPARE(imp.paginas.size(), size_t(2));
      // Upper and lower ticket of sheet 1, upper of sheet 2.
      QVERIFY(hayEn(equis(imp.paginas[0]), 25.8 + 138.8, 45 + 5.0 * k));
      QVERIFY(hayEn(equis(imp.paginas[0]), 25.8 + 138.8, 149 + 5.0 * k));
      QVERIFY(hayEn(equis(imp.paginas[1]), 25.8 + 138.8, 45 + 5.0 * k));
    }
  }

  // A plain sheet lists each ticket's own bets in digits under the marks; the official
  // ticket gets nothing beyond its marks.
  void apuestasEscritasEnPapelNormal_data() {
    QTest::addColumn<Pena>("pena");
    QTest::addColumn<QStringList>("primerBoleto");
    QTest::addColumn<QStringList>("segundoBoleto");
    QTest::newRow("siete sencillas") << sencilla(7) << QStringList{u"1: 01 07 13 19 25"_qs, u"2: 02 08 14 20 26"_qs,
                                                                   u"3: 03 09 15 21 27"_qs, u"4: 04 10 16 22 28"_qs,
                                                                   u"5: 05 11 17 23 29"_qs, u"6: 06 12 18 24 30"_qs,
                                                                   u"Clave: 7"_qs}
                                     << QStringList{u"7: 07 13 19 25 31"_qs, u"Clave: 7"_qs};
    QTest::newRow("múltiple de 8") << multiple(103, 5)
                                   << QStringList{u"Múltiple de 8: 04 08 12 16 20 24 28 32"_qs, u"Clave: 5"_qs}
                                   << QStringList{};
  }
  void apuestasEscritasEnPapelNormal() {
    QFETCH(Pena, pena);
    QFETCH(QStringList, primerBoleto);
    QFETCH(QStringList, segundoBoleto);
    const auto escritas = [](const Impresion& imp, bool inferior) {
      QStringList t;
      for (const PaginaImpresion& pag : imp.paginas)
        for (const OperacionDibujo& o : pag.operaciones)
          if (o.tamano == kTamanoApuestas && (o.y > 150) == inferior) t << o.texto;
      return t;
    };
    const Impresion normal = imprimeboletos(pena, Papel::Normal, kCero);
    QCOMPARE(escritas(normal, false), primerBoleto);
    QCOMPARE(escritas(normal, true), segundoBoleto);
    QVERIFY(escritas(imprimeboletos(pena, Papel::Oficial, kCero), false).isEmpty());
  }

  void sieteApuestas() {
    const Impresion imp = imprimeboletos(sencilla(7), Papel::Oficial, kCero);
    QCOMPARE(imp.paginas.size(), size_t(2));
    QCOMPARE(equis(imp.paginas[0]).size(), size_t(31));
    // The second ticket carries only bet 7 in block 1, and the key.
    const auto x = equis(imp.paginas[1]);
    QCOMPARE(x.size(), size_t(6));
    for (int q = 0; q < 5; ++q) {
      const int v = 7 + 6 * q;
      QVERIFY(hayEn(x, 3.8 * (v / 10), 5.0 * (v % 10)));
    }
  }

  void marcaDeMultiple_data() {
    QTest::addColumn<int>("tipo");
    QTest::addColumn<int>("casilla");
    QTest::addColumn<int>("bloque");
    QTest::newRow("6 números") << 101 << 19 << 1;
    QTest::newRow("7 números") << 102 << 39 << 1;
    QTest::newRow("8 números") << 103 << 59 << 1;
    QTest::newRow("9 números") << 104 << 19 << 2;
    QTest::newRow("10 números") << 105 << 39 << 2;
    QTest::newRow("11 números") << 106 << 59 << 2;
  }
  void marcaDeMultiple() {
    QFETCH(int, tipo);
    QFETCH(int, casilla);
    QFETCH(int, bloque);
    const double cx = 22.5 * (bloque - 1) + 3.8 * (casilla / 10);
    const double cy = 5.0 * (casilla % 10) + 10;  // two rows below row 9
    const Pena p = multiple(tipo, 4);
    const int n = tipo - 95;

    const Impresion normal = imprimeboletos(p, Papel::Normal, kCero);
    QCOMPARE(normal.paginas.size(), size_t(1));
    const auto x = equis(normal.paginas[0]);
    QCOMPARE(x.size(), size_t(n + 2));  // the numbers, the key and the type mark
    QVERIFY(hayEn(x, 25.8 + cx, 45 + cy));
    QVERIFY(hayEn(x, 25.8 + 138.8, 45 + 20));  // key 4
    for (int q = 1; q <= n; ++q) QVERIFY(hayEn(x, 25.8 + 3.8 * ((q * 4) / 10), 45 + 5.0 * ((q * 4) % 10)));

    const Impresion oficial = imprimeboletos(p, Papel::Oficial, Calibracion{0, 7, 30, 0});
    QVERIFY(hayEn(equis(oficial.paginas[0]), 7 + cx, 30 + cy));
  }

  void cabeceraOficial() {
    const Calibracion cal{0, 11.5f, 40.0f, 0};
    const Impresion imp = imprimeboletos(sencilla(7), Papel::Oficial, cal);
    const auto t1 =
        de(imp.paginas[0], OperacionDibujo::Tipo::Texto, QStringLiteral("PEÑA Oficina (1/2)     Sortilan v1.2."));
    QCOMPARE(t1.size(), size_t(1));
    QCOMPARE(t1[0].x, 16.5);
    QCOMPARE(t1[0].y, 31.0);
    QCOMPARE(de(imp.paginas[1], OperacionDibujo::Tipo::Texto, QStringLiteral("PEÑA Oficina (2/2)     Sortilan v1.2."))
                 .size(),
             size_t(1));
    // Official paper carries no frame, no reader marks and no plain-paper texts.
    for (const PaginaImpresion& pag : imp.paginas) {
      QVERIFY(de(pag, OperacionDibujo::Tipo::Rectangulo).empty());
      QVERIFY(de(pag, OperacionDibujo::Tipo::Relleno).empty());
      QCOMPARE(pag.operaciones.size(), equis(pag).size() + 1);
    }
  }

  void cabeceraNormal() {
    Pena p = sencilla(8);
    p.ponerDias(QStringLiteral(" Domingo"));
    const Impresion imp = imprimeboletos(p, Papel::Normal, Calibracion{0, 50, 50, 0});
    QCOMPARE(imp.paginas.size(), size_t(1));
    const PaginaImpresion& pag = imp.paginas[0];
    struct Esperado {
      QString texto;
      double x, y, tamano;
    };
    const Esperado esperados[] = {
        {QStringLiteral("PEÑA Oficina (1/2)"), 32, 37, 11.5},
        {QStringLiteral("PEÑA Oficina (2/2)"), 32, 141, 11.5},
        {QStringLiteral("El Gordo de la Primitiva del:"), 110, 97, 11.5},
        {QStringLiteral("El Gordo de la Primitiva del:"), 110, 201, 11.5},
        {QStringLiteral("DOMINGO"), 110, 102, 11.5},
        {QStringLiteral("DOMINGO"), 110, 206, 11.5},
        {QStringLiteral("SORTILAN v.1.3."), 72.5, 25, 18},
        {QStringLiteral("SORTILAN v.1.3."), 72.5, 129, 18},
    };
    for (const Esperado& e : esperados) {
      const auto t = de(pag, OperacionDibujo::Tipo::Texto, e.texto);
      bool visto = false;
      for (const OperacionDibujo& o : t) visto = visto || (o.x == e.x && o.y == e.y && o.tamano == e.tamano);
      QVERIFY2(visto, qPrintable(e.texto));
    }
  }

  void marcosYDesplazamientoInferior() {
    const Impresion imp = imprimeboletos(sencilla(12), Papel::Normal, kCero);
    QCOMPARE(imp.paginas.size(), size_t(1));
    const PaginaImpresion& pag = imp.paginas[0];
    const auto marcos = de(pag, OperacionDibujo::Tipo::Rectangulo);
    QCOMPARE(marcos.size(), size_t(2));
    for (int i = 0; i < 2; ++i) {
      QCOMPARE(marcos[static_cast<size_t>(i)].x, 20.0);
      QCOMPARE(marcos[static_cast<size_t>(i)].y, 20.0 + 104 * i);
      QCOMPARE(marcos[static_cast<size_t>(i)].ancho, 160.5);
      QCOMPARE(marcos[static_cast<size_t>(i)].alto, 104.0);
    }
    // The upper frame ends where the lower one starts.
    QCOMPARE(marcos[0].y + marcos[0].alto, marcos[1].y);

    const auto rellenas = de(pag, OperacionDibujo::Tipo::Relleno);
    QCOMPARE(rellenas.size(), size_t(14));
    for (double d : {0.0, 104.0}) {
      for (double x : {23.8, 174.5}) {
        bool visto = false;
        for (const OperacionDibujo& o : rellenas)
          visto = visto || (o.x == x && o.y == d + 117.3 && o.ancho == 2.5 && o.alto == 3);
        QVERIFY(visto);
      }
      for (int i = 0; i < 5; ++i) {
        bool visto = false;
        for (const OperacionDibujo& o : rellenas)
          visto = visto || (o.x == 22.5 && o.y == d + 44 + 12 * i && o.ancho == 1 && o.alto == 4);
        QVERIFY(visto);
      }
    }
    // Bet 7 opens the lower ticket: block 1, shifted 104 mm down.
    QVERIFY(hayEn(equis(pag), 25.8 + 0, 149 + 35));  // 7 at row 7
    QVERIFY(hayEn(equis(pag), 25.8 + 0, 45 + 5));    // 1 on the upper ticket
  }

  void saltosDePagina_data() {
    QTest::addColumn<int>("tipo");
    QTest::addColumn<Papel>("papel");
    QTest::addColumn<QList<int>>("boletosPorHoja");
    QTest::newRow("3 boletos normal") << 13 << Papel::Normal << QList<int>{2, 1};
    QTest::newRow("3 boletos oficial") << 13 << Papel::Oficial << QList<int>{1, 1, 1};
    QTest::newRow("4 boletos normal") << 24 << Papel::Normal << QList<int>{2, 2};
    QTest::newRow("2 boletos normal") << 7 << Papel::Normal << QList<int>{2};
    QTest::newRow("1 boleto oficial") << 6 << Papel::Oficial << QList<int>{1};
  }
  void saltosDePagina() {
    QFETCH(int, tipo);
    QFETCH(Papel, papel);
    QFETCH(QList<int>, boletosPorHoja);
    const Impresion imp = imprimeboletos(sencilla(tipo), papel, kCero);
    QCOMPARE(static_cast<int>(imp.paginas.size()), boletosPorHoja.size());
    // One key mark per ticket tells how many tickets each sheet carries; no sheet is blank.
    for (int i = 0; i < boletosPorHoja.size(); ++i) {
      int claves = 0;
      for (const OperacionDibujo& o : equis(imp.paginas[static_cast<size_t>(i)]))
        claves += o.x > 130 + (papel == Papel::Normal ? 25.8 : 0) ? 1 : 0;
      QCOMPARE(claves, boletosPorHoja.at(i));
    }
  }

  // A damaged record must not send a mark outside the grid or crash the layout.
  void registroDanado() {
    Pena p = sencilla(2, 12);
    p.ponerApuesta(1, 1, 0);
    p.ponerApuesta(2, 1, 99);
    p.ponerApuesta(3, 2, -4);
    const Impresion imp = imprimeboletos(p, Papel::Normal, kCero);
    QCOMPARE(imp.paginas.size(), size_t(1));
    QCOMPARE(equis(imp.paginas[0]).size(), size_t(3 + 4));  // no key mark either
  }
  // Where the key mark and the multiple-type mark land, in millimetres read off the
  // ticket: a mark on another cell is another bet.
  void marcasDeClaveYTipoEnSuCasilla_data() {
    QTest::addColumn<Pena>("pena");
    QTest::addColumn<Papel>("papel");
    QTest::addColumn<QList<QList<QPointF>>>("marcas");  // per page
    QTest::addColumn<QList<int>>("equisPorPagina");

    Pena nueve = multiple(104, 6);
    const int numeros[] = {2, 11, 22, 33, 44, 47, 51, 52, 53};
    for (int q = 1; q <= 9; ++q) nueve.ponerApuesta(q, 1, static_cast<int16_t>(numeros[q - 1]));
    QTest::newRow("9 números, normal") << nueve << Papel::Normal << QList<QList<QPointF>>{{{164.6, 75}, {52.1, 100}}}
                                       << QList<int>{11};
    QTest::newRow("9 números, oficial") << nueve << Papel::Oficial
                                        << QList<QList<QPointF>>{{{141.3, 28.5}, {28.8, 53.5}}} << QList<int>{11};
    QTest::newRow("6 números, normal") << multiple(101, 0) << Papel::Normal
                                       << QList<QList<QPointF>>{{{164.6, 45}, {29.6, 100}}} << QList<int>{8};
    QTest::newRow("6 números, oficial") << multiple(101, 0) << Papel::Oficial
                                        << QList<QList<QPointF>>{{{141.3, -1.5}, {6.3, 53.5}}} << QList<int>{8};
    QTest::newRow("11 números, normal") << multiple(106, 9) << Papel::Normal
                                        << QList<QList<QPointF>>{{{164.6, 90}, {67.3, 100}}} << QList<int>{13};
    QTest::newRow("11 números, oficial") << multiple(106, 9) << Papel::Oficial
                                         << QList<QList<QPointF>>{{{141.3, 43.5}, {44.0, 53.5}}} << QList<int>{13};
    QTest::newRow("7 apuestas, normal") << sencilla(7, 3) << Papel::Normal
                                        << QList<QList<QPointF>>{{{164.6, 60}, {164.6, 164}}} << QList<int>{37};
    QTest::newRow("7 apuestas, oficial") << sencilla(7, 3) << Papel::Oficial
                                         << QList<QList<QPointF>>{{{141.3, 13.5}}, {{141.3, 13.5}}}
                                         << QList<int>{31, 6};
  }
  void marcasDeClaveYTipoEnSuCasilla() {
    QFETCH(Pena, pena);
    QFETCH(Papel, papel);
    QFETCH(QList<QList<QPointF>>, marcas);
    QFETCH(QList<int>, equisPorPagina);
    const Impresion imp = imprimeboletos(pena, papel, Calibracion{0, 2.5f, -1.5f, 0});
    QCOMPARE(static_cast<int>(imp.paginas.size()), equisPorPagina.size());
    for (qsizetype i = 0; i < equisPorPagina.size(); ++i) {
      const auto xs = equis(imp.paginas[static_cast<size_t>(i)]);
      QCOMPARE(static_cast<int>(xs.size()), equisPorPagina[i]);
      for (const QPointF& m : marcas[i])
        QVERIFY2(hayEn(xs, m.x(), m.y()), qPrintable(QStringLiteral("sin marca en (%1, %2)").arg(m.x()).arg(m.y())));
    }
  }
};

QTEST_GUILESS_MAIN(TestImpresion)
#include "test_impresion.moc"
