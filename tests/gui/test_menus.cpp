#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "app/menus.h"
#include "app/principal.h"
#include "base/fechas.h"
#include "gui/checking/tabgestor.h"
#include "gui/creation/crea.h"
#include "gui/creation/creamenu.h"
#include "gui/creation/lanzadorcreacion.h"
#include "gui/main/botondescarga.h"
#include "gui/main/mantenimientosorteos.h"
#include "gui/main/modelosorteos.h"
#include "gui/main/tabestadisticas.h"
#include "gui/main/tabgeneral.h"
#include "gui/money/tabcuentas.h"
#include "gui/report/tabultimo.h"
#include "operations/sorteos.h"
#include "support/controles.h"
#include "support/dobles.h"
#include "support/ventana.h"

using namespace Qt::StringLiterals;
using namespace sortilan;
using namespace sortilan::ui;
using plataforma::Respuesta;
using prueba::control;

namespace {

template <class T>
T* ventana(const char* nombre) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == QLatin1String(nombre) && w->isVisible()) return qobject_cast<T*>(w);
  return nullptr;
}

void raton(QWidget* w, QEvent::Type tipo, QPoint p) {
  const Qt::MouseButton b = tipo == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent e(tipo, p, w->mapToGlobal(p), b, tipo == QEvent::MouseButtonPress ? b : Qt::NoButton, {});
  QCoreApplication::sendEvent(w, &e);
}

}  // namespace

class PruebaMenus : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void elementosDelMenu();
  void mnemonicosUnicos();
  void atajos();
  void pestanasConTeclado();
  void pestanaConElFoco();
  void sorteosEscritos();
  void crearPena_data();
  void crearPena();
  void penaCreadaAlVolver();
  void web();
  void borrarTodosYFilas();
  void atajoBorrarSoloSiActivo();
  void importar();
  void importarSinArchivo();
  void pestanaUltimoSorteo();
  void imagenesDescarga();

 private:
  void abrir(const QByteArray& ini = {});
  std::unique_ptr<prueba::Entorno> e_;
  std::unique_ptr<Principal> p_;
};

void PruebaMenus::init() {
  // The newest draw of the test data is of August 2026.
  e_ = std::make_unique<prueba::Entorno>(QDate(2026, 8, 19));
  e_->copiar(QStringLiteral("numeros.dat"));
}

void PruebaMenus::abrir(const QByteArray& ini) {
  if (!ini.isEmpty()) e_->escribir(QStringLiteral("sortilan.ini"), ini);
  p_ = prueba::principalEnPantalla(*e_);
  QTest::qWait(0);
  // The welcome message of an empty peña file is not part of what is tested here.
  e_->mensajes->vistos.clear();
}

void PruebaMenus::cleanup() {
  p_.reset();
  QTest::qWait(0);
  e_.reset();
}

void PruebaMenus::elementosDelMenu() {
  abrir();
  const QList<QPair<const char*, const char*>> esperados = {
      {"Crearp", "Crear peña nueva"},      {"borrpe", "Borrar sorteos almacenados/Reset aciertos peñas"},
      {"web", "Web del programa"},         {"gene", "Pestaña General"},
      {"ultimo", "Pestaña Último sorteo"}, {"Gestor", "Pestaña Gestor de peñas"},
      {"esta", "Pestaña Estadísticas"}};
  for (const auto& [nombre, texto] : esperados) {
    QAction* a = p_->findChild<QAction*>(QLatin1String(nombre));
    QVERIFY2(a, nombre);
    QCOMPARE(a->text().remove(QLatin1Char('&')), QString::fromUtf8(texto));
  }
  QVERIFY(p_->findChild<QAction*>(QStringLiteral("Crearp"))->isEnabled());
  QVERIFY(p_->findChild<QAction*>(QStringLiteral("borrpe"))->isEnabled());
  QVERIFY(!p_->findChild<QAction*>(QStringLiteral("web"))->isEnabled());  // no maker's server configured
  for (int i : {3, 0, 2, 1}) {
    const char* nombres[4] = {"gene", "ultimo", "Gestor", "esta"};
    p_->findChild<QAction*>(QLatin1String(nombres[i]))->trigger();
    QCOMPARE(p_->SSTab1()->currentIndex(), i);
  }
}

