// A whole download in the main window against the local fake service.
#include <QAction>
#include <QBuffer>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPdfView>
#include <QPdfWriter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

#include "app/principal.h"
#include "download/analisis.h"
#include "download/gui/descargador.h"
#include "main/gui/tabgeneral.h"
#include "report/gui/tabultimo.h"
#include "support/dobles.h"
#include "support/servicioprueba.h"

using namespace sortilan;

namespace {
QByteArray leer(const QString& nombre) { return prueba::leerDatoPrueba(nombre); }
QByteArray unPdf() {
  QBuffer b;
  b.open(QIODevice::WriteOnly);
  {
    QPdfWriter w(&b);
    QPainter p(&w);
    p.drawText(100, 100, QStringLiteral("Acta del sorteo"));
  }
  return b.data();
}
}  // namespace

class TestDescargador : public QObject {
  Q_OBJECT
 private slots:
  void descargaCompleta() {
    prueba::Entorno e(QDate(2021, 3, 10));
    e.escribir(QStringLiteral("numeros.dat"), leer(QStringLiteral("numeros.dat")).left(808 * 24));
    prueba::ServicioPrueba servicio;
    servicio.poner(QStringLiteral("/servicios/"), {200, leer(QStringLiteral("respuesta_ejemplo.json")), 300, false});
    servicio.poner(QStringLiteral("/documents/"), {200, unPdf(), 0, false});
    servicio.configurar(e.carpeta.path());

    ui::Principal w;
    w.cargar(e.carpeta.path());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    ui::Descargador* d = w.descargador();
    d->Timer1->setInterval(3600 * 1000);  // the test ticks Timer1 itself
    auto* general = w.general();
    auto* ultimo = w.ultimo();
    QVERIFY(w.accion(QStringLiteral("Baja"))->isEnabled());
    w.SSTab1()->setCurrentIndex(2);

    QTest::mouseClick(general->Picture2, Qt::LeftButton);
    QCOMPARE(general->Label6->text(), QStringLiteral("CONECTANDO AL SERVIDOR"));
    QCOMPARE(general->ProgressBar1->value(), 1);
    QCOMPARE(w.SSTab1()->currentIndex(), 0);
    QVERIFY(d->enCurso());
    // The answer takes a while: the window keeps painting and refuses a second start.
    w.accion(QStringLiteral("Baja"))->trigger();
    QTRY_VERIFY(d->Timer1->isActive());
    QCOMPARE(servicio.pedidas.size(), 1);
    QCOMPARE(general->Label6->text(), QStringLiteral("BUSCANDO SORTEOS"));
    QCOMPARE(general->Label58->text(), QStringLiteral("34041"));

    d->Timer1_Timer();
    QVERIFY(!d->Timer1->isActive());
    QVERIFY(!d->enCurso());
    QCOMPARE(general->Label6->text(), QStringLiteral("TRANSFERENCIA FINALIZADA"));
    QCOMPARE(general->ProgressBar1->value(), 5);
    QCOMPARE(general->Label19->text(), QStringLiteral("18 sorteos"));
    QCOMPARE(general->HScroll1->value(), 8);
    QCOMPARE(general->findChild<QLabel*>(QStringLiteral("Label9_3"))->text(),
             QStringLiteral("Domingo, 7 de marzo del 2021"));

    auto* lista = w.findChild<QTableView*>(QStringLiteral("ListView3"));
    QCOMPARE(lista->model()->rowCount(), 808 + 18);
    QCOMPARE(lista->model()->index(0, 0).data().toString(), QStringLiteral("15-24-40-42-48  NÚM.CLAVE: 9"));
    QCOMPARE(lista->model()->index(0, 1).data().toString(), QStringLiteral("07/03/2021  Domingo"));

    QCOMPARE(ultimo->Label8->text(), QStringLiteral("-Informe del Domingo, 7 de marzo del 2021"));
    QCOMPARE(ultimo->Frame2->title(), QStringLiteral("Premios en Euros €:"));
    QCOMPARE(w.findChild<QLabel*>(QStringLiteral("Label11_2"))->text(),
             QStringLiteral("- 3ª Categoría (4 + 1 Aciertos): "));
    QCOMPARE(w.findChild<QLabel*>(QStringLiteral("Label10_2"))->text(), QStringLiteral("47445.95"));
    QCOMPARE(w.findChild<QLabel*>(QStringLiteral("Label10_7"))->text(), QStringLiteral("3.00"));
    QTRY_VERIFY(!d->bajandoPdf());
    QCOMPARE(servicio.pedidas.last(), QStringLiteral("/documents/d/loterias/acta-el-gordo-20210307.pdf"));
    QVERIFY(e.leer(QStringLiteral("vix.pdf")).startsWith("%PDF"));
    w.SSTab1()->setCurrentIndex(1);
    QTRY_VERIFY(ultimo->WebBrowser1->isVisible());
    QVERIFY(!ultimo->Text1->isVisible());
  }

