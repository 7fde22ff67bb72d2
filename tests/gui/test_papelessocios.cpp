// The members' papers as PDF (pages, the member lines in their text, the NIF only when
// asked) and the tab "Socios" driven as a user would through a small season.
#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QMessageBox>
#include <QPdfDocument>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableView>
#include <QtTest>

#include "gui/members/controlsocios.h"
#include "gui/members/modelossocios.h"
#include "gui/members/tabsocios.h"
#include "gui/platform/adaptadoresqt.h"
#include "members/registrosocios.h"
#include "operations/dinero.h"
#include "operations/socios.h"
#include "painters/pdfsocios.h"
#include "store/almacen.h"
#include "support/controles.h"
#include "support/dobles.h"

using namespace sortilan;
using operaciones::guardarPremiosRespuesta;
using operaciones::marcarCobro;
using prueba::control;

namespace {

const QDate k7Marzo(2021, 3, 7);

// The history up to 7 March 2021, the sample's prize tables, and a peña playing since
// `creacion` whose bet wins 47.445,95 € (3ª) on 7 March.
void preparar(prueba::Entorno& e, Almacen& almacen, QDate creacion) {
  e.escribir(QStringLiteral("numeros.dat"), prueba::leerDatoPrueba(QStringLiteral("numeros.dat")).left(830 * 24));
  Pena p = nuevaPena(QStringLiteral("PREMIADA"), 1, creacion);
  const int numeros[5] = {15, 24, 40, 42, 1};
  for (int i = 0; i < 5; ++i) p.ponerApuesta(i + 1, 1, static_cast<int16_t>(numeros[i]));
  p.ponerApuesta(6, 1, 9);
  e.escribir(QStringLiteral("apuestas.dat"), p.codificar());
  prueba::exigir(almacen.abrir(e.carpeta.path()));
  prueba::exigir(
      guardarPremiosRespuesta(e.carpeta.path(), prueba::leerDatoPrueba(QStringLiteral("respuesta_ejemplo.json"))));
}

struct Pdf {
  int paginas = 0;
  QString texto;  // every page's text
};

Pdf leerPdf(const QByteArray& datos, const QString& ruta) {
  QFile f(ruta);
  if (!f.open(QIODevice::WriteOnly) || f.write(datos) != datos.size()) return {};
  f.close();
  QPdfDocument doc;
  if (doc.load(ruta) != QPdfDocument::Error::None) return {};
  Pdf p;
  p.paginas = doc.pageCount();
  for (int i = 0; i < p.paginas; ++i) p.texto += doc.getAllText(i).text() + QLatin1Char('\n');
  return p;
}

// Cells of a row of a table widget, joined by '|'.
QString fila(const QTableView* t, int f) {
  QStringList c;
  for (int i = 0; i < t->model()->columnCount(); ++i) c << t->model()->index(f, i).data().toString();
  return c.join(QLatin1Char('|'));
}

// Highlights the row of the statement holding stored movement `numero`; false if none.
bool elegirMovimiento(QTableView* t, qint64 numero) {
  for (int f = 0; f < t->model()->rowCount(); ++f)
    if (t->model()->index(f, 0).data(ui::ModeloMovimientos::kRolMovimiento).toLongLong() == numero) {
      t->selectRow(f);
      return true;
    }
  return false;
}

}  // namespace

