// Every list of the main window with buttons acts on the row drawn highlighted, however
// it got there: a click, the arrow keys, or the highlight the window puts on its own.
#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>
#include <memory>

#include "app/principal.h"
#include "gui/members/tabsocios.h"
#include "gui/money/modeloscuentas.h"
#include "gui/money/tabcuentas.h"
#include "gui/printing/imprimir.h"
#include "operations/dinero.h"
#include "operations/socios.h"
#include "operations/sorteos.h"
#include "store/archivoregistros.h"
#include "store/sorteo.h"
#include "support/controles.h"
#include "support/dobles.h"
#include "support/ventana.h"

using namespace sortilan;
using plataforma::Respuesta;
using prueba::control;

namespace {

const QDate kHoy(2021, 3, 20);

Pena penaDe(const QString& nombre, std::array<int, 6> apuesta) {
  Pena p = nuevaPena(nombre, 1, QDate(2021, 1, 1));
  for (int i = 0; i < 6; ++i) p.ponerApuesta(i + 1, 1, static_cast<int16_t>(apuesta[static_cast<size_t>(i)]));
  return p;
}

void clic(QAbstractItemView* v, int fila, Qt::KeyboardModifiers teclas = {}) {
  QTest::mouseClick(v->viewport(), Qt::LeftButton, teclas, v->visualRect(v->model()->index(fila, 0)).center());
}

void pulsar(QWidget* w, std::initializer_list<Qt::Key> teclas) {
  for (Qt::Key k : teclas) QTest::keyClick(w, k);
}

}  // namespace

class TestSeleccion : public QObject {
  Q_OBJECT

  std::unique_ptr<prueba::Entorno> e;
  std::unique_ptr<ui::Principal> w;

  QString ultimaPregunta() const {
    return e->mensajes->vistos.isEmpty() ? QString() : e->mensajes->vistos.last().texto;
  }

 private slots:
  // The history up to 7 March 2021 with the sample's prize tables; three peñas since 1
  // January, the first winning a 3ª on 7 March; three members in the first.
  void init() {
    e = std::make_unique<prueba::Entorno>(kHoy);
    e->escribir(QStringLiteral("numeros.dat"), prueba::leerDatoPrueba(QStringLiteral("numeros.dat")).left(830 * 24));
    e->escribir(QStringLiteral("apuestas.dat"),
                ArchivoDe<Pena>::codificar({penaDe(QStringLiteral("PREMIADA"), {15, 24, 40, 42, 1, 9}),
                                            penaDe(QStringLiteral("SEGUNDA"), {2, 3, 4, 5, 6, 0}),
                                            penaDe(QStringLiteral("TERCERA"), {10, 20, 30, 44, 50, 1})}));
    prueba::exigir(operaciones::guardarPremiosRespuesta(
        e->carpeta.path(), prueba::leerDatoPrueba(QStringLiteral("respuesta_ejemplo.json"))));
    Almacen almacen;
    prueba::exigir(almacen.abrir(e->carpeta.path()));
    for (const char* n : {"Ana", "Luis", "Marta"})
      prueba::exigir(operaciones::altaSocio(almacen, 1, {QString::fromUtf8(n), {}, {}}, 1, QDate(2021, 1, 1)));
    w = prueba::principalEnPantalla(*e);
    e->mensajes->vistos.clear();  // the start's own warnings
  }
  void cleanup() {
    w.reset();
    e.reset();
  }