namespace {
// The letter a caption underlines, or a null QChar when it has none.
QChar mnemonico(const QString& texto) {
  for (qsizetype i = 0; i + 1 < texto.size(); ++i) {
    if (texto[i] != QLatin1Char('&')) continue;
    if (texto[i + 1] != QLatin1Char('&')) return texto[i + 1].toLower();
    ++i;  // "&&" is a plain ampersand
  }
  return {};
}

// Every item of `acciones` has a letter of its own; the sub-menus are walked too.
void revisarMenu(const QString& donde, const QList<QAction*>& acciones) {
  QHash<QChar, QString> usadas;
  for (QAction* a : acciones) {
    if (a->isSeparator() || !a->isVisible()) continue;
    const QChar letra = mnemonico(a->text());
    QVERIFY2(!letra.isNull(), qPrintable(donde + u": sin letra: "_s + a->text()));
    QVERIFY2(!usadas.contains(letra),
             qPrintable(donde + u": "_s + a->text() + u" y "_s + usadas.value(letra) + u" comparten letra"_s));
    usadas.insert(letra, a->text());
    if (a->menu()) revisarMenu(donde + u" > "_s + a->text(), a->menu()->actions());
  }
}
}  // namespace

void PruebaMenus::mnemonicosUnicos() {
  abrir();
  revisarMenu(u"barra"_s, p_->menuBar()->actions());
  // The captions keep their letters: only the underline was added.
  QCOMPARE(p_->acciones().Baja->text().remove(QLatin1Char('&')), u"Bajar Sorteos nuevos"_s);
  QCOMPARE(p_->acciones().verhistom->text().remove(QLatin1Char('&')),
           u"Histórico (resultados sorteos anteriores a la fecha de creacón de las peñas)"_s);
}

void PruebaMenus::atajos() {
  abrir();
  const AccionesMenu& a = p_->acciones();
  const QList<QPair<QAction*, QKeySequence>> esperados = {
      {a.salir, QKeySequence(u"Ctrl+Q"_s)},       {a.Crearp, QKeySequence(u"Ctrl+N"_s)},
      {a.imprimir, QKeySequence(u"Ctrl+P"_s)},    {a.Baja, QKeySequence(u"F5"_s)},
      {a.siguiente, QKeySequence(u"Ctrl+Tab"_s)}, {a.anterior, QKeySequence(u"Ctrl+Shift+Tab"_s)}};
  for (const auto& [accion, teclas] : esperados) QCOMPARE(accion->shortcut(), teclas);
  QCOMPARE(a.pestanas.size(), size_t(p_->SSTab1()->count()));
  for (size_t i = 0; i < a.pestanas.size(); ++i) {
    QCOMPARE(a.pestanas[i]->shortcut(), QKeySequence(u"Ctrl+%1"_s.arg(i + 1)));
    // "Ver" names every tab by its caption.
    QVERIFY(a.pestanas[i]->text().remove(QLatin1Char('&')).endsWith(p_->SSTab1()->tabText(int(i))));
  }
  // No two items of the window answer the same keys.
  QSet<QString> vistas;
  for (QAction* x : p_->findChildren<QAction*>())
    for (const QKeySequence& k : x->shortcuts()) {
      QVERIFY2(!vistas.contains(k.toString()), qPrintable(k.toString()));
      vistas.insert(k.toString());
    }
}

