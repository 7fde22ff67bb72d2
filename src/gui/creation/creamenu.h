#pragma once

#include <QWidget>
#include <array>

class QCheckBox;
class QFrame;
class QLabel;
class QRadioButton;
class QTimer;

namespace sortilan::ui {

// "Menú creación": simple bets or one multiple bet of 6 to 11 numbers.
class Creamenu : public QWidget {
  Q_OBJECT
 public:
  explicit Creamenu(QWidget* padre = nullptr);

  int contador() const { return contador_; }
  // One tick of Timer1; public so tests need not wait on the real timer.
  void Timer1_Timer();
  void Check1_Click(int indice);
  void Option1_Click(int indice);

 signals:
  // tipoapuesta: 0 = simple bets, k = one multiple bet of 5 + k numbers.
  void elegido(int tipoapuesta);

 private:
  QLabel* Label2 = nullptr;
  std::array<QCheckBox*, 2> Check1{};      // 0 "Múltiple", 1 "Sencilla"
  std::array<QRadioButton*, 7> Option1{};  // elements 1..6
  QFrame* Shape2 = nullptr;
  std::array<QLabel*, 18> Label1{};
  QTimer* Timer1 = nullptr;
  int contador_ = 0;
};

}  // namespace sortilan::ui
