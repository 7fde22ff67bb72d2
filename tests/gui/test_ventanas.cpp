// What every window does with the keyboard: questions that delete answer No to Return,
// Escape closes the secondary windows, the splash enters on any key or click.
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "app/presentacion.h"
#include "gui/auxiliary/acercade.h"
#include "gui/auxiliary/infor.h"
#include "gui/creation/crea.h"
#include "gui/creation/creamenu.h"
#include "gui/platform/adaptadoresqt.h"
#include "gui/printing/imprimir.h"
#include "session/sesion.h"
#include "store/almacen.h"
#include "support/dobles.h"

using namespace Qt::StringLiterals;

using namespace sortilan;
using namespace sortilan::ui;
using plataforma::Botones;
using plataforma::Respuesta;

Q_DECLARE_METATYPE(sortilan::plataforma::Respuesta)

namespace {

// Everything a secondary window needs, built on one data folder.
struct Banco {
  prueba::Entorno e;
  Sesion sesion;
  Almacen almacen;
  Banco() {
    e.copiar(QStringLiteral("penas_impresion.dat"), QStringLiteral("apuestas.dat"));
    prueba::exigir(sesion.abrir(e.carpeta.path()));
    prueba::exigir(almacen.abrir(e.carpeta.path()));
  }
  QWidget* crear(const QString& nombre) {
    if (nombre == QLatin1String("Acercade")) return new Acercade;
    if (nombre == QLatin1String("Infor")) return new Infor(e.ruta(QStringLiteral("informe.dat")));
    if (nombre == QLatin1String("Creamenu")) return new Creamenu;
    if (nombre == QLatin1String("Crea")) return new Crea(sesion, 0);
    return new Imprimir(almacen, 1);
  }
};

// Shows `w`, lets it take the focus, and reports whether `accion` closed (and deleted) it.
bool cierra(QWidget* w, const std::function<void()>& accion) {
  QPointer<QWidget> vigilada(w);
  w->show();
  if (!QTest::qWaitForWindowActive(w)) return false;
  accion();
  QTest::qWait(0);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  const bool cerrada = !vigilada || !vigilada->isVisible();
  delete vigilada.data();
  return cerrada;
}

}  // namespace

class TestVentanas : public QObject {
  Q_OBJECT
 private slots:
  // The real message box: Return presses the default the caller named, Escape says No.
  void cajaDeMensajes_data() {
    QTest::addColumn<Respuesta>("predeterminada");
    QTest::addColumn<int>("tecla");
    QTest::addColumn<Respuesta>("respuesta");
    QTest::newRow("No por defecto, Intro") << Respuesta::No << int(Qt::Key_Return) << Respuesta::No;
    QTest::newRow("No por defecto, Escape") << Respuesta::No << int(Qt::Key_Escape) << Respuesta::No;
    QTest::newRow("Sí por defecto, Intro") << Respuesta::Si << int(Qt::Key_Return) << Respuesta::Si;
    QTest::newRow("Sí por defecto, Escape") << Respuesta::Si << int(Qt::Key_Escape) << Respuesta::No;
  }
  void cajaDeMensajes() {
    QFETCH(Respuesta, predeterminada);
    QFETCH(int, tecla);
    QStringList botones;
    QString porDefecto;
    QTimer::singleShot(0, this, [&] {
      auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      QVERIFY(caja);
      for (QAbstractButton* b : caja->buttons()) botones << b->text();
      porDefecto = caja->defaultButton()->text();
      QTest::keyClick(caja, static_cast<Qt::Key>(tecla));
    });
    plataforma::MensajesQt cajas;
    const Respuesta r = cajas.mostrar(plataforma::Icono::Pregunta, QStringLiteral("Borrar..."),
                                      QStringLiteral("¿Seguro?"), Botones::SiNo, predeterminada);
    botones.sort();
    QCOMPARE(botones, (QStringList{u"No"_s, u"Sí"_s}));
    QCOMPARE(porDefecto, predeterminada == Respuesta::Si ? QStringLiteral("Sí") : QStringLiteral("No"));
    QTEST(r, "respuesta");
  }