// A tab chosen by its shortcut takes the focus, so that Tab and the arrows walk its lists.
void PruebaMenus::pestanaConElFoco() {
  e_->escribir(QStringLiteral("apuestas.dat"),
               prueba::penaConApuestas(QStringLiteral("UNA"), 2, QDate(2026, 1, 1)).codificar());
  abrir();
  p_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(p_.get()));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_5, Qt::ControlModifier);
  QCOMPARE(p_->SSTab1()->currentWidget(), p_->cuentas());
  QVERIFY(QApplication::focusWidget());
  QVERIFY2(p_->cuentas()->isAncestorOf(QApplication::focusWidget()),
           QApplication::focusWidget()->objectName().toUtf8().constData());
  auto* sorteos = p_->cuentas()->findChild<QAbstractItemView*>(QStringLiteral("ListaSorteosCuentas"));
  QVERIFY(sorteos);
  for (int i = 0; i < 6 && QApplication::focusWidget() != sorteos; ++i)
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  QCOMPARE(QApplication::focusWidget(), sorteos);
  QTest::keyClick(sorteos, Qt::Key_Down);
  QVERIFY(p_->cuentas()->sorteoSeleccionado().isValid());
}

void PruebaMenus::pestanasConTeclado() {
  abrir();
  p_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(p_.get()));
  QTabWidget* tab = p_->SSTab1();
  QWidget* foco = tab->currentWidget();
  QTest::keyClick(foco, Qt::Key_3, Qt::ControlModifier);
  QCOMPARE(tab->currentIndex(), 2);
  QTest::keyClick(tab->currentWidget(), Qt::Key_Tab, Qt::ControlModifier);
  QCOMPARE(tab->currentIndex(), 3);
  QTest::keyClick(tab->currentWidget(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
  QCOMPARE(tab->currentIndex(), 2);
  QTest::keyClick(tab->currentWidget(), Qt::Key_6, Qt::ControlModifier);
  QCOMPARE(tab->currentIndex(), 5);
  // Past the last tab comes the first, and before the first the last.
  QTest::keyClick(tab->currentWidget(), Qt::Key_Tab, Qt::ControlModifier);
  QCOMPARE(tab->currentIndex(), 0);
  QTest::keyClick(tab->currentWidget(), Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
  QCOMPARE(tab->currentIndex(), 5);

  // Ctrl+N opens the bet-type chooser.
  QTest::keyClick(tab->currentWidget(), Qt::Key_N, Qt::ControlModifier);
  QTRY_VERIFY(ventana<Creamenu>("Creamenu"));
}

void PruebaMenus::sorteosEscritos() {
  abrir();
  p_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(p_.get()));
  auto* texto = control<QLineEdit>(p_->general(), "Text3");
  auto* barra = control<QScrollBar>(p_->general(), "HScroll1");
  QVERIFY(barra->maximum() > 30);
  texto->setFocus();
  const auto escribir = [&](const QString& t) {
    QTest::keyClick(texto, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(texto, t);
    QTest::keyClick(texto, Qt::Key_Return);
  };
  escribir(u"25"_s);
  QCOMPARE(barra->value(), 25);
  // More than there are: all of them, and the box says how many.
  escribir(u"999999"_s);
  QCOMPARE(barra->value(), barra->maximum());
  QCOMPARE(texto->text(), QString::number(barra->maximum()));
  escribir(u"0"_s);
  QCOMPARE(barra->value(), 1);
  QCOMPARE(texto->text(), u"1"_s);
  // And the bar moves the box.
  barra->setValue(7);
  QCOMPARE(texto->text(), u"7"_s);
}

void PruebaMenus::crearPena_data() {
  QTest::addColumn<QString>("via");
  QTest::newRow("menú Crearp") << "Crearp";
  QTest::newRow("botón Command4") << "Command4";
  QTest::newRow("icono Image1_1") << "Image1_1";
}

void PruebaMenus::crearPena() {
  QFETCH(QString, via);
  abrir();
  if (via == QLatin1String("Crearp"))
    p_->findChild<QAction*>(via)->trigger();
  else
    QTest::mouseClick(p_->gestor()->findChild<QAbstractButton*>(via), Qt::LeftButton);
  auto* menu = ventana<Creamenu>("Creamenu");
  QVERIFY(menu);
  auto* multiple = control<QCheckBox>(menu, "Check1_0");
  auto* nueve = control<QRadioButton>(menu, "Option1_3");
  QTest::mouseClick(multiple, Qt::LeftButton, {}, QPoint(6, multiple->height() / 2));
  QTest::mouseClick(nueve, Qt::LeftButton, {}, QPoint(6, nueve->height() / 2));
  QTRY_VERIFY(!ventana<Creamenu>("Creamenu"));
  auto* crea = ventana<Crea>("Crea");
  QVERIFY(crea);
  QCOMPARE(crea->creacion().tipoapuesta(), 3);
  QCOMPARE(control<QLabel>(crea, "Label4")->text(), QStringLiteral("INTRODUZCA EL NOMBRE Y 8 NÚMEROS:"));

  // The main window becoming active throws both windows away.
  p_->menus()->descargarSecundarias();
  QTRY_VERIFY(!ventana<Crea>("Crea"));
}

void PruebaMenus::penaCreadaAlVolver() {
  abrir();
  QCOMPARE(control<QLabel>(p_->general(), "Label9_2")->text(), QStringLiteral("0"));
  p_->menus()->creacion()->Command4_Click();
  ventana<Creamenu>("Creamenu")->Check1_Click(1);
  Crea* crea = p_->menus()->creacion()->crea();
  QVERIFY(crea);
  crea->Image1_Click(54 + 3);
  crea->Command3_Click();
  control<QLineEdit>(crea, "Text1")->setText(QStringLiteral("NUEVA"));
  crea->creacion().cambiarNombre(QStringLiteral("NUEVA"));
  QSignalSpy grabada(p_->menus()->creacion(), &LanzadorCreacion::penaGrabada);
  crea->Command1_Click();
  QCOMPARE(grabada.size(), 1);
  // Listed at once, with the creation window still open for the next peña.
  QCOMPARE(control<QLabel>(p_->general(), "Label9_2")->text(), QStringLiteral("1"));
  QVERIFY(ventana<Crea>("Crea"));

  p_->show();
  p_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(p_.get()));
  QTRY_COMPARE(control<QLabel>(p_->general(), "Label9_2")->text(), QStringLiteral("1"));
  QTRY_VERIFY(!ventana<Crea>("Crea"));
}

void PruebaMenus::web() {
  abrir("[servicios]\nfabricante=http://fabricante.example/\n");
  QAction* web = p_->findChild<QAction*>(QStringLiteral("web"));
  QVERIFY(web->isEnabled());
  web->trigger();
  QCOMPARE(e_->navegador->abiertas, QList<QUrl>{QUrl(QStringLiteral("http://fabricante.example/"))});
}

void PruebaMenus::borrarTodosYFilas() {
  abrir();
  QTableView* lista = control<QTableView>(p_->estadisticas(), "ListView3");
  QCOMPARE(lista->model()->rowCount(), 1114);
  const QByteArray antes = e_->leer(QStringLiteral("numeros.dat"));
  auto clicFila = [&](int fila) {
    const QRect r = lista->visualRect(lista->model()->index(fila, 0));
    QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, r.center());
  };
  // Right after start-up a row click does nothing.
  p_->SSTab1()->setCurrentIndex(3);
  clicFila(0);
  QVERIFY(e_->mensajes->vistos.isEmpty());

  // "Borrar sorteos almacenados/Reset aciertos peñas", answering No twice.
  p_->findChild<QAction*>(QStringLiteral("borrpe"))->trigger();
  QCOMPARE(e_->mensajes->vistos.size(), 2);
  QCOMPARE(e_->mensajes->vistos[0].texto, operaciones::kPreguntaBorrarTodos);
  // The question as it always was, and under it that the money stays.
  QCOMPARE(e_->mensajes->vistos[1].texto,
           operaciones::kPreguntaAciertos + QStringLiteral("\n\n") + operaciones::kDineroConservado);
  for (const auto& v : e_->mensajes->vistos)
    QCOMPARE(v.predeterminada, plataforma::Respuesta::No);  // Return alone deletes nothing
  QCOMPARE(e_->leer(QStringLiteral("numeros.dat")), antes);

  // Now a click on the newest draw offers to delete it.
  e_->mensajes->respuestas = {Respuesta::Si};
  clicFila(0);
  QCOMPARE(e_->mensajes->vistos.size(), 3);
  QCOMPARE(e_->mensajes->vistos[2].texto, operaciones::kPreguntaBorrarUno);
  QCOMPARE(e_->mensajes->vistos[2].predeterminada, plataforma::Respuesta::No);
  QCOMPARE(lista->model()->rowCount(), 1113);
  QCOMPARE(e_->leer(QStringLiteral("numeros.dat")), antes.left(1113 * 24));
  QCOMPARE(p_->sesion().proximoreg, 1114);
  const Sorteo previo = Sorteo::decodificar(antes.constData() + 1112 * 24);
  QCOMPARE(control<QLabel>(p_->general(), "Label9_3")->text(), fechaLarga(previo.fecha));

  // Yes, Yes through the button: no draws left.
  e_->mensajes->respuestas = {Respuesta::Si, Respuesta::Si};
  QTest::mouseClick(control<QPushButton>(p_->estadisticas(), "Command5"), Qt::LeftButton);
  QCOMPARE(e_->leer(QStringLiteral("numeros.dat")), QByteArray());
  QCOMPARE(lista->model()->rowCount(), 0);
  QCOMPARE(control<QLabel>(p_->estadisticas(), "Label7")->text(), QStringLiteral("TOTAL: 0 sorteos."));
  QCOMPARE(control<QLabel>(p_->general(), "Label9_3")->text(), QStringLiteral("Fichero de datos vacío."));
}

