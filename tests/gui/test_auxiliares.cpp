#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>
#include <QtTest>

#include "app/principal.h"
#include "base/programa.h"
#include "gui/auxiliary/acercade.h"
#include "gui/auxiliary/auxiliares.h"
#include "gui/auxiliary/infor.h"
#include "gui/download/descargador.h"
#include "gui/main/tabgeneral.h"
#include "support/controles.h"
#include "support/dobles.h"

using namespace sortilan;
using namespace sortilan::prueba;
using namespace sortilan::ui;

class TestAuxiliares : public QObject {
  Q_OBJECT
 private slots:
  void acercaDeSinServidor() {
    Entorno e;
    Acercade w;
    QCOMPARE(w.windowTitle(), QStringLiteral("Sortilan ") + versionPrograma());
    QVERIFY(prueba::control<QLabel>(&w, "Label4")->text().startsWith(QStringLiteral("S.O: ")));
    QVERIFY(prueba::control<QLabel>(&w, "Label4")->text().size() > 5);
    QCOMPARE(prueba::control<QLabel>(&w, "LabelDatos")->text(), QStringLiteral("Datos: ") + e.carpeta.path());
    QVERIFY(prueba::control<QLabel>(&w, "Label2")->isHidden());
    w.Label2_Click();
    QVERIFY(e.navegador->abiertas.isEmpty());
  }

  void acercaDeConServidor() {
    Entorno e;
    e.escribir(QStringLiteral("sortilan.ini"), "[servicios]\nfabricante=http://fabricante.example\n");
    Acercade w;
    QVERIFY(!prueba::control<QLabel>(&w, "Label2")->isHidden());
    QCOMPARE(prueba::control<QLabel>(&w, "Label2")->text(), QStringLiteral("http://fabricante.example/"));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTest::mouseClick(prueba::control<QLabel>(&w, "Label2"), Qt::LeftButton);
    QCOMPARE(e.navegador->abiertas, QList<QUrl>{QUrl(QStringLiteral("http://fabricante.example/"))});
  }

  void ventanaDeNoticias_data() {
    QTest::addColumn<QByteArray>("contenido");
    QTest::addColumn<bool>("navegador");
    QTest::newRow("vacía") << QByteArray() << false;
    QTest::newRow("10 bytes") << QByteArray("0123456789") << false;
    QTest::newRow("página") << QByteArray("<html><body><p>Nueva versi\xf3n</p></body></html>") << true;
  }
  void ventanaDeNoticias() {
    QFETCH(QByteArray, contenido);
    QFETCH(bool, navegador);
    Entorno e;
    e.escribir(QStringLiteral("informe.dat"), contenido);
    Infor w(e.ruta(QStringLiteral("informe.dat")));
    QCOMPARE(w.windowTitle(), QStringLiteral("Noticias del jefe..."));
    QVERIFY(w.windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(w.pos(), QPoint(0, 0));
    QCOMPARE(!prueba::control<QTextBrowser>(&w, "WebBrowser1")->isHidden(), navegador);
    if (navegador)
      QVERIFY(
          prueba::control<QTextBrowser>(&w, "WebBrowser1")->toPlainText().contains(QStringLiteral("Nueva versión")));
    QCOMPARE(prueba::control<QTimer>(&w, "Timer1")->interval(), 100);
    QVERIFY(prueba::control<QTimer>(&w, "Timer1")->isActive());
    const int x = prueba::control<QLabel>(&w, "Label1")->x();
    w.Timer1_Timer();
    QCOMPARE(w.izquierdaTwips(), 460);
    QVERIFY(prueba::control<QLabel>(&w, "Label1")->x() > x);
  }

  // Nothing the page names is fetched, neither from the network nor from the disk.
  void sinRecursosExternos() {
    Entorno e;
    e.escribir(QStringLiteral("secreto.txt"), "secreto");
    NavegadorInforme n;
    QVERIFY(!n.loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("http://example.com/a.png"))).isValid());
    QVERIFY(!n.loadResource(QTextDocument::HtmlResource, QUrl::fromLocalFile(e.ruta(QStringLiteral("secreto.txt"))))
                 .isValid());
  }

  void textoDeLaPagina() {
    QCOMPARE(textoInforme("caf\xc3\xa9"), QStringLiteral("café"));
    QCOMPARE(textoInforme("caf\xe9"), QStringLiteral("café"));
    QCOMPARE(textoInforme("<meta charset=\"iso-8859-1\">caf\xe9"), QStringLiteral("<meta charset=\"iso-8859-1\">café"));
  }

  void menusDelPrincipal() {
    Entorno e;
    Principal p;
    p.cargar(e.carpeta.path());
    auto* aux = p.findChild<Auxiliares*>();
    QVERIFY(aux);
    QVERIFY(p.findChild<QAction*>(QStringLiteral("acerca"))->isEnabled());
    QVERIFY(p.findChild<QAction*>(QStringLiteral("Leer"))->isEnabled());
    p.findChild<QAction*>(QStringLiteral("acerca"))->trigger();
    QVERIFY(aux->acercade() && aux->acercade()->isVisible());
    p.findChild<QAction*>(QStringLiteral("Leer"))->trigger();
    QVERIFY(aux->infor() && aux->infor()->isVisible());
    // An empty news file still opens the window, without the page.
    QVERIFY(prueba::control<QTextBrowser>(aux->infor(), "WebBrowser1")->isHidden());
  }

  // "Ver mensaje" opens the news too, and while they are on screen the download button does nothing.
  void verMensajeYDescarga() {
    Entorno e;
    Principal p;
    p.cargar(e.carpeta.path());
    auto* aux = p.findChild<Auxiliares*>();
    control<QPushButton>(p.general(), "Command6")->click();
    QVERIFY(aux->infor() && aux->infor()->isVisible());
    p.general()->findChild<QLabel*>(QStringLiteral("Label19"))->setText(QStringLiteral("3 sorteos"));
    p.findChild<QAction*>(QStringLiteral("Baja"))->trigger();
    QVERIFY(aux->infor()->isVisible());
    QCOMPARE(p.general()->findChild<QLabel*>(QStringLiteral("Label19"))->text(), QStringLiteral("3 sorteos"));
    QVERIFY(!p.descargador()->enCurso());
    QVERIFY(e.mensajes->vistos.isEmpty());
  }

  // Coming back to the main window closes the about window but leaves the news open.
  void volverAlPrincipal() {
    Entorno e;
    Principal p;
    p.cargar(e.carpeta.path());
    p.show();
    QApplication::setActiveWindow(&p);
    auto* aux = p.findChild<Auxiliares*>();
    p.findChild<QAction*>(QStringLiteral("acerca"))->trigger();
    p.findChild<QAction*>(QStringLiteral("Leer"))->trigger();
    // A menu closing hands the focus straight back: the window must survive that.
    QApplication::setActiveWindow(&p);
    QVERIFY(aux->acercade());
    QApplication::setActiveWindow(aux->acercade());
    QApplication::setActiveWindow(&p);
    QTRY_VERIFY(!aux->acercade());
    QVERIFY(aux->infor());
  }
};

QTEST_MAIN(TestAuxiliares)
#include "test_auxiliares.moc"
