#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include "gui/creation/casillaboleto.h"
#include "gui/creation/crea.h"
#include "gui/creation/creamenu.h"
#include "gui/creation/panelboleto.h"
#include "support/controles.h"
#include "support/dobles.h"

using namespace sortilan;
using prueba::control;
using namespace sortilan::ui;

namespace {

QStringList lineas(const QListWidget* l) {
  QStringList t;
  for (int i = 0; i < l->count(); ++i) t.append(l->item(i)->text());
  return t;
}

void pulsar(Crea& w, int celda) {
  auto* c = w.findChild<CasillaBoleto*>(QStringLiteral("Image1_%1").arg(celda));
  QVERIFY2(c, qPrintable(QString::number(celda)));
  QVERIFY(c->isVisible());
  QTest::mouseClick(c, Qt::LeftButton, {}, c->rect().center());
}

}  // namespace

class PruebaVentanasCreacion : public QObject {
  Q_OBJECT

 private slots:
  void creamenuMarcas();
  void creamenuEleccion_data();
  void creamenuEleccion();
  void cuadricula();
  void creaConClics();
  void dobleClicEsUnClic();
  void nombreLargo();
};

void PruebaVentanasCreacion::creamenuMarcas() {
  Creamenu m;
  QCOMPARE(m.windowTitle(), QStringLiteral("Menú creación"));
  QCOMPARE(control<QTimer>(&m, "Timer1")->interval(), 500);
  QVERIFY(control<QTimer>(&m, "Timer1")->isActive());
  for (int i = 0; i < 18; ++i) {
    const QLabel* x = control<QLabel>(&m, QStringLiteral("Label1_%1").arg(i));
    QCOMPARE(x->text(), QStringLiteral("x"));
    QVERIFY(x->isHidden());
  }
  for (int i = 0; i < 17; ++i) m.Timer1_Timer();
  QVERIFY(!control<QLabel>(&m, "Label1_16")->isHidden());
  QVERIFY(control<QLabel>(&m, "Label1_17")->isHidden());
  QVERIFY(control<QTimer>(&m, "Timer1")->isActive());
  m.Timer1_Timer();
  QVERIFY(!control<QLabel>(&m, "Label1_17")->isHidden());
  QVERIFY(!control<QTimer>(&m, "Timer1")->isActive());  // stops after the 18th and does not start again
  m.Timer1_Timer();
  QCOMPARE(m.contador(), 18);
  QVERIFY(!control<QTimer>(&m, "Timer1")->isActive());
}

void PruebaVentanasCreacion::creamenuEleccion_data() {
  QTest::addColumn<QString>("control");
  QTest::addColumn<int>("tipo");
  QTest::newRow("Sencilla") << "Check1_1" << 0;
  for (int k = 1; k <= 6; ++k)
    QTest::newRow(qPrintable(QStringLiteral("Option1_%1").arg(k))) << QStringLiteral("Option1_%1").arg(k) << k;
}

void PruebaVentanasCreacion::creamenuEleccion() {
  QFETCH(QString, control);
  QFETCH(int, tipo);
  auto* m = new Creamenu;
  QPointer<Creamenu> vivo(m);
  m->show();
  QSignalSpy elegido(m, &Creamenu::elegido);
  auto* multiple = m->findChild<QCheckBox*>(QStringLiteral("Check1_0"));
  QCOMPARE(multiple->text(), QStringLiteral("Múltiple"));
  QVERIFY(!m->findChild<QFrame*>(QStringLiteral("Shape2"))->isVisible());
  // Unfold, fold (nothing opens), unfold again.
  QTest::mouseClick(multiple, Qt::LeftButton, {}, QPoint(6, multiple->height() / 2));
  QVERIFY(m->findChild<QFrame*>(QStringLiteral("Shape2"))->isVisible());
  QVERIFY(m->findChild<QRadioButton*>(QStringLiteral("Option1_6"))->isVisible());
  QCOMPARE(m->findChild<QRadioButton*>(QStringLiteral("Option1_6"))->text(),
           QStringLiteral("11 números (462 apuestas)"));
  QTest::mouseClick(multiple, Qt::LeftButton, {}, QPoint(6, multiple->height() / 2));
  QVERIFY(!m->findChild<QFrame*>(QStringLiteral("Shape2"))->isVisible());
  QVERIFY(!m->findChild<QRadioButton*>(QStringLiteral("Option1_1"))->isVisible());
  QCOMPARE(elegido.size(), 0);
  QTest::mouseClick(multiple, Qt::LeftButton, {}, QPoint(6, multiple->height() / 2));

  auto* boton = m->findChild<QAbstractButton*>(control);
  QVERIFY(boton);
  QTest::mouseClick(boton, Qt::LeftButton, {}, QPoint(6, boton->height() / 2));
  QCOMPARE(elegido.size(), 1);
  QCOMPARE(elegido[0][0].toInt(), tipo);
  QTRY_VERIFY(vivo.isNull());  // the chooser closes itself
}