void PruebaMenus::atajoBorrarSoloSiActivo() {
  abrir();
  control<QPushButton>(p_->estadisticas(), "Command5")->setEnabled(false);
  QTest::mouseClick(control<QToolButton>(p_->estadisticas(), "Image1_2"), Qt::LeftButton);
  QVERIFY(e_->mensajes->vistos.isEmpty());
  QVERIFY(!p_->menus()->mantenimiento()->borradoFilas());
  control<QPushButton>(p_->estadisticas(), "Command5")->setEnabled(true);
  QTest::mouseClick(control<QToolButton>(p_->estadisticas(), "Image1_2"), Qt::LeftButton);
  QCOMPARE(e_->mensajes->vistos.size(), 2);
}

void PruebaMenus::importar() {
  e_->escribir(QStringLiteral("numeros.dat"), {});
  abrir();
  QCOMPARE(control<QTableView>(p_->estadisticas(), "ListView3")->model()->rowCount(), 0);
  // Icon 4: the dialog is asked; a Saturday file is refused.
  Sorteo sabado;
  sabado.numeros = {1, 2, 3, 4, 5, 6, 0, 0};
  sabado.fecha = oleDesdeFecha(QDate(2021, 3, 6));
  e_->escribir(QStringLiteral("sabado.dat"), sabado.codificar());
  e_->dialogo->siguiente = e_->ruta(QStringLiteral("sabado.dat"));
  QTest::mouseClick(control<QToolButton>(p_->estadisticas(), "Image1_4"), Qt::LeftButton);
  QCOMPARE(e_->dialogo->titulos, QStringList{QStringLiteral("Seleccione el archivo NUMEROS.DAT")});
  QCOMPARE(e_->mensajes->vistos.last().texto, operaciones::kNoValido);
  QCOMPARE(control<QTableView>(p_->estadisticas(), "ListView3")->model()->rowCount(), 0);

  e_->dialogo->siguiente = prueba::datoPrueba(QStringLiteral("numeros.dat"));
  QTest::mouseClick(control<QPushButton>(p_->estadisticas(), "Command8"), Qt::LeftButton);
  QCOMPARE(e_->mensajes->vistos.last().texto, operaciones::kImportado);
  QCOMPARE(control<QTableView>(p_->estadisticas(), "ListView3")->model()->rowCount(), 1114);
  QCOMPARE(control<QLabel>(p_->estadisticas(), "Label7")->text(), QStringLiteral("TOTAL: 1114 sorteos."));
  // The empty file before is no backup worth keeping.
  QVERIFY(!QFile::exists(e_->ruta(QStringLiteral("numeros.bak"))));
}