class TestPapelesSocios : public QObject {
  Q_OBJECT
 private slots:
  void papeles() {
    prueba::Entorno e(QDate(2021, 3, 20));
    Almacen almacen;
    // Playing since 2005: a long statement over several pages.
    preparar(e, almacen, QDate(2005, 1, 1));
    prueba::exigir(operaciones::altaSocio(almacen, 1, {QStringLiteral("Ana García"), QStringLiteral("12345678Z"), {}},
                                          2, QDate(2005, 1, 1)));
    const char* otros[] = {"Luis Pérez", "Marta Ruiz", "Jesús Núñez", "Carmen Díaz", "Pedro Gil", "Sofía Romero"};
    for (const char* n : otros)
      prueba::exigir(operaciones::altaSocio(almacen, 1, {QString::fromUtf8(n), {}, {}}, 1, QDate(2020, 6, 1)));
    prueba::exigir(marcarCobro(almacen, 1, k7Marzo, QDate(2021, 3, 9), e.reloj->dia));
    prueba::exigir(operaciones::repartirPremio(almacen, 1, k7Marzo, true, e.reloj->dia));
    SociosPena socios;
    prueba::exigir(
        leerSociosPena(e.carpeta.path(), almacen.penas().leerTodos(), almacen.sorteos().leerTodos(), 1, socios));

    DocumentoReparto d;
    prueba::exigir(leerDocumentoReparto(e.carpeta.path(), almacen.penas().leerTodos(), almacen.sorteos().leerTodos(), 1,
                                        k7Marzo, d));
    int paginas = 0;
    const Pdf conNif = leerPdf(ui::pdfReparto(d, true, &paginas), e.ruta(QStringLiteral("reparto.pdf")));
    QCOMPARE(conNif.paginas, 1);
    QCOMPARE(paginas, 1);
    // Ana 2 of 8 shares: a quarter of 47.445,95 €, 1.489,19 € withheld.
    for (const char* t :
         {"Ana García", "12345678Z", "11.861,49", "372,29", "11.489,20", "Sofía Romero", "47.445,95", "1.489,19",
          "45.956,76", "Apuesta 1: 15 24 40 42 01 + clave 9: 3ª categoría (4 + clave)", "Firma"})
      QVERIFY2(conNif.texto.contains(QString::fromUtf8(t)), t);
    for (const LineaReparto& l : d.lineas) QVERIFY(conNif.texto.contains(l.nombre));
    const Pdf sinNif = leerPdf(ui::pdfReparto(d, false), e.ruta(QStringLiteral("reparto2.pdf")));
    QVERIFY(sinNif.texto.contains(QStringLiteral("Sofía Romero")));
    QVERIFY(!sinNif.texto.contains(QStringLiteral("12345678Z")));

    const std::optional<Extracto> ex = extracto(socios, 1, QDate(), QDate());
    QVERIFY(ex);
    const Pdf largo = leerPdf(ui::pdfExtracto(*ex, false, &paginas), e.ruta(QStringLiteral("extracto.pdf")));
    QVERIFY2(largo.paginas > 5, qPrintable(QString::number(largo.paginas)));
    QCOMPARE(largo.paginas, paginas);
    // The header on every page, the last movement and the total on the last.
    // (The text reader may split a page's first line letter by letter.)
    QCOMPARE(QString(largo.texto).remove(QRegularExpression(QStringLiteral("\\s"))).count(QStringLiteral("Concepto")),
             largo.paginas);
    QVERIFY(largo.texto.contains(QStringLiteral("Página %1").arg(largo.paginas)));
    QVERIFY(largo.texto.contains(QStringLiteral("Total")));
    QVERIFY(largo.texto.contains(textoSaldo(ex->saldo)));
    QVERIFY(!largo.texto.contains(QStringLiteral("12345678Z")));
    const Pdf corto = leerPdf(ui::pdfExtracto(*extracto(socios, 1, QDate(2021, 3, 1), QDate(2021, 3, 31)), true),
                              e.ruta(QStringLiteral("corto.pdf")));
    QCOMPARE(corto.paginas, 1);
    QVERIFY(corto.texto.contains(QStringLiteral("12345678Z")));
    QVERIFY(corto.texto.contains(QStringLiteral("premio")));
  }

