// The windows driven by the keyboard alone: typed dates, Return, the ticket from the keys.
#include <QApplication>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QtTest>

#include "base/fechas.h"
#include "gui/creation/crea.h"
#include "gui/creation/panelboleto.h"
#include "gui/download/entradasorteo.h"
#include "gui/ui/campofecha.h"
#include "support/controles.h"
#include "support/dobles.h"

using namespace Qt::StringLiterals;
using namespace sortilan;
using prueba::control;
using namespace sortilan::ui;
using plataforma::Respuesta;

namespace {

// Keys go where the user's would: to the widget with the focus.
void tecla(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
  QWidget* foco = QApplication::focusWidget();
  QVERIFY(foco);
  QTest::keyClick(foco, k, m);
}

void escribir(const QString& texto) {
  QWidget* foco = QApplication::focusWidget();
  QVERIFY(foco);
  QTest::keyClicks(foco, texto);
}

QStringList lineas(const QListWidget* l) {
  QStringList t;
  for (int i = 0; i < l->count(); ++i) t.append(l->item(i)->text());
  return t;
}

void mostrarActiva(QWidget& w) {
  w.show();
  w.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&w));
}

// The test folder as the window loads it.
void abrirSesion(Sesion& s, prueba::Entorno& e) {
  prueba::exigir(s.abrir(e.carpeta.path()));
  s.cargasorteos(e.reloj->dia);
}

// A creation window shown, active, with the focus where it opens: the peña's name.
void mostrarEnElNombre(Crea& w) {
  mostrarActiva(w);
  control<QLineEdit>(&w, "Text1")->setFocus();
}

}  // namespace

class PruebaTeclado : public QObject {
  Q_OBJECT

 private slots:
  void fechaEscrita_data();
  void fechaEscrita();
  void sorteoAManoConTeclas();
  void penaDeTresApuestasSinRaton();
  void apuestaEscritaRechazada_data();
  void apuestaEscritaRechazada();
  void apuestaRepetidaPregunta();
  void introSinApuestaGraba();
};

void PruebaTeclado::fechaEscrita_data() {
  QTest::addColumn<QList<int>>("antes");  // keys pressed before typing: where the cursor stands
  QTest::addColumn<QString>("escrito");
  QTest::addColumn<QDate>("queda");
  QTest::addColumn<bool>("rechazada");
  const QDate previa(2020, 1, 10);
  QTest::newRow("dd/mm/aaaa") << QList<int>{} << u"01/01/2020"_s << QDate(2020, 1, 1) << false;
  QTest::newRow("d/m/aaaa") << QList<int>{} << u"1/1/2020"_s << QDate(2020, 1, 1) << false;
  QTest::newRow("tras mover el cursor") << QList<int>{Qt::Key_End, Qt::Key_Left, Qt::Key_Left} << u"01/01/2020"_s
                                        << QDate(2020, 1, 1) << false;
  QTest::newRow("con guiones") << QList<int>{} << u"7-3-2021"_s << QDate(2021, 3, 7) << false;
  QTest::newRow("borrando") << QList<int>{} << u"2/2/20201\b"_s << QDate(2020, 2, 2) << false;
  QTest::newRow("día que no existe") << QList<int>{} << u"31/02/2020"_s << previa << true;
  QTest::newRow("año corto") << QList<int>{} << u"1/1/20"_s << previa << true;
  QTest::newRow("sin barras") << QList<int>{} << u"01012020"_s << previa << true;
  QTest::newRow("mes 13") << QList<int>{} << u"1/13/2020"_s << previa << true;
}

void PruebaTeclado::fechaEscrita() {
  QFETCH(QList<int>, antes);
  QFETCH(QString, escrito);
  QFETCH(QDate, queda);
  QFETCH(bool, rechazada);
  QWidget ventana;
  auto* capa = new QVBoxLayout(&ventana);
  auto* fecha = new CampoFecha(QDate(2020, 1, 10), &ventana);
  auto* otro = new QLineEdit(&ventana);
  capa->addWidget(fecha);
  capa->addWidget(otro);
  mostrarActiva(ventana);
  fecha->setFocus();
  QSignalSpy rechazos(fecha, &CampoFecha::fechaRechazada);
  for (int k : antes) tecla(static_cast<Qt::Key>(k));
  for (QChar c : escrito) {
    if (c == QLatin1Char('\b'))
      tecla(Qt::Key_Backspace);
    else
      escribir(QString(c));
  }
  tecla(Qt::Key_Tab);  // leaving the box reads it
  QCOMPARE(QApplication::focusWidget(), otro);
  QCOMPARE(fecha->date(), queda);
  QCOMPARE(rechazos.size(), rechazada ? 1 : 0);
  QCOMPARE(fecha->text(), queda.toString(u"dd/MM/yyyy"_s));
}

