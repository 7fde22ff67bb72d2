// Money rules: amounts in cents and their texts, what a peña pays and wins in a draw,
// withholding, where and until when a prize is collected.
#include <QtTest>

#include "base/dinero.h"
#include "base/fechas.h"
#include "money/cobros.h"
#include "store/almacen.h"
#include "support/dobles.h"

using namespace sortilan;

namespace {

Sorteo sorteo(QDate fecha, std::array<int, 5> numeros, int clave) {
  Sorteo s;
  for (size_t i = 0; i < 5; ++i) s.numeros[i] = static_cast<int16_t>(numeros[i]);
  s.numeros[5] = static_cast<int16_t>(clave);
  s.fecha = oleDesdeFecha(fecha);
  return s;
}

Pena sencilla(const std::vector<std::array<int, 5>>& apuestas, int clave) {
  Pena p = nuevaPena(QStringLiteral("SENCILLA"), static_cast<int>(apuestas.size()), QDate(2020, 1, 1));
  for (size_t b = 0; b < apuestas.size(); ++b)
    for (int i = 0; i < 5; ++i) p.ponerApuesta(i + 1, static_cast<int>(b) + 1, static_cast<int16_t>(apuestas[b][i]));
  p.ponerApuesta(6, 1, static_cast<int16_t>(clave));
  return p;
}

Pena multiple(const std::vector<int>& numeros, int clave) {
  Pena p = nuevaPena(QStringLiteral("MULTIPLE"), 95 + static_cast<int>(numeros.size()), QDate(2020, 1, 1));
  for (size_t i = 0; i < numeros.size(); ++i)
    p.ponerApuesta(static_cast<int>(i) + 1, 1, static_cast<int16_t>(numeros[i]));
  p.ponerApuesta(static_cast<int>(numeros.size()) + 1, 1, static_cast<int16_t>(clave));
  return p;
}

// A table whose categories all pay different amounts, so a wrong category shows.
TablaPremios tabla(QDate fecha, bool conReintegro = true) {
  TablaPremios t;
  t.fecha = fecha;
  const Centimos premios[8] = {1'000'000'00, 90'000'00, 47'445'95, 504'65, 24'82, 9'37, 4'91, 3'00};
  for (size_t i = 0; i < 8; ++i) t.categorias[i] = PremioCategoria{premios[i], 1};
  if (conReintegro) t.reintegro = PremioCategoria{150, 1};
  return t;
}

QString lineas(const CuentaSorteo& c) {
  QStringList l;
  for (const LineaPremio& p : c.premios) l << QStringLiteral("%1x%2ª").arg(p.apuestas).arg(p.categoria);
  if (c.reintegro) l << QStringLiteral("%1xR").arg(c.reintegro->apuestas);
  return l.join(QLatin1Char(' '));
}

}  // namespace