  // "Gestor de peñas": the detail, "Eliminar peña" and "Imprimir" follow the highlight.
  void gestor_data() {
    QTest::addColumn<int>("clicEn");  // -1: no click, the highlight of the start
    QTest::addColumn<QList<Qt::Key>>("teclas");
    QTest::addColumn<QString>("pena");  // empty: nothing highlighted
    QTest::newRow("al arrancar") << -1 << QList<Qt::Key>{} << QStringLiteral("PREMIADA");
    QTest::newRow("clic y dos abajo") << 0 << QList<Qt::Key>{Qt::Key_Down, Qt::Key_Down} << QStringLiteral("TERCERA");
    QTest::newRow("clic y arriba") << 2 << QList<Qt::Key>{Qt::Key_Up} << QStringLiteral("SEGUNDA");
    QTest::newRow("sin clic, abajo") << -1 << QList<Qt::Key>{Qt::Key_Down} << QStringLiteral("SEGUNDA");
    QTest::newRow("Ctrl+clic quita el resaltado") << -2 << QList<Qt::Key>{} << QString();
  }
  void gestor() {
    QFETCH(int, clicEn);
    QFETCH(QList<Qt::Key>, teclas);
    QFETCH(QString, pena);
    w->SSTab1()->setCurrentIndex(2);
    auto* lista = control<QTableView>(w.get(), "ListView1");
    if (clicEn >= 0) clic(lista, clicEn);
    if (clicEn == -2) clic(lista, 0, Qt::ControlModifier);
    for (Qt::Key k : teclas) QTest::keyClick(lista, k);
    const QModelIndexList resaltadas = lista->selectionModel()->selectedRows();
    if (pena.isEmpty()) {
      QVERIFY(resaltadas.isEmpty());
      QTest::mouseClick(control<QPushButton>(w.get(), "Command3"), Qt::LeftButton);
      QCOMPARE(ultimaPregunta(), QStringLiteral("Seleccione una peña primero..."));
      return;
    }
    QCOMPARE(resaltadas.size(), 1);
    QCOMPARE(resaltadas[0].data().toString().trimmed(), pena);
    // The detail is the highlighted peña's: its bet line under the key number.
    const int fila = resaltadas[0].row();
    const Pena& mostrada = w->sesion().penas()[static_cast<size_t>(fila)];
    QCOMPARE(control<QListWidget>(w.get(), "List1")->item(0)->text(),
             QStringLiteral("Número clave:  %1").arg(mostrada.apuesta(6, 1)));

    QTest::mouseClick(control<QPushButton>(w.get(), "Command3"), Qt::LeftButton);  // answered No
    // Its first line names the highlighted peña; what it keeps follows.
    QCOMPARE(ultimaPregunta().section(QStringLiteral("\n\n"), 0, 0),
             QStringLiteral("¿Seguro que quieres eliminar la Peña %1?").arg(pena));
    QTest::mouseClick(control<QPushButton>(w.get(), "Command2"), Qt::LeftButton);
    ui::Imprimir* imprimir = nullptr;
    for (QWidget* v : QApplication::topLevelWidgets())
      if (v->objectName() == QStringLiteral("Imprimir") && v->isVisible()) imprimir = qobject_cast<ui::Imprimir*>(v);
    QVERIFY(imprimir);
    QCOMPARE(imprimir->pena().nombreRecortado(), pena);
  }

  // "Cuentas": the draws, the chart and the CSV are the highlighted peña's; "Marcar
  // cobrado" marks the highlighted draw.
  void cuentas() {
    w->SSTab1()->setCurrentIndex(4);
    auto* tab = control<ui::TabCuentas>(w.get(), "TabCuentas");
    auto* penas = control<QTableView>(w.get(), "ListaPenasCuentas");
    auto* sorteos = control<QTableView>(w.get(), "ListaSorteosCuentas");
    clic(penas, 2);
    pulsar(penas, {Qt::Key_Up});
    QCOMPARE(penas->selectionModel()->selectedRows().value(0).row(), 1);
    QCOMPARE(tab->penaSeleccionada(), 2);
    e->dialogo->siguiente.clear();  // the export is cancelled: only the offered name counts
    QTest::mouseClick(control<QPushButton>(tab, "CommandCsv"), Qt::LeftButton);
    QVERIFY(e->dialogo->carpetas.last().endsWith(QStringLiteral("cuentas-pena-2.csv")));

    pulsar(penas, {Qt::Key_Up});
    QCOMPARE(tab->penaSeleccionada(), 1);
    // The newest draw, 7 March, holds the prize; the one before has none.
    clic(sorteos, 1);
    QVERIFY(!control<QPushButton>(tab, "CommandCobrar")->isEnabled());
    pulsar(sorteos, {Qt::Key_Up});
    QCOMPARE(tab->sorteoSeleccionado(), QDate(2021, 3, 7));
    QVERIFY(control<QPushButton>(tab, "CommandCobrar")->isEnabled());
    QTest::mouseClick(control<QPushButton>(tab, "CommandCobrar"), Qt::LeftButton);
    QVERIFY(e->mensajes->vistos.isEmpty());
    QVERIFY(sorteos->model()
                ->index(0, ui::ModeloCuentasSorteos::Cobro)
                .data()
                .toString()
                .startsWith(QStringLiteral("cobrado el ")));

    // A Ctrl+click takes the highlight away: nothing left to act on.
    clic(sorteos, 0, Qt::ControlModifier);
    QVERIFY(sorteos->selectionModel()->selectedRows().isEmpty());
    QVERIFY(!control<QPushButton>(tab, "CommandPendiente")->isEnabled());
    clic(penas, 0, Qt::ControlModifier);
    QVERIFY(penas->selectionModel()->selectedRows().isEmpty());
    QVERIFY(!control<QPushButton>(tab, "CommandCsv")->isEnabled());
  }

