#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <vector>

#include "members/socios.h"

namespace sortilan::ui {

// The members of a peña: number, name, current shares, joined, left and balance. Each row
// keeps its member's number, so a view never reads it back from a cell.
class ModeloSocios : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Columna { Numero, Nombre, Participaciones, Alta, Baja, Saldo, kColumnas };
  // The member number of a row, on every column.
  static constexpr int kRolNumero = Qt::UserRole;
  using QAbstractTableModel::QAbstractTableModel;

  void poner(const SociosPena& socios);
  // Member number of row `fila`, 0 outside.
  int numero(int fila) const;
  // Row of member `numero`, -1 when absent.
  int fila(int numero) const;

  int rowCount(const QModelIndex& padre = {}) const override;
  int columnCount(const QModelIndex& padre = {}) const override;
  QVariant data(const QModelIndex& indice, int rol) const override;
  QVariant headerData(int seccion, Qt::Orientation o, int rol) const override;

 private:
  struct Fila {
    int numero;
    Centimos saldo;
    QStringList textos;
    QVariantList valores;  // what each column sorts by (kRolOrden)
  };
  std::vector<Fila> filas_;
};

// One member's movements, newest first, as a bank statement on screen. A contribution or
// payout keeps its number in the row; voided lines and their reversals read grey.
class ModeloMovimientos : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Columna { Fecha, Motivo, Importe, Saldo, kColumnas };
  // The stored number of a row's contribution or payout, on every column; 0 for the rest.
  static constexpr int kRolMovimiento = Qt::UserRole;
  using QAbstractTableModel::QAbstractTableModel;

  // `movimientos` oldest first, as the core gives them.
  void poner(const std::vector<Movimiento>& movimientos);
  // The movement shown in row `fila`, nullptr outside.
  const Movimiento* movimiento(int fila) const;

  int rowCount(const QModelIndex& padre = {}) const override;
  int columnCount(const QModelIndex& padre = {}) const override;
  QVariant data(const QModelIndex& indice, int rol) const override;
  QVariant headerData(int seccion, Qt::Orientation o, int rol) const override;

 private:
  struct Fila {
    Movimiento movimiento;
    QStringList textos;
    QVariantList valores;  // what each column sorts by (kRolOrden)
  };
  std::vector<Fila> filas_;
};

}  // namespace sortilan::ui
