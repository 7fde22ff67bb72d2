#pragma once

#include <QObject>

namespace sortilan::ui {

class LanzadorCreacion;
class MantenimientoSorteos;
class Principal;

// Wiring of the main window's menu items, icon shortcuts and tab changes that are
// not part of a tab of their own: creation, draw maintenance, the web item and the
// secondary windows.
class Menus : public QObject {
  Q_OBJECT
 public:
  explicit Menus(Principal& principal);

  // Tab change; `anterior` is the tab shown before.
  void SSTab1_Click(int anterior);
  void web_Click();
  // Throws the secondary windows away (each is created afresh when next needed).
  void descargarSecundarias();

  LanzadorCreacion* creacion() const { return lanzador_; }
  MantenimientoSorteos* mantenimiento() const { return mantenimiento_; }

 private:
  Principal& p_;
  LanzadorCreacion* lanzador_;
  MantenimientoSorteos* mantenimiento_;
  int pestana_ = 0;
  bool volviendo_ = false;
};

}  // namespace sortilan::ui
