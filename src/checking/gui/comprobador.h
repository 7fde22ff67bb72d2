#pragma once

#include <QObject>

namespace sortilan::ui {

class Principal;

// Checks the peñas against the newest draws and fills the result lists, the peña
// manager and the prize banner of the main window.
class Comprobador : public QObject {
  Q_OBJECT
 public:
  explicit Comprobador(Principal& principal);

  void compruebapenas(int n);
  void compruebamultiple(int n);
  // Rebuilds the peña list and the summary; the end of cargasorteos.
  void resumen();
  // Stops the prize banner.
  void rotulo();
  // Switches between the simple (0) and multiple (1) result views.
  void Command1_Click(int indice);

 private:
  Principal& p_;
};

}  // namespace sortilan::ui
