#pragma once

#include <QMainWindow>
#include <array>

#include "base/programa.h"
#include "session/sesion.h"

class QAction;
class QMenu;
class QTabWidget;

namespace sortilan::ui {

class Auxiliares;
class AvisoGuardado;
class Comprobador;
class ControlCuentas;
class ControlSocios;
class Descargador;
class Graficos;
class Impresor;
class Menus;
class TabCuentas;
class TabSocios;
class TabEstadisticas;
class TabGeneral;
class TabGestor;
class TabUltimo;

// The menu items of the main window, one member each (object names as the design's).
struct AccionesMenu {
  QAction* Baja = nullptr;
  QAction* amano = nullptr;       // a draw typed in by hand
  QAction* importacsv = nullptr;  // draws from a CSV file
  QAction* Completar = nullptr;   // missing prize tables from the service
  QAction* avisos = nullptr;      // the scheduled download with desktop notices, on or off
  QAction* Crearp = nullptr;
  QAction* imprimir = nullptr;  // the peña chosen in "Gestor de peñas", as its "Imprimir"
  QAction* borrpe = nullptr;
  QAction* sencillas = nullptr;
  QAction* verpremio = nullptr;
  QAction* verhisto = nullptr;
  QAction* verprehi = nullptr;
  QAction* Multiples = nullptr;
  QAction* verpremiom = nullptr;
  QAction* verhistom = nullptr;
  QAction* verpreim = nullptr;
  QAction* salir = nullptr;
  std::array<QAction*, 6> pestanas{};  // Ver: one per tab, in the tabs' order
  QAction* siguiente = nullptr;        // Ctrl+Tab
  QAction* anterior = nullptr;         // Ctrl+Shift+Tab
  QAction* Leer = nullptr;
  QAction* web = nullptr;
  QAction* acerca = nullptr;
  QAction* guia = nullptr;  // the guide shipped with the program (F1)
};

// The main window: wires the tabs, the menus and the shared state of the session.
class Principal : public QMainWindow {
  Q_OBJECT
 public:
  explicit Principal(QWidget* padre = nullptr);
  ~Principal() override;

  static QString titulo() { return QStringLiteral("Sortilan - Para El Gordo de la Primitiva. v.") + versionPrograma(); }

  // The load sequence of the window, run once after construction.
  void cargar(const QString& carpeta);
  // Before cargar(): the money of every draw is worked out once the window is painted,
  // not before it can appear (the program's own start; the tests look at it at once).
  void aplazarDinero() { aplazarDinero_ = true; }

  Sesion& sesion() { return sesion_; }
  void cargasorteos();
  void listasorteos();
  void refresca();
  // Results of the newest draw again (or of the range the scroll bar selects).
  void recomprobar();

  const AccionesMenu& acciones() const { return acciones_; }
  TabGeneral* general() const { return general_; }
  TabUltimo* ultimo() const { return ultimo_; }
  TabGestor* gestor() const { return gestor_; }
  TabEstadisticas* estadisticas() const { return estadisticas_; }
  TabCuentas* cuentas() const { return cuentas_; }
  TabSocios* socios() const { return socios_; }
  QTabWidget* SSTab1() const { return SSTab1_; }
  Comprobador* comprobador() const { return comprobador_; }
  Descargador* descargador() const { return descargador_; }
  Graficos* graficos() const { return graficos_; }
  Auxiliares* auxiliares() const { return auxiliares_; }
  Menus* menus() const { return menus_; }

 protected:
  void changeEvent(QEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  void crearMenus();
  void conectarComprobacion();
  // Whether each menu item can be used: the one place that says so.
  void habilitarMenus();
  void conectarDescarga();
  // After draws were added by hand or from a file: status, checks, list and report title.
  void trasAnadir(int sorteos);
  QAction* nuevaAccion(QMenu* menu, const char* nombre, const QString& texto);
  void alActivar();
  // Draws another program stored (the scheduled download) are shown as after a download
  // of this window: checked with the prize banner, selected, listed, their report shown.
  void mostrarNuevosDeFuera(int sorteos);
  // A tab chosen from the keyboard (its shortcut, Ctrl+Tab, the "Ver" menu), with the
  // focus on its first control unless it is there already.
  void elegirPestana(int indice);
  void enfocarPestana(QWidget* pestana);
  void trasArchivoDanado(ListaSorteos lista);
  void mostrarLista(ListaSorteos lista);
  void bienvenida();

  Sesion sesion_;
  QTabWidget* SSTab1_ = nullptr;
  TabGeneral* general_ = nullptr;
  TabUltimo* ultimo_ = nullptr;
  TabGestor* gestor_ = nullptr;
  TabEstadisticas* estadisticas_ = nullptr;
  TabCuentas* cuentas_ = nullptr;
  ControlCuentas* controlCuentas_ = nullptr;
  TabSocios* socios_ = nullptr;
  ControlSocios* controlSocios_ = nullptr;
  Comprobador* comprobador_ = nullptr;
  Descargador* descargador_ = nullptr;
  Graficos* graficos_ = nullptr;
  Impresor* impresor_ = nullptr;
  Auxiliares* auxiliares_ = nullptr;
  Menus* menus_ = nullptr;
  AvisoGuardado* avisoGuardado_ = nullptr;  // where the last PDF or CSV went, and "Abrir"
  AccionesMenu acciones_;
  int contadorPantalla_ = 0;
  bool cargado_ = false;
  bool aplazarDinero_ = false;
  bool completando_ = false;  // prize tables are being completed
};

}  // namespace sortilan::ui
