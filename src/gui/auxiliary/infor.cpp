#include "gui/auxiliary/infor.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStringDecoder>
#include <QTimer>
#include <QVBoxLayout>

#include "gui/ui/controles.h"
#include "gui/ui/secundaria.h"
#include "platform/servicios.h"
#include "store/codec.h"
#include "store/escritura.h"

namespace sortilan::ui {

QVariant NavegadorInforme::loadResource(int, const QUrl&) { return {}; }

QString textoInforme(const QByteArray& datos) {
  QStringDecoder declarado = QStringDecoder::decoderForHtml(datos);
  if (declarado.isValid() && QLatin1String(declarado.name()) != QLatin1String("UTF-8")) return declarado(datos);
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString t = utf8(datos);
  if (!utf8.hasError()) return t;
  return desdeWindows1252(datos);
}

Infor::Infor(const QString& informe, QWidget* padre) : QWidget(padre, Qt::Window | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("Infor"));
  setWindowTitle(QStringLiteral("Noticias del jefe..."));
  setAttribute(Qt::WA_DeleteOnClose);
  resize(560, 460);
  move(0, 0);

  auto* capa = new QVBoxLayout(this);
  Image1 = etiqueta(this, QStringLiteral("Image1"), QStringLiteral("Noticias"));
  Image1->setStyleSheet(QStringLiteral("font-size: 18pt; font-weight: bold; color: rgb(128, 0, 0);"));
  capa->addWidget(Image1);

  WebBrowser1 = new NavegadorInforme(this);
  WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
  WebBrowser1->setOpenLinks(false);
  WebBrowser1->setOpenExternalLinks(false);
  capa->addWidget(WebBrowser1, 1);
  if (informeVisible(QFileInfo(informe).size())) {
    WebBrowser1->setHtml(textoInforme(leerArchivo(informe)));
  } else {
    WebBrowser1->hide();
  }

  // The label moves freely along its own strip, in twips like the rest of the layout.
  auto* pie = new QHBoxLayout;
  pista_ = new QWidget(this);
  pista_->setMinimumHeight(24);
  pie->addWidget(pista_, 1);
  Command1 = botonAceptar(*this, QStringLiteral("Command1"));
  pie->addWidget(Command1, 0, Qt::AlignBottom);
  capa->addLayout(pie);
  cerrarConEscape(*this);
  Command1->setFocus();
  const plataforma::Servicios servicios = plataforma::servicios();
  Label1 = etiqueta(pista_, QStringLiteral("Label1"),
                    servicios.hayFabricante() ? QStringLiteral("soporte@") + servicios.fabricante.host()
                                              : QStringLiteral("Sortilan"));
  Label1->setStyleSheet(QStringLiteral("color: rgb(0, 0, 160); font-weight: bold;"));
  Label1->adjustSize();
  // The strip holds the label at the far end of its drift (3800 twips).
  pista_->setMinimumWidth(static_cast<int>(3800 * logicalDpiX() / 1440.0) + Label1->width() + 4);
  colocarEtiqueta();

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(100);
  connect(Timer1, &QTimer::timeout, this, &Infor::Timer1_Timer);
  Timer1->start();
}

void Infor::Timer1_Timer() {
  deriva_.avanzar();
  colocarEtiqueta();
}

void Infor::colocarEtiqueta() {
  const double pxPorTwip = logicalDpiX() / 1440.0;
  Label1->move(static_cast<int>(deriva_.izquierda * pxPorTwip), 2);
}

}  // namespace sortilan::ui
