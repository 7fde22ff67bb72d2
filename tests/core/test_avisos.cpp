// The rules of the desktop notices: what is told, once, and in which words.
#include <QtTest>

#include "notices/avisos.h"

using namespace Qt::StringLiterals;
using namespace sortilan;

namespace {

const QDate kHoy(2021, 5, 31);

struct Temporada {
  std::vector<Pena> penas;
  Cuentas cuentas;
};

// One peña per name; each wins in the draw of `sorteo` what `premios` says.
Temporada temporada(const QStringList& nombres, const QDate& sorteo, const std::vector<LineaPremio>& premios,
                    std::optional<LineaPremio> reintegro, std::optional<Centimos> bruto,
                    std::optional<LugarCobro> lugar, QDate limite = {}) {
  Temporada t;
  for (int i = 0; i < nombres.size(); ++i) {
    Pena p;
    p.ponerNombre(nombres[i]);
    t.penas.push_back(p);
    CuentaPena cp;
    cp.registro = i + 1;
    cp.nombre = nombres[i];
    CuentaSorteo s;
    s.fecha = sorteo;
    s.premios = premios;
    s.reintegro = reintegro;
    cp.sorteos.push_back(s);
    t.cuentas.penas.push_back(cp);
    Cobro c;
    c.registro = i + 1;
    c.nombre = nombres[i];
    c.fecha = sorteo;
    c.bruto = bruto;
    c.lugar = lugar;
    c.limite = limite.isValid() ? limite : ultimoDiaCobro(sorteo);
    t.cuentas.cobros.push_back(c);
  }
  return t;
}

}  // namespace