void PruebaTeclado::sorteoAManoConTeclas() {
  prueba::Entorno e(QDate(2021, 3, 10));
  Sesion s;
  prueba::exigir(s.abrir(e.carpeta.path()));
  auto* v = new EntradaSorteo(s);
  QSignalSpy anadido(v, &EntradaSorteo::anadido);
  QSignalSpy aceptada(v, &QDialog::accepted);
  mostrarActiva(*v);
  control<QDateEdit>(v, "fecha")->setFocus();
  escribir(u"28/2/2021"_s);
  for (const QString& n : {u"15"_s, u"24"_s, u"40"_s, u"42"_s, u"48"_s, u"9"_s}) {
    tecla(Qt::Key_Tab);
    escribir(n);
  }
  QCOMPARE(QApplication::focusWidget(), control<QSpinBox>(v, "clave"));
  tecla(Qt::Key_Return);
  QCOMPARE(aceptada.size(), 1);
  QCOMPARE(anadido.size(), 1);
  QVERIFY(e.mensajes->vistos.isEmpty());
  const std::vector<Sorteo> sorteos = s.almacen().sorteos().leerTodos();
  QCOMPARE(sorteos.size(), size_t{1});
  QCOMPARE(fechaDesdeOle(sorteos[0].fecha), QDate(2021, 2, 28));
  QTest::qWait(0);  // the dialog deletes itself on close
}

void PruebaTeclado::penaDeTresApuestasSinRaton() {
  prueba::Entorno e;
  Sesion s;
  abrirSesion(s, e);
  Crea w(s, 0);
  mostrarEnElNombre(w);
  QSignalSpy grabada(&w, &Crea::penaGrabada);
  escribir(u"trio"_s);
  tecla(Qt::Key_Tab);
  QCOMPARE(QApplication::focusWidget(), control<QLineEdit>(&w, "TextApuesta"));
  escribir(u"3"_s);
  tecla(Qt::Key_Return);  // the key
  QVERIFY(control<ui::PanelBoleto>(&w, "Picture1")->isVisible());
  escribir(u"4 17 38 41 52"_s);
  tecla(Qt::Key_Return);
  QCOMPARE(grabada.size(), 0);  // Return in the bet box marks, it does not save
  escribir(u" 9,10 ,  11;12 13"_s);
  tecla(Qt::Key_Return);
  QVERIFY(control<QLineEdit>(&w, "TextApuesta")->text().isEmpty());

  // The third on the grid: arrows and Space from number 1.
  tecla(Qt::Key_Tab);
  QCOMPARE(QApplication::focusWidget(), control<ui::PanelBoleto>(&w, "Picture1"));
  for (Qt::Key k : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Space, Qt::Key_Down, Qt::Key_Space, Qt::Key_Down,
                    Qt::Key_Space, Qt::Key_Right, Qt::Key_Space, Qt::Key_Up, Qt::Key_Space})
    tecla(k);
  QCOMPARE(lineas(control<QListWidget>(&w, "List1")),
           (QStringList{u"Número clave:   3"_s, u" 4-17-38-41-52"_s, u" 9-10-11-12-13"_s, u"21-22-23-32-33"_s}));
  tecla(Qt::Key_Tab);
  QCOMPARE(QApplication::focusWidget(), control<QPushButton>(&w, "Command1"));  // past the hidden key panel
  tecla(Qt::Key_Return);
  QCOMPARE(grabada.size(), 1);
  QVERIFY(e.mensajes->vistos.isEmpty());
  const std::vector<Pena> penas = s.almacen().penas().leerTodos();
  QCOMPARE(penas.size(), size_t{1});
  QCOMPARE(penas[0].nombreRecortado(), u"TRIO"_s);
  QCOMPARE(penas[0].tipo, 3);
  QCOMPARE(penas[0].clave(), 3);
  QCOMPARE(penas[0].apuesta(5, 3), 33);
  QCOMPARE(control<QLabel>(&w, "LabelGrabada")->text(), u"Peña «TRIO» grabada. Puede crear otra."_s);
  QCOMPARE(QApplication::focusWidget(), control<QLineEdit>(&w, "Text1"));

  // Return from the name box saves once; with nothing to save it does nothing.
  tecla(Qt::Key_Return);
  QCOMPARE(grabada.size(), 1);
  QCOMPARE(s.almacen().penas().leerTodos().size(), size_t{1});
}

// With the bet box empty, Return saves what is on the ticket, once; before any bet it does nothing.
void PruebaTeclado::introSinApuestaGraba() {
  prueba::Entorno e;
  Sesion s;
  abrirSesion(s, e);
  Crea w(s, 0);
  mostrarEnElNombre(w);
  QSignalSpy grabada(&w, &Crea::penaGrabada);
  escribir(u"vacia"_s);
  tecla(Qt::Key_Tab);
  escribir(u"3"_s);
  tecla(Qt::Key_Return);
  tecla(Qt::Key_Return);  // no bet yet: "Grabar" is not enabled
  QCOMPARE(grabada.size(), 0);
  escribir(u"4 17 38 41 52"_s);
  tecla(Qt::Key_Return);
  QCOMPARE(grabada.size(), 0);
  QCOMPARE(QApplication::focusWidget(), control<QLineEdit>(&w, "TextApuesta"));
  tecla(Qt::Key_Return);
  QCOMPARE(grabada.size(), 1);
  QCOMPARE(s.almacen().penas().leerTodos().size(), size_t{1});
}