void PruebaMenus::importarSinArchivo() {
  abrir(QByteArray("[servicios]\nfabricante=http://fabricante.example\n"));
  const QByteArray antes = e_->leer(QStringLiteral("numeros.dat"));
  // No file chosen, No to the shop: nothing else happens.
  e_->mensajes->respuestas = {Respuesta::No};
  QTest::mouseClick(control<QPushButton>(p_->estadisticas(), "Command8"), Qt::LeftButton);
  QCOMPARE(e_->dialogo->filtros, QStringList{QStringLiteral("Archivos de sorteos (numeros.dat)")});
  QCOMPARE(e_->mensajes->vistos.size(), 1);
  QCOMPARE(e_->mensajes->vistos[0].titulo, QStringLiteral("Sortilan"));
  QCOMPARE(e_->mensajes->vistos[0].texto, MantenimientoSorteos::kPreguntaTienda);
  // Going to the shop destroys nothing: Return may still say yes.
  QCOMPARE(e_->mensajes->vistos[0].predeterminada, plataforma::Respuesta::Si);
  QVERIFY(e_->navegador->abiertas.isEmpty());
  // Yes: the maker's shop page, and still nothing changed.
  e_->mensajes->respuestas = {Respuesta::Si};
  QTest::mouseClick(control<QPushButton>(p_->estadisticas(), "Command8"), Qt::LeftButton);
  QCOMPARE(e_->navegador->abiertas, QList<QUrl>{QUrl(QStringLiteral("http://fabricante.example/tienda.html#Sorteos"))});
  QCOMPARE(e_->leer(QStringLiteral("numeros.dat")), antes);
}

