// A whole download in the main window against the local fake service.
#include <QAction>
#include <QBuffer>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPdfView>
#include <QPdfWriter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

#include "answer/analisis.h"
#include "app/principal.h"
#include "gui/download/descargador.h"
#include "gui/download/entradasorteo.h"
#include "gui/main/tabgeneral.h"
#include "gui/report/tabultimo.h"
#include "support/controles.h"
#include "support/dobles.h"
#include "support/servicioprueba.h"

using namespace sortilan;
using prueba::control;

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
    e.escribir(QStringLiteral("numeros.dat"), leer(QStringLiteral("numeros.dat")).left(819 * 24));
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
    QVERIFY(w.findChild<QAction*>(QStringLiteral("Baja"))->isEnabled());
    w.SSTab1()->setCurrentIndex(2);

    QTest::mouseClick(general->findChild<QToolButton*>(QStringLiteral("Picture2")), Qt::LeftButton);
    QCOMPARE(general->findChild<QLabel*>(QStringLiteral("Label6"))->text(), QStringLiteral("CONECTANDO AL SERVIDOR"));
    QCOMPARE(general->findChild<QProgressBar*>(QStringLiteral("ProgressBar1"))->value(), 1);
    QCOMPARE(w.SSTab1()->currentIndex(), 0);
    QVERIFY(d->enCurso());
    // The answer takes a while: the window keeps painting and refuses a second start.
    w.findChild<QAction*>(QStringLiteral("Baja"))->trigger();
    QTRY_VERIFY(d->Timer1->isActive());
    QCOMPARE(servicio.pedidas.size(), 1);
    QCOMPARE(general->findChild<QLabel*>(QStringLiteral("Label6"))->text(), QStringLiteral("BUSCANDO SORTEOS"));
    QCOMPARE(general->findChild<QLabel*>(QStringLiteral("Label58"))->text(), QStringLiteral("34041"));

    d->Timer1_Timer();
    QVERIFY(!d->Timer1->isActive());
    QVERIFY(!d->enCurso());
    QCOMPARE(general->findChild<QLabel*>(QStringLiteral("Label6"))->text(), QStringLiteral("TRANSFERENCIA FINALIZADA"));
    QCOMPARE(general->findChild<QProgressBar*>(QStringLiteral("ProgressBar1"))->value(), 5);
    QCOMPARE(general->findChild<QLabel*>(QStringLiteral("Label19"))->text(), QStringLiteral("11 sorteos"));
    QCOMPARE(general->findChild<QScrollBar*>(QStringLiteral("HScroll1"))->value(), 8);
    QCOMPARE(general->findChild<QLabel*>(QStringLiteral("Label9_3"))->text(),
             QStringLiteral("Domingo, 7 de marzo del 2021"));

    auto* lista = w.findChild<QTableView*>(QStringLiteral("ListView3"));
    QCOMPARE(lista->model()->rowCount(), 819 + 11);
    QCOMPARE(lista->model()->index(0, 0).data().toString(), QStringLiteral("15-24-40-42-48  NÚM.CLAVE: 9"));
    QCOMPARE(lista->model()->index(0, 1).data().toString(), QStringLiteral("07/03/2021  Domingo"));

    QCOMPARE(control<QLabel>(ultimo, "Label8")->text(), QStringLiteral("-Informe del Domingo, 7 de marzo del 2021"));
    QCOMPARE(control<QGroupBox>(ultimo, "Frame2")->title(), QStringLiteral("Premios en Euros €:"));
    QCOMPARE(w.findChild<QLabel*>(QStringLiteral("Label11_2"))->text(),
             QStringLiteral("- 3ª Categoría (4 + 1 Aciertos): "));
    QCOMPARE(w.findChild<QLabel*>(QStringLiteral("Label10_2"))->text(), QStringLiteral("47.445,95 €"));
    QCOMPARE(w.findChild<QLabel*>(QStringLiteral("Label10_7"))->text(), QStringLiteral("3,00 €"));
    QTRY_VERIFY(!d->bajandoPdf());
    QCOMPARE(servicio.pedidas.last(), QStringLiteral("/documents/d/loterias/acta-el-gordo-20210307.pdf"));
    QVERIFY(e.leer(QStringLiteral("vix.pdf")).startsWith("%PDF"));
    w.SSTab1()->setCurrentIndex(1);
    QTRY_VERIFY(control<QWidget>(ultimo, "WebBrowser1")->isVisible());
    QVERIFY(!control<QPlainTextEdit>(ultimo, "Text1")->isVisible());
  }

  void documentoQueNoEsPdf() {
    prueba::Entorno e(QDate(2021, 3, 10));
    e.escribir(QStringLiteral("numeros.dat"), leer(QStringLiteral("numeros.dat")).left(828 * 24));
    prueba::ServicioPrueba servicio;
    servicio.poner(QStringLiteral("/servicios/"), {200, leer(QStringLiteral("respuesta_ejemplo.json")), 0, false});
    servicio.poner(QStringLiteral("/documents/"), {200, "<html>no</html>", 0, false});
    servicio.configurar(e.carpeta.path());
    const QByteArray bueno = unPdf();
    e.escribir(QStringLiteral("vix.pdf"), bueno);
    e.escribir(QStringLiteral("www.txt"),
               registroCitado(QString::fromUtf8(leer(QStringLiteral("respuesta_ejemplo.json")))));
    ui::Principal w;
    w.cargar(e.carpeta.path());
    // At start-up the stored document of the last download is shown.
    QVERIFY(!control<QWidget>(w.ultimo(), "WebBrowser1")->isHidden());
    w.descargador()->Picture2_Click();
    QTRY_VERIFY(w.descargador()->Timer1->isActive());
    w.descargador()->Timer1_Timer();
    QTRY_VERIFY(!w.descargador()->bajandoPdf());
    // The good document already there is never replaced by a bad one; it is not shown either.
    QCOMPARE(e.leer(QStringLiteral("vix.pdf")), bueno);
    QVERIFY(control<QWidget>(w.ultimo(), "WebBrowser1")->isHidden());
    QCOMPARE(control<QPlainTextEdit>(w.ultimo(), "Text1")->toPlainText(),
             QStringLiteral("No se encuentra conexión a internet.... :("));
  }

  void inicioSinDatos() {
    prueba::Entorno e(QDate(2021, 3, 10));
    e.escribir(QStringLiteral("vix.pdf"), "%PD");
    ui::Principal w;
    w.cargar(e.carpeta.path());
    QVERIFY(control<QWidget>(w.ultimo(), "WebBrowser1")->isHidden());
    QCOMPARE(control<QPlainTextEdit>(w.ultimo(), "Text1")->toPlainText(), QStringLiteral("\nFichero de datos vacío."));
    QCOMPARE(w.findChild<QLabel*>(QStringLiteral("Label10_0"))->text(), QStringLiteral("-"));
    QCOMPARE(control<QLabel>(w.ultimo(), "Clave")->text(), QStringLiteral("-"));
    QVERIFY(!w.findChild<QAction*>(QStringLiteral("web"))->isEnabled());
  }

  // The manual entry from the menu: a refused draw keeps the window open with the reason;
  // a sound one is stored, counted and shown, and the window closes.
  void entradaManual() {
    prueba::Entorno e(QDate(2021, 3, 10));
    e.escribir(QStringLiteral("numeros.dat"), leer(QStringLiteral("numeros.dat")).left(829 * 24));  // up to 28 Feb
    ui::Principal w;
    w.cargar(e.carpeta.path());
    QAction* amano = w.findChild<QAction*>(QStringLiteral("amano"));
    QVERIFY(amano->isEnabled());
    amano->trigger();
    QPointer<ui::EntradaSorteo> v = w.descargador()->entradaManual();
    QVERIFY(v && v->isVisible());
    QCOMPARE(v->windowTitle(), QStringLiteral("Añadir sorteo a mano"));
    QCOMPARE(prueba::control<QDateEdit>(v, "fecha")->date(), QDate(2021, 3, 7));  // the last Sunday
    QCOMPARE(prueba::control<QSpinBox>(v, QStringLiteral("numero_%1").arg(0))->text(), QStringLiteral("--"));

    struct Caso {
      QDate fecha;
      std::array<int, 5> numeros;
      int clave;
      QString motivo;
    };
    const QList<Caso> casos{
        {QDate(2021, 3, 7),
         {15, 24, 40, 42, -1},
         9,
         QStringLiteral("los números no son cinco números distintos del 1 al 54")},
        {QDate(2021, 2, 28),
         {15, 24, 40, 42, 48},
         9,
         QStringLiteral("el último sorteo guardado es del Domingo, 28 de febrero del 2021 y el nuevo tiene que ser "
                        "posterior")},
    };
    for (const Caso& c : casos) {
      e.mensajes->vistos.clear();
      prueba::control<QDateEdit>(v, "fecha")->setDate(c.fecha);
      for (size_t i = 0; i < 5; ++i)
        prueba::control<QSpinBox>(v, QStringLiteral("numero_%1").arg(i))->setValue(c.numeros[i]);
      prueba::control<QSpinBox>(v, "clave")->setValue(c.clave);
      QTest::mouseClick(prueba::control<QPushButton>(v, "aceptar"), Qt::LeftButton);
      QCOMPARE(e.mensajes->vistos.size(), 1);
      QCOMPARE(e.mensajes->vistos[0].texto, QStringLiteral("No se puede añadir el sorteo: %1.").arg(c.motivo));
      QVERIFY(v->isVisible());
    }
    QCOMPARE(e.leer(QStringLiteral("numeros.dat")).size(), 829 * 24);

    e.mensajes->vistos.clear();
    prueba::control<QDateEdit>(v, "fecha")->setDate(QDate(2021, 3, 7));
    const int n[5] = {48, 15, 42, 24, 40};
    for (size_t i = 0; i < 5; ++i) prueba::control<QSpinBox>(v, QStringLiteral("numero_%1").arg(i))->setValue(n[i]);
    prueba::control<QSpinBox>(v, "clave")->setValue(9);
    QTest::mouseClick(prueba::control<QPushButton>(v, "aceptar"), Qt::LeftButton);
    QVERIFY(e.mensajes->vistos.isEmpty());
    QTRY_VERIFY(!v);
    // Stored as the service would have sent it.
    QCOMPARE(e.leer(QStringLiteral("numeros.dat")), leer(QStringLiteral("numeros.dat")).left(830 * 24));
    QCOMPARE(w.findChild<QLabel*>(QStringLiteral("Label9_3"))->text(), QStringLiteral("Domingo, 7 de marzo del 2021"));
    auto* lista = w.findChild<QTableView*>(QStringLiteral("ListView3"));
    QCOMPARE(lista->model()->index(0, 0).data().toString(), QStringLiteral("15-24-40-42-48  NÚM.CLAVE: 9"));
  }

  // A draw three weeks after the newest asks first, and "No" keeps the window open.
  void entradaManualConHueco() {
    prueba::Entorno e(QDate(2021, 3, 10));
    e.escribir(QStringLiteral("numeros.dat"), leer(QStringLiteral("numeros.dat")).left(827 * 24));  // up to 14 Feb
    ui::Principal w;
    w.cargar(e.carpeta.path());
    w.descargador()->abrirEntradaManual();
    ui::EntradaSorteo* v = w.descargador()->entradaManual();
    for (size_t i = 0; i < 5; ++i)
      prueba::control<QSpinBox>(v, QStringLiteral("numero_%1").arg(i))->setValue(static_cast<int>(i) + 1);
    prueba::control<QSpinBox>(v, "clave")->setValue(0);
    QVERIFY(!v->guardar());
    QCOMPARE(e.mensajes->vistos.size(), 1);
    QCOMPARE(e.mensajes->vistos[0].botones, plataforma::Botones::SiNo);
    QVERIFY(e.mensajes->vistos[0].texto.startsWith(
        QStringLiteral("Faltan los sorteos entre el 14/02/2021 y el 07/03/2021: entre el último sorteo guardado "
                       "(Domingo, 14 de febrero del 2021) y el del Domingo, 7 de marzo del 2021 faltan 2 sorteos.")));
    QCOMPARE(e.leer(QStringLiteral("numeros.dat")).size(), 827 * 24);
    e.mensajes->respuestas = {plataforma::Respuesta::Si};
    QVERIFY(v->guardar());
    QCOMPARE(e.leer(QStringLiteral("numeros.dat")).size(), 828 * 24);
  }

  // The refusal of the service offers the manual entry.
  void rechazoAbreEntradaManual() {
    prueba::Entorno e(QDate(2021, 3, 10));
    e.escribir(QStringLiteral("numeros.dat"), leer(QStringLiteral("numeros.dat")).left(829 * 24));
    prueba::ServicioPrueba servicio;
    servicio.defecto = {406, "<html>Not Acceptable</html>", 0, false};
    servicio.configurar(e.carpeta.path());
    e.mensajes->respuestas = {plataforma::Respuesta::Si};
    ui::Principal w;
    w.cargar(e.carpeta.path());
    w.descargador()->Picture2_Click();
    QTRY_VERIFY(w.descargador()->entradaManual());
    QCOMPARE(e.mensajes->vistos.last().titulo, QStringLiteral("Servicio no disponible"));
    QCOMPARE(w.general()->findChild<QProgressBar*>(QStringLiteral("ProgressBar1"))->value(), 0);
    QCOMPARE(w.general()->findChild<QLabel*>(QStringLiteral("Label6"))->text(), QString());
    QCOMPARE(servicio.pedidas.size(), 4);
    QCOMPARE(e.pausas->vistas, (QList<int>{2000, 6000}));
  }

  void importarCsvDesdeElMenu() {
    prueba::Entorno e(QDate(2026, 12, 1));
    e.escribir(QStringLiteral("numeros.dat"), leer(QStringLiteral("numeros.dat")).left(1100 * 24));
    e.dialogo->siguiente = prueba::datoPrueba(QStringLiteral("historico_gordo.csv"));
    ui::Principal w;
    w.cargar(e.carpeta.path());
    QAction* a = w.findChild<QAction*>(QStringLiteral("importacsv"));
    QVERIFY(a->isEnabled());
    a->trigger();
    QCOMPARE(e.dialogo->titulos, QStringList{QStringLiteral("Importar sorteos de un archivo CSV")});
    QCOMPARE(e.mensajes->vistos.size(), 1);
    QCOMPARE(e.mensajes->vistos[0].texto, QStringLiteral("Se han añadido 14 sorteos del archivo."));
    QCOMPARE(e.leer(QStringLiteral("numeros.dat")), leer(QStringLiteral("numeros.dat")));
    QCOMPARE(w.findChild<QLabel*>(QStringLiteral("Label9_3"))->text(),
             QStringLiteral("Domingo, 16 de agosto del 2026"));
    QCOMPARE(w.general()->findChild<QScrollBar*>(QStringLiteral("HScroll1"))->value(), 8);
  }

  // What the tab shows of the newest stored draw, with the last answer about it or not.
  void ultimoSorteo_data() {
    QTest::addColumn<int>("sorteos");      // how many draws of the real history are stored
    QTest::addColumn<QString>("numeros");  // the balls, key last
    QTest::addColumn<QString>("primera");  // prize of the 3rd category
    QTest::addColumn<QString>("aviso");    // Text1, "" when the document is shown
    QTest::newRow("la respuesta es de ese sorteo") << 830 << "15 24 40 42 48 9"
                                                   << "47.445,95 €"
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
    for (int i = 0; i < 5; ++i) bolas << control<QLabel>(u, QStringLiteral("Numero_%1").arg(i))->text();
    bolas << control<QLabel>(u, "Clave")->text();
    QTEST(bolas.join(QLatin1Char(' ')), "numeros");
    QTEST(control<QLabel>(u, "Label10_2")->text(), "primera");
    QFETCH(QString, aviso);
    QCOMPARE(control<QWidget>(u, "WebBrowser1")->isHidden(), !aviso.isEmpty());
    if (!aviso.isEmpty()) QCOMPARE(control<QPlainTextEdit>(u, "Text1")->toPlainText(), aviso);
  }
};

QTEST_MAIN(TestDescargador)
#include "test_descargador.moc"