void PruebaTeclado::apuestaEscritaRechazada_data() {
  QTest::addColumn<int>("tipo");
  QTest::addColumn<QStringList>("antes");
  QTest::addColumn<QString>("escrito");
  QTest::addColumn<QString>("mensaje");
  const QString limiteMultiple = Creacion::kLimiteMultiple;
  QTest::newRow("clave fuera") << 0 << QStringList{} << u"12"_s
                               << u"Escriba primero el número clave, de 0 a 9, y pulse Intro."_s;
  QTest::newRow("pocos") << 0 << QStringList{u"1"_s} << u"1 2 3 4"_s
                         << u"Cada apuesta lleva 5 números; ha escrito 4."_s;
  QTest::newRow("repetido") << 0 << QStringList{u"1"_s} << u"1 2 3 4 4"_s << u"El número 4 está repetido."_s;
  QTest::newRow("fuera") << 0 << QStringList{u"1"_s} << u"0 2 3 4 5"_s << u"El número 0 no está entre 1 y 54."_s;
  QTest::newRow("letras") << 0 << QStringList{u"1"_s} << u"1 2 tres 4 5"_s
                          << u"Escriba sólo números, separados por espacios o comas: \"tres\" no lo es."_s;
  QTest::newRow("segunda múltiple") << 1 << QStringList{u"1"_s, u"1 2 3 4 5 6"_s} << u"7 8 9 10 11 12"_s
                                    << limiteMultiple;
  QStringList veinticuatro{u"0"_s};
  for (int i = 0; i < 24; ++i) veinticuatro << u"%1 %2 %3 %4 %5"_s.arg(i + 1).arg(i + 26).arg(50).arg(51).arg(52);
  QTest::newRow("la 25ª") << 0 << veinticuatro << u"1 2 3 4 5"_s << Creacion::kLimiteSencillas;
}

void PruebaTeclado::apuestaEscritaRechazada() {
  QFETCH(int, tipo);
  QFETCH(QStringList, antes);
  QFETCH(QString, escrito);
  QFETCH(QString, mensaje);
  prueba::Entorno e;
  Sesion s;
  Crea w(s, tipo);
  mostrarActiva(w);
  control<QLineEdit>(&w, "TextApuesta")->setFocus();
  for (const QString& t : antes) {
    escribir(t);
    tecla(Qt::Key_Return);
  }
  QVERIFY(e.mensajes->vistos.isEmpty());
  const QStringList previas = lineas(control<QListWidget>(&w, "List1"));
  escribir(escrito);
  tecla(Qt::Key_Return);
  QCOMPARE(e.mensajes->vistos.size(), 1);
  QCOMPARE(e.mensajes->vistos[0].texto, mensaje);
  QCOMPARE(e.mensajes->vistos[0].titulo, u"Error"_s);
  // Nothing marked, and the text stays to be mended.
  QCOMPARE(lineas(control<QListWidget>(&w, "List1")), previas);
  QCOMPARE(w.creacion().marcados(), 0);
  QCOMPARE(control<QLineEdit>(&w, "TextApuesta")->text(), escrito);
}

void PruebaTeclado::apuestaRepetidaPregunta() {
  prueba::Entorno e;
  e.escribir(u"apuestas.dat"_s, prueba::penaConApuestas(u"PRIMERA"_s, 1, e.reloj->dia).codificar());
  Sesion s;
  abrirSesion(s, e);
  Crea w(s, 0);
  mostrarEnElNombre(w);
  escribir(u"segunda"_s);
  tecla(Qt::Key_Tab);
  for (const QString& t : {u"5"_s, u"10 20 30 40 50"_s, u"5 4 3 2 1"_s}) {
    escribir(t);
    tecla(Qt::Key_Return);
  }
  QSignalSpy grabada(&w, &Crea::penaGrabada);
  control<QLineEdit>(&w, "Text1")->setFocus();
  tecla(Qt::Key_Return);
  QCOMPARE(e.mensajes->vistos.size(), 1);
  const prueba::MensajeVisto& m = e.mensajes->vistos[0];
  QCOMPARE(m.titulo, u"Apuesta repetida"_s);
  QCOMPARE(m.texto, u"La apuesta 1-2-3-4-5 ya la juega la peña «PRIMERA».\n\n¿Grabar la peña de todos modos?"_s);
  QCOMPARE(m.botones, plataforma::Botones::SiNo);
  QCOMPARE(m.predeterminada, Respuesta::No);
  // No (what Return answers) keeps the entry and writes nothing.
  QCOMPARE(grabada.size(), 0);
  QCOMPARE(s.almacen().penas().leerTodos().size(), size_t{1});
  QCOMPARE(control<QListWidget>(&w, "List1")->count(), 3);

  e.mensajes->respuestas = {Respuesta::Si};
  tecla(Qt::Key_Return);
  QCOMPARE(grabada.size(), 1);
  QCOMPARE(s.almacen().penas().leerTodos().size(), size_t{2});
}

QTEST_MAIN(PruebaTeclado)
#include "test_teclado.moc"