void PruebaVentanasCreacion::cuadricula() {
  // Cells in the ticket's arrangement: number n in column n div 10, row n mod 10.
  PanelBoleto numeros(PanelBoleto::Clase::Numeros, nullptr);
  PanelBoleto clave(PanelBoleto::Clase::Clave, nullptr);
  QCOMPARE(numeros.casillas().size(), size_t{54});
  QCOMPARE(clave.casillas().size(), size_t{10});
  QCOMPARE(PanelBoleto::esquinaTwips(0), QPoint(120, 135 + 595));        // 1: column 0, row 1
  QCOMPARE(PanelBoleto::esquinaTwips(9), QPoint(570, 135));              // 10: column 1, row 0
  QCOMPARE(PanelBoleto::esquinaTwips(53), QPoint(2370, 135 + 595 * 4));  // 54: column 5, row 4
  QCOMPARE(PanelBoleto::esquinaTwips(54 + 9).y(), 150 + 593 * 9);        // key 9: row 9
  const QRect r1 = numeros.casilla(0)->geometry();
  const QRect r11 = numeros.casilla(10)->geometry();
  QCOMPARE(r1.y(), r11.y());  // 1 and 11 share a row
  QCOMPARE(r11.x() - r1.x(), 30);
  QCOMPARE(r1.size(), QSize(18, 25));
  for (CasillaBoleto* c : numeros.casillas()) QVERIFY(numeros.rect().contains(c->geometry()));
  for (CasillaBoleto* c : clave.casillas()) QVERIFY(clave.rect().contains(c->geometry()));
}

