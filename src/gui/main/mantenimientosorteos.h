#pragma once

#include <QObject>
#include <QString>

namespace sortilan {
class Sesion;
}

namespace sortilan::ui {

class TabEstadisticas;

// The draw-maintenance controls of the main window: "Añadir todos los sorteos",
// "Borrar todos los sorteos", their icons and menu item, and clicks on the draw list.
// The window asks its questions; each change is an operation of operations/sorteos.h,
// and the main window is told what to show again.
class MantenimientoSorteos : public QObject {
  Q_OBJECT
 public:
  MantenimientoSorteos(Sesion& sesion, TabEstadisticas& tab, QObject* padre = nullptr);

  void Command8_Click();
  void Command5_Click();
  // Row k of ListView3, 1 = the newest draw.
  void ListView3_ItemClick(int fila);

  // The row-deletion switch: on after the first use of "Borrar todos los sorteos".
  bool borradoFilas() const { return borradoFilas_; }

  static const QString kTituloDialogo;
  static const QString kFiltroDialogo;
  static const QString kPreguntaTienda;

 signals:
  // The draws changed: the status area, the checks and the lists are rebuilt.
  void sorteosCambiados();
  // The counters changed, or a draw left the list already: the status area and the peña
  // manager are reloaded.
  void estadoCambiado();

 private:
  Sesion& sesion_;
  TabEstadisticas& tab_;
  bool borradoFilas_ = false;
};

}  // namespace sortilan::ui
