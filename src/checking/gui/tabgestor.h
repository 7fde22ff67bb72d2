#pragma once

#include <QWidget>
#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableView;
class QToolButton;
class QVBoxLayout;

namespace sortilan::ui {

// Tab 2 "Gestor de peñas": the peña list, the selected peña's detail and the summary.
class TabGestor : public QWidget {
  Q_OBJECT
 public:
  explicit TabGestor(QWidget* padre = nullptr);

  QTableView* ListView1 = nullptr;
  QListWidget* List1 = nullptr;
  QGroupBox* Frame1 = nullptr;
  std::array<QLabel*, 8> Label3{};
  QLabel* Label17 = nullptr;
  QLabel* Label16 = nullptr;
  QWidget* MSChart3 = nullptr;
  QWidget* MSChart2 = nullptr;
  QLabel* Label13 = nullptr;
  QLineEdit* Text4 = nullptr;
  QLineEdit* Text5 = nullptr;
  QPushButton* Command3 = nullptr;
  QPushButton* Command4 = nullptr;
  QPushButton* Command2 = nullptr;
  std::array<QToolButton*, 3> Image1{};  // elements 0, 1 and 3 of the icon array
};

}  // namespace sortilan::ui
