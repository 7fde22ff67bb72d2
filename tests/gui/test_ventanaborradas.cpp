// A deleted peña through the window: the question says what is kept, and "Socios" and
// "Cuentas" show it afterwards only to look at.
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>
#include <memory>

#include "app/principal.h"
#include "gui/members/tabsocios.h"
#include "gui/money/tabcuentas.h"
#include "operations/dinero.h"
#include "operations/socios.h"
#include "store/archivoregistros.h"
#include "support/controles.h"
#include "support/dobles.h"
#include "support/ventana.h"

using namespace sortilan;
using plataforma::Respuesta;
using prueba::control;

namespace {

const QDate kHoy(2021, 3, 20);
const QDate k7Marzo(2021, 3, 7);

Pena penaDe(const QString& nombre, std::array<int, 6> apuesta) {
  Pena p = nuevaPena(nombre, 1, QDate(2021, 1, 1));
  for (int i = 0; i < 6; ++i) p.ponerApuesta(i + 1, 1, static_cast<int16_t>(apuesta[static_cast<size_t>(i)]));
  return p;
}

QString celda(QTableView* v, int fila, int columna = 0) { return v->model()->index(fila, columna).data().toString(); }

}  // namespace

class TestPenasBorradasVentana : public QObject {
  Q_OBJECT

  std::unique_ptr<prueba::Entorno> e;
  std::unique_ptr<ui::Principal> w;

 private slots:
  // PREMIADA wins on 7 March 2021, collected and split between its two members; SEGUNDA
  // has one member of its own.
  void init() {
    e = std::make_unique<prueba::Entorno>(kHoy);
    e->escribir(QStringLiteral("numeros.dat"), prueba::leerDatoPrueba(QStringLiteral("numeros.dat")).left(830 * 24));
    e->escribir(QStringLiteral("apuestas.dat"),
                ArchivoDe<Pena>::codificar({penaDe(QStringLiteral("PREMIADA"), {15, 24, 40, 42, 1, 9}),
                                            penaDe(QStringLiteral("SEGUNDA"), {2, 3, 4, 5, 6, 0})}));
    prueba::exigir(operaciones::guardarPremiosRespuesta(
        e->carpeta.path(), prueba::leerDatoPrueba(QStringLiteral("respuesta_ejemplo.json"))));
    Almacen almacen;
    prueba::exigir(almacen.abrir(e->carpeta.path()));
    for (const char* n : {"Ana", "Luis"})
      prueba::exigir(operaciones::altaSocio(almacen, 1, {QString::fromUtf8(n), {}, {}}, 1, QDate(2021, 1, 1)));
    prueba::exigir(operaciones::altaSocio(almacen, 2, {QStringLiteral("Eva"), {}, {}}, 1, QDate(2021, 1, 1)));
    prueba::exigir(operaciones::anotarMovimiento(almacen, 1, 1, Concepto::Aportacion, 2000, QDate(2021, 1, 2), kHoy));
    prueba::exigir(operaciones::marcarCobro(almacen, 1, k7Marzo, QDate(2021, 3, 9), kHoy));
    prueba::exigir(operaciones::repartirPremio(almacen, 1, k7Marzo, true, kHoy));
    w = prueba::principalEnPantalla(*e);
    e->mensajes->vistos.clear();  // the start's own warnings
  }
  void cleanup() {
    w.reset();
    e.reset();
  }