  // A season through the tab: members in, money in, a prize split and its paper saved.
  void pestana() {
    prueba::Entorno e(QDate(2021, 3, 20));
    Almacen almacen;
    preparar(e, almacen, QDate(2021, 1, 1));
    ui::TabSocios tab;
    ui::ControlSocios controlador(almacen, tab);
    // Every change of the lists below is checked against the model rules as it happens.
    QAbstractItemModelTester probarSocios(control<QTableView>(&tab, "TablaSocios")->model(),
                                          QAbstractItemModelTester::FailureReportingMode::QtTest);
    QAbstractItemModelTester probarMovimientos(control<QTableView>(&tab, "TablaMovimientos")->model(),
                                               QAbstractItemModelTester::FailureReportingMode::QtTest);
    controlador.actualizar();
    QCOMPARE(tab.penaSeleccionada(), 1);
    QCOMPARE(control<QTableView>(&tab, "TablaSocios")->model()->rowCount(), 0);
    QVERIFY(!control<QPushButton>(&tab, "CommandAportacion")->isEnabled());

    const auto alta = [&](const QString& nombre, int participaciones, QDate desde) {
      control<QLineEdit>(&tab, "EditNombre")->setText(nombre);
      control<QSpinBox>(&tab, "SpinParticipaciones")->setValue(participaciones);
      control<QDateEdit>(&tab, "FechaSocio")->setDate(desde);
      QTest::mouseClick(control<QPushButton>(&tab, "CommandAlta"), Qt::LeftButton);
    };
    alta(QStringLiteral("Ana"), 2, QDate(2021, 1, 1));
    alta(QStringLiteral("Luis"), 1, QDate(2021, 2, 1));
    QCOMPARE(control<QTableView>(&tab, "TablaSocios")->model()->rowCount(), 2);
    QCOMPARE(tab.socioSeleccionado(), 2);
    // The new member is highlighted and the form shows what was stored.
    QCOMPARE(control<QLineEdit>(&tab, "EditNombre")->text(), QStringLiteral("Luis"));
    // The same name again is refused with the reason and nothing changes.
    alta(QStringLiteral("ana"), 1, QDate(2021, 1, 1));
    QCOMPARE(e.mensajes->vistos.size(), 1);
    QCOMPARE(e.mensajes->vistos.last().texto, QStringLiteral("Ana ya es el socio 1 de la peña PREMIADA."));
    QCOMPARE(control<QTableView>(&tab, "TablaSocios")->model()->rowCount(), 2);

    tab.seleccionarSocio(1);
    control<QLineEdit>(&tab, "EditImporte")->setText(QStringLiteral("20,00"));
    control<QDateEdit>(&tab, "FechaMovimiento")->setDate(QDate(2021, 1, 2));
    QTest::mouseClick(control<QPushButton>(&tab, "CommandAportacion"), Qt::LeftButton);
    control<QLineEdit>(&tab, "EditImporte")->setText(QStringLiteral("veinte"));
    QTest::mouseClick(control<QPushButton>(&tab, "CommandPago"), Qt::LeftButton);
    QCOMPARE(e.mensajes->vistos.last().texto, QStringLiteral("Escriba el importe en euros, por ejemplo 25,50."));
    // A decimal point books nothing either: 25.5 is not guessed to be 25,50 or 255.
    control<QLineEdit>(&tab, "EditImporte")->setText(QStringLiteral("25.5"));
    QTest::mouseClick(control<QPushButton>(&tab, "CommandAportacion"), Qt::LeftButton);
    QCOMPARE(e.mensajes->vistos.last().texto, QStringLiteral("Escriba el importe en euros, por ejemplo 25,50."));
    // Ana alone pays the five January draws, then two thirds of the five since Luis joined.
    QCOMPARE(fila(control<QTableView>(&tab, "TablaSocios"), 0), QStringLiteral("1|Ana|2|01/01/2021||7,50 €"));
    QCOMPARE(fila(control<QTableView>(&tab, "TablaSocios"), 1), QStringLiteral("2|Luis|1|01/02/2021||debe 2,50 €"));
    // The member number travels in the row, whatever the cells show; a debt reads red.
    for (int f = 0; f < 2; ++f)
      QCOMPARE(control<QTableView>(&tab, "TablaSocios")
                   ->model()
                   ->index(f, ui::ModeloSocios::Nombre)
                   .data(ui::ModeloSocios::kRolNumero),
               f + 1);
    QCOMPARE(control<QTableView>(&tab, "TablaSocios")
                 ->model()
                 ->index(1, ui::ModeloSocios::Saldo)
                 .data(Qt::ForegroundRole)
                 .value<QColor>(),
             QColor(0xC0, 0, 0));
    QVERIFY(!control<QTableView>(&tab, "TablaSocios")
                 ->model()
                 ->index(0, ui::ModeloSocios::Saldo)
                 .data(Qt::ForegroundRole)
                 .isValid());
    QCOMPARE(fila(control<QTableView>(&tab, "TablaMovimientos"),
                  control<QTableView>(&tab, "TablaMovimientos")->model()->rowCount() - 1),
             QStringLiteral("02/01/2021|aportación|20,00 €|20,00 €"));

    tab.seleccionarSocio(2);
    control<QSpinBox>(&tab, "SpinParticipaciones")->setValue(3);
    control<QDateEdit>(&tab, "FechaSocio")->setDate(QDate(2021, 3, 1));
    e.mensajes->respuestas = {plataforma::Respuesta::Si};
    QTest::mouseClick(control<QPushButton>(&tab, "CommandParticipaciones"), Qt::LeftButton);
    QCOMPARE(e.mensajes->vistos.last().texto, QStringLiteral("¿Cambiar las participaciones de Luis de 1 a 3 desde el "
                                                             "01/03/2021?"));
    QCOMPARE(tab.socios().socio(2)->participacionesEn(k7Marzo), 3);

    // A collected prize appears to split; answering No records nothing.
    QCOMPARE(control<QComboBox>(&tab, "ComboPremios")->count(), 0);
    prueba::exigir(marcarCobro(almacen, 1, k7Marzo, QDate(2021, 3, 9), e.reloj->dia));
    controlador.actualizar();
    QCOMPARE(control<QComboBox>(&tab, "ComboPremios")->count(), 1);
    QCOMPARE(control<QComboBox>(&tab, "ComboPremios")->currentText(),
             QStringLiteral("07/03/2021: neto 45.956,76 € (sin repartir)"));
    QVERIFY(control<QPushButton>(&tab, "CommandRepartir")->isEnabled());
    QVERIFY(!control<QPushButton>(&tab, "CommandDocumentoPdf")->isEnabled());
    QTest::mouseClick(control<QPushButton>(&tab, "CommandRepartir"), Qt::LeftButton);
    QCOMPARE(e.mensajes->vistos.last().titulo, QStringLiteral("Reparto del premio"));
    QVERIFY(!tab.socios().reparto(k7Marzo));

    control<QRadioButton>(&tab, "OptionReinvertir")->setChecked(true);
    e.mensajes->respuestas = {plataforma::Respuesta::Si};
    QTest::mouseClick(control<QPushButton>(&tab, "CommandRepartir"), Qt::LeftButton);
    QVERIFY(tab.socios().reparto(k7Marzo));
    QVERIFY(!tab.socios().reparto(k7Marzo)->pagado);
    QCOMPARE(control<QComboBox>(&tab, "ComboPremios")->currentText(),
             QStringLiteral("07/03/2021: neto 45.956,76 € (repartido)"));
    QVERIFY(!control<QPushButton>(&tab, "CommandRepartir")->isEnabled());
    // Luis 3 of 5 shares on 7 March: 27.573,06 € net stays in his balance.
    QCOMPARE(tab.socios().saldo(2), Centimos{2757406 - 4 * 50 - 90});

    QSignalSpy guardados(&controlador, &ui::ControlSocios::archivoGuardado);
    e.dialogo->siguiente = e.ruta(QStringLiteral("reparto.pdf"));
    QTest::mouseClick(control<QPushButton>(&tab, "CommandDocumentoPdf"), Qt::LeftButton);
    QCOMPARE(e.leer(QStringLiteral("reparto.pdf")).left(4), QByteArray("%PDF"));
    e.dialogo->siguiente = e.ruta(QStringLiteral("reparto.csv"));
    QTest::mouseClick(control<QPushButton>(&tab, "CommandDocumentoCsv"), Qt::LeftButton);
    QVERIFY(e.leer(QStringLiteral("reparto.csv")).contains("2;\"Luis\";;3;"));
    tab.seleccionarSocio(1);
    e.dialogo->siguiente = e.ruta(QStringLiteral("extracto.csv"));
    QTest::mouseClick(control<QPushButton>(&tab, "CommandExtractoCsv"), Qt::LeftButton);
    QVERIFY(e.leer(QStringLiteral("extracto.csv")).contains("09/03/2021;premio;"));
    QCOMPARE(guardados, (QList<QVariantList>{{e.ruta(QStringLiteral("reparto.pdf"))},
                                             {e.ruta(QStringLiteral("reparto.csv"))},
                                             {e.ruta(QStringLiteral("extracto.csv"))}}));
  }

