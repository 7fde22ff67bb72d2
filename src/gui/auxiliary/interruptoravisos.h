#pragma once

#include <QObject>

class QAction;
class QMenu;

namespace sortilan::ui {

// "General → Avisos automáticos": turns the scheduled download with desktop notices on and
// off, and shows whether it is on each time the menu opens.
class InterruptorAvisos : public QObject {
  Q_OBJECT
 public:
  InterruptorAvisos(QAction* accion, QMenu* menu, QObject* padre = nullptr);

  // What the menu item shows: the timer's state as systemd tells it.
  void leerEstado();
  // On or off, as the user asked; a failure is said and the item shows the real state.
  void cambiar(bool activar);

 private:
  QAction* accion_;
};

}  // namespace sortilan::ui
