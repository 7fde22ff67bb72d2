#pragma once

#include <QObject>
#include <QPointer>

namespace sortilan::ui {

class Imprimir;
class Principal;

// Opens the print window from the peña manager and closes it when the main window
// becomes active again.
class Impresor : public QObject {
  Q_OBJECT
 public:
  explicit Impresor(Principal& principal);
  ~Impresor() override;

  void Command2_Click();
  Imprimir* ventana() const;
  void cerrar();

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override;

 private:
  Principal& p_;
  // Set when the main window loses the focus after the window opened; only a return
  // after that closes it (closing a menu re-activates the main window too).
  bool principalDejada_ = false;
  QPointer<Imprimir> ventana_;
};

}  // namespace sortilan::ui