  // The forms guard against slips: selecting fills the member form, an amount is booked
  // once and cleared, a large one is read back in words, and leaving or changing shares
  // asks first; every question defaults to No.
  void entradaSegura() {
    prueba::Entorno e(QDate(2021, 3, 20));
    Almacen almacen;
    preparar(e, almacen, QDate(2021, 1, 1));
    prueba::exigir(operaciones::altaSocio(
        almacen, 1, {QStringLiteral("ANA GARCÍA"), QStringLiteral("12345678Z"), QStringLiteral("ana@correo.es")}, 2,
        QDate(2021, 1, 1)));
    prueba::exigir(operaciones::altaSocio(almacen, 1, {QStringLiteral("Luis"), {}, {}}, 1, QDate(2021, 2, 1)));
    ui::TabSocios tab;
    ui::ControlSocios controlador(almacen, tab);
    QSignalSpy avisos(&controlador, &ui::ControlSocios::aviso);
    controlador.actualizar();
    tab.seleccionarSocio(2);
    QCOMPARE(control<QLineEdit>(&tab, "EditNombre")->text(), QStringLiteral("Luis"));
    QVERIFY(control<QLineEdit>(&tab, "EditNif")->text().isEmpty());
    tab.seleccionarSocio(1);
    QCOMPARE(control<QLineEdit>(&tab, "EditNombre")->text(), QStringLiteral("ANA GARCÍA"));
    QCOMPARE(control<QLineEdit>(&tab, "EditNif")->text(), QStringLiteral("12345678Z"));
    QCOMPARE(control<QLineEdit>(&tab, "EditContacto")->text(), QStringLiteral("ana@correo.es"));
    QCOMPARE(control<QSpinBox>(&tab, "SpinParticipaciones")->value(), 2);

    // Return books once: the amount is gone after the first.
    auto* importe = control<QLineEdit>(&tab, "EditImporte");
    const auto aportaciones = [&] {
      return std::count_if(tab.socios().movimientos.begin(), tab.socios().movimientos.end(),
                           [](const MovimientoGuardado& m) { return m.concepto == Concepto::Aportacion; });
    };
    importe->setText(QStringLiteral("15,50"));
    QTest::keyClick(importe, Qt::Key_Return);
    QTest::keyClick(importe, Qt::Key_Return);
    QCOMPARE(aportaciones(), 1);
    QVERIFY(importe->text().isEmpty());
    QVERIFY(e.mensajes->vistos.isEmpty());
    QCOMPARE(avisos.size(), 1);
    QCOMPARE(avisos.last().at(0).toString(), QStringLiteral("Anotada la aportación de 15,50 € de ANA GARCÍA"));
    importe->setText(QStringLiteral("5"));
    QTest::mouseClick(control<QPushButton>(&tab, "CommandPago"), Qt::LeftButton);
    QCOMPARE(avisos.last().at(0).toString(), QStringLiteral("Anotado el pago de 5,00 € a ANA GARCÍA"));

    // 1.000,00 € and up: read back in words; No (the default) books nothing and keeps it.
    const struct {
      const char* texto;
      bool pregunta;
    } importes[] = {{"999,99", false}, {"1.000,00", true}, {"99.999.999", true}};
    for (const auto& caso : importes) {
      const int vistos = e.mensajes->vistos.size();
      const auto antes = aportaciones();
      importe->setText(QString::fromUtf8(caso.texto));
      QTest::mouseClick(control<QPushButton>(&tab, "CommandAportacion"), Qt::LeftButton);
      QCOMPARE(e.mensajes->vistos.size(), vistos + (caso.pregunta ? 1 : 0));
      QCOMPARE(aportaciones(), antes + (caso.pregunta ? 0 : 1));
      QCOMPARE(importe->text().isEmpty(), !caso.pregunta);
    }
    QCOMPARE(e.mensajes->vistos.last().predeterminada, plataforma::Respuesta::No);
    QCOMPARE(e.mensajes->vistos.last().texto,
             QStringLiteral("¿Anotar la aportación de 99.999.999,00 € de ANA GARCÍA el 20/03/2021?\n\nImporte: "
                            "noventa y nueve millones novecientos noventa y nueve mil novecientos noventa y nueve "
                            "euros."));
    e.mensajes->respuestas = {plataforma::Respuesta::Si};
    importe->setText(QStringLiteral("1.250,50"));
    QTest::keyClick(importe, Qt::Key_Return);
    QVERIFY(e.mensajes->vistos.last().texto.endsWith(
        QStringLiteral("Importe: mil doscientos cincuenta euros con cincuenta céntimos.")));
    QCOMPARE(tab.socios().movimientos.back().centimos, Centimos{125050});

    // Leaving and changing shares name the member and the day; No changes nothing.
    control<QDateEdit>(&tab, "FechaSocio")->setDate(QDate(2021, 3, 15));
    control<QSpinBox>(&tab, "SpinParticipaciones")->setValue(4);
    QTest::mouseClick(control<QPushButton>(&tab, "CommandParticipaciones"), Qt::LeftButton);
    QCOMPARE(e.mensajes->vistos.last().titulo, QStringLiteral("Cambiar participaciones"));
    QCOMPARE(e.mensajes->vistos.last().predeterminada, plataforma::Respuesta::No);
    QCOMPARE(e.mensajes->vistos.last().texto,
             QStringLiteral("¿Cambiar las participaciones de ANA GARCÍA de 2 a 4 desde el 15/03/2021?"));
    QCOMPARE(tab.socios().socio(1)->participacionesActuales(), 2);
    QTest::mouseClick(control<QPushButton>(&tab, "CommandBaja"), Qt::LeftButton);
    QCOMPARE(e.mensajes->vistos.last().titulo, QStringLiteral("Dar de baja"));
    QCOMPARE(e.mensajes->vistos.last().predeterminada, plataforma::Respuesta::No);
    QVERIFY(e.mensajes->vistos.last().texto.startsWith(QStringLiteral("¿Dar de baja a ANA GARCÍA el 15/03/2021?")));
    QVERIFY(!tab.socios().socio(1)->baja().isValid());
    e.mensajes->respuestas = {plataforma::Respuesta::Si};
    QTest::mouseClick(control<QPushButton>(&tab, "CommandBaja"), Qt::LeftButton);
    QCOMPARE(tab.socios().socio(1)->baja(), QDate(2021, 3, 15));
  }

