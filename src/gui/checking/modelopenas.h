#pragma once

#include <QAbstractTableModel>

#include "checking/resumenpenas.h"

namespace sortilan::ui {

// ListView1, the peña list: row k is peña record k + 1, or the single row "VACÍO".
class ModeloPenas : public QAbstractTableModel {
  Q_OBJECT
 public:
  using QAbstractTableModel::QAbstractTableModel;

  void poner(const ResumenPenas& resumen);
  bool vacio() const { return vacio_; }

  int rowCount(const QModelIndex& padre = {}) const override;
  int columnCount(const QModelIndex& padre = {}) const override;
  QVariant data(const QModelIndex& indice, int rol) const override;
  QVariant headerData(int seccion, Qt::Orientation o, int rol) const override;

 private:
  bool vacio_ = true;
  std::vector<FilaPena> filas_;
};

}  // namespace sortilan::ui
