#include <QAbstractItemModelTester>
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <memory>

#include "app/principal.h"
#include "base/fechas.h"
#include "checking/comprobacion.h"
#include "gui/checking/comprobador.h"
#include "gui/checking/graficopena.h"
#include "gui/checking/modelopenas.h"
#include "gui/checking/modeloresultados.h"
#include "gui/checking/tabgestor.h"
#include "gui/download/descargador.h"
#include "gui/main/tabgeneral.h"
#include "store/sorteo.h"
#include "support/dobles.h"
#include "support/ventana.h"

using namespace sortilan;

namespace {

Pena penaDe(const QString& nombre, int apuestas, int multiple, QDate creacion) {
  Pena p = nuevaPena(nombre, multiple ? 95 + multiple : apuestas, creacion);
  const int filas = multiple ? 1 : apuestas;
  const int numeros = multiple ? multiple : 5;
  for (int f = 1; f <= filas; ++f)
    for (int i = 1; i <= numeros; ++i) p.ponerApuesta(i, f, static_cast<int16_t>((f * 5 + i * 3) % 54 + 1));
  p.ponerApuesta(numeros + 1, 1, 3);
  return p;
}

}  // namespace

class TestGestor : public QObject {
  Q_OBJECT

  std::unique_ptr<prueba::Entorno> e;
  std::unique_ptr<ui::Principal> w;

  template <class T>
  T* hijo(const char* nombre) {
    T* h = w->findChild<T*>(QLatin1String(nombre));
    if (!h) qFatal("falta %s", nombre);
    return h;
  }

  void abrir(const std::vector<Pena>& penas) {
    e->copiar(QStringLiteral("numeros.dat"));
    e->escribir(QStringLiteral("apuestas.dat"), ArchivoDe<Pena>::codificar(penas));
    w = std::make_unique<ui::Principal>();
    w->cargar(e->carpeta.path());
    w->show();
  }

 private slots:
  void init() { e = std::make_unique<prueba::Entorno>(); }
  void cleanup() {
    w.reset();
    e.reset();
  }

  void pulsarUnaPenaMuestraSusApuestas_data() {
    QTest::addColumn<int>("fila");
    QTest::addColumn<int>("lineas");
    QTest::addColumn<int>("altoTwips");
    QTest::newRow("3 apuestas") << 0 << 4 << 900;
    QTest::newRow("10 apuestas") << 1 << 11 << 2275;
    QTest::newRow("24 apuestas") << 2 << 25 << 5225;
    QTest::newRow("múltiple de 8") << 3 << 2 << 450;
  }
  void pulsarUnaPenaMuestraSusApuestas() {
    QFETCH(int, fila);
    QFETCH(int, lineas);
    QFETCH(int, altoTwips);
    const QDate antes(2010, 1, 1);
    abrir({penaDe(QStringLiteral("TRES"), 3, 0, antes), penaDe(QStringLiteral("DIEZ"), 10, 0, antes),
           penaDe(QStringLiteral("VEINTICUATRO"), 24, 0, antes), penaDe(QStringLiteral("OCHO"), 0, 8, antes)});
    auto* lista = hijo<QTableView>("ListView1");
    QAbstractItemModelTester probador(lista->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(lista->model()->rowCount(), 4);
    QCOMPARE(lista->model()->index(3, 1).data().toString(), QStringLiteral("56"));
    QCOMPARE(w->comprobador()->penaSeleccionada(), 1);  // the summary highlights the first, and so chooses it

    w->SSTab1()->setCurrentIndex(2);
    const QRect celda = lista->visualRect(lista->model()->index(fila, 0));
    QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, celda.center());
    auto* list1 = hijo<QListWidget>("List1");
    QCOMPARE(list1->count(), lineas);
    QCOMPARE(list1->item(0)->text(), QStringLiteral("Número clave:  3"));
    QCOMPARE(list1->height(), hijo<ui::TabGestor>("TabGestor")->altoLista1(altoTwips));
    if (lineas <= 8)  // short lists show every line; longer ones lose a little to the rule
      QVERIFY(list1->height() >= lineas * list1->sizeHintForRow(0));
    QCOMPARE(w->comprobador()->penaSeleccionada(), fila + 1);
    QVERIFY(!hijo<QLabel>("Label17")->text().isEmpty());
    QVERIFY(hijo<QLabel>("Label16")->text().endsWith(QStringLiteral(" %")));
  }

