#include "gui/ui/avisoguardado.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>

#include "platform/escritorio.h"
#include "platform/plataforma.h"

namespace sortilan::ui {

AvisoGuardado::AvisoGuardado(QStatusBar& barra) : QWidget(&barra) {
  setObjectName(QStringLiteral("AvisoGuardado"));
  auto* capa = new QHBoxLayout(this);
  capa->setContentsMargins(0, 0, 0, 0);
  LabelGuardado = new QLabel(this);
  LabelGuardado->setObjectName(QStringLiteral("LabelGuardado"));
  // A long path gives way to the bar's other texts; its tooltip still tells it whole.
  LabelGuardado->setMinimumWidth(0);
  LabelGuardado->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  capa->addWidget(LabelGuardado, 1);
  CommandAbrir = new QPushButton(QStringLiteral("Abrir"), this);
  CommandAbrir->setObjectName(QStringLiteral("CommandAbrir"));
  CommandAbrir->setAutoDefault(false);
  capa->addWidget(CommandAbrir);
  connect(CommandAbrir, &QPushButton::clicked, this, &AvisoGuardado::Abrir_Click);
  barra.addWidget(this, 1);
  hide();
}

void AvisoGuardado::avisar(const QString& ruta) {
  ruta_ = QFileInfo(ruta).absoluteFilePath();
  const QString texto = QStringLiteral("Guardado en «%1»").arg(QDir::toNativeSeparators(ruta_));
  LabelGuardado->setText(texto);
  LabelGuardado->setToolTip(texto);
  CommandAbrir->setToolTip(
      QStringLiteral("Abrir «%1» con el programa del escritorio").arg(QFileInfo(ruta_).fileName()));
  // A word shown before (what was just booked) would be drawn under this one.
  if (auto* barra = qobject_cast<QStatusBar*>(parentWidget())) barra->clearMessage();
  show();
}

void AvisoGuardado::Abrir_Click() {
  if (ruta_.isEmpty()) return;
  const QString nativa = QDir::toNativeSeparators(ruta_);
  // Moved or deleted since: the desktop would only show its own vaguer error.
  if (!QFileInfo::exists(ruta_)) {
    plataforma::mensaje(plataforma::Icono::Exclamacion, QStringLiteral("Abrir"),
                        QStringLiteral("El archivo «%1» ya no está.").arg(nativa));
    return;
  }
  if (!plataforma::escritorio().abrirArchivo(ruta_))
    plataforma::mensaje(plataforma::Icono::Exclamacion, QStringLiteral("Abrir"),
                        QStringLiteral("No hay ningún programa del escritorio que abra «%1».").arg(nativa));
}

}  // namespace sortilan::ui
