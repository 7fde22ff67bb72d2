#pragma once

#include <QTimer>
#include <QWidget>
#include <functional>

namespace sortilan::ui {

// Splash window: opens the main window after 38 ticks of 250 ms or on "Entrar".
class Presentacion : public QWidget {
  Q_OBJECT
 public:
  explicit Presentacion(std::function<void()> entrar, QWidget* padre = nullptr);

  int contador() const { return contador_; }
  // One tick of Timer1; public so tests need not wait on the real timer.
  void Timer1_Timer();
  void Command1_Click();

 protected:
  // Any click or key on the splash enters at once.
  bool eventFilter(QObject* objeto, QEvent* evento) override;

 private:
  std::function<void()> entrar_;
  QTimer* Timer1_;
  int contador_ = 2;
  bool entrado_ = false;
};

}  // namespace sortilan::ui
