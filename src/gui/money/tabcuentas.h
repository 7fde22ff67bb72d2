#pragma once

#include <QDate>
#include <QWidget>

#include "money/balance.h"

class QChartView;
class QCheckBox;
class QDateEdit;
class QLabel;
class QLineSeries;
class QPushButton;
class QTableView;

namespace sortilan::ui {

class ModeloCuentasPenas;
class ModeloCuentasSorteos;

// Tab "Cuentas": what each peña has cost and won, the draws of the selected peña with
// their prizes and collections, and a chart of cost and winnings over time. The widgets
// are its own: it tells what the user asks for and shows what it is given.
class TabCuentas : public QWidget {
  Q_OBJECT
 public:
  explicit TabCuentas(QWidget* padre = nullptr);

  // Shows `cuentas`, keeping the selected peña and draw when they are still there.
  void mostrar(Cuentas cuentas, const QDate& hoy);
  // A reason why part of the data could not be read; empty to clear it.
  void mostrarAviso(const QString& texto);

  const Cuentas& cuentas() const { return cuentas_; }
  // Hands the money shown over to be brought up to date, which mostrar gives back.
  Cuentas tomarCuentas() { return std::move(cuentas_); }
  int penaSeleccionada() const;      // record number, 0 when none
  QDate sorteoSeleccionado() const;  // invalid when none
  const sortilan::Cobro* cobroSeleccionado() const;
  void seleccionar(int registro, const QDate& sorteo = QDate());
  // "Peñas borradas" ticked: what is shown is theirs (numbers "B1"... as records) and
  // nothing of it can be changed.
  bool verBorradas() const;

 signals:
  // "Marcar cobrado" on the highlighted draw, collected on `dia`.
  void cobroPedido(const QDate& dia);
  // "Marcar pendiente" on the highlighted draw.
  void pendientePedido();
  // "Exportar CSV..." of the highlighted peña.
  void exportarPedido();
  // "Peñas borradas" ticked or cleared: the money shown is to be read again.
  void borradasPedidas();

 private:
  void alElegirPena();
  void alElegirSorteo();
  void dibujar(const CuentaPena* pena);

  QLabel* LabelCuentas = nullptr;
  QLabel* LabelAvisoCuentas = nullptr;
  QTableView* ListaPenasCuentas = nullptr;
  QTableView* ListaSorteosCuentas = nullptr;
  QChartView* GraficoCuentas = nullptr;
  QDateEdit* FechaCobro = nullptr;
  QPushButton* CommandCobrar = nullptr;
  QPushButton* CommandPendiente = nullptr;
  QPushButton* CommandCsv = nullptr;
  QCheckBox* CheckBorradas = nullptr;
  ModeloCuentasPenas* modeloPenas = nullptr;
  ModeloCuentasSorteos* modeloSorteos = nullptr;
  Cuentas cuentas_;
  QLineSeries* coste_ = nullptr;
  QLineSeries* ganado_ = nullptr;
  QLineSeries* caducado_ = nullptr;  // prizes lost, apart from what was won
};

}  // namespace sortilan::ui