  // A Yes/No question that does not name its default answers No to Return.
  void preguntaSinPredeterminadaEsNo() {
    prueba::Entorno e;
    plataforma::mensaje(plataforma::Icono::Pregunta, QStringLiteral("t"), QStringLiteral("x"), Botones::SiNo);
    plataforma::mensaje(plataforma::Icono::Informacion, QStringLiteral("t"), QStringLiteral("x"));
    QCOMPARE(e.mensajes->vistos[0].predeterminada, Respuesta::No);
    QCOMPARE(e.mensajes->vistos[1].predeterminada, Respuesta::Aceptar);
  }

  void escapeCierra_data() {
    QTest::addColumn<QString>("ventana");
    for (const char* n : {"Acercade", "Infor", "Creamenu", "Crea", "Imprimir"})
      QTest::newRow(n) << QString::fromUtf8(n);
  }
  void escapeCierra() {
    QFETCH(QString, ventana);
    Banco b;
    QWidget* w = b.crear(ventana);
    QCOMPARE(w->objectName(), ventana);
    QVERIFY(cierra(
        w, [&] { QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : w, Qt::Key_Escape); }));
  }

  // The news and about windows close with their "Aceptar" button, by click or Return.
  void aceptarCierra_data() {
    QTest::addColumn<QString>("ventana");
    QTest::addColumn<bool>("intro");
    for (const char* n : {"Acercade", "Infor"}) {
      QTest::newRow(qPrintable(QStringLiteral("%1, clic").arg(QLatin1String(n)))) << QString::fromUtf8(n) << false;
      QTest::newRow(qPrintable(QStringLiteral("%1, Intro").arg(QLatin1String(n)))) << QString::fromUtf8(n) << true;
    }
  }
  void aceptarCierra() {
    QFETCH(QString, ventana);
    QFETCH(bool, intro);
    Banco b;
    QWidget* w = b.crear(ventana);
    auto* aceptar = w->findChild<QPushButton*>(QStringLiteral("Command1"));
    QVERIFY(aceptar);
    QCOMPARE(aceptar->text(), QStringLiteral("Aceptar"));
    QVERIFY(cierra(w, [&] {
      if (intro)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
      else
        QTest::mouseClick(aceptar, Qt::LeftButton);
    }));
  }

  void presentacionEntra_data() {
    QTest::addColumn<int>("tecla");  // 0: a click on the picture
    QTest::addColumn<int>("entradas");
    QTest::newRow("Intro") << int(Qt::Key_Return) << 1;
    QTest::newRow("espacio") << int(Qt::Key_Space) << 1;
    QTest::newRow("una letra") << int(Qt::Key_A) << 1;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << 1;
    QTest::newRow("clic") << 0 << 1;
    QTest::newRow("mayúsculas sola") << int(Qt::Key_Shift) << 0;
  }
  void presentacionEntra() {
    QFETCH(int, tecla);
    int entradas = 0;
    Presentacion p([&] { ++entradas; });
    p.show();
    QVERIFY(QTest::qWaitForWindowActive(&p));
    auto* entrar = p.findChild<QPushButton*>(QStringLiteral("Command1"));
    QVERIFY(entrar->isDefault());
    QCOMPARE(QApplication::focusWidget(), entrar);
    if (tecla == 0)
      QTest::mouseClick(&p, Qt::LeftButton, {}, QPoint(5, 5));
    else
      QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(tecla));
    QTEST(entradas, "entradas");
    // The timer still enters on its own, once.
    for (int i = 0; i < 38; ++i) p.Timer1_Timer();
    QCOMPARE(entradas, 1);
  }
};

QTEST_MAIN(TestVentanas)
#include "test_ventanas.moc"
