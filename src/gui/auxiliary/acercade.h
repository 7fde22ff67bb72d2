#pragma once

#include <QUrl>
#include <QWidget>

class QLabel;
class QPushButton;

namespace sortilan::ui {

// "Acerca de...": the product, the system it runs on, the data folder in use and the
// maker's web site.
class Acercade : public QWidget {
  Q_OBJECT
 public:
  explicit Acercade(QWidget* padre = nullptr);

  void Label2_Click();
  QUrl web() const { return web_; }

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override;

 private:
  QLabel* Label4 = nullptr;
  QLabel* LabelDatos = nullptr;  // the data folder in use
  QLabel* Label2 = nullptr;
  QPushButton* Command1 = nullptr;  // "Aceptar"
  QUrl web_;
};

}  // namespace sortilan::ui
