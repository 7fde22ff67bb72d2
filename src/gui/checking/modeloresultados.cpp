#include "gui/checking/modeloresultados.h"

#include <QColor>

namespace sortilan::ui {

ModeloResultados::ModeloResultados(ListaResultados::Tipo tipo, QObject* padre)
    : QAbstractTableModel(padre), tipo_(tipo), cabeceras_(ListaResultados::cabeceras(tipo)) {}

void ModeloResultados::poner(std::shared_ptr<const ListaResultados> lista) {
  beginResetModel();
  lista_ = std::move(lista);
  endResetModel();
}

int ModeloResultados::rowCount(const QModelIndex& padre) const {
  return padre.isValid() || !lista_ ? 0 : lista_->filas();
}

int ModeloResultados::columnCount(const QModelIndex& padre) const {
  return padre.isValid() ? 0 : static_cast<int>(cabeceras_.size());
}

QVariant ModeloResultados::data(const QModelIndex& i, int rol) const {
  if (!lista_ || !i.isValid() || i.row() >= lista_->filas()) return {};
  switch (rol) {
    case Qt::DisplayRole: return lista_->texto(i.row(), i.column());
    case Qt::ForegroundRole:
      if (const auto c = lista_->color(i.row(), i.column())) return QColor::fromRgb(*c);
      return {};
    case Qt::TextAlignmentRole:
      if (i.column() == lista_->columnas() - 1) return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
      return QVariant::fromValue(Qt::AlignCenter);
    default: return {};
  }
}

QVariant ModeloResultados::headerData(int seccion, Qt::Orientation o, int rol) const {
  if (o == Qt::Horizontal && rol == Qt::DisplayRole && seccion >= 0 && seccion < cabeceras_.size())
    return cabeceras_.at(seccion);
  return QAbstractTableModel::headerData(seccion, o, rol);
}

}  // namespace sortilan::ui
