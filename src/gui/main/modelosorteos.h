#pragma once

#include <QAbstractTableModel>

#include "session/sesion.h"

namespace sortilan::ui {

// The draw list ListView3: texts are built when a row is shown.
class ModeloSorteos : public QAbstractTableModel {
  Q_OBJECT
 public:
  using QAbstractTableModel::QAbstractTableModel;

  void poner(std::vector<Sorteo> sorteos);
  // Takes row k (0-based view row) out of the list without rebuilding it.
  void quitarFila(int fila);
  // The draw shown in row k (0-based); null past the end.
  const Sorteo* sorteo(int fila) const {
    return fila >= 0 && fila < static_cast<int>(sorteos_.size()) ? &sorteos_[static_cast<size_t>(fila)] : nullptr;
  }

  int rowCount(const QModelIndex& padre = {}) const override;
  int columnCount(const QModelIndex& padre = {}) const override;
  QVariant data(const QModelIndex& indice, int rol) const override;
  QVariant headerData(int seccion, Qt::Orientation o, int rol) const override;

 private:
  std::vector<Sorteo> sorteos_;  // newest first
};

}  // namespace sortilan::ui