  void documentoQueNoEsPdf() {
    prueba::Entorno e(QDate(2021, 3, 10));
    e.escribir(QStringLiteral("numeros.dat"), leer(QStringLiteral("numeros.dat")).left(828 * 24));
    prueba::ServicioPrueba servicio;
    servicio.poner(QStringLiteral("/servicios/"), {200, leer(QStringLiteral("respuesta_ejemplo.json")), 0, false});
    servicio.poner(QStringLiteral("/documents/"), {200, "<html>no</html>", 0, false});
    servicio.configurar(e.carpeta.path());
    e.escribir(QStringLiteral("vix.pdf"), unPdf());
    e.escribir(QStringLiteral("www.txt"),
               registroCitado(QString::fromUtf8(leer(QStringLiteral("respuesta_ejemplo.json")))));
    ui::Principal w;
    w.cargar(e.carpeta.path());
    // At start-up the stored document of the last download is shown.
    QVERIFY(!w.ultimo()->WebBrowser1->isHidden());
    w.descargador()->Picture2_Click();
    QTRY_VERIFY(w.descargador()->Timer1->isActive());
    w.descargador()->Timer1_Timer();
    QTRY_VERIFY(!w.descargador()->bajandoPdf());
    QVERIFY(!QFile::exists(e.ruta(QStringLiteral("vix.pdf"))));
    QVERIFY(w.ultimo()->WebBrowser1->isHidden());
    QCOMPARE(w.ultimo()->Text1->toPlainText(), QStringLiteral("No se encuentra conexión a internet.... :("));
  }

  void inicioSinDatos() {
    prueba::Entorno e(QDate(2021, 3, 10));
    e.escribir(QStringLiteral("vix.pdf"), "%PD");
    ui::Principal w;
    w.cargar(e.carpeta.path());
    QVERIFY(w.ultimo()->WebBrowser1->isHidden());
    QCOMPARE(w.ultimo()->Text1->toPlainText(), QStringLiteral("\nFichero de datos vacío."));
    QCOMPARE(w.findChild<QLabel*>(QStringLiteral("Label10_0"))->text(), QStringLiteral("-"));
    QCOMPARE(w.ultimo()->Clave->text(), QStringLiteral("-"));
    QVERIFY(!w.accion(QStringLiteral("web"))->isEnabled());
  }

  // What the tab shows of the newest stored draw, with the last answer about it or not.
  void ultimoSorteo_data() {
    QTest::addColumn<int>("sorteos");      // how many draws of the real history are stored
    QTest::addColumn<QString>("numeros");  // the balls, key last
    QTest::addColumn<QString>("primera");  // prize of the 3rd category
    QTest::addColumn<QString>("aviso");    // Text1, "" when the document is shown
    QTest::newRow("la respuesta es de ese sorteo") << 830 << "15 24 40 42 48 9"
                                                   << "47445.95"
                                                   << "";
    QTest::newRow("respuesta de meses atrás")
        << 1114 << "7 8 11 31 35 1"
        << "-"
        << "\nLos premios de este sorteo no están en la última descarga de resultados.";
  }
  void ultimoSorteo() {
    QFETCH(int, sorteos);
    prueba::Entorno e(QDate(2026, 8, 20));
    e.escribir(QStringLiteral("numeros.dat"), leer(QStringLiteral("numeros.dat")).left(sorteos * 24));
    e.escribir(QStringLiteral("www.txt"),
               registroCitado(QString::fromUtf8(leer(QStringLiteral("respuesta_ejemplo.json")))));
    e.escribir(QStringLiteral("vix.pdf"), unPdf());
    ui::Principal w;
    w.cargar(e.carpeta.path());
    ui::TabUltimo* u = w.ultimo();
    QStringList bolas;
    for (QLabel* l : u->Numero) bolas << l->text();
    bolas << u->Clave->text();
    QTEST(bolas.join(QLatin1Char(' ')), "numeros");
    QTEST(u->Label10[2]->text(), "primera");
    QFETCH(QString, aviso);
    QCOMPARE(u->WebBrowser1->isHidden(), !aviso.isEmpty());
    if (!aviso.isEmpty()) QCOMPARE(u->Text1->toPlainText(), aviso);
  }
};

QTEST_MAIN(TestDescargador)
#include "test_descargador.moc"
