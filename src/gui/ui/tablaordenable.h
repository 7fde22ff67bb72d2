#pragma once

#include <QSortFilterProxyModel>
#include <functional>

class QAbstractItemView;
class QTableView;

namespace sortilan::ui {

// The value a column sorts by when its text would sort wrong: a QDate for dates, the
// cents of an amount, a number. Columns without it sort by their text, digits as numbers.
constexpr int kRolOrden = Qt::UserRole + 50;

// What a list shows once a header is clicked: the model's rows in the order of that
// column, those the filter keeps, each cell's whole text as its tooltip. The model is left
// as it is: its rows keep their numbers, which the views hand on (filaResaltada).
class ProxyTabla : public QSortFilterProxyModel {
  Q_OBJECT
 public:
  explicit ProxyTabla(QObject* padre = nullptr);

  // Keeps the rows of the model for which `admite(fila)` holds; none: every row.
  void filtrar(std::function<bool(int fila)> admite);

  QVariant data(const QModelIndex& indice, int rol) const override;

 protected:
  bool lessThan(const QModelIndex& izquierda, const QModelIndex& derecha) const override;
  bool filterAcceptsRow(int fila, const QModelIndex& padre) const override;

 private:
  std::function<bool(int)> admite_;
};

// Puts a ProxyTabla between `vista` and its model and sorts on a click of a header. The
// list keeps the model's order until the first click.
ProxyTabla* ordenarPorCabecera(QTableView& vista);

// The row of the model behind `indice`, through any proxies; -1 for an invalid index.
int filaModelo(const QModelIndex& indice);
// The index of the view for row `fila` (column `columna`) of the model behind it.
QModelIndex indiceVista(const QAbstractItemView& vista, int fila, int columna = 0);

}  // namespace sortilan::ui
