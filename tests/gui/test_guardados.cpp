#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "app/principal.h"
#include "gui/checking/comprobador.h"
#include "gui/checking/tabgestor.h"
#include "gui/printing/impresor.h"
#include "gui/printing/imprimir.h"
#include "gui/ui/avisoguardado.h"
#include "platform/escritorio.h"
#include "support/controles.h"
#include "support/dobles.h"

using namespace sortilan;
using namespace sortilan::ui;
using namespace Qt::StringLiterals;
using prueba::control;

namespace {

// Records what the window hands to the desktop instead of starting a program.
class EscritorioVisto : public plataforma::Escritorio {
 public:
  bool abrirArchivo(const QString& ruta) override {
    abiertos << ruta;
    return abre;
  }
  QStringList abiertos;
  bool abre = true;
};

}  // namespace

class PruebaGuardados : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    e_ = std::make_unique<prueba::Entorno>();
    escritorio_ = std::make_shared<EscritorioVisto>();
    plataforma::ponerEscritorio(escritorio_);
  }
  void cleanup() {
    plataforma::ponerEscritorio(nullptr);
    e_.reset();
  }

  // "Abrir" hands the file to the desktop; a file gone since, or no program for it, is told.
  void abrir_data() {
    QTest::addColumn<bool>("existe");
    QTest::addColumn<bool>("abre");
    QTest::addColumn<bool>("entregado");
    QTest::addColumn<QString>("aviso");
    QTest::newRow("abierto") << true << true << true << QString();
    QTest::newRow("sin programa") << true << false << true << u"No hay ningún programa del escritorio que abra «%1»."_s;
    QTest::newRow("borrado después") << false << true << false << u"El archivo «%1» ya no está."_s;
  }
  void abrir() {
    QFETCH(bool, existe);
    QFETCH(bool, abre);
    QFETCH(bool, entregado);
    QFETCH(QString, aviso);
    const QString ruta = e_->ruta(u"extracto socio 1.pdf"_s);
    e_->escribir(u"extracto socio 1.pdf"_s, "%PDF-1.4");
    escritorio_->abre = abre;
    QStatusBar barra;
    AvisoGuardado a(barra);
    QVERIFY(a.isHidden());
    barra.showMessage(u"Anotada la aportación de 20,00 € de Ana"_s);
    a.avisar(ruta);
    QVERIFY(!a.isHidden());
    QCOMPARE(barra.currentMessage(), QString());  // never one text over the other
    QCOMPARE(control<QLabel>(&a, "LabelGuardado")->text(), u"Guardado en «%1»"_s.arg(QDir::toNativeSeparators(ruta)));
    if (!existe) QVERIFY(QFile::remove(ruta));
    QTest::mouseClick(control<QPushButton>(&a, "CommandAbrir"), Qt::LeftButton);
    QCOMPARE(escritorio_->abiertos, entregado ? QStringList{ruta} : QStringList());
    QCOMPARE(e_->mensajes->vistos.size(), aviso.isEmpty() ? 0 : 1);
    if (!aviso.isEmpty()) QCOMPARE(e_->mensajes->vistos[0].texto, aviso.arg(QDir::toNativeSeparators(ruta)));
  }

  // A PDF saved from the print window: the main window's status bar tells where, and "Abrir"
  // opens that file; a save the user cancels or that fails leaves the notice as it was.
  void desdeLaVentana() {
    e_->copiar(u"penas_impresion.dat"_s, u"apuestas.dat"_s);
    Principal p;
    p.cargar(e_->carpeta.path());
    p.show();
    QApplication::setActiveWindow(&p);
    auto* aviso = p.statusBar()->findChild<AvisoGuardado*>();
    QVERIFY(aviso);
    QVERIFY(aviso->isHidden());
    auto* impresor = p.findChild<Impresor*>();
    p.comprobador()->ListView1_ItemClick(1);
    QTest::mouseClick(control<QToolButton>(p.gestor(), "Image1_3"), Qt::LeftButton);
    QVERIFY(impresor->ventana());
    e_->mensajes->vistos.clear();

    e_->dialogo->siguiente = e_->ruta(u"boletos"_s);
    QTest::mouseClick(control<QPushButton>(impresor->ventana(), "Command4"), Qt::LeftButton);
    const QString escrito = e_->ruta(u"boletos.pdf"_s);
    QVERIFY(QFile::exists(escrito));
    QVERIFY(!aviso->isHidden());
    QCOMPARE(aviso->ruta(), escrito);
    QVERIFY(control<QLabel>(aviso, "LabelGuardado")->text().contains(QDir::toNativeSeparators(escrito)));
    QTest::mouseClick(control<QPushButton>(aviso, "CommandAbrir"), Qt::LeftButton);
    QCOMPARE(escritorio_->abiertos, QStringList{escrito});

    for (const QString& elegido : {QString(), e_->ruta(u"no-existe/otro.pdf"_s)}) {
      e_->dialogo->siguiente = elegido;
      QTest::mouseClick(control<QPushButton>(impresor->ventana(), "Command4"), Qt::LeftButton);
      QCOMPARE(aviso->ruta(), escrito);
    }
    QCOMPARE(e_->mensajes->vistos.size(), 1);  // the failed save, told by the print window
  }

 private:
  std::unique_ptr<prueba::Entorno> e_;
  std::shared_ptr<EscritorioVisto> escritorio_;
};

QTEST_MAIN(PruebaGuardados)
#include "test_guardados.moc"
