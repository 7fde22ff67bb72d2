#pragma once

#include <QObject>

#include "main/mantenimiento.h"

namespace sortilan::ui {

class Principal;

// The draw-maintenance controls of the main window: "Añadir todos los sorteos",
// "Borrar todos los sorteos", their icons and menu item, and clicks on the draw list.
class MantenimientoSorteos : public QObject {
  Q_OBJECT
 public:
  explicit MantenimientoSorteos(Principal& principal);

  void Command8_Click();
  void Command5_Click();
  void Image1_Click(int indice);  // elements 2 and 4
  // Row k of ListView3, 1 = the newest draw.
  void ListView3_ItemClick(int fila);

  Mantenimiento& nucleo() { return nucleo_; }

 private:
  Principal& p_;
  Mantenimiento nucleo_;
};

}  // namespace sortilan::ui
