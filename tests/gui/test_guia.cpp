#include <QAction>
#include <QApplication>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QFile>
#include <QPushButton>
#include <QTextBlock>
#include <QTextBrowser>
#include <QtTest>
#include <memory>

#include "app/principal.h"
#include "gui/auxiliary/auxiliares.h"
#include "gui/auxiliary/guia.h"
#include "gui/checking/graficopena.h"
#include "gui/download/descargador.h"
#include "gui/stats/graficos.h"
#include "gui/ui/graficovacio.h"
#include "support/dobles.h"
#include "support/ventana.h"

using namespace sortilan;
using namespace sortilan::ui;
using namespace Qt::StringLiterals;

namespace {

// Every link of the document and every anchor it defines.
void enlacesYAnclas(const QTextDocument& d, QStringList& enlaces, QStringList& anclas) {
  for (QTextBlock b = d.begin(); b.isValid(); b = b.next())
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextCharFormat f = it.fragment().charFormat();
      if (!f.anchorHref().isEmpty()) enlaces << f.anchorHref();
      anclas << f.anchorNames();
    }
}

// A caption the guide quotes is one the user can find: a menu item or a button.
bool hayControlCon(const QWidget& w, const QString& texto) {
  for (const QAction* a : w.findChildren<QAction*>())
    if (a->text().remove(u'&') == texto) return true;
  for (const QPushButton* b : w.findChildren<QPushButton*>())
    if (b->text().remove(u'&') == texto) return true;
  return false;
}

}  // namespace

class PruebaGuia : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    e_ = std::make_unique<prueba::Entorno>(QDate(2026, 8, 19));
    e_->copiar(u"numeros.dat"_s);
  }
  void cleanup() {
    p_.reset();
    QTest::qWait(0);
    e_.reset();
  }

  void f1AbreLaGuia() {
    abrir();
    QVERIFY(!p_->auxiliares()->guia());
    QTest::keyClick(p_.get(), Qt::Key_F1);
    Guia* g = p_->auxiliares()->guia();
    QVERIFY(g);
    QVERIFY(g->isVisible());
    QCOMPARE(g->texto()->source(), Guia::direccion());
    QVERIFY(g->texto()->toPlainText().contains(u"Tener los sorteos"_s));
    // A second F1 brings the same window forward, not another one.
    QTest::keyClick(p_.get(), Qt::Key_F1);
    QCOMPARE(p_->auxiliares()->guia(), g);
    QCOMPARE(p_->findChild<QAction*>(u"guia"_s)->text(), u"&Guía de Sortilan"_s);
  }

  // Every link of the guide leads to an anchor of the guide or to a file that is there,
  // and following each one keeps the guide on screen.
  void enlacesDeLaGuia() {
    Guia g;
    QStringList enlaces, anclas;
    enlacesYAnclas(*g.texto()->document(), enlaces, anclas);
    QVERIFY2(enlaces.size() >= 8, qPrintable(enlaces.join(u' ')));
    for (const QString& e : enlaces) {
      const QUrl u = Guia::direccion().resolved(QUrl(e));
      if (u.adjusted(QUrl::RemoveFragment) != Guia::direccion())
        QVERIFY2(QFile::exists(u"%1:%2"_s.arg(u.scheme(), u.path())), qPrintable(e));
      if (u.hasFragment()) QVERIFY2(anclas.contains(u.fragment()), qPrintable(e));
      g.texto()->setSource(u);
      QVERIFY2(g.texto()->toPlainText().contains(u"Guía de Sortilan"_s), qPrintable(e));
    }
  }

  // What the guide and the messages tell to use is what the window calls it.
  void captionesCitadasExisten() {
    abrir();
    Guia g;
    const QString guia = g.texto()->toPlainText();
    const QStringList citadas = {u"Bajar Sorteos nuevos"_s,
                                 u"Importar sorteos de un archivo CSV..."_s,
                                 u"Añadir sorteo a mano..."_s,
                                 u"Crear peña nueva"_s,
                                 u"Eliminar peña"_s,
                                 u"Completar tablas de premios"_s,
                                 u"Marcar cobrado"_s,
                                 u"Exportar CSV..."_s,
                                 u"Dar de alta"_s,
                                 u"Repartir"_s,
                                 u"Papel de participación del socio..."_s,
                                 u"Comprobar un papel..."_s,
                                 u"Imprimir"_s,
                                 u"Acerca de..."_s};
    for (const QString& c : citadas) {
      QVERIFY2(guia.contains(c), qPrintable(c));
      QVERIFY2(hayControlCon(*p_, c), qPrintable(c));
    }
    for (const QString& c : {u"Importar sorteos de un archivo CSV..."_s, u"Añadir sorteo a mano..."_s})
      QVERIFY2(Descargador::otrosCaminos().contains(c), qPrintable(c));
  }

  // Without draws the welcome says how to get them before telling to tick "Histórico".
  void bienvenidaSinSorteos() {
    QFile::remove(e_->ruta(u"numeros.dat"_s));
    abrir(false);
    QTRY_COMPARE(e_->mensajes->vistos.size(), 1);
    const QString texto = e_->mensajes->vistos[0].texto;
    QVERIFY(texto.startsWith(u"Bienvenido a Sortilan. Vaya a la pestaña 'Gestor de peñas' y cree una."_s));
    QVERIFY(texto.indexOf(u"'Importar sorteos de un archivo CSV...'"_s) > texto.indexOf(u"'Histórico'"_s));
    QVERIFY(texto.contains(u"'Añadir sorteo a mano...'"_s));
  }

  // Charts without data say so, with no axes; with data they show axes and each bar's count.
  void graficosVacios() {
    Graficos g;
    g.elegir(0);
    QChart* c = g.vista()->chart();
    QVERIFY(c->title().contains(kSinDatos));
    for (QAbstractAxis* eje : c->axes()) QVERIFY(!eje->isVisible());

    Frecuencias f;
    f.bajos[17] = 3;
    g.poner(f);
    g.elegir(0);
    QVERIFY(!c->title().contains(kSinDatos));
    for (QAbstractAxis* eje : c->axes()) QVERIFY(eje->isVisible());
    QBarSeries* serie = g.serie();
    QVERIFY(serie);
    emit serie->hovered(true, 16, serie->barSets().first());
    QCOMPARE(g.pista(), u"17: 3 veces"_s);
    emit serie->hovered(false, 16, serie->barSets().first());
    QCOMPARE(g.pista(), QString());

    GraficoPena p;
    QVERIFY(p.chart()->title().contains(kSinDatos));
    p.poner(DatosGrafico{5, 2.0});
    QVERIFY(!p.chart()->title().contains(kSinDatos));
    auto* barras = qobject_cast<QBarSeries*>(p.chart()->series().first());
    emit barras->hovered(true, 0, barras->barSets().at(1));
    QCOMPARE(p.pista(), u"Premios: 2"_s);
  }

 private:
  void abrir(bool olvidar = true) {
    p_ = prueba::principalEnPantalla(*e_);
    QTest::qWait(0);
    if (olvidar) e_->mensajes->vistos.clear();
  }
  std::unique_ptr<prueba::Entorno> e_;
  std::unique_ptr<Principal> p_;
};

QTEST_MAIN(PruebaGuia)
#include "test_guia.moc"
