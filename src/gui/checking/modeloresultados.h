#pragma once

#include <QAbstractTableModel>
#include <memory>

#include "checking/resultados.h"

namespace sortilan::ui {

// ListView2 / ListView4: a view over the compact rows of a check. Texts and colours
// are worked out only for the rows on screen, so a whole history stays light.
class ModeloResultados : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit ModeloResultados(ListaResultados::Tipo tipo, QObject* padre = nullptr);

  void poner(std::shared_ptr<const ListaResultados> lista);
  const ListaResultados* lista() const { return lista_.get(); }

  int rowCount(const QModelIndex& padre = {}) const override;
  int columnCount(const QModelIndex& padre = {}) const override;
  QVariant data(const QModelIndex& indice, int rol) const override;
  QVariant headerData(int seccion, Qt::Orientation o, int rol) const override;

 private:
  ListaResultados::Tipo tipo_;
  QStringList cabeceras_;
  std::shared_ptr<const ListaResultados> lista_;
};

}  // namespace sortilan::ui
