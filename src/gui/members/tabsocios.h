#pragma once

#include <QDate>
#include <QWidget>
#include <utility>
#include <vector>

#include "members/socios.h"

class QAction;
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
// The widgets are its own: it tells what the user asks for and shows what it is given;
// ControlSocios does the work.
class TabSocios : public QWidget {
  Q_OBJECT
 public:
  // A collected prize of the peña, as the split choice lists it.
  struct PremioCobrado {
    QDate sorteo;
    QString texto;
  };

  explicit TabSocios(QWidget* padre = nullptr);

  // The peñas to choose from (record number and text), keeping the choice when it is
  // still there; tells nothing.
  void mostrarPenas(const std::vector<std::pair<int, QString>>& penas);
  // The chosen peña's members, its collected prizes and what could not be read, keeping
  // the selected member and prize when they are still there.
  void mostrarSocios(SociosPena socios, const std::vector<PremioCobrado>& premios, const QStringList& avisos);
  void seleccionarSocio(int numero);
  // Empties the fields of a new member.
  void limpiarSocio();
  // Empties the amount once it is booked, so that nothing books it twice.
  void limpiarImporte();

  int penaSeleccionada() const;     // record number, 0 when none or a deleted peña
  int borradaSeleccionada() const;  // number of the deleted peña chosen ("B1" is 1), 0 when none
  int socioSeleccionado() const;    // member number, 0 when none
  QDate premioSeleccionado() const;
  // The movement highlighted in the member's statement, nullptr when none.
  const Movimiento* movimientoSeleccionado() const;
  QString motivo() const;  // of a void, as typed
  void limpiarMotivo();
  const SociosPena& socios() const { return socios_; }

  // What the forms hold.
  QString nombre() const;
  QString nif() const;
  QString contacto() const;
  int participaciones() const;
  QDate fechaSocio() const;
  QString importe() const;
  QDate fechaMovimiento() const;
  bool pagarPremio() const;
  QDate extractoDesde() const;
  QDate extractoHasta() const;
  bool conNif() const;

 signals:
  void penaElegida();
  void altaPedida();
  void bajaPedida();
  void participacionesPedidas();
  void aportacionPedida();
  void pagoPedido();
  void repartoPedido();
  // Void the highlighted contribution or payout, or the chosen prize's split.
  void anulacionPedida();
  void anulacionRepartoPedida();
  // The member's statement or the split's document, as a PDF (`pdf`) or a CSV.
  void extractoPedido(bool pdf);
  void documentoPedido(bool pdf);

 private:
  void mostrarMovimientos();
  // The highlighted member's data in the member form, so that what is changed is theirs.
  void mostrarDatosSocio();
  void habilitar();

  QComboBox* ComboPenaSocios = nullptr;
  QLabel* LabelAvisoSocios = nullptr;
  QTableView* TablaSocios = nullptr;
  QTableView* TablaMovimientos = nullptr;
  QLineEdit* EditMotivo = nullptr;
  QPushButton* CommandAnular = nullptr;
  QAction* AccionAnular = nullptr;
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
  QPushButton* CommandAnularReparto = nullptr;
  QDateEdit* FechaDesde = nullptr;
  QDateEdit* FechaHasta = nullptr;
  QCheckBox* CheckNif = nullptr;
  QPushButton* CommandExtractoPdf = nullptr;
  QPushButton* CommandExtractoCsv = nullptr;
  QPushButton* CommandDocumentoPdf = nullptr;
  QPushButton* CommandDocumentoCsv = nullptr;

  SociosPena socios_;
  ModeloSocios* modeloSocios_ = nullptr;
  ModeloMovimientos* modeloMovimientos_ = nullptr;
};

}  // namespace sortilan::ui