class TestDinero : public QObject {
  Q_OBJECT
 private slots:
  void leerImportes_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<qint64>("centimos");  // -1: refused
    QTest::newRow("entero") << "20" << qint64{2000};
    QTest::newRow("un decimal") << "20,5" << qint64{2050};
    QTest::newRow("dos decimales") << "20,00" << qint64{2000};
    QTest::newRow("miles") << "1.234,56" << qint64{123456};
    QTest::newRow("millones") << "1.234.567,89" << qint64{123456789};
    QTest::newRow("sin miles y euro") << " 1234,56 € " << qint64{123456};
    QTest::newRow("negativo") << "-12,00" << qint64{-1200};
    QTest::newRow("céntimo") << "0,01" << qint64{1};
    QTest::newRow("vacío") << "" << qint64{-1};
    QTest::newRow("coma al final") << "20," << qint64{-1};
    QTest::newRow("sin euros") << ",50" << qint64{-1};
    QTest::newRow("tres decimales") << "1,234" << qint64{-1};
    QTest::newRow("grupo corto") << "1.23,45" << qint64{-1};
    QTest::newRow("grupo largo") << "12.3456" << qint64{-1};
    QTest::newRow("punto decimal") << "1.5" << qint64{-1};
    QTest::newRow("letras") << "doce" << qint64{-1};
    QTest::newRow("desmesurado") << "99999999999999" << qint64{-1};
  }
  void leerImportes() {
    QFETCH(QString, texto);
    QFETCH(qint64, centimos);
    const std::optional<Centimos> v = leerImporte(texto);
    QCOMPARE(v.value_or(-1), centimos);
    if (v) QCOMPARE(leerImporte(textoEuros(*v)).value_or(-1), *v);
  }

  void importesDelServicio_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<qint64>("centimos");
    QTest::newRow("premio") << "47445.95" << qint64{4744595};
    QTest::newRow("entero") << "3" << qint64{300};
    QTest::newRow("un decimal") << "1.5" << qint64{150};
    QTest::newRow("ceros de más") << "1.500" << qint64{150};
    QTest::newRow("cero") << "0.00" << qint64{0};
    QTest::newRow("grande exacto") << "123456789.99" << qint64{12345678999};
    QTest::newRow("tercer decimal") << "1.505" << qint64{-1};
    QTest::newRow("negativo") << "-3.00" << qint64{-1};
    QTest::newRow("coma") << "3,00" << qint64{-1};
    QTest::newRow("punto final") << "3." << qint64{-1};
    QTest::newRow("exponente") << "1e3" << qint64{-1};
    QTest::newRow("vacío") << "" << qint64{-1};
  }
  void importesDelServicio() {
    QFETCH(QString, texto);
    QFETCH(qint64, centimos);
    QCOMPARE(leerImportePunto(texto).value_or(-1), centimos);
  }

  void textos() {
    QCOMPARE(textoEuros(123456), QStringLiteral("1.234,56 €"));
    QCOMPARE(textoEuros(0), QStringLiteral("0,00 €"));
    QCOMPARE(textoEuros(5), QStringLiteral("0,05 €"));
    QCOMPARE(textoEuros(-1200), QStringLiteral("-12,00 €"));
    QCOMPARE(textoEuros(100'000'000), QStringLiteral("1.000.000,00 €"));
    QCOMPARE(textoImporte(99'999), QStringLiteral("999,99"));
    QCOMPARE(textoImporteCsv(-123456), QStringLiteral("-1234,56"));
  }

  void retencion_data() {
    QTest::addColumn<qint64>("premio");
    QTest::addColumn<qint64>("retencion");
    QTest::newRow("bajo el límite") << qint64{3'999'999} << qint64{0};
    QTest::newRow("40.000 €") << qint64{4'000'000} << qint64{0};
    QTest::newRow("40.000,01 €") << qint64{4'000'001} << qint64{0};
    QTest::newRow("40.000,03 €") << qint64{4'000'003} << qint64{1};
    QTest::newRow("50.000 €") << qint64{5'000'000} << qint64{200'000};
    QTest::newRow("47.445,95 €") << qint64{4'744'595} << qint64{148'919};
  }
  void retencion() {
    QFETCH(qint64, premio);
    QFETCH(qint64, retencion);
    QCOMPARE(retencionPorApuesta(premio), retencion);
  }

  void ultimoDia_data() {
    QTest::addColumn<QDate>("sorteo");
    QTest::addColumn<QDate>("limite");
    QTest::newRow("mismo día") << QDate(2021, 3, 7) << QDate(2021, 6, 7);
    QTest::newRow("cambio de año") << QDate(2020, 12, 22) << QDate(2021, 3, 22);
    QTest::newRow("30 nov a febrero") << QDate(2020, 11, 30) << QDate(2021, 2, 28);
    QTest::newRow("30 nov a febrero bisiesto") << QDate(2023, 11, 30) << QDate(2024, 2, 29);
    QTest::newRow("31 a mes de 30") << QDate(2021, 3, 31) << QDate(2021, 6, 30);
    QTest::newRow("31 a mes de 31") << QDate(2021, 5, 31) << QDate(2021, 8, 31);
  }
  void ultimoDia() {
    QFETCH(QDate, sorteo);
    QFETCH(QDate, limite);
    QCOMPARE(ultimoDiaCobro(sorteo), limite);
  }

  void coste_data() {
    QTest::addColumn<int>("numeros");  // 0: three simple bets
    QTest::addColumn<int>("apuestas");
    QTest::newRow("sencillas") << 0 << 3;
    const int combinaciones[] = {6, 21, 56, 126, 252, 462};
    for (int n = 6; n <= 11; ++n) QTest::addRow("múltiple de %d", n) << n << combinaciones[n - 6];
  }
  void coste() {
    QFETCH(int, numeros);
    QFETCH(int, apuestas);
    std::vector<int> elegidos;
    for (int i = 1; i <= numeros; ++i) elegidos.push_back(i * 4);
    const Pena p =
        numeros == 0 ? sencilla({{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}, {11, 12, 13, 14, 15}}, 0) : multiple(elegidos, 0);
    QCOMPARE(apuestasPorSorteo(p), apuestas);
    const QDate d(2021, 3, 7);
    const CuentaSorteo c = cuentaSorteo(p, sorteo(d, {50, 51, 52, 53, 54}, 9), nullptr, 150);
    QCOMPARE(c.coste, Centimos{150} * apuestas);
    QVERIFY(!c.hayPremio());
    QCOMPARE(c.ganado().value_or(-1), 0);
  }

  void precioDeSortilanIni_data() {
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<qint64>("precio");
    QTest::newRow("sin archivo") << QByteArray() << qint64{150};
    QTest::newRow("coma sin comillas") << QByteArray("[juego]\nprecio=2,50\n") << qint64{250};
    QTest::newRow("entre comillas") << QByteArray("[juego]\nprecio=\"1.000,00\"\n") << qint64{100000};
    QTest::newRow("cero") << QByteArray("[juego]\nprecio=0\n") << qint64{150};
    QTest::newRow("negativo") << QByteArray("[juego]\nprecio=-1,00\n") << qint64{150};
    QTest::newRow("texto") << QByteArray("[juego]\nprecio=caro\n") << qint64{150};
  }
  void precioDeSortilanIni() {
    QFETCH(QByteArray, ini);
    QFETCH(qint64, precio);
    prueba::Entorno e;
    if (!ini.isEmpty()) e.escribir(QStringLiteral("sortilan.ini"), ini);
    QCOMPARE(precioApuesta(e.carpeta.path()), precio);
  }

  // Each bet of a simple peña wins its own category; the key raises every winning bet,
  // and a bet with the key and no other prize gets the reintegro.
  void sencillas_data() {
    QTest::addColumn<int>("clave");
    QTest::addColumn<QString>("esperado");
    QTest::newRow("sin clave") << 0 << "1x2ª 1x4ª 1x6ª 1x8ª";
    QTest::newRow("con clave") << 7 << "1x1ª 1x3ª 1x5ª 1x7ª 2xR";
  }
  void sencillas() {
    QFETCH(int, clave);
    QFETCH(QString, esperado);
    const QDate d(2021, 3, 7);
    const Sorteo s = sorteo(d, {12, 25, 33, 40, 54}, 7);
    const Pena p = sencilla({{12, 25, 33, 40, 54},
                             {12, 25, 33, 40, 1},
                             {12, 25, 33, 2, 1},
                             {12, 25, 3, 2, 1},
                             {12, 4, 3, 2, 1},
                             {5, 4, 3, 2, 1}},
                            clave);
    const TablaPremios t = tabla(d);
    const CuentaSorteo c = cuentaSorteo(p, s, &t, 150);
    QCOMPARE(lineas(c), esperado);
    Centimos total = c.reintegro ? 300 : 0;
    for (const LineaPremio& l : c.premios) total += *t.premio(l.categoria);
    QCOMPARE(c.ganado().value_or(-1), total);
  }

  // Every combination of a multiple is a simple bet: the money of the breakdown must be
  // the sum over the combinations, counted one by one.
  void multipleContraCombinaciones_data() {
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("h");
    QTest::addColumn<bool>("clave");
    for (int n = 6; n <= 11; ++n)
      for (int h = 0; h <= 5; ++h)
        for (bool k : {false, true}) QTest::addRow("N%d H%d%s", n, h, k ? " clave" : "") << n << h << k;
  }
  void multipleContraCombinaciones() {
    QFETCH(int, n);
    QFETCH(int, h);
    QFETCH(bool, clave);
    const std::array<int, 5> ganadores = {3, 14, 25, 36, 47};
    std::vector<int> elegidos(ganadores.begin(), ganadores.begin() + h);
    const int fuera[] = {1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12};  // never drawn here
    for (int x : fuera)
      if (static_cast<int>(elegidos.size()) < n) elegidos.push_back(x);
    const QDate d(2021, 1, 10);
    const Sorteo s = sorteo(d, ganadores, 4);
    const TablaPremios t = tabla(d);
    const CuentaSorteo c = cuentaSorteo(multiple(elegidos, clave ? 4 : 8), s, &t, 150);

    std::map<int, int> porCategoria;
    int reintegros = 0;
    Centimos total = 0;
    for (int m = 0; m < (1 << n); ++m) {
      if (__builtin_popcount(static_cast<unsigned>(m)) != 5) continue;
      int aciertos = 0;
      for (int i = 0; i < n; ++i)
        if ((m >> i) & 1)
          aciertos +=
              static_cast<int>(std::count(ganadores.begin(), ganadores.end(), elegidos[static_cast<size_t>(i)]));
      if (aciertos >= 2) {
        const int categoria = 9 - (2 * (aciertos - 2) + 1 + (clave ? 1 : 0));
        ++porCategoria[categoria];
        total += *t.premio(categoria);
      } else if (clave) {
        ++reintegros;
        total += 150;
      }
    }
    QStringList esperado;
    for (const auto& [categoria, apuestas] : porCategoria)
      esperado << QStringLiteral("%1x%2ª").arg(apuestas).arg(categoria);
    if (reintegros) esperado << QStringLiteral("%1xR").arg(reintegros);
    QCOMPARE(lineas(c), esperado.join(QLatin1Char(' ')));
    QCOMPARE(c.ganado().value_or(-1), total);
  }

  // An unknown prize is "importe pendiente", never 0 €, and never hides the known ones.
  void importePendiente() {
    const QDate d(2021, 3, 7);
    const Sorteo s = sorteo(d, {12, 25, 33, 40, 54}, 7);
    const Pena p = sencilla({{12, 25, 33, 40, 54}, {12, 25, 1, 2, 3}, {1, 2, 3, 4, 5}}, 7);

    const CuentaSorteo sinTabla = cuentaSorteo(p, s, nullptr, 150);
    QCOMPARE(lineas(sinTabla), QStringLiteral("1x1ª 1x7ª 1xR"));
    QVERIFY(!sinTabla.ganado());
    QCOMPARE(sinTabla.apuestasSinImporte(), 3);
    QCOMPARE(sinTabla.ganadoConocido(), 0);

    TablaPremios t = tabla(d);
    t.categorias[0]->centimos = 0;  // 1ª not counted yet: the service lists a zero
    const CuentaSorteo parcial = cuentaSorteo(p, s, &t, 150);
    QVERIFY(!parcial.ganado());
    QCOMPARE(parcial.apuestasSinImporte(), 1);
    QCOMPARE(parcial.ganadoConocido(), 491 + 150);

    const TablaPremios sinReintegro = tabla(d, false);
    QCOMPARE(lineas(cuentaSorteo(p, s, &sinReintegro, 150)), QStringLiteral("1x1ª 1x7ª"));

    const std::optional<Cobro> cobro = cobroDe(CuentaPena{1, QStringLiteral("P"), {parcial}}, parcial, QDate(), d);
    QVERIFY(cobro && !cobro->bruto && !cobro->neto && !cobro->retencion);
    QVERIFY(!cobro->lugar);  // the unknown 1ª may well be a bank's
  }

  void cobro_data() {
    QTest::addColumn<qint64>("premio");
    QTest::addColumn<int>("apuestas");
    QTest::addColumn<qint64>("retencion");
    QTest::addColumn<QString>("lugar");
    QTest::newRow("pequeño") << qint64{1'999'99} << 3 << qint64{0} << "punto de venta";
    QTest::newRow("2.000 €") << qint64{2'000'00} << 1 << qint64{0} << "banco";
    QTest::newRow("retención por apuesta") << qint64{50'000'00} << 2 << qint64{2 * 2'000'00} << "banco";
  }
  void cobro() {
    QFETCH(qint64, premio);
    QFETCH(int, apuestas);
    QFETCH(qint64, retencion);
    QFETCH(QString, lugar);
    const QDate d(2021, 3, 7);
    CuentaSorteo s;
    s.fecha = d;
    s.premios = {LineaPremio{3, apuestas, premio}};
    s.reintegro = LineaPremio{0, 1, 150};
    const CuentaPena p{2, QStringLiteral("LA PEÑA"), {s}};
    const Cobro c = *cobroDe(p, s, QDate(), d);
    QCOMPARE(c.bruto.value_or(-1), premio * apuestas + 150);
    QCOMPARE(c.retencion.value_or(-1), retencion);
    QCOMPARE(c.neto.value_or(-1), premio * apuestas + 150 - retencion);
    QCOMPARE(textoLugar(*c.lugar), lugar);
  }

  void estados_data() {
    QTest::addColumn<QDate>("hoy");
    QTest::addColumn<QDate>("cobrado");
    QTest::addColumn<QString>("estado");
    QTest::addColumn<bool>("urgente");
    QTest::newRow("recién") << QDate(2021, 3, 8) << QDate() << "pendiente" << false;
    QTest::newRow("15 días antes") << QDate(2021, 5, 23) << QDate() << "pendiente" << false;
    QTest::newRow("14 días antes") << QDate(2021, 5, 24) << QDate() << "pendiente" << true;
    QTest::newRow("último día") << QDate(2021, 6, 7) << QDate() << "pendiente" << true;
    QTest::newRow("día siguiente") << QDate(2021, 6, 8) << QDate() << "caducado" << false;
    QTest::newRow("cobrado a tiempo") << QDate(2021, 6, 8) << QDate(2021, 3, 9) << "cobrado" << false;
  }
  void estados() {
    QFETCH(QDate, hoy);
    QFETCH(QDate, cobrado);
    QFETCH(QString, estado);
    QFETCH(bool, urgente);
    CuentaSorteo s;
    s.fecha = QDate(2021, 3, 7);
    s.premios = {LineaPremio{8, 1, 300}};
    const Cobro c = *cobroDe(CuentaPena{1, QStringLiteral("P"), {s}}, s, cobrado, hoy);
    QCOMPARE(textoEstado(c.estado), estado);
    QCOMPARE(c.limite, QDate(2021, 6, 7));
    QCOMPARE(cobroUrgente(c, hoy), urgente);
  }
};

QTEST_GUILESS_MAIN(TestDinero)
#include "test_dinero.moc"
