#include "gui/auxiliary/acercade.h"

#include <QDir>
#include <QEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "auxiliary/versiones.h"
#include "base/programa.h"
#include "gui/ui/controles.h"
#include "gui/ui/secundaria.h"
#include "platform/plataforma.h"
#include "platform/servicios.h"
#include "platform/version.h"

namespace sortilan::ui {

Acercade::Acercade(QWidget* padre) : QWidget(padre, Qt::Window) {
  setObjectName(QStringLiteral("Acercade"));
  setWindowTitle(QStringLiteral("Sortilan ") + versionPrograma());
  setAttribute(Qt::WA_DeleteOnClose);
  setStyleSheet(
      QStringLiteral("#Acercade { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, "
                     "stop:0 #1c3f94, stop:1 #6fa0e8); } QLabel { color: white; }"));

  auto* capa = new QVBoxLayout(this);
  capa->setContentsMargins(24, 24, 24, 24);
  QLabel* producto = etiqueta(this, QStringLiteral("Image1"), QStringLiteral("SORTILAN"));
  producto->setStyleSheet(QStringLiteral("font-size: 32pt; font-weight: bold; color: #ffd700;"));
  producto->setAlignment(Qt::AlignCenter);
  capa->addWidget(producto);
  QLabel* lema =
      etiqueta(this, QStringLiteral("Label1"), QStringLiteral("Para El Gordo de la Primitiva  v.") + versionPrograma());
  lema->setAlignment(Qt::AlignCenter);
  capa->addWidget(lema);
  capa->addStretch();

  Label4 =
      etiqueta(this, QStringLiteral("Label4"), QStringLiteral("S.O: ") + VersionToName(plataforma::NativeGetVersion()));
  capa->addWidget(Label4);
  // Where this copy keeps its draws and peñas: the user's folder, its own or --datos.
  LabelDatos = etiqueta(this, QStringLiteral("LabelDatos"),
                        QStringLiteral("Datos: ") + QDir::toNativeSeparators(plataforma::carpetaPrograma()));
  LabelDatos->setWordWrap(true);
  LabelDatos->setTextInteractionFlags(Qt::TextSelectableByMouse);
  capa->addWidget(LabelDatos);
  web_ = plataforma::servicios().delFabricante(QStringLiteral("/"));
  Label2 = etiqueta(this, QStringLiteral("Label2"), web_.toString());
  // Without a configured server there is no site to link to.
  Label2->setVisible(!web_.isEmpty());
  Label2->setCursor(Qt::PointingHandCursor);
  Label2->setStyleSheet(QStringLiteral("color: #ffff99; text-decoration: underline;"));
  Label2->installEventFilter(this);
  capa->addWidget(Label2);
  auto* pie = new QHBoxLayout;
  pie->addStretch();
  Command1 = botonAceptar(*this, QStringLiteral("Command1"));
  pie->addWidget(Command1);
  capa->addLayout(pie);
  cerrarConEscape(*this);
  Command1->setFocus();
  resize(420, 280);
}

void Acercade::Label2_Click() {
  if (!web_.isEmpty()) plataforma::navegador().abrir(web_);
}

bool Acercade::eventFilter(QObject* objeto, QEvent* evento) {
  if (objeto == Label2 && evento->type() == QEvent::MouseButtonRelease) Label2_Click();
  return QWidget::eventFilter(objeto, evento);
}

}  // namespace sortilan::ui
