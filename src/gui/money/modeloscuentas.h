#pragma once

#include <QAbstractTableModel>

#include "money/balance.h"

namespace sortilan::ui {

// The peñas of "Cuentas": draws played, cost, won, lost, net and what is still to collect.
class ModeloCuentasPenas : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Columna { Pena, Sorteos, Coste, Ganado, Caducado, Neto, PorCobrar, kColumnas };
  using QAbstractTableModel::QAbstractTableModel;

  void poner(const Cuentas& cuentas);
  // Record number of row `fila`, 0 outside.
  int registro(int fila) const;
  int fila(int registro) const;

  int rowCount(const QModelIndex& padre = {}) const override;
  int columnCount(const QModelIndex& padre = {}) const override;
  QVariant data(const QModelIndex& indice, int rol) const override;
  QVariant headerData(int seccion, Qt::Orientation o, int rol) const override;

 private:
  struct Fila {
    int registro;
    QStringList textos;
    QVariantList valores;  // what each column sorts by (kRolOrden)
  };
  std::vector<Fila> filas_;
};

// The draws of the selected peña, newest first: cost, prizes by category with amounts,
// what was won (or lost) and the state of its collection.
class ModeloCuentasSorteos : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Columna { Fecha, Apuestas, Coste, Premios, Ganado, Caducado, Neto, Lugar, Cobro, kColumnas };
  using QAbstractTableModel::QAbstractTableModel;

  // `pena` null: no peña selected.
  void poner(const Cuentas& cuentas, const CuentaPena* pena);
  QDate fecha(int fila) const;
  // The collection of row `fila`; null when that draw won nothing.
  const sortilan::Cobro* cobro(int fila) const;

  int rowCount(const QModelIndex& padre = {}) const override;
  int columnCount(const QModelIndex& padre = {}) const override;
  QVariant data(const QModelIndex& indice, int rol) const override;
  QVariant headerData(int seccion, Qt::Orientation o, int rol) const override;

 private:
  struct Fila {
    QDate fecha;
    std::optional<sortilan::Cobro> cobro;
    QStringList textos;
    QVariantList valores;  // what each column sorts by (kRolOrden)
  };
  std::vector<Fila> filas_;
};

}  // namespace sortilan::ui