void PruebaVentanasCreacion::creaConClics() {
  prueba::Entorno e;
  Sesion s;
  sortilan::prueba::exigir(s.abrir(e.carpeta.path()));
  s.cargasorteos(e.reloj->dia);
  Crea w(s, 0);
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  QCOMPARE(w.windowTitle(), QStringLiteral("Crear peña nueva..."));
  QCOMPARE(control<QLabel>(&w, "Label4")->text(), QStringLiteral("INTRODUZCA EL NOMBRE Y 5 NÚMEROS:"));
  QVERIFY(control<ui::PanelBoleto>(&w, "Picture2")->isVisible());
  QVERIFY(!control<ui::PanelBoleto>(&w, "Picture1")->isVisible());
  QVERIFY(!control<QPushButton>(&w, "Command1")->isEnabled());
  QVERIFY(!control<QPushButton>(&w, "Command2")->isEnabled());

  pulsar(w, 54 + 7);
  QVERIFY(!control<ui::PanelBoleto>(&w, "Picture2")->isVisible());
  QVERIFY(control<ui::PanelBoleto>(&w, "Picture1")->isVisible());
  QCOMPARE(lineas(control<QListWidget>(&w, "List1")), QStringList{QStringLiteral("Número clave:   7")});
  for (int n : {40, 3, 25, 7}) pulsar(w, n - 1);
  QVERIFY(w.findChild<CasillaBoleto*>(QStringLiteral("Image1_24"))->marcada());
  pulsar(w, 11);
  QCOMPARE(lineas(control<QListWidget>(&w, "List1")).last(), QStringLiteral(" 3- 7-12-25-40"));
  QVERIFY(!w.findChild<CasillaBoleto*>(QStringLiteral("Image1_24"))->marcada());
  QCOMPARE(control<QLabel>(&w, "Label3")->text(), QStringLiteral("2"));
  QVERIFY(control<QPushButton>(&w, "Command1")->isEnabled());
  QTest::mouseClick(control<QPushButton>(&w, "Command3"), Qt::LeftButton);
  QCOMPARE(control<QListWidget>(&w, "List1")->count(), 3);

  QTest::mouseClick(control<QPushButton>(&w, "Command2"), Qt::LeftButton);  // Borrar the random one
  QCOMPARE(control<QListWidget>(&w, "List1")->count(), 2);
  QTest::keyClicks(control<QLineEdit>(&w, "Text1"), QStringLiteral("pena jose"));
  QCOMPARE(control<QLineEdit>(&w, "Text1")->text(), QStringLiteral("PENA JOSE"));

  QSignalSpy grabada(&w, &Crea::penaGrabada);
  QTest::mouseClick(control<QPushButton>(&w, "Command1"), Qt::LeftButton);
  QCOMPARE(grabada.size(), 1);
  QVERIFY(e.mensajes->vistos.isEmpty());
  const std::vector<Pena> penas = s.almacen().penas().leerTodos();
  QCOMPARE(penas.size(), size_t{1});
  QCOMPARE(penas[0].nombreRecortado(), QStringLiteral("PENA JOSE"));
  QCOMPARE(penas[0].tipo, 1);
  QCOMPARE(penas[0].clave(), 7);
  QCOMPARE(penas[0].apuesta(5, 1), 40);
  // Cleared for the next peña.
  QVERIFY(control<ui::PanelBoleto>(&w, "Picture2")->isVisible());
  QCOMPARE(control<QListWidget>(&w, "List1")->count(), 0);
  QVERIFY(control<QLineEdit>(&w, "Text1")->text().isEmpty());
  QCOMPARE(control<QLabel>(&w, "Label3")->text(), QStringLiteral("1"));
  QVERIFY(!control<QPushButton>(&w, "Command1")->isEnabled());
}

void PruebaVentanasCreacion::dobleClicEsUnClic() {
  prueba::Entorno e;
  Sesion s;
  Crea w(s, 2);
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  pulsar(w, 54 + 1);
  auto* celda = w.findChild<CasillaBoleto*>(QStringLiteral("Image1_4"));
  // What a widget receives for a double click.
  QTest::mouseClick(celda, Qt::LeftButton, {}, celda->rect().center());
  QTest::mouseDClick(celda, Qt::LeftButton, {}, celda->rect().center());
  QTest::mouseRelease(celda, Qt::LeftButton, {}, celda->rect().center());
  QVERIFY(celda->marcada());
  QCOMPARE(w.creacion().marcados(), 1);
  QCOMPARE(control<QListWidget>(&w, "List1")->count(), 1);
}

void PruebaVentanasCreacion::nombreLargo() {
  prueba::Entorno e;
  Sesion s;
  Crea w(s, 0);
  w.show();
  QTest::keyClicks(control<QLineEdit>(&w, "Text1"), QString(20, QLatin1Char('z')));
  QCOMPARE(control<QLineEdit>(&w, "Text1")->text(), QString(20, QLatin1Char('Z')));
  QVERIFY(e.mensajes->vistos.isEmpty());
  QTest::keyClick(control<QLineEdit>(&w, "Text1"), Qt::Key_Z);
  QCOMPARE(e.mensajes->vistos.size(), 1);
  QCOMPARE(e.mensajes->vistos[0].texto, QStringLiteral("¡¡¡El nombre no puede tener más de 20 letras!!!"));
  QCOMPARE(control<QLineEdit>(&w, "Text1")->text(), QStringLiteral("AYYYYYY!!"));
  QCOMPARE(w.creacion().nombre(), QStringLiteral("AYYYYYY!!"));
}

QTEST_MAIN(PruebaVentanasCreacion)
#include "test_ventanascreacion.moc"
