#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

namespace sortilan {
class Sesion;
}

namespace sortilan::ui {

class Crea;
class Creamenu;

// Opens the bet-type chooser and, from it, the creation window; both are modeless
// and are thrown away when the main window becomes active again.
class LanzadorCreacion : public QObject {
  Q_OBJECT
 public:
  LanzadorCreacion(Sesion& sesion, QWidget* principal);

  // "Crear peña nueva": shows Creamenu.
  void Command4_Click();
  Creamenu* creamenu() const;
  Crea* crea() const;
  // Closes the chooser and the creation window where they are on show; hidden ones are
  // kept as they are.
  void cerrarVentanas();

 signals:
  // A peña was stored by the creation window.
  void penaGrabada();

 private:
  void abrirCrea(int tipoapuesta);

  Sesion& sesion_;
  QWidget* principal_;
  QPointer<Creamenu> menu_;
  QPointer<Crea> crea_;
};

}  // namespace sortilan::ui