  void borrarYConsultar() {
    // "Eliminar peña" on the first row, highlighted at start: answered No by default.
    w->SSTab1()->setCurrentIndex(2);
    auto* borrar = control<QPushButton>(w.get(), "Command3");
    QTest::mouseClick(borrar, Qt::LeftButton);
    QCOMPARE(e->mensajes->vistos.size(), 1);
    QCOMPARE(e->mensajes->vistos.last().texto,
             QStringLiteral("¿Seguro que quieres eliminar la Peña PREMIADA?\n\nTiene 2 socios, 3 movimientos, 1 cobro "
                            "anotado y 1 reparto; sus saldos y extractos se conservan. Se podrán consultar entre las "
                            "peñas borradas."));
    QCOMPARE(e->mensajes->vistos.last().predeterminada, Respuesta::No);
    QCOMPARE(w->sesion().penas().size(), size_t{2});

    auto* socios = control<ui::TabSocios>(w.get(), "TabSocios");
    w->SSTab1()->setCurrentWidget(socios);
    const std::vector<Centimos> saldos = socios->socios().saldos();
    QCOMPARE(saldos.size(), size_t{2});

    w->SSTab1()->setCurrentIndex(2);
    e->mensajes->respuestas << Respuesta::Si;
    QTest::mouseClick(borrar, Qt::LeftButton);
    QCOMPARE(w->sesion().penas().size(), size_t{1});

    // "Socios": the live peña first, with its own member; the deleted one at the end.
    w->SSTab1()->setCurrentWidget(socios);
    QComboBox* combo = control<QComboBox>(socios, "ComboPenaSocios");
    QCOMPARE(combo->currentText(), QStringLiteral("1. SEGUNDA"));
    QCOMPARE(celda(control<QTableView>(socios, "TablaSocios"), 0, 1), QStringLiteral("Eva"));
    QCOMPARE(combo->itemText(combo->count() - 1), QStringLiteral("B1. PREMIADA (borrada el 20/03/2021)"));
    combo->setCurrentIndex(combo->count() - 1);
    QCOMPARE(socios->penaSeleccionada(), 0);
    QCOMPARE(socios->borradaSeleccionada(), 1);
    QCOMPARE(control<QTableView>(socios, "TablaSocios")->model()->rowCount(), 2);
    QCOMPARE(celda(control<QTableView>(socios, "TablaSocios"), 0, 1), QStringLiteral("Ana"));
    QCOMPARE(socios->socios().saldos(), saldos);
    QCOMPARE(control<QComboBox>(socios, "ComboPremios")->count(), 1);  // its split prize, to look at
    for (QPushButton* b :
         {control<QPushButton>(socios, "CommandAlta"), control<QPushButton>(socios, "CommandBaja"),
          control<QPushButton>(socios, "CommandParticipaciones"), control<QPushButton>(socios, "CommandAportacion"),
          control<QPushButton>(socios, "CommandPago"), control<QPushButton>(socios, "CommandRepartir")})
      QVERIFY2(!b->isEnabled(), qPrintable(b->objectName()));
    for (QPushButton* b :
         {control<QPushButton>(socios, "CommandExtractoPdf"), control<QPushButton>(socios, "CommandExtractoCsv"),
          control<QPushButton>(socios, "CommandDocumentoPdf")})
      QVERIFY2(b->isEnabled(), qPrintable(b->objectName()));
    QTest::mouseClick(control<QPushButton>(socios, "CommandExtractoCsv"), Qt::LeftButton);
    QCOMPARE(e->dialogo->carpetas.last().section(QLatin1Char('/'), -1), QStringLiteral("extracto-pena-B1-socio-1.csv"));

    // "Cuentas": ticking "Peñas borradas" shows their money, nothing of it to change.
    auto* cuentas = control<ui::TabCuentas>(w.get(), "TabCuentas");
    w->SSTab1()->setCurrentWidget(cuentas);
    auto* lista = control<QTableView>(cuentas, "ListaPenasCuentas");
    QCOMPARE(lista->model()->rowCount(), 1);
    QCOMPARE(celda(lista, 0), QStringLiteral("SEGUNDA"));
    control<QCheckBox>(cuentas, "CheckBorradas")->setChecked(true);
    QCOMPARE(lista->model()->rowCount(), 1);
    QCOMPARE(celda(lista, 0), QStringLiteral("B1. PREMIADA (borrada el 20/03/2021)"));
    QCOMPARE(cuentas->penaSeleccionada(), 1);
    cuentas->seleccionar(1, k7Marzo);
    QVERIFY(cuentas->cobroSeleccionado());
    QCOMPARE(cuentas->cobroSeleccionado()->estado, EstadoCobro::Cobrado);
    QVERIFY(!control<QPushButton>(cuentas, "CommandPendiente")->isEnabled());
    QVERIFY(!control<QPushButton>(cuentas, "CommandCobrar")->isEnabled());
    QVERIFY(control<QPushButton>(cuentas, "CommandCsv")->isEnabled());
    control<QCheckBox>(cuentas, "CheckBorradas")->setChecked(false);
    QCOMPARE(celda(lista, 0), QStringLiteral("SEGUNDA"));
  }
};

QTEST_MAIN(TestPenasBorradasVentana)
#include "test_ventanaborradas.moc"
