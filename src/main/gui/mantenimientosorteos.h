#pragma once

#include <QObject>
#include <QString>

namespace sortilan::ui {

class Principal;

// The draw-maintenance controls of the main window: "Añadir todos los sorteos",
// "Borrar todos los sorteos", their icons and menu item, and clicks on the draw list.
// The window asks its questions; each change is an operation of operations/sorteos.h.
class MantenimientoSorteos : public QObject {
  Q_OBJECT
 public:
  explicit MantenimientoSorteos(Principal& principal);

  void Command8_Click();
  void Command5_Click();
  void Image1_Click(int indice);  // elements 2 and 4
  // Row k of ListView3, 1 = the newest draw.
  void ListView3_ItemClick(int fila);

  // The row-deletion switch: on after the first use of "Borrar todos los sorteos".
  bool borradoFilas() const { return borradoFilas_; }

  static const QString kTituloDialogo;
  static const QString kFiltroDialogo;
  static const QString kPreguntaTienda;

 private:
  Principal& p_;
  bool borradoFilas_ = false;
};

}  // namespace sortilan::ui
