#include <QAction>
#include <QHeaderView>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTableView>
#include <QtTest>
#include <memory>

#include "app/principal.h"
#include "base/fechas.h"
#include "gui/main/tabestadisticas.h"
#include "gui/money/tabcuentas.h"
#include "gui/ui/controles.h"
#include "gui/ui/tablaordenable.h"
#include "operations/sorteos.h"
#include "support/controles.h"
#include "support/dobles.h"
#include "support/ventana.h"

using namespace sortilan;
using namespace sortilan::ui;
using namespace Qt::StringLiterals;
using plataforma::Respuesta;
using prueba::control;

namespace {

using Celdas = QList<std::pair<QString, QVariant>>;

// A column of texts, each with the value it sorts by (none where the QVariant is invalid).
QStandardItemModel* columna(QObject* padre, const Celdas& celdas) {
  auto* m = new QStandardItemModel(0, 1, padre);
  for (const auto& [texto, valor] : celdas) {
    auto* i = new QStandardItem(texto);
    if (valor.isValid()) i->setData(valor, kRolOrden);
    m->appendRow(i);
  }
  return m;
}

QStringList textos(const QAbstractItemModel& m) {
  QStringList r;
  for (int f = 0; f < m.rowCount(); ++f) r << m.index(f, 0).data().toString();
  return r;
}

}  // namespace

class PruebaTablas : public QObject {
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

  // A click on a header sorts amounts and dates by value, never by their text; cells
  // without a value go first, names sort with their digits as numbers.
  void ordenPorValor_data() {
    QTest::addColumn<Celdas>("celdas");
    QTest::addColumn<QStringList>("ascendente");
    using C = Celdas;
    QTest::newRow("importes") << C{{u"9,00"_s, 900LL},
                                   {u"1.234,56"_s, 123456LL},
                                   {u"-12,00"_s, -1200LL},
                                   {u"10,00"_s, 1000LL}}
                              << QStringList{u"-12,00"_s, u"9,00"_s, u"10,00"_s, u"1.234,56"_s};
    QTest::newRow("fechas") << C{{u"02/01/2021"_s, QDate(2021, 1, 2)},
                                 {u"10/12/2020"_s, QDate(2020, 12, 10)},
                                 {u"01/02/2021"_s, QDate(2021, 2, 1)}}
                            << QStringList{u"10/12/2020"_s, u"02/01/2021"_s, u"01/02/2021"_s};
    QTest::newRow("importe pendiente primero")
        << C{{u"5,00"_s, 500LL}, {u"importe pendiente"_s, QVariant()}, {u"0,00"_s, 0LL}}
        << QStringList{u"importe pendiente"_s, u"0,00"_s, u"5,00"_s};
    QTest::newRow("nombres") << C{{u"Peña 10"_s, {}}, {u"peña 9"_s, {}}, {u"Amigos"_s, {}}}
                             << QStringList{u"Amigos"_s, u"peña 9"_s, u"Peña 10"_s};
  }
  void ordenPorValor() {
    QFETCH(Celdas, celdas);
    QFETCH(QStringList, ascendente);
    QTableView v;
    QStandardItemModel* m = columna(&v, celdas);
    v.setModel(m);
    ordenarPorCabecera(v);
    // Until a header is clicked the list keeps the model's order.
    QCOMPARE(textos(*v.model()), textos(*m));
    QTest::mouseClick(v.horizontalHeader()->viewport(), Qt::LeftButton, {},
                      QPoint(v.horizontalHeader()->sectionViewportPosition(0) + 5, 5));
    QStringList esperado = ascendente;
    if (v.horizontalHeader()->sortIndicatorOrder() == Qt::DescendingOrder)
      std::reverse(esperado.begin(), esperado.end());
    QCOMPARE(textos(*v.model()), esperado);
    v.sortByColumn(0, Qt::AscendingOrder);
    QCOMPARE(textos(*v.model()), ascendente);
    // The row highlighted is the model's row, whatever the order on screen.
    v.selectRow(0);
    QCOMPARE(m->index(filaResaltada(v), 0).data().toString(), ascendente.first());
    QCOMPARE(indiceVista(v, filaResaltada(v)).row(), 0);
    // A cell cut by its column tells its whole text.
    QCOMPARE(v.model()->index(0, 0).data(Qt::ToolTipRole).toString(), ascendente.first());
  }

