#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPdfDocument>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include "app/principal.h"
#include "gui/checking/comprobador.h"
#include "gui/checking/tabgestor.h"
#include "gui/printing/impresor.h"
#include "gui/printing/imprimir.h"
#include "painters/pintor.h"
#include "store/almacen.h"
#include "support/controles.h"
#include "support/dobles.h"

using namespace sortilan;
using namespace sortilan::prueba;
using namespace sortilan::ui;

Q_DECLARE_METATYPE(sortilan::Papel)

namespace {
int paginasPdf(const QString& ruta) {
  QPdfDocument doc;
  if (doc.load(ruta) != QPdfDocument::Error::None) return -1;
  return doc.pageCount();
}

// Peñas 1..3 of the sample file: 7 simple bets, a multiple of 8, 24 simple bets.
void copiarPenas(Entorno& e) { e.copiar(QStringLiteral("penas_impresion.dat"), QStringLiteral("apuestas.dat")); }
}  // namespace

class TestImprimir : public QObject {
  Q_OBJECT
 private slots:
  void pdfPorQPrinter_data() {
    QTest::addColumn<int>("registro");
    QTest::addColumn<Papel>("papel");
    QTest::addColumn<int>("paginas");
    QTest::newRow("7 apuestas, normal") << 1 << Papel::Normal << 1;
    QTest::newRow("7 apuestas, oficial") << 1 << Papel::Oficial << 2;
    QTest::newRow("múltiple, normal") << 2 << Papel::Normal << 1;
    QTest::newRow("24 apuestas, normal") << 3 << Papel::Normal << 2;
    QTest::newRow("24 apuestas, oficial") << 3 << Papel::Oficial << 4;
  }
  void pdfPorQPrinter() {
    QFETCH(int, registro);
    QFETCH(Papel, papel);
    QFETCH(int, paginas);
    Entorno e;
    copiarPenas(e);
    Almacen a;
    sortilan::prueba::exigir(a.abrir(e.carpeta.path()));
    Pena p;
    QVERIFY(a.penas().leer(registro, p));
    const Impresion imp = imprimeboletos(p, papel, Calibracion{0, 10, 30, 0});
    QCOMPARE(static_cast<int>(imp.paginas.size()), paginas);

    const QString pdf = e.ruta(QStringLiteral("impreso.pdf"));
    {
      QPrinter impresora(QPrinter::HighResolution);
      impresora.setOutputFormat(QPrinter::PdfFormat);
      impresora.setOutputFileName(pdf);
      QVERIFY(pintarImpresion(imp, impresora));
    }
    QCOMPARE(paginasPdf(pdf), paginas);

    const QString otro = e.ruta(QStringLiteral("escritor.pdf"));
    {
      QPdfWriter escritor(otro);
      QVERIFY(pintarImpresion(imp, escritor));
    }
    QCOMPARE(paginasPdf(otro), paginas);
  }

  void ventanaDeUnaPena_data() {
    QTest::addColumn<int>("registro");
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QString>("apuestas");
    QTest::addColumn<QString>("boletos");
    QTest::newRow("sencilla") << 1 << "Peña Oficina"
                              << "7"
                              << "2";
    QTest::newRow("múltiple") << 2 << "Múltiple Bar"
                              << "1"
                              << "1";
    QTest::newRow("24") << 3 << "Veinticuatro"
                        << "24"
                        << "4";
  }
  void ventanaDeUnaPena() {
    QFETCH(int, registro);
    QFETCH(QString, nombre);
    QFETCH(QString, apuestas);
    QFETCH(QString, boletos);
    Entorno e;
    copiarPenas(e);
    Almacen a;
    sortilan::prueba::exigir(a.abrir(e.carpeta.path()));
    Imprimir w(a, registro);
    QCOMPARE(w.windowTitle(), QStringLiteral("IMPRIMIR BOLETOS"));
    QCOMPARE(w.findChild<QLabel*>(QStringLiteral("Label10"))->text(), nombre);
    QCOMPARE(w.findChild<QLabel*>(QStringLiteral("Label2_0"))->text(), apuestas);
    QCOMPARE(w.findChild<QLabel*>(QStringLiteral("Label2_1"))->text(), boletos);
    QCOMPARE(w.findChild<QLabel*>(QStringLiteral("Label1_1"))->text(),
             QStringLiteral("-Nº de boletos oficiales que necesita:"));
    QCOMPARE(w.findChild<QLineEdit*>(QStringLiteral("Text1_0"))->text(), QStringLiteral("0"));
    QCOMPARE(w.findChild<QLineEdit*>(QStringLiteral("Text1_1"))->text(), QStringLiteral("0"));
    QCOMPARE(w.findChild<QLabel*>(QStringLiteral("Label5_0"))->text(), QStringLiteral("X"));
    QCOMPARE(w.findChild<QLabel*>(QStringLiteral("Label5_1"))->text(), QStringLiteral("Y"));
  }

