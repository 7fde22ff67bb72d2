#pragma once

#include <QWidget>
#include <array>

#include "session/sesion.h"

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QScrollBar;
class QTableView;
class QTimer;
class QToolButton;

namespace sortilan::ui {

// Tab 0 "General": the draw status, the result lists and the download controls.
class TabGeneral : public QWidget {
  Q_OBJECT
 public:
  explicit TabGeneral(QWidget* padre = nullptr);

  void mostrarEstado(const EstadoSorteos& e);
  void Timer2_Timer();

  std::array<QLabel*, 7> Label9{};
  QTableView* ListView2 = nullptr;
  QTableView* ListView4 = nullptr;
  QFrame* Shape2 = nullptr;
  QScrollBar* HScroll1 = nullptr;
  QLineEdit* Text3 = nullptr;
  QCheckBox* Check1 = nullptr;
  QCheckBox* Check2 = nullptr;
  std::array<QPushButton*, 2> Command1{};
  QToolButton* Picture2 = nullptr;
  QPushButton* Command6 = nullptr;
  QLabel* Label6 = nullptr;
  QLabel* Label58 = nullptr;
  QLabel* Label19 = nullptr;
  QProgressBar* ProgressBar1 = nullptr;
  QTimer* Timer2 = nullptr;
};

}  // namespace sortilan::ui
