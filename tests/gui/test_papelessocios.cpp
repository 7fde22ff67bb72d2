// The members' papers as PDF (pages, the member lines in their text, the NIF only when
// asked) and the tab "Socios" driven as a user would through a small season.
#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPdfDocument>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QtTest>

#include "gui/members/modelossocios.h"
#include "gui/members/tabsocios.h"
#include "members/registrosocios.h"
#include "operations/dinero.h"
#include "operations/socios.h"
#include "painters/pdfsocios.h"
#include "store/almacen.h"
#include "support/dobles.h"

using namespace sortilan;
using operaciones::guardarPremiosRespuesta;
using operaciones::marcarCobro;

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
    ui::TabSocios tab(almacen);
    // Every change of the lists below is checked against the model rules as it happens.
    QAbstractItemModelTester probarSocios(tab.TablaSocios->model(),
                                          QAbstractItemModelTester::FailureReportingMode::QtTest);
    QAbstractItemModelTester probarMovimientos(tab.TablaMovimientos->model(),
                                               QAbstractItemModelTester::FailureReportingMode::QtTest);
    tab.actualizar();
    QCOMPARE(tab.penaSeleccionada(), 1);
    QCOMPARE(tab.TablaSocios->model()->rowCount(), 0);
    QVERIFY(!tab.CommandAportacion->isEnabled());

    const auto alta = [&](const QString& nombre, int participaciones, QDate desde) {
      tab.EditNombre->setText(nombre);
      tab.SpinParticipaciones->setValue(participaciones);
      tab.FechaSocio->setDate(desde);
      QTest::mouseClick(tab.CommandAlta, Qt::LeftButton);
    };
    alta(QStringLiteral("Ana"), 2, QDate(2021, 1, 1));
    alta(QStringLiteral("Luis"), 1, QDate(2021, 2, 1));
    QCOMPARE(tab.TablaSocios->model()->rowCount(), 2);
    QCOMPARE(tab.socioSeleccionado(), 2);
    QVERIFY(tab.EditNombre->text().isEmpty());
    // The same name again is refused with the reason and nothing changes.
    alta(QStringLiteral("ana"), 1, QDate(2021, 1, 1));
    QCOMPARE(e.mensajes->vistos.size(), 1);
    QCOMPARE(e.mensajes->vistos.last().texto, QStringLiteral("Ana ya es el socio 1 de la peña PREMIADA."));
    QCOMPARE(tab.TablaSocios->model()->rowCount(), 2);

    tab.seleccionarSocio(1);
    tab.EditImporte->setText(QStringLiteral("20,00"));
    tab.FechaMovimiento->setDate(QDate(2021, 1, 2));
    QTest::mouseClick(tab.CommandAportacion, Qt::LeftButton);
    tab.EditImporte->setText(QStringLiteral("veinte"));
    QTest::mouseClick(tab.CommandPago, Qt::LeftButton);
    QCOMPARE(e.mensajes->vistos.last().texto, QStringLiteral("Escriba el importe en euros, por ejemplo 25,50."));
    // A decimal point books nothing either: 25.5 is not guessed to be 25,50 or 255.
    tab.EditImporte->setText(QStringLiteral("25.5"));
    QTest::mouseClick(tab.CommandAportacion, Qt::LeftButton);
    QCOMPARE(e.mensajes->vistos.last().texto, QStringLiteral("Escriba el importe en euros, por ejemplo 25,50."));
    // Ana alone pays the five January draws, then two thirds of the five since Luis joined.
    QCOMPARE(fila(tab.TablaSocios, 0), QStringLiteral("1|Ana|2|01/01/2021||7,50 €"));
    QCOMPARE(fila(tab.TablaSocios, 1), QStringLiteral("2|Luis|1|01/02/2021||debe 2,50 €"));
    // The member number travels in the row, whatever the cells show; a debt reads red.
    for (int f = 0; f < 2; ++f)
      QCOMPARE(tab.TablaSocios->model()->index(f, ui::ModeloSocios::Nombre).data(ui::ModeloSocios::kRolNumero), f + 1);
    QCOMPARE(tab.TablaSocios->model()->index(1, ui::ModeloSocios::Saldo).data(Qt::ForegroundRole).value<QColor>(),
             QColor(0xC0, 0, 0));
    QVERIFY(!tab.TablaSocios->model()->index(0, ui::ModeloSocios::Saldo).data(Qt::ForegroundRole).isValid());
    QCOMPARE(fila(tab.TablaMovimientos, tab.TablaMovimientos->model()->rowCount() - 1),
             QStringLiteral("02/01/2021|aportación|20,00 €|20,00 €"));

    tab.seleccionarSocio(2);
    tab.SpinParticipaciones->setValue(3);
    tab.FechaSocio->setDate(QDate(2021, 3, 1));
    QTest::mouseClick(tab.CommandParticipaciones, Qt::LeftButton);
    QCOMPARE(tab.socios().socio(2)->participacionesEn(k7Marzo), 3);

    // A collected prize appears to split; answering No records nothing.
    QCOMPARE(tab.ComboPremios->count(), 0);
    prueba::exigir(marcarCobro(almacen, 1, k7Marzo, QDate(2021, 3, 9), e.reloj->dia));
    tab.actualizar();
    QCOMPARE(tab.ComboPremios->count(), 1);
    QCOMPARE(tab.ComboPremios->currentText(), QStringLiteral("07/03/2021: neto 45.956,76 € (sin repartir)"));
    QVERIFY(tab.CommandRepartir->isEnabled());
    QVERIFY(!tab.CommandDocumentoPdf->isEnabled());
    QTest::mouseClick(tab.CommandRepartir, Qt::LeftButton);
    QCOMPARE(e.mensajes->vistos.last().titulo, QStringLiteral("Reparto del premio"));
    QVERIFY(!tab.socios().reparto(k7Marzo));

    tab.OptionReinvertir->setChecked(true);
    e.mensajes->respuestas = {plataforma::Respuesta::Si};
    QTest::mouseClick(tab.CommandRepartir, Qt::LeftButton);
    QVERIFY(tab.socios().reparto(k7Marzo));
    QVERIFY(!tab.socios().reparto(k7Marzo)->pagado);
    QCOMPARE(tab.ComboPremios->currentText(), QStringLiteral("07/03/2021: neto 45.956,76 € (repartido)"));
    QVERIFY(!tab.CommandRepartir->isEnabled());
    // Luis 3 of 5 shares on 7 March: 27.573,06 € net stays in his balance.
    QCOMPARE(tab.socios().saldo(2), Centimos{2757406 - 4 * 50 - 90});

    e.dialogo->siguiente = e.ruta(QStringLiteral("reparto.pdf"));
    QTest::mouseClick(tab.CommandDocumentoPdf, Qt::LeftButton);
    QCOMPARE(e.leer(QStringLiteral("reparto.pdf")).left(4), QByteArray("%PDF"));
    e.dialogo->siguiente = e.ruta(QStringLiteral("reparto.csv"));
    QTest::mouseClick(tab.CommandDocumentoCsv, Qt::LeftButton);
    QVERIFY(e.leer(QStringLiteral("reparto.csv")).contains("2;\"Luis\";;3;"));
    tab.seleccionarSocio(1);
    e.dialogo->siguiente = e.ruta(QStringLiteral("extracto.csv"));
    QTest::mouseClick(tab.CommandExtractoCsv, Qt::LeftButton);
    QVERIFY(e.leer(QStringLiteral("extracto.csv")).contains("09/03/2021;premio;"));
  }
};

QTEST_MAIN(TestPapelesSocios)
#include "test_papelessocios.moc"