  void ficheroVacio() {
    abrir({});
    auto* lista = hijo<QTableView>("ListView1");
    QCOMPARE(lista->model()->rowCount(), 1);
    QCOMPARE(lista->model()->index(0, 0).data().toString(), QStringLiteral("VACÍO"));
    QVERIFY(!hijo<QPushButton>("Command3")->isEnabled());
    QVERIFY(!hijo<QPushButton>("Command2")->isEnabled());
    QCOMPARE(hijo<QLineEdit>("Text4")->text(), QStringLiteral("¡Nunca has acertado nada!"));
    QCOMPARE(hijo<QLabel>("Label13")->text(), QStringLiteral("0"));
    QCOMPARE(hijo<QLabel>("Label9_2")->text(), QStringLiteral("0"));
    QCOMPARE(hijo<QLabel>("Label16")->text(), QStringLiteral("-"));
    QCOMPARE(hijo<QLabel>("Label17")->text(), QStringLiteral("-"));
    QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, lista->visualRect(lista->model()->index(0, 0)).center());
    QCOMPARE(w->comprobador()->penaSeleccionada(), 0);
  }

  void eliminarPena() {
    const QDate antes(2010, 1, 1);
    abrir({penaDe(QStringLiteral("UNA"), 1, 0, antes), penaDe(QStringLiteral("DOS"), 2, 0, antes),
           penaDe(QStringLiteral("TRES"), 3, 0, antes)});
    auto* borrar = hijo<QPushButton>("Command3");
    // Right after start the first row is highlighted: that peña is the one asked about.
    QTest::mouseClick(borrar, Qt::LeftButton);  // answered No
    QCOMPARE(e->mensajes->vistos.last().texto, QStringLiteral("¿Seguro que quieres eliminar la Peña UNA?"));

    auto* lista = hijo<QTableView>("ListView1");
    QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, lista->visualRect(lista->model()->index(1, 0)).center());
    QTest::mouseClick(borrar, Qt::LeftButton);  // answered No
    QCOMPARE(e->mensajes->vistos.last().texto, QStringLiteral("¿Seguro que quieres eliminar la Peña DOS?"));
    QCOMPARE(e->mensajes->vistos.last().predeterminada, plataforma::Respuesta::No);
    QCOMPARE(w->sesion().penas().size(), size_t{3});

    e->mensajes->respuestas << plataforma::Respuesta::Si;
    QTest::mouseClick(borrar, Qt::LeftButton);
    QCOMPARE(w->sesion().penas().size(), size_t{2});
    QCOMPARE(w->sesion().penas()[1].nombreRecortado(), QStringLiteral("TRES"));
    QCOMPARE(lista->model()->rowCount(), 2);
    QCOMPARE(hijo<QLabel>("Label9_2")->text(), QStringLiteral("2"));
    QCOMPARE(w->comprobador()->penaSeleccionada(), 1);  // the first row highlighted again
  }

  // Another program deleted a peña after the list was shown: the record number the user
  // clicked now holds another peña, and that one is not deleted in its place.
  void eliminarPenaMovidaPorOtroPrograma() {
    const QDate antes(2010, 1, 1);
    const Pena una = penaDe(QStringLiteral("UNA"), 1, 0, antes), dos = penaDe(QStringLiteral("DOS"), 2, 0, antes),
               tres = penaDe(QStringLiteral("TRES"), 3, 0, antes);
    abrir({una, dos, tres});
    auto* lista = hijo<QTableView>("ListView1");
    QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, lista->visualRect(lista->model()->index(1, 0)).center());
    // While the question is on screen another program deletes UNA: DOS moves to record 1.
    e->escribir(QStringLiteral("apuestas.dat"), ArchivoDe<Pena>::codificar({dos, tres}));
    e->mensajes->respuestas << plataforma::Respuesta::Si;
    QTest::mouseClick(hijo<QPushButton>("Command3"), Qt::LeftButton);
    QCOMPARE(e->mensajes->vistos[0].texto, QStringLiteral("¿Seguro que quieres eliminar la Peña DOS?"));
    QVERIFY(e->mensajes->vistos.last().texto.contains(QStringLiteral("No se ha borrado nada")));
    QCOMPARE(e->leer(QStringLiteral("apuestas.dat")), ArchivoDe<Pena>::codificar({dos, tres}));
    // The list now shows what is stored, its first row highlighted.
    QCOMPARE(lista->model()->rowCount(), 2);
    QCOMPARE(w->comprobador()->penaSeleccionada(), 1);
  }

  void cambiarDeVista() {
    abrir(
        {penaDe(QStringLiteral("UNA"), 1, 0, QDate(2010, 1, 1)), penaDe(QStringLiteral("M"), 0, 6, QDate(2010, 1, 1))});
    auto* l2 = hijo<QTableView>("ListView2");
    auto* l4 = hijo<QTableView>("ListView4");
    QAbstractItemModelTester p2(l2->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    QAbstractItemModelTester p4(l4->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    QVERIFY(l2->isVisible());
    QVERIFY(!l4->isVisible());
    QCOMPARE(l2->model()->columnCount(), 8);
    QCOMPARE(l4->model()->columnCount(), 14);
    QCOMPARE(l2->model()->rowCount(), 4);  // the newest draw: separator, header, date, one bet
    QCOMPARE(l4->model()->rowCount(), 4);

    QTest::mouseClick(hijo<QPushButton>("Command1_1"), Qt::LeftButton);
    QVERIFY(l4->isVisible());
    QVERIFY(!l2->isVisible());
    QTest::mouseClick(hijo<QPushButton>("Command1_0"), Qt::LeftButton);
    QVERIFY(l2->isVisible());

    // A view item: tab 0, the multiple view, then the two check boxes, each re-checking.
    w->SSTab1()->setCurrentIndex(2);
    hijo<QScrollBar>("HScroll1")->setValue(40);
    w->findChild<QAction*>(QStringLiteral("verhistom"))->trigger();
    QCOMPARE(w->SSTab1()->currentIndex(), 0);
    QVERIFY(l4->isVisible());
    QVERIFY(hijo<QCheckBox>("Check1")->isChecked());
    QVERIFY(!hijo<QCheckBox>("Check2")->isChecked());
    const int todas = l4->model()->rowCount();
    QVERIFY(todas >= 40 * 4);
    w->findChild<QAction*>(QStringLiteral("verpremiom"))->trigger();
    QVERIFY(hijo<QCheckBox>("Check2")->isChecked());
    QVERIFY(!hijo<QCheckBox>("Check1")->isChecked());
    QVERIFY(l4->model()->rowCount() < todas);
    w->findChild<QAction*>(QStringLiteral("sencillas"))->trigger();
    QVERIFY(l2->isVisible());
    QVERIFY(hijo<QCheckBox>("Check2")->isChecked());  // left as it was
  }

  void rotuloDePremio() {
    // A peña that matches the newest draw of the history (16/08/2026: 7 8 11 31 35, key 1).
    Pena p = nuevaPena(QStringLiteral("GANA"), 1, QDate(2010, 1, 1));
    const int n[6] = {7, 8, 11, 31, 35, 1};
    for (int i = 0; i < 6; ++i) p.ponerApuesta(i + 1, 1, static_cast<int16_t>(n[i]));
    abrir({p});
    ui::Comprobador* c = w->comprobador();
    QVERIFY(!c->Timer3()->isActive());  // checked at start, but not after a download

    // A download that stored nothing leaves the banner off; one that stored a draw starts it.
    emit w->descargador()->sorteosNuevos(0);
    c->compruebapenas(1);
    QVERIFY(!c->Timer3()->isActive());
    emit w->descargador()->sorteosNuevos(1);
    c->compruebapenas(1);
    QVERIFY(c->Timer3()->isActive());
    QCOMPARE(c->Timer3()->interval(), 800);
    QCOMPARE(c->aviso().avisopremio, 1);
    auto* b0 = hijo<QPushButton>("Command1_0");
    auto* b1 = hijo<QPushButton>("Command1_1");
    c->Timer3_Timer();
    QCOMPARE(b0->text(), QStringLiteral("P R E M I O"));
    QCOMPARE(b1->text(), QStringLiteral("M Ú L T I P L E"));
    c->Timer3_Timer();
    QCOMPARE(b0->text(), QStringLiteral("S E N C I L L A"));
    c->Timer3_Timer();
    QTest::mouseClick(b0, Qt::LeftButton);  // the view already shown: only the banner stops
    QVERIFY(!c->Timer3()->isActive());
    QCOMPARE(b0->text(), QStringLiteral("S E N C I L L A"));
    QVERIFY(hijo<QLabel>("Label19")->text().isEmpty());
    QVERIFY(hijo<QTableView>("ListView2")->isVisible());
    // The banner stopped clears the notice: the next check is not one after a download.
    c->compruebapenas(1);
    QVERIFY(!c->Timer3()->isActive());
  }

  void premioQueTraeOtroPrograma_data() {
    QTest::addColumn<int>("nuevos");
    QTest::addColumn<int>("acertado");  // 1 = the newest draw, 2 = the one before; 0 = none
    QTest::addColumn<bool>("rotulo");
    QTest::newRow("el sorteo nuevo") << 1 << 1 << true;
    QTest::newRow("el primero de dos nuevos") << 2 << 2 << true;
    QTest::newRow("dos nuevos sin premio") << 2 << 0 << false;
    QTest::newRow("cambio sin sorteos nuevos") << 0 << 1 << false;
  }
  // The scheduled download stores draws while the window is open: coming back to the
  // window shows them as its own download would, prize banner included.
  void premioQueTraeOtroPrograma() {
    QFETCH(int, nuevos);
    QFETCH(int, acertado);
    QFETCH(bool, rotulo);
    e->copiar(QStringLiteral("numeros.dat"));
    const QByteArray todos = e->leer(QStringLiteral("numeros.dat"));
    const qsizetype total = todos.size() / Sorteo::kTamano;
    Pena p = nuevaPena(QStringLiteral("GANA"), 1, QDate(2010, 1, 1));
    if (acertado > 0) {
      const Sorteo s = Sorteo::decodificar(todos.constData() + (total - acertado) * Sorteo::kTamano);
      for (int i = 1; i <= 6; ++i) p.ponerApuesta(i, 1, s.numero(i));
    }
    e->escribir(QStringLiteral("apuestas.dat"), ArchivoDe<Pena>::codificar({p}));
    e->escribir(QStringLiteral("numeros.dat"), todos.left((total - std::max(nuevos, 1)) * Sorteo::kTamano));
    w = prueba::principalEnPantalla(*e);
    ui::Comprobador* c = w->comprobador();
    QApplication::setActiveWindow(nullptr);
    QVERIFY(!c->Timer3()->isActive());

    // Another program's change: the new draws, or (no new draws) the newest one deleted.
    const qsizetype despues = nuevos > 0 ? total : total - 2;
    e->escribir(QStringLiteral("numeros.dat"), todos.left(despues * Sorteo::kTamano));
    QApplication::setActiveWindow(w.get());
    QTRY_VERIFY(w->isActiveWindow());
    QCOMPARE(c->Timer3()->isActive(), rotulo);
    QCOMPARE(hijo<QTableView>("ListView3")->model()->rowCount(), despues);
    QCOMPARE(hijo<QScrollBar>("HScroll1")->value(), std::max(nuevos, 1));
    if (rotulo) QCOMPARE(c->aviso().avisopremio, 1);
  }

  void graficos() {
    abrir({penaDe(QStringLiteral("UNA"), 1, 0, QDate(2026, 8, 1))});
    auto* g3 = hijo<QWidget>("MSChart3")->findChild<ui::GraficoPena*>();
    QVERIFY(g3->isVisibleTo(hijo<QWidget>("MSChart3")));
    QCOMPARE(hijo<QLabel>("Label17")->text(), QStringLiteral("3"));
    QCOMPARE(g3->datos().sinPremio + g3->datos().premios.value(), 3.0);
    QCOMPARE(hijo<QLineEdit>("Text5")->text(), QStringLiteral("en 3 sorteos"));
  }

  // The whole history, 50 peñas of 24 bets, "Histórico": the list opens and scrolls.
  void listaEnorme() {
    std::vector<Pena> penas;
    for (int i = 0; i < 50; ++i) penas.push_back(penaDe(QStringLiteral("P%1").arg(i), 24, 0, QDate(2020, 1, 1)));
    abrir(penas);
    auto* l2 = hijo<QTableView>("ListView2");
    hijo<QCheckBox>("Check1")->setChecked(true);
    QElapsedTimer t;
    t.start();
    hijo<QScrollBar>("HScroll1")->setValue(hijo<QScrollBar>("HScroll1")->maximum());
    const qint64 comprobar = t.restart();
    QCOMPARE(l2->model()->rowCount(), 1114 * 50 * 27);
    l2->scrollToBottom();
    QApplication::processEvents();
    l2->scrollTo(l2->model()->index(750000, 7));
    QApplication::processEvents();
    qInfo("1.503.900 filas: comprobar %lld ms, desplazar %lld ms", comprobar, t.elapsed());
    // The last row is bet 24 of the last peña in the oldest draw.
    QVERIFY(!l2->model()->index(l2->model()->rowCount() - 1, 1).data().toString().isEmpty());
    QVERIFY(l2->model()->index(l2->model()->rowCount() - 1, 6).data().toString().isEmpty());
  }
};

QTEST_MAIN(TestGestor)
#include "test_gestor.moc"
