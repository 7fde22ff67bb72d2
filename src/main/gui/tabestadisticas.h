#pragma once

#include <QWidget>
#include <array>

class QLabel;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTableView;
class QToolButton;
class QVBoxLayout;

namespace sortilan::ui {

class ModeloSorteos;

// Tab 3 "Estadísticas": the frequency chart, the draw list and draw maintenance.
class TabEstadisticas : public QWidget {
  Q_OBJECT
 public:
  explicit TabEstadisticas(QWidget* padre = nullptr);

  QWidget* MSChart1 = nullptr;  // the chart area; the statistics view is placed in it
  QVBoxLayout* capaGrafico = nullptr;
  QScrollBar* HScroll2 = nullptr;
  std::array<QRadioButton*, 2> Option1{};
  QTableView* ListView3 = nullptr;
  ModeloSorteos* modeloSorteos = nullptr;
  QLabel* Label7 = nullptr;
  QPushButton* Command5 = nullptr;
  QPushButton* Command8 = nullptr;
  QToolButton* Image1_2 = nullptr;
  QToolButton* Image1_4 = nullptr;
};

}  // namespace sortilan::ui
