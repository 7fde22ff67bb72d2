#pragma once

#include <QWidget>
#include <array>

#include "session/sesion.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTableView;
class QToolButton;
class QVBoxLayout;

namespace sortilan::ui {

class ModeloSorteos;
class ProxyTabla;

// Tab 3 "Estadísticas": the frequency chart, the draw list and draw maintenance. The
// widgets are its own; the main window wires what the user does to the chart and the
// maintenance, and hands back what they show.
class TabEstadisticas : public QWidget {
  Q_OBJECT
 public:
  explicit TabEstadisticas(QWidget* padre = nullptr);

  // The chart view goes into the chart area.
  void ponerGrafico(QWidget* vista);
  // The draw list and its total.
  void ponerSorteos(ListaSorteos lista);
  // The draw shown in row `fila` (1 = the newest); null past the end.
  const Sorteo* sorteo(int fila) const;
  // Takes row `fila` (1 = the newest) out of the list without rebuilding it.
  void quitarSorteo(int fila);
  // The half selector back to numbers 1..27.
  void volverAlPrincipio();

 public slots:
  // Numbers (0) or key (1) chosen; the half selector only serves the numbers.
  void marcarOpcion(int indice);

 signals:
  void opcionPulsada(int indice);
  // The half selector: 1 for numbers 1..27, 2 for 28..54.
  void mitadCambiada(int mitad);
  void borrarTodosPulsado();
  void anadirTodosPulsado();
  // A click on row `fila` of the draw list, or Supr while it is highlighted; 1 = the newest.
  void sorteoPulsado(int fila);

 private:
  QWidget* MSChart1 = nullptr;
  QVBoxLayout* capaGrafico = nullptr;
  QScrollBar* HScroll2 = nullptr;
  std::array<QRadioButton*, 2> Option1{};
  QTableView* ListView3 = nullptr;
  ModeloSorteos* modeloSorteos = nullptr;
  ProxyTabla* ordenSorteos = nullptr;
  QLineEdit* FiltroSorteos = nullptr;  // a date or winning numbers: the draws shown
  QLabel* Label7 = nullptr;
  QPushButton* Command5 = nullptr;
  QPushButton* Command8 = nullptr;
  QToolButton* Image1_2 = nullptr;
  QToolButton* Image1_4 = nullptr;
};

}  // namespace sortilan::ui
