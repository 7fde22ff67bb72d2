#include "gui/auxiliary/interruptoravisos.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMenu>
#include <QSignalBlocker>

#include "platform/plataforma.h"
#include "platform/programacion.h"

namespace sortilan::ui {

namespace {

const QString kTitulo = QStringLiteral("Avisos automáticos");

// The timer runs the command line that came with this window.
QString ejecutableLinea() { return QCoreApplication::applicationDirPath() + QStringLiteral("/sortilan-cli"); }

}  // namespace

InterruptorAvisos::InterruptorAvisos(QAction* accion, QMenu* menu, QObject* padre) : QObject(padre), accion_(accion) {
  accion_->setCheckable(true);
  accion_->setToolTip(
      QStringLiteral("Baja los sorteos los domingos por la noche y los lunes por la mañana y avisa "
                     "en el escritorio de los premios y de los plazos de cobro, aunque Sortilan esté "
                     "cerrado."));
  connect(menu, &QMenu::aboutToShow, this, &InterruptorAvisos::leerEstado);
  connect(accion_, &QAction::triggered, this, &InterruptorAvisos::cambiar);
}

void InterruptorAvisos::leerEstado() {
  const QSignalBlocker b(accion_);
  accion_->setChecked(plataforma::estadoAvisosAutomaticos() == plataforma::EstadoProgramacion::Activada);
}

void InterruptorAvisos::cambiar(bool activar) {
  const QString cli = ejecutableLinea();
  Resultado r;
  if (activar && !QFileInfo(cli).isExecutable())
    r = Resultado::fallo(QStringLiteral("No se encuentra sortilan-cli junto al programa (%1): es quien baja los "
                                        "sorteos cuando la ventana está cerrada.")
                             .arg(cli));
  else
    r = activar ? plataforma::activarAvisosAutomaticos(cli, plataforma::carpetaPrograma())
                : plataforma::desactivarAvisosAutomaticos();
  if (!r)
    plataforma::mensaje(plataforma::Icono::Exclamacion, kTitulo, r.error);
  else
    plataforma::mensaje(plataforma::Icono::Informacion, kTitulo,
                        activar ? QStringLiteral("Los sorteos se bajarán los domingos a las 23:30 y los lunes a las "
                                                 "10:00, y Sortilan avisará en el escritorio de los premios y de los "
                                                 "plazos de cobro.")
                                : QStringLiteral("Avisos automáticos desactivados."));
  leerEstado();
}

}  // namespace sortilan::ui