  // The draw list sorted oldest first and searched: the typed text keeps the draws it names,
  // and a click on a row asks about the draw on that row, not the one the model has there.
  void listaDeSorteos() {
    abrir();
    QTableView* lista = control<QTableView>(p_->estadisticas(), "ListView3");
    auto* filtro = control<QLineEdit>(p_->estadisticas(), "FiltroSorteos");
    QCOMPARE(lista->model()->rowCount(), 1114);
    lista->sortByColumn(1, Qt::AscendingOrder);
    QCOMPARE(lista->model()->index(0, 1).data().toString(), u"06/02/2005  Domingo"_s);
    QCOMPARE(lista->model()->index(1113, 1).data().toString(), u"16/08/2026  Domingo"_s);

    QTest::keyClicks(filtro, u"08/2026"_s);
    QCOMPARE(lista->model()->rowCount(), 3);
    QStringList fechas;
    for (int f = 0; f < 3; ++f) fechas << lista->model()->index(f, 1).data().toString().left(10);
    QCOMPARE(fechas, (QStringList{u"02/08/2026"_s, u"09/08/2026"_s, u"16/08/2026"_s}));
    filtro->clear();
    QTest::keyClicks(filtro, u"7 8 11"_s);
    QVERIFY(lista->model()->rowCount() >= 1);
    for (int f = 0; f < lista->model()->rowCount(); ++f) {
      const QString n = lista->model()->index(f, 0).data().toString();
      for (const QString& x : {u" 7"_s, u" 8"_s, u"11"_s}) QVERIFY2(n.contains(x), qPrintable(n));
    }
    filtro->clear();
    QTest::keyClicks(filtro, u"06/02/2005"_s);
    QCOMPARE(lista->model()->rowCount(), 1);

    // Deleting from the sorted, searched list deletes the draw shown: the oldest one.
    const QByteArray antes = e_->leer(u"numeros.dat"_s);
    p_->findChild<QAction*>(u"borrpe"_s)->trigger();  // No, No: only arms the row clicks
    e_->mensajes->vistos.clear();
    e_->mensajes->respuestas = {Respuesta::Si};
    p_->SSTab1()->setCurrentIndex(3);
    QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, lista->visualRect(lista->model()->index(0, 0)).center());
    QCOMPARE(e_->mensajes->vistos.size(), 1);
    QCOMPARE(e_->mensajes->vistos[0].texto, operaciones::kPreguntaBorrarUno);
    QCOMPARE(e_->leer(u"numeros.dat"_s), antes.mid(24));
    QCOMPARE(lista->model()->rowCount(), 0);
    filtro->clear();
    QCOMPARE(lista->model()->rowCount(), 1113);
  }

  // The real lists sort amounts by their cents: as texts "11.592,00" would come before "3.381,00".
  void cuentasPorImporte() {
    e_->copiar(u"penas_impresion.dat"_s, u"apuestas.dat"_s);
    abrir();
    p_->SSTab1()->setCurrentWidget(p_->cuentas());
    auto* lista = control<QTableView>(p_->cuentas(), "ListaPenasCuentas");
    const auto columna = [lista](int c) {
      QStringList r;
      for (int f = 0; f < lista->model()->rowCount(); ++f) r << lista->model()->index(f, c).data().toString();
      return r;
    };
    QCOMPARE(columna(0), (QStringList{u"Peña Oficina"_s, u"Múltiple Bar"_s, u"Veinticuatro"_s}));
    lista->sortByColumn(2, Qt::AscendingOrder);
    QCOMPARE(columna(2), (QStringList{u"3.381,00"_s, u"11.592,00"_s, u"27.048,00"_s}));
    lista->sortByColumn(5, Qt::AscendingOrder);  // the net, negative
    QCOMPARE(columna(5), (QStringList{u"-27.048,00"_s, u"-11.592,00"_s, u"-3.381,00"_s}));
    // The peña chosen on a sorted list is the one on that row.
    lista->selectRow(0);
    QCOMPARE(p_->cuentas()->penaSeleccionada(), 2);
  }

 private:
  void abrir() {
    p_ = prueba::principalEnPantalla(*e_);
    QTest::qWait(0);
    e_->mensajes->vistos.clear();
  }
  std::unique_ptr<prueba::Entorno> e_;
  std::unique_ptr<Principal> p_;
};

QTEST_MAIN(PruebaTablas)
#include "test_tablas.moc"
