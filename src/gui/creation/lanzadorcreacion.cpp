#include "gui/creation/lanzadorcreacion.h"

#include "gui/creation/crea.h"
#include "gui/creation/creamenu.h"

namespace sortilan::ui {

LanzadorCreacion::LanzadorCreacion(Sesion& sesion, QWidget* principal)
    : QObject(principal), sesion_(sesion), principal_(principal) {}

Creamenu* LanzadorCreacion::creamenu() const { return menu_; }
Crea* LanzadorCreacion::crea() const { return crea_; }

void LanzadorCreacion::cerrarVentanas() {
  // The windows delete themselves on close.
  if (crea_ && crea_->isVisible()) crea_->close();
  if (menu_ && menu_->isVisible()) menu_->close();
}

void LanzadorCreacion::Command4_Click() {
  if (!menu_) {
    menu_ = new Creamenu(principal_);
    connect(menu_, &Creamenu::elegido, this, &LanzadorCreacion::abrirCrea);
  }
  menu_->show();
  menu_->raise();
  menu_->activateWindow();
}

void LanzadorCreacion::abrirCrea(int tipoapuesta) {
  if (crea_) crea_->close();
  crea_ = new Crea(sesion_, tipoapuesta, principal_);
  connect(crea_, &Crea::penaGrabada, this, &LanzadorCreacion::penaGrabada);
  // Shown and activated before the chooser closes, so the focus passes from one
  // secondary window to the other and never through the main window (whose
  // activation would close them both).
  crea_->show();
  crea_->raise();
  crea_->activateWindow();
}

}  // namespace sortilan::ui
