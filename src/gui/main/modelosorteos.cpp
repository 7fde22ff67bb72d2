#include "gui/main/modelosorteos.h"

#include <QFont>

#include "gui/ui/tablaordenable.h"

namespace sortilan::ui {

void ModeloSorteos::poner(std::vector<Sorteo> sorteos) {
  beginResetModel();
  sorteos_.assign(sorteos.rbegin(), sorteos.rend());
  endResetModel();
}

void ModeloSorteos::quitarFila(int fila) {
  if (fila < 0 || fila >= rowCount()) return;
  beginRemoveRows({}, fila, fila);
  sorteos_.erase(sorteos_.begin() + fila);
  endRemoveRows();
}

int ModeloSorteos::rowCount(const QModelIndex& padre) const {
  return padre.isValid() ? 0 : static_cast<int>(sorteos_.size());
}

int ModeloSorteos::columnCount(const QModelIndex& padre) const { return padre.isValid() ? 0 : 2; }

QVariant ModeloSorteos::data(const QModelIndex& indice, int rol) const {
  if (!indice.isValid() || indice.row() >= rowCount()) return {};
  const Sorteo& s = sorteos_[static_cast<size_t>(indice.row())];
  if (rol == Qt::DisplayRole) return indice.column() == 0 ? textoSorteo(s) : textoFechaSorteo(s);
  if (rol == kRolOrden && indice.column() == 1) return s.fecha;
  if (rol == Qt::FontRole) {
    QFont f(QStringLiteral("Courier"));
    f.setStyleHint(QFont::TypeWriter);
    f.setBold(indice.column() == 0);
    return f;
  }
  return {};
}

QVariant ModeloSorteos::headerData(int seccion, Qt::Orientation o, int rol) const {
  if (o != Qt::Horizontal || rol != Qt::DisplayRole) return {};
  return seccion == 0 ? QStringLiteral("Números ganadores") : QStringLiteral("Fecha");
}

}  // namespace sortilan::ui