class TestAvisos : public QObject {
  Q_OBJECT
 private slots:
  void textos_data() {
    QTest::addColumn<QDate>("sorteo");
    QTest::addColumn<int>("categoria");  // 0: reintegro only
    QTest::addColumn<int>("otras");      // more categories won in the draw
    QTest::addColumn<qint64>("bruto");   // -1: no table yet
    QTest::addColumn<QString>("cuerpo");
    QTest::addColumn<QString>("plazo");  // empty: not within 14 days
    QTest::newRow("lejos") << QDate(2021, 5, 23) << 3 << 0 << qint64{4744595}
                           << u"3ª categoría en el sorteo del 23/05/2021: 47.445,95 €"_s << QString();
    QTest::newRow("cinco días") << QDate(2021, 3, 5) << 3 << 0 << qint64{4744595}
                                << u"3ª categoría en el sorteo del 05/03/2021: 47.445,95 €"_s
                                << u"Quedan 5 días para cobrar 47.445,95 € de PEÑA A"_s;
    QTest::newRow("un día") << QDate(2021, 3, 1) << 8 << 0 << qint64{300}
                            << u"8ª categoría en el sorteo del 01/03/2021: 3,00 €"_s
                            << u"Queda 1 día para cobrar 3,00 € de PEÑA A"_s;
    QTest::newRow("último día") << QDate(2021, 2, 27) << 0 << 0 << qint64{150}
                                << u"Reintegro en el sorteo del 27/02/2021: 1,50 €"_s
                                << u"Hoy es el último día para cobrar 1,50 € de PEÑA A"_s;
    QTest::newRow("sin tabla") << QDate(2021, 3, 7) << 2 << 1 << qint64{-1}
                               << u"2ª categoría y otros premios en el sorteo del 07/03/2021: importe pendiente"_s
                               << u"Quedan 7 días para cobrar el premio (importe pendiente) de PEÑA A"_s;
  }
  void textos() {
    QFETCH(QDate, sorteo);
    QFETCH(int, categoria);
    QFETCH(int, otras);
    QFETCH(qint64, bruto);
    QFETCH(QString, cuerpo);
    QFETCH(QString, plazo);
    std::vector<LineaPremio> premios;
    if (categoria > 0) premios.push_back({categoria, 1, {}});
    if (otras > 0) premios.push_back({categoria + 1, otras, {}});
    const std::optional<LineaPremio> reintegro =
        categoria == 0 ? std::optional<LineaPremio>(LineaPremio{0, 1, 150}) : std::nullopt;
    const std::optional<Centimos> importe = bruto < 0 ? std::nullopt : std::optional<Centimos>(bruto);
    // The last day itself: no draw's three months end on 31 May, so that row sets it.
    const QDate limite = sorteo == QDate(2021, 2, 27) ? kHoy : ultimoDiaCobro(sorteo);
    const Temporada t = temporada({u"PEÑA A"_s}, sorteo, premios, reintegro, importe,
                                  bruto >= 200'000 ? LugarCobro::Banco : LugarCobro::PuntoDeVenta, limite);
    const std::vector<Aviso> a = avisosPendientes(t.penas, t.cuentas, {}, kHoy);
    QCOMPARE(a.size(), plazo.isEmpty() ? size_t{1} : size_t{2});
    QCOMPARE(a[0].tipo, Aviso::Tipo::Premio);
    QCOMPARE(a[0].titulo, u"¡Premio para PEÑA A!"_s);
    QCOMPARE(a[0].cuerpo, cuerpo);
    if (plazo.isEmpty()) return;
    QCOMPARE(a[1].tipo, Aviso::Tipo::Plazo);
    QCOMPARE(a[1].titulo, plazo);
    const QString lugar = bruto >= 200'000 ? u", en banco"_s : u", en punto de venta"_s;
    QCOMPARE(a[1].cuerpo, u"hasta el "_s + limite.toString(u"dd/MM/yyyy"_s) + lugar);
  }

  // Told once for a prize, once a day for a deadline; collected or lost prizes never.
  void unaVez() {
    Temporada t = temporada({u"A"_s}, QDate(2021, 3, 5), {{3, 1, 4744595}}, {}, 4744595, LugarCobro::Banco);
    std::vector<Aviso> a = avisosPendientes(t.penas, t.cuentas, {}, kHoy);
    QCOMPARE(a.size(), size_t{2});
    Avisados hechos;
    for (const Aviso& x : a)
      for (const QString& k : x.claves) hechos[k] = kHoy;
    QVERIFY(avisosPendientes(t.penas, t.cuentas, hechos, kHoy).empty());
    a = avisosPendientes(t.penas, t.cuentas, hechos, kHoy.addDays(1));
    QCOMPARE(a.size(), size_t{1});
    QCOMPARE(a[0].tipo, Aviso::Tipo::Plazo);
    for (EstadoCobro e : {EstadoCobro::Cobrado, EstadoCobro::Caducado}) {
      t.cuentas.cobros[0].estado = e;
      QVERIFY(avisosPendientes(t.penas, t.cuentas, {}, kHoy).empty());
    }
  }

  // Up to three peñas each get their notice; more share one that lists them all.
  void variasPenas_data() {
    QTest::addColumn<int>("penas");
    QTest::addColumn<int>("avisos");
    QTest::newRow("tres") << 3 << 3;
    QTest::newRow("cuatro") << 4 << 1;
    QTest::newRow("doce") << 12 << 1;
  }
  void variasPenas() {
    QFETCH(int, penas);
    QFETCH(int, avisos);
    QStringList nombres;
    for (int i = 1; i <= penas; ++i) nombres << u"P%1"_s.arg(i);
    const Temporada t = temporada(nombres, QDate(2021, 5, 23), {{5, 1, 2482}}, {}, 2482, LugarCobro::PuntoDeVenta);
    const std::vector<Aviso> a = avisosPendientes(t.penas, t.cuentas, {}, kHoy);
    QCOMPARE(static_cast<int>(a.size()), avisos);
    size_t claves = 0;
    for (const Aviso& x : a) claves += x.claves.size();
    QCOMPARE(static_cast<int>(claves), penas);  // every prize remembered, however told
    if (avisos == 1) {
      QCOMPARE(a[0].titulo, u"¡Premio para %1 peñas!"_s.arg(penas));
      QCOMPARE(a[0].cuerpo.split(u'\n').size(), penas);
      QCOMPARE(a[0].cuerpo.section(u'\n', 0, 0), u"P1: 5ª categoría en el sorteo del 23/05/2021: 24,82 €"_s);
    }
  }
};

QTEST_GUILESS_MAIN(TestAvisos)
#include "test_avisos.moc"