  void cajasDeCalibracion() {
    Entorno e;
    copiarPenas(e);
    Almacen a;
    sortilan::prueba::exigir(a.abrir(e.carpeta.path()));
    auto* w = new Imprimir(a, 1);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QLineEdit* x = w->findChild<QLineEdit*>(QStringLiteral("Text1_0"));
    QLineEdit* y = w->findChild<QLineEdit*>(QStringLiteral("Text1_1"));
    x->selectAll();
    QTest::keyClicks(x, QStringLiteral("-2,5"));
    QCOMPARE(w->ajuste().valor().x, -2.5f);
    QCOMPARE(Calibracion::decodificar(e.leer(QStringLiteral("nums.ini")).constData()).x, -2.5f);
    // A letter undoes itself in both boxes.
    y->setText(QStringLiteral("7"));
    QTest::keyClicks(x, QStringLiteral("q"));
    QCOMPARE(x->text(), QStringLiteral("-2,5"));
    QCOMPARE(y->text(), QStringLiteral("0"));
    QCOMPARE(Calibracion::decodificar(e.leer(QStringLiteral("nums.ini")).constData()).x, -2.5f);

    // An empty box is reported when the focus moves on and keeps the stored value.
    x->setFocus(Qt::OtherFocusReason);
    x->selectAll();
    QTest::keyClick(x, Qt::Key_Backspace);
    QCOMPARE(x->text(), QString());
    y->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(e.mensajes->vistos.size(), 1);
    QCOMPARE(e.mensajes->vistos.first().titulo, QStringLiteral("EHEHEHH"));
    QCOMPARE(w->ajuste().valor().x, -2.5f);
    // Closing the window with an empty box is not a complaint.
    y->selectAll();
    QTest::keyClick(y, Qt::Key_Backspace);
    w->hide();
    QCOMPARE(e.mensajes->vistos.size(), 1);
    delete w;

    // The next window shows what was stored.
    Imprimir otra(a, 1);
    QCOMPARE(otra.findChild<QLineEdit*>(QStringLiteral("Text1_0"))->text(), QStringLiteral("-2,5"));
  }

  void imprimirDesdeLaVentana_data() {
    QTest::addColumn<QString>("boton");
    QTest::addColumn<int>("paginas");
    QTest::newRow("papel oficial") << "Command1" << 2;
    QTest::newRow("papel normal") << "Command2" << 1;
  }
  void imprimirDesdeLaVentana() {
    QFETCH(QString, boton);
    QFETCH(int, paginas);
    Entorno e;
    copiarPenas(e);
    Almacen a;
    sortilan::prueba::exigir(a.abrir(e.carpeta.path()));
    Imprimir w(a, 1);
    const QString pdf = e.ruta(QStringLiteral("boletos.pdf"));
    int dialogos = 0;
    w.elegirImpresora = [&](QPrinter& impresora) {
      ++dialogos;
      impresora.setOutputFormat(QPrinter::PdfFormat);
      impresora.setOutputFileName(pdf);
      return true;
    };
    QTest::mouseClick(w.findChild<QPushButton*>(boton), Qt::LeftButton);
    QCOMPARE(dialogos, 1);
    QCOMPARE(paginasPdf(pdf), paginas);

    // Cancelling the dialog prints nothing and says nothing.
    QFile::remove(pdf);
    w.elegirImpresora = [&](QPrinter& impresora) {
      impresora.setOutputFormat(QPrinter::PdfFormat);
      impresora.setOutputFileName(pdf);
      return false;
    };
    QTest::mouseClick(w.findChild<QPushButton*>(boton), Qt::LeftButton);
    QVERIFY(!QFile::exists(pdf));
    QVERIFY(e.mensajes->vistos.isEmpty());
  }

