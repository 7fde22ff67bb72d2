#pragma once

#include <QWidget>
#include <array>

#include "checking/resumenpenas.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableView;
class QToolButton;
class QVBoxLayout;

namespace sortilan::ui {

class GraficoPena;
class ModeloPenas;

// Tab 2 "Gestor de peñas": the peña list, the selected peña's detail and the summary. The
// widgets are its own: it tells what the user asks for and shows what it is given.
class TabGestor : public QWidget {
  Q_OBJECT
 public:
  explicit TabGestor(QWidget* padre = nullptr);

  // The list and totals of resumen; also enables printing and deletion.
  void mostrarResumen(const ResumenPenas& r);
  // The detail of one peña. A corrupt record only clears List1: the rest keeps what it showed.
  void mostrarDetalle(const DetallePena& d);
  // List1 height in pixels for a height of the design in twips.
  int altoLista1(int twips) const;
  // Highlights row `fila` (0-based) of ListView1; `penaElegida` tells it even when the
  // row was highlighted already, since the list may hold other peñas now.
  void resaltar(int fila);
  // The list holds the single row "VACÍO": no peña to select.
  bool vacio() const;

 signals:
  // The row drawn highlighted in the peña list (0-based), -1 when none: by a click, the
  // keyboard or resaltar. Printing, deletion and the detail act on it.
  void penaElegida(int fila);
  void borrarPedido();
  void crearPedido();
  void imprimirPedido();

 private:
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
  ModeloPenas* modeloPenas = nullptr;
  GraficoPena* grafico3 = nullptr;  // the chart inside MSChart3
  GraficoPena* grafico2 = nullptr;  // the chart inside MSChart2
};

}  // namespace sortilan::ui
