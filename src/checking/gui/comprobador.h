#pragma once

#include <QObject>

#include "checking/comprobacion.h"

class QTimer;

namespace sortilan::ui {

class ModeloResultados;
class Principal;

// Checks the peñas against the newest draws and fills the result lists, the peña
// manager and the prize banner of the main window. The decisions live in the core
// (checking/); this class only hands them the state of the controls and shows the outcome.
class Comprobador : public QObject {
  Q_OBJECT
 public:
  explicit Comprobador(Principal& principal);

  // Connects the menu items, check boxes, view buttons and peña manager; run once the
  // menus exist.
  void conectar();

  void compruebapenas(int n);
  void compruebamultiple(int n);
  // Rebuilds the peña list and the summary; the end of cargasorteos.
  void resumen();
  void detallepena(int k);
  // Stops the prize banner.
  void rotulo();
  // Switches between the simple (0) and multiple (1) result views.
  void Command1_Click(int indice);
  void Timer3_Timer();
  void ListView1_ItemClick(int fila);
  void Command3_Click();
  void HScroll1_Change();
  void Check1_Click();
  void Check2_Click();

  const AvisoPremio& aviso() const { return aviso_; }
  // A new download starts with no prize announced.
  void olvidarPremio() { aviso_.avisopremio = 0; }
  QTimer* Timer3() const { return Timer3_; }
  ModeloResultados* modeloSencillas() const { return sencillas_; }
  ModeloResultados* modeloMultiples() const { return multiples_; }

 private:
  Casillas casillas() const;
  void antesDeComprobar();
  void despuesDeComprobar(const ResultadoComprobacion& r);
  void pintarBoton(int i, bool rojo);
  // A view item of the General menu: tab 0, the view, then Check2 and Check1.
  void vista(int indice, int soloPremios, int historico);

  Principal& p_;
  QTimer* Timer3_ = nullptr;
  ModeloResultados* sencillas_ = nullptr;
  ModeloResultados* multiples_ = nullptr;
  AvisoPremio aviso_;
  std::array<bool, 2> rojo_{};
};

}  // namespace sortilan::ui