  // The preview and the PDF show the plain-paper sheet: two tickets a page.
  void vistaPrevia() {
    Entorno e;
    copiarPenas(e);
    Almacen a;
    sortilan::prueba::exigir(a.abrir(e.carpeta.path()));
    Imprimir w(a, 3);
    int paginas = -1;
    QString titulo;
    w.abrirVistaPrevia = [&](QPrintPreviewDialog& d) {
      titulo = d.windowTitle();
      auto* hoja = d.findChild<QPrintPreviewWidget*>();
      hoja->updatePreview();
      paginas = hoja->pageCount();
    };
    QTest::mouseClick(prueba::control<QPushButton>(&w, "Command3"), Qt::LeftButton);
    QCOMPARE(prueba::control<QPushButton>(&w, "Command3")->text(), QStringLiteral("Vista previa"));
    QCOMPARE(titulo, QStringLiteral("Vista previa: PEÑA Veinticuatro"));
    QCOMPARE(paginas, 2);
    QVERIFY(e.mensajes->vistos.isEmpty());
  }

  void guardarPdf_data() {
    QTest::addColumn<QString>("elegido");  // what the dialog answers, relative to the folder
    QTest::addColumn<QString>("escrito");  // the file that must hold the PDF, "" for none
    QTest::addColumn<bool>("aviso");
    QTest::newRow("con extensión") << "boletos.pdf"
                                   << "boletos.pdf" << false;
    QTest::newRow("sin extensión") << "boletos"
                                   << "boletos.pdf" << false;
    QTest::newRow("cancelado") << ""
                               << "" << false;
    QTest::newRow("carpeta que no existe") << "no-existe/boletos.pdf"
                                           << "" << true;
  }
  void guardarPdf() {
    QFETCH(QString, elegido);
    QFETCH(QString, escrito);
    QFETCH(bool, aviso);
    Entorno e;
    copiarPenas(e);
    Almacen a;
    sortilan::prueba::exigir(a.abrir(e.carpeta.path()));
    Imprimir w(a, 3);
    e.dialogo->siguiente = elegido.isEmpty() ? QString() : e.ruta(elegido);
    QSignalSpy guardados(&w, &Imprimir::archivoGuardado);
    QTest::mouseClick(prueba::control<QPushButton>(&w, "Command4"), Qt::LeftButton);
    // Only a file really written is announced.
    QCOMPARE(guardados.size(), escrito.isEmpty() ? 0 : 1);
    QCOMPARE(e.dialogo->titulos, QStringList{QStringLiteral("Guardar PDF")});
    QVERIFY(e.dialogo->carpetas.first().endsWith(QStringLiteral("/PEÑA Veinticuatro.pdf")));
    if (!escrito.isEmpty()) QCOMPARE(paginasPdf(e.ruta(escrito)), 2);
    QStringList pdfs = QDir(e.carpeta.path()).entryList({QStringLiteral("*.pdf")});
    QCOMPARE(pdfs, escrito.isEmpty() ? QStringList() : QStringList{escrito});
    QCOMPARE(e.mensajes->vistos.size(), aviso ? 1 : 0);
  }

  void abrirDesdeElGestor() {
    Entorno e;
    copiarPenas(e);
    Principal p;
    p.cargar(e.carpeta.path());
    p.show();
    QApplication::setActiveWindow(&p);
    auto* impresor = p.findChild<Impresor*>();
    QVERIFY(impresor);
    e.mensajes->vistos.clear();

    p.comprobador()->ListView1_ItemClick(-1);
    QTest::mouseClick(control<QPushButton>(p.gestor(), "Command2"), Qt::LeftButton);
    QCOMPARE(e.mensajes->vistos.size(), 1);
    QCOMPARE(e.mensajes->vistos.first().titulo, QStringLiteral("¡Nooooo!"));
    QCOMPARE(e.mensajes->vistos.first().texto, QStringLiteral("Seleccione una peña primero..."));
    QVERIFY(!impresor->ventana());

    // A selection beyond the file (a deleted peña) is no selection either.
    p.comprobador()->ListView1_ItemClick(8);
    QTest::mouseClick(control<QToolButton>(p.gestor(), "Image1_3"), Qt::LeftButton);
    QCOMPARE(e.mensajes->vistos.size(), 2);

    p.comprobador()->ListView1_ItemClick(1);
    QTest::mouseClick(control<QToolButton>(p.gestor(), "Image1_3"), Qt::LeftButton);
    QVERIFY(impresor->ventana());
    QVERIFY(impresor->ventana()->isVisible());
    QCOMPARE(impresor->ventana()->findChild<QLabel*>(QStringLiteral("Label10"))->text(),
             QStringLiteral("Múltiple Bar"));
    // Returning to the main window closes it.
    QApplication::setActiveWindow(impresor->ventana());
    QApplication::setActiveWindow(&p);
    QTRY_VERIFY(!impresor->ventana());
  }
};

QTEST_MAIN(TestImprimir)
#include "test_imprimir.moc"
