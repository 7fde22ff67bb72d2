#pragma once

#include <QObject>
#include <functional>

class QWidget;

namespace sortilan::ui {

// Closes a secondary window when the main window becomes active again after it lost
// the focus while the window was open. Closing a menu re-activates the main window
// without it ever having been left, and that must not close anything.
class CierreAlVolver : public QObject {
  Q_OBJECT
 public:
  CierreAlVolver(QWidget& principal, std::function<void()> cerrar, QObject* padre);

  // The window has just been opened: only a later departure counts.
  void abierta() { dejada_ = false; }

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override;

 private:
  QWidget& principal_;
  std::function<void()> cerrar_;
  bool dejada_ = false;
};

}  // namespace sortilan::ui