void PruebaMenus::pestanaUltimoSorteo() {
  abrir();
  TabUltimo* u = p_->ultimo();
  const QString antes = control<QLabel>(u, "Label8")->text();
  p_->SSTab1()->setCurrentIndex(1);
  QCOMPARE(p_->SSTab1()->currentIndex(), 1);
  QCOMPARE(control<QLabel>(u, "Label8")->text(), antes);  // no notice shown: nothing to update

  p_->SSTab1()->setCurrentIndex(0);
  control<QPlainTextEdit>(u, "Text1")->show();
  p_->SSTab1()->setCurrentIndex(1);
  // The notice made the tab fetch the report again: its title replaced "Un momento...".
  QVERIFY(control<QLabel>(u, "Label8")->text().startsWith(QStringLiteral("-Informe del ")));
  QVERIFY(control<QLabel>(u, "Label8")->styleSheet().contains(QStringLiteral("rgb(224,224,224)")));
}

void PruebaMenus::imagenesDescarga() {
  abrir();
  auto* b = p_->general()->findChild<QToolButton*>(QStringLiteral("Picture2"));
  BotonDescarga* d = p_->general()->botonDescarga();
  QCOMPARE(d->imagen(), 2);
  QVERIFY(b->hasMouseTracking());
  raton(b, QEvent::MouseMove, QPoint(50, 40));  // 750, 600 twips: inside
  QCOMPARE(d->imagen(), 1);
  raton(b, QEvent::MouseMove, QPoint(10, 40));  // 150 twips from the left: near the edge
  QCOMPARE(d->imagen(), 2);
  raton(b, QEvent::MouseMove, QPoint(50, 73));  // 1095 twips down: outside the inner area
  QCOMPARE(d->imagen(), 2);
  raton(b, QEvent::MouseButtonPress, QPoint(50, 40));
  QCOMPARE(d->imagen(), 2);
  raton(b, QEvent::MouseButtonRelease, QPoint(50, 40));
  QCOMPARE(d->imagen(), 1);
  QEvent fuera(QEvent::Leave);
  QCoreApplication::sendEvent(b, &fuera);
  QCOMPARE(d->imagen(), 2);
  // The two pictures differ.
  QVERIFY(BotonDescarga::dibujar(1).toImage() != BotonDescarga::dibujar(2).toImage());
}

QTEST_MAIN(PruebaMenus)
#include "test_menus.moc"