  // "Socios": the movements and "Dar de baja" are the highlighted member's.
  void socios() {
    w->SSTab1()->setCurrentIndex(5);
    auto* tab = control<ui::TabSocios>(w.get(), "TabSocios");
    clic(control<QTableView>(tab, "TablaSocios"), 0);
    pulsar(control<QTableView>(tab, "TablaSocios"), {Qt::Key_Down});
    QCOMPARE(tab->socioSeleccionado(), 2);
    QVERIFY(control<QLabel>(tab, "LabelSocio")->text().startsWith(QStringLiteral("Movimientos de Luis")));
    control<QDateEdit>(tab, "FechaSocio")->setDate(QDate(2021, 3, 15));
    e->mensajes->respuestas = {Respuesta::Si};
    QTest::mouseClick(control<QPushButton>(tab, "CommandBaja"), Qt::LeftButton);
    QCOMPARE(e->mensajes->vistos.size(), 1);
    QVERIFY(e->mensajes->vistos.last().texto.startsWith(QStringLiteral("¿Dar de baja a Luis el 15/03/2021?")));
    QCOMPARE(control<QTableView>(tab, "TablaSocios")->model()->index(0, 4).data().toString(), QString());
    QCOMPARE(control<QTableView>(tab, "TablaSocios")->model()->index(1, 4).data().toString(),
             QStringLiteral("15/03/2021"));
    QCOMPARE(control<QTableView>(tab, "TablaSocios")->model()->index(2, 4).data().toString(), QString());
    QCOMPARE(tab->socioSeleccionado(), 2);  // still highlighted after the change
  }

  // The draw list, once row deletion is on: a click deletes the draw clicked, and Supr the
  // draw highlighted.
  void sorteos() {
    w->SSTab1()->setCurrentIndex(3);
    w->findChild<QAction*>(QStringLiteral("borrpe"))->trigger();  // answered No twice: deletion on
    auto* lista = control<QTableView>(w.get(), "ListView3");
    const QByteArray antes = e->leer(QStringLiteral("numeros.dat"));
    clic(lista, 0);  // answered No
    QCOMPARE(ultimaPregunta(), operaciones::kPreguntaBorrarUno);
    e->mensajes->vistos.clear();
    pulsar(lista, {Qt::Key_Down, Qt::Key_Down});
    QVERIFY(e->mensajes->vistos.isEmpty());  // moving asks nothing
    e->mensajes->respuestas = {Respuesta::Si};
    pulsar(lista, {Qt::Key_Delete});
    QCOMPARE(ultimaPregunta(), operaciones::kPreguntaBorrarUno);
    // The third newest of 830 draws is gone, and only it.
    QCOMPARE(e->leer(QStringLiteral("numeros.dat")), antes.left(827 * 24) + antes.mid(828 * 24));
    QCOMPARE(lista->model()->rowCount(), 829);

    // A Ctrl+click on the highlighted row takes the highlight away and deletes nothing.
    e->mensajes->vistos.clear();
    clic(lista, 2);  // answered No
    clic(lista, 2, Qt::ControlModifier);
    QCOMPARE(e->mensajes->vistos.size(), 1);
    pulsar(lista, {Qt::Key_Delete});
    QCOMPARE(e->mensajes->vistos.size(), 1);
  }
};

QTEST_MAIN(TestSeleccion)
#include "test_seleccion.moc"