  // Voids through the tab: nothing happens unless the user says Sí to a question that
  // defaults to No and names what it voids; then the line stays, greyed, with its reversal.
  void anular() {
    prueba::Entorno e(QDate(2021, 3, 20));
    Almacen almacen;
    preparar(e, almacen, QDate(2021, 1, 1));
    prueba::exigir(operaciones::altaSocio(almacen, 1, {QStringLiteral("Ana"), {}, {}}, 2, QDate(2021, 1, 1)));
    prueba::exigir(operaciones::altaSocio(almacen, 1, {QStringLiteral("Luis"), {}, {}}, 1, QDate(2021, 2, 1)));
    const QDate hoy = e.reloj->dia;
    prueba::exigir(
        operaciones::anotarMovimiento(almacen, 1, 1, Concepto::Aportacion, 2000, QDate(2021, 1, 2), hoy));      // nº 1
    prueba::exigir(operaciones::anotarMovimiento(almacen, 1, 1, Concepto::Pago, 300, QDate(2021, 2, 5), hoy));  // nº 2
    ui::TabSocios tab;
    ui::ControlSocios controlador(almacen, tab);
    QSignalSpy avisos(&controlador, &ui::ControlSocios::aviso);
    auto* tabla = control<QTableView>(&tab, "TablaMovimientos");
    auto* anular = control<QPushButton>(&tab, "CommandAnular");
    auto* accion = tabla->findChild<QAction*>(QStringLiteral("AccionAnular"));
    QVERIFY(accion);
    QVERIFY(tabla->actions().contains(accion));
    QAbstractItemModelTester probar(tabla->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    controlador.actualizar();
    tab.seleccionarSocio(1);
    const Centimos inicial = tab.socios().saldo(1);  // 20,00 - 3,00 - 12,50 of costs
    QCOMPARE(inicial, Centimos{2000 - 300 - 1250});

    // A draw's cost is no booking of the user: nothing to void there.
    tabla->selectRow(0);
    QCOMPARE(tab.movimientoSeleccionado()->concepto, Concepto::Coste);
    QVERIFY(!anular->isEnabled());
    QVERIFY(!accion->isEnabled());
    QVERIFY(elegirMovimiento(tabla, 1));
    QVERIFY(anular->isEnabled());
    QVERIFY(accion->isEnabled());

    // No, the default, changes nothing.
    QTest::mouseClick(anular, Qt::LeftButton);
    QCOMPARE(e.mensajes->vistos.size(), 1);
    QCOMPARE(e.mensajes->vistos.last().titulo, QStringLiteral("Anular movimiento"));
    QCOMPARE(e.mensajes->vistos.last().predeterminada, plataforma::Respuesta::No);
    QVERIFY2(e.mensajes->vistos.last().texto.startsWith(
                 QStringLiteral("¿Anular la aportación de 20,00 € del 02/01/2021 de Ana (movimiento 1)?")),
             qPrintable(e.mensajes->vistos.last().texto));
    QCOMPARE(tab.socios().saldo(1), inicial);
    QCOMPARE(avisos.size(), 0);

    // Sí from the context menu, with a reason.
    control<QLineEdit>(&tab, "EditMotivo")->setText(QStringLiteral("anotada dos veces"));
    e.mensajes->respuestas = {plataforma::Respuesta::Si};
    accion->trigger();
    QVERIFY(e.mensajes->vistos.last().texto.contains(QStringLiteral("«anotada dos veces»")));
    QCOMPARE(tab.socios().saldo(1), inicial - 2000);
    QCOMPARE(avisos.size(), 1);
    QCOMPARE(avisos.last().at(0).toString(), QStringLiteral("Anulada la aportación de 20,00 € del 02/01/2021 de Ana"));
    QVERIFY(control<QLineEdit>(&tab, "EditMotivo")->text().isEmpty());
    // Newest first: the reversal on top, the voided line still at the bottom, both grey.
    QCOMPARE(fila(tabla, 0), QStringLiteral("20/03/2021|anulación del nº 1: anotada dos veces|-20,00 €|debe 15,50 €"));
    const int ultima = tabla->model()->rowCount() - 1;
    QCOMPARE(fila(tabla, ultima), QStringLiteral("02/01/2021|aportación nº 1, anulada el 20/03/2021|20,00 €|0,00 €"));
    QCOMPARE(tabla->model()->index(ultima, 1).data(Qt::ForegroundRole).value<QColor>(), QColor(0x80, 0x80, 0x80));
    QVERIFY(elegirMovimiento(tabla, 1));
    QVERIFY(!anular->isEnabled());

    // The real question box: its default button is No, so Return voids nothing.
    plataforma::ponerMensajes(std::make_shared<plataforma::MensajesQt>());
    QString porDefecto, texto;
    QTimer::singleShot(0, [&] {
      auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      QVERIFY(caja);
      porDefecto = caja->defaultButton()->text();
      texto = caja->text();
      QTest::keyClick(caja, Qt::Key_Return);
    });
    QVERIFY(elegirMovimiento(tabla, 2));
    QTest::mouseClick(anular, Qt::LeftButton);
    plataforma::ponerMensajes(e.mensajes);
    QCOMPARE(porDefecto, QStringLiteral("No"));
    QVERIFY2(texto.startsWith(QStringLiteral("¿Anular el pago de 3,00 € del 05/02/2021 a Ana (movimiento 2)?")),
             qPrintable(texto));
    QCOMPARE(tab.socios().saldo(1), inicial - 2000);

    // A split paid out: its payouts go only with it; voided whole, the prize is free again.
    prueba::exigir(marcarCobro(almacen, 1, k7Marzo, QDate(2021, 3, 9), hoy));
    prueba::exigir(operaciones::repartirPremio(almacen, 1, k7Marzo, true, hoy));
    controlador.actualizar();
    tab.seleccionarSocio(1);
    const Centimos repartido = tab.socios().saldo(1);
    QCOMPARE(repartido, inicial - 2000);  // a paid-out part leaves the balance where it was
    qint64 pagoDelReparto = 0;
    for (const MovimientoGuardado& m : tab.socios().movimientos)
      if (m.reparto > 0 && m.socio == tab.socios().socio(1)->id) pagoDelReparto = m.id;
    QVERIFY(elegirMovimiento(tabla, pagoDelReparto));
    const int vistos = e.mensajes->vistos.size();
    QTest::mouseClick(anular, Qt::LeftButton);
    QCOMPARE(e.mensajes->vistos.size(), vistos + 1);
    QCOMPARE(e.mensajes->vistos.last().texto,
             QStringLiteral("El movimiento %1 es el pago del reparto del premio del sorteo del 07/03/2021: anule el "
                            "reparto entero.")
                 .arg(pagoDelReparto));
    auto* anularReparto = control<QPushButton>(&tab, "CommandAnularReparto");
    QVERIFY(anularReparto->isEnabled());
    QVERIFY(!control<QPushButton>(&tab, "CommandRepartir")->isEnabled());
    QTest::mouseClick(anularReparto, Qt::LeftButton);
    QCOMPARE(e.mensajes->vistos.last().titulo, QStringLiteral("Anular reparto"));
    QCOMPARE(e.mensajes->vistos.last().predeterminada, plataforma::Respuesta::No);
    QVERIFY(e.mensajes->vistos.last().texto.contains(QStringLiteral("neto 45.956,76 €")));
    QVERIFY(tab.socios().reparto(k7Marzo));
    e.mensajes->respuestas = {plataforma::Respuesta::Si};
    QTest::mouseClick(anularReparto, Qt::LeftButton);
    QVERIFY(!tab.socios().reparto(k7Marzo));
    QCOMPARE(tab.socios().saldo(1), repartido);
    QVERIFY(control<QPushButton>(&tab, "CommandRepartir")->isEnabled());
    QVERIFY(!anularReparto->isEnabled());
    QCOMPARE(avisos.last().at(0).toString(), QStringLiteral("Anulado el reparto del premio del sorteo del 07/03/2021"));
  }
};

QTEST_MAIN(TestPapelesSocios)
#include "test_papelessocios.moc"
