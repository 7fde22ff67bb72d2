#pragma once

#include <QObject>

#include "checking/comprobacion.h"

class QTimer;

namespace sortilan {
class Sesion;
}

namespace sortilan::ui {

class ModeloResultados;
class TabGestor;

// Checks the peñas against the newest draws and fills the result lists, the peña
// manager and the prize banner. The decisions live in the core (checking/); this class
// keeps the state of the views and says through its signals what the window shows.
class Comprobador : public QObject {
  Q_OBJECT
 public:
  Comprobador(Sesion& sesion, TabGestor& gestor, QObject* padre = nullptr);

  // The draws the download has stored: only a check after a download that stored some, until
  // its notice is cleared, starts the prize banner.
  void ponerSorteosNuevos(int sorteos) { hayNuevos_ = sorteos > 0; }

  void compruebapenas(int n);
  void compruebamultiple(int n);
  // Rebuilds the peña list and the summary; the end of cargasorteos.
  void resumen();
  void detallepena(int k);
  // Stops the prize banner.
  void pararAviso();
  // Switches between the simple (0) and multiple (1) result views.
  void elegirVista(int indice);
  void Command1_Click(int indice) { elegirVista(indice); }
  void Timer3_Timer();
  // Row `fila` (0-based) of the peña list is highlighted now; -1 for none.
  void ListView1_ItemClick(int fila);
  // Deletes the highlighted peña, once the user says so.
  void eliminarPena();
  void Command3_Click() { eliminarPena(); }
  // The view choices of the General tab; a change of either checks again.
  void ponerHistorico(bool activo);
  void ponerSoloPremios(bool activo);

  // The record number of the highlighted peña, 0 for none: what printing and deletion act on.
  int penaSeleccionada() const { return penaSeleccionada_; }
  const AvisoPremio& aviso() const { return aviso_; }
  // A new download starts with no prize announced.
  void olvidarPremio() { aviso_.avisopremio = 0; }
  QTimer* Timer3() const { return Timer3_; }
  ModeloResultados* modeloSencillas() const { return sencillas_; }
  ModeloResultados* modeloMultiples() const { return multiples_; }

 signals:
  void vistaElegida(int indice);
  void premioPintado(int indice, bool rojo);
  void penasRegistradas(const QString& texto);
  // The banner stopped, or the history choice changed: the new-draws notice goes.
  void avisoNuevosBorrado();
  // The view choices changed: check and list again.
  void refrescoPedido();
  // A peña went (or the list was stale): reload, and check again when `recomprobar`.
  void penasCambiadas(bool recomprobar);

 private:
  void antesDeComprobar();
  void despuesDeComprobar(const ResultadoComprobacion& r);
  void pintarBoton(int i, bool rojo);

  Sesion& sesion_;
  TabGestor& gestor_;
  bool hayNuevos_ = false;
  QTimer* Timer3_ = nullptr;
  ModeloResultados* sencillas_ = nullptr;
  ModeloResultados* multiples_ = nullptr;
  Casillas casillas_;
  AvisoPremio aviso_;
  std::array<bool, 2> rojo_{};
  int penaSeleccionada_ = 0;
};

}  // namespace sortilan::ui
