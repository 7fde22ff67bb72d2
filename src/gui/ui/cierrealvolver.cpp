#include "gui/ui/cierrealvolver.h"

#include <QEvent>
#include <QWidget>

namespace sortilan::ui {

CierreAlVolver::CierreAlVolver(QWidget& principal, std::function<void()> cerrar, QObject* padre)
    : QObject(padre), principal_(principal), cerrar_(std::move(cerrar)) {
  principal_.installEventFilter(this);
}

bool CierreAlVolver::eventFilter(QObject* objeto, QEvent* evento) {
  if (objeto == &principal_ && evento->type() == QEvent::ActivationChange) {
    if (!principal_.isActiveWindow())
      dejada_ = true;
    else if (dejada_)
      cerrar_();
  }
  return QObject::eventFilter(objeto, evento);
}

}  // namespace sortilan::ui
