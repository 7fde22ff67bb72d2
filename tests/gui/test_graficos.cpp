#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QtTest>

#include "app/principal.h"
#include "gui/main/tabestadisticas.h"
#include "gui/stats/graficos.h"
#include "support/controles.h"
#include "support/dobles.h"

using namespace Qt::StringLiterals;

using namespace sortilan;
using namespace sortilan::prueba;
using namespace sortilan::ui;

namespace {
QBarSeries* serie(Graficos* g) {
  const auto todas = g->vista()->chart()->series();
  return todas.size() == 1 ? qobject_cast<QBarSeries*>(todas.first()) : nullptr;
}
QStringList categorias(Graficos* g) {
  const auto ejes = g->vista()->chart()->axes(Qt::Horizontal);
  auto* c = ejes.isEmpty() ? nullptr : qobject_cast<QBarCategoryAxis*>(ejes.first());
  return c ? c->categories() : QStringList();
}
}  // namespace

class TestGraficos : public QObject {
  Q_OBJECT
 private slots:
  void sinSorteos() {
    Entorno e;
    Principal p;
    p.cargar(e.carpeta.path());
    QCOMPARE(control<QLabel>(p.estadisticas(), "Label7")->text(), QStringLiteral("TOTAL: 0 sorteos."));
    QBarSeries* s = serie(p.graficos());
    QVERIFY(s);
    QCOMPARE(s->count(), 1);
    QCOMPARE(s->barSets().first()->sum(), 0.0);
    QCOMPARE(categorias(p.graficos()).size(), 27);
  }

  void numerosYClave() {
    Entorno e(QDate(2026, 12, 8));
    e.copiar(QStringLiteral("numeros.dat"));
    Principal p;
    p.cargar(e.carpeta.path());
    TabEstadisticas* tab = p.estadisticas();
    Graficos* g = p.graficos();
    auto* mitad = control<QScrollBar>(tab, "HScroll2");
    auto* numeros = control<QRadioButton>(tab, "Option1_0");
    auto* clave = control<QRadioButton>(tab, "Option1_1");
    QCOMPARE(control<QLabel>(tab, "Label7")->text(), QStringLiteral("TOTAL: 1114 sorteos."));
    // The chart sits inside the placeholder of the tab.
    QVERIFY(control<QWidget>(tab, "MSChart1")->isAncestorOf(g->vista()));

    QCOMPARE(categorias(g).first(), QStringLiteral("1"));
    QCOMPARE(categorias(g).last(), QStringLiteral("27"));
    const double bajos = serie(g)->barSets().first()->sum();

    mitad->setValue(2);
    QCOMPARE(categorias(g).first(), QStringLiteral("28"));
    QCOMPARE(categorias(g).last(), QStringLiteral("54"));
    QCOMPARE(bajos + serie(g)->barSets().first()->sum(), 5.0 * 1114);

    QTest::mouseClick(clave, Qt::LeftButton);
    QVERIFY(!mitad->isEnabled());
    QCOMPARE(categorias(g),
             QStringList({u"0"_s, u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s, u"7"_s, u"8"_s, u"9"_s}));
    // The key chart has an empty series before the counts.
    QCOMPARE(serie(g)->count(), 2);
    QCOMPARE(serie(g)->barSets().at(0)->sum(), 0.0);
    QCOMPARE(serie(g)->barSets().at(1)->sum(), 1114.0);

    // Back to the numbers: 1..27 whatever the half selector says.
    QTest::mouseClick(numeros, Qt::LeftButton);
    QVERIFY(mitad->isEnabled());
    QCOMPARE(mitad->value(), 2);
    QCOMPARE(categorias(g).first(), QStringLiteral("1"));
  }

  void recuentoTrasCambiarSorteos() {
    Entorno e(QDate(2026, 12, 8));
    e.copiar(QStringLiteral("numeros.dat"));
    Principal p;
    p.cargar(e.carpeta.path());
    QTest::mouseClick(control<QRadioButton>(p.estadisticas(), "Option1_1"), Qt::LeftButton);
    // Reloading recounts from empty and shows the numbers again.
    p.refresca();
    p.refresca();
    QVERIFY(control<QRadioButton>(p.estadisticas(), "Option1_0")->isChecked());
    const TablaGrafico& t = p.graficos()->mostrada();
    int total = 0;
    for (int c : cuentas(t)) total += c;
    control<QScrollBar>(p.estadisticas(), "HScroll2")->setValue(2);
    for (int c : cuentas(p.graficos()->mostrada())) total += c;
    QCOMPARE(total, 5 * 1114);
  }
};

QTEST_MAIN(TestGraficos)
#include "test_graficos.moc"
