#pragma once

#include <QWidget>
#include <vector>

namespace sortilan::ui {

class CasillaBoleto;

// A picture of the official ticket: the number grid (cells 0..53, number n in column
// n div 10 and row n mod 10) or the key-number column (cells 54..63, key k in row k).
// Geometry is given in twips relative to the panel, as on the printed ticket.
class PanelBoleto : public QWidget {
  Q_OBJECT
 public:
  enum class Clase { Numeros, Clave };
  PanelBoleto(Clase clase, QWidget* padre);

  static constexpr int kTwipsPorPixel = 15;  // 1/1440 inch at 96 dpi
  static constexpr int kAnchoCelda = 270;
  static constexpr int kAltoCelda = 375;
  // Top-left corner of cell `indice` in twips.
  static QPoint esquinaTwips(int indice);

  Clase clase() const { return clase_; }
  const std::vector<CasillaBoleto*>& casillas() const { return casillas_; }
  CasillaBoleto* casilla(int indice) const;
  // The cell the keyboard stands on: arrows move it over the ticket, Space marks it.
  int actual() const { return actual_; }

 signals:
  void pulsada(int indice);

 protected:
  void paintEvent(QPaintEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;

 private:
  // The cell one step from `indice` in the ticket's arrangement, or `indice` at an edge.
  int vecina(int indice, int columnas, int filas) const;
  QRect rectCelda(int indice) const;

  Clase clase_;
  std::vector<CasillaBoleto*> casillas_;
  int actual_ = 0;
};

}  // namespace sortilan::ui
