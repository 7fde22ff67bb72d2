#pragma once

#include <QWidget>
#include <array>

#include "checking/comprobacion.h"
#include "session/sesion.h"

class QAbstractItemModel;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QScrollBar;
class QTableView;
class QTimer;
class QToolButton;

namespace sortilan::ui {

class BotonDescarga;

// Tab 0 "General": the draw status, the result lists and the download controls. The
// widgets are its own: it tells what the user does and shows what it is given.
class TabGeneral : public QWidget {
  Q_OBJECT
 public:
  explicit TabGeneral(QWidget* padre = nullptr);

  void mostrarEstado(const EstadoSorteos& e);
  void mostrarPenasRegistradas(const QString& texto);
  // The result lists on the checker's models, columns as wide as the design gives them.
  void ponerModelos(QAbstractItemModel* sencillas, QAbstractItemModel* multiples);
  // The view choices as the check boxes stand.
  Casillas casillas() const;
  // From the menus: -1 leaves a box as it is; a change counts as a click.
  void ponerCasillas(int soloPremios, int historico);
  // The recent-draws selector: how many of the newest draws the lists show.
  int sorteosElegidos() const;
  void elegirSorteos(int n);
  // After draws were added: the selector at `sorteos` (1 to 8); false when it cannot
  // move, so nothing re-checks by itself.
  bool elegirSorteosNuevos(int sorteos);
  void borrarAvisoNuevos();
  // The pictures of "Bajar sorteos".
  BotonDescarga* botonDescarga() const { return botonDescarga_; }

 public slots:
  // Shows the simple (0) or multiple (1) result list.
  void mostrarVista(int indice);
  // The prize banner's colour on a view button.
  void pintarPremio(int indice, bool rojo);
  // The download's state: phase, characters received (-1 leaves them), the "n sorteos"
  // notice and the step on the bar. Shown at once: it changes in the middle of a step.
  void mostrarDescarga(const QString& fase, int caracteres, const QString& avisoNuevos, int paso);
  // The download button comes up when the download has finished its update.
  void soltarBajar();

 signals:
  void vistaPulsada(int indice);
  void historicoCambiado(bool activo);
  void soloPremiosCambiado(bool activo);
  void sorteosElegidosCambiado(int n);
  // "Ver mensaje".
  void mensajePedido();
  // "Bajar sorteos".
  void bajarPulsado();

 private:
  // The number typed in the box beside the scroll bar.
  void Text3_Change();
  void Timer2_Timer();

  QToolButton* Picture2 = nullptr;
  BotonDescarga* botonDescarga_ = nullptr;
  QLabel* Label6 = nullptr;
  QLabel* Label58 = nullptr;
  QLabel* Label19 = nullptr;
  QProgressBar* ProgressBar1 = nullptr;
  QScrollBar* HScroll1 = nullptr;

  std::array<QLabel*, 7> Label9{};
  QTableView* ListView2 = nullptr;
  QTableView* ListView4 = nullptr;
  QFrame* Shape2 = nullptr;
  QLineEdit* Text3 = nullptr;
  QCheckBox* Check1 = nullptr;
  QCheckBox* Check2 = nullptr;
  std::array<QPushButton*, 2> Command1{};
  QPushButton* Command6 = nullptr;
  QTimer* Timer2 = nullptr;
};

}  // namespace sortilan::ui
