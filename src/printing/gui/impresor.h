#pragma once

#include <QObject>
#include <QPointer>

namespace sortilan::ui {

class Imprimir;
class CierreAlVolver;
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

 private:
  Principal& p_;
  CierreAlVolver* cierre_ = nullptr;
  QPointer<Imprimir> ventana_;
};

}  // namespace sortilan::ui
