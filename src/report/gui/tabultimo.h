#pragma once

#include <QWidget>
#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QVBoxLayout;

namespace sortilan::ui {

// Tab 1 "Último sorteo": the prize breakdown of the newest draw and its report document.
class TabUltimo : public QWidget {
  Q_OBJECT
 public:
  explicit TabUltimo(QWidget* padre = nullptr);

  QLabel* Label8 = nullptr;
  QLineEdit* Text1 = nullptr;
  QGroupBox* Frame2 = nullptr;
  std::array<QLabel*, 8> Label11{};  // category captions
  std::array<QLabel*, 8> Label10{};  // prize amounts
  QWidget* WebBrowser1 = nullptr;    // where the report document is shown
  QVBoxLayout* capaDocumento = nullptr;
};

}  // namespace sortilan::ui
