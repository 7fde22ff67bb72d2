#pragma once

#include <QWidget>

namespace sortilan::ui {

// One cell of the ticket (element of the Image1 array): transparent over the ticket
// picture, it shows the mark when marked and reports a click with its index.
class CasillaBoleto : public QWidget {
  Q_OBJECT
 public:
  CasillaBoleto(int indice, QWidget* padre);

  int indice() const { return indice_; }
  bool marcada() const { return marcada_; }
  void marcar(bool si);

 signals:
  void pulsada(int indice);

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  // A double click is one click for the user: the second half must not undo the first,
  // nor land on the number panel that has just replaced the key panel under the pointer.
  void mouseDoubleClickEvent(QMouseEvent* e) override;

 private:
  int indice_;
  bool marcada_ = false;
};

}  // namespace sortilan::ui
