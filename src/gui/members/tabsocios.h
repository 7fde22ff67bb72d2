#pragma once

#include <QDate>
#include <QWidget>
#include <vector>

#include "members/socios.h"
#include "store/almacen.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableView;

namespace sortilan::ui {

class ModeloMovimientos;
class ModeloSocios;

// Tab "Socios": the members of the chosen peña with their shares and balances, the
// movements of the selected member, and the forms to add, change and remove members,
// record contributions and payouts, split a collected prize and save the two papers.
// Every change goes through the operations of the members; `cambiado` tells the rest of
// the window afterwards.
class TabSocios : public QWidget {
  Q_OBJECT
 public:
  explicit TabSocios(Almacen& almacen, QWidget* padre = nullptr);

  // Reads the peñas, the members and the collected prizes again, keeping the choices.
  void actualizar();
  void seleccionarSocio(int numero);
  int penaSeleccionada() const;     // record number, 0 when none or a deleted peña
  int borradaSeleccionada() const;  // number of the deleted peña chosen ("B1" is 1), 0 when none
  int socioSeleccionado() const;    // member number, 0 when none
  QDate premioSeleccionado() const;
  const SociosPena& socios() const { return socios_; }

  void CommandAlta_Click();
  void CommandBaja_Click();
  void CommandParticipaciones_Click();
  void CommandAportacion_Click();
  void CommandPago_Click();
  void CommandRepartir_Click();
  void CommandExtractoPdf_Click();
  void CommandExtractoCsv_Click();
  void CommandDocumentoPdf_Click();
  void CommandDocumentoCsv_Click();

  QComboBox* ComboPenaSocios = nullptr;
  QLabel* LabelAvisoSocios = nullptr;
  QTableView* TablaSocios = nullptr;
  QTableView* TablaMovimientos = nullptr;
  QLabel* LabelSocio = nullptr;
  QLineEdit* EditNombre = nullptr;
  QLineEdit* EditNif = nullptr;
  QLineEdit* EditContacto = nullptr;
  QSpinBox* SpinParticipaciones = nullptr;
  QDateEdit* FechaSocio = nullptr;
  QPushButton* CommandAlta = nullptr;
  QPushButton* CommandParticipaciones = nullptr;
  QPushButton* CommandBaja = nullptr;
  QLineEdit* EditImporte = nullptr;
  QDateEdit* FechaMovimiento = nullptr;
  QPushButton* CommandAportacion = nullptr;
  QPushButton* CommandPago = nullptr;
  QComboBox* ComboPremios = nullptr;
  QRadioButton* OptionPagar = nullptr;
  QRadioButton* OptionReinvertir = nullptr;
  QPushButton* CommandRepartir = nullptr;
  QDateEdit* FechaDesde = nullptr;
  QDateEdit* FechaHasta = nullptr;
  QCheckBox* CheckNif = nullptr;
  QPushButton* CommandExtractoPdf = nullptr;
  QPushButton* CommandExtractoCsv = nullptr;
  QPushButton* CommandDocumentoPdf = nullptr;
  QPushButton* CommandDocumentoCsv = nullptr;

 signals:
  void cambiado();

 private:
  void cargarPena();
  void mostrarSocios();
  void mostrarMovimientos();
  void habilitar();
  // Shows a failure, or re-reads and tells the window after a stored change.
  void trasCambio(const Resultado& r);
  void anotar(Concepto concepto);
  // "3" for record 3, "B1" for a deleted peña: names the files saved.
  QString idPena() const;
  void papelExtracto(bool pdf);
  void papelReparto(bool pdf);
  void guardarPapel(const QString& titulo, const QString& propuesto, const QString& filtro, const QByteArray& datos);

  Almacen& almacen_;
  std::vector<Pena> penas_;
  SociosPena socios_;
  ModeloSocios* modeloSocios_ = nullptr;
  ModeloMovimientos* modeloMovimientos_ = nullptr;
};

}  // namespace sortilan::ui
