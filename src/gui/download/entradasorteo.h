#pragma once

#include <QDialog>
#include <array>

class QDateEdit;
class QPushButton;
class QSpinBox;

namespace sortilan {
class Sesion;
}

namespace sortilan::ui {

// "Añadir sorteo a mano": the date, the five numbers and the key of one draw, for when
// the results service cannot be reached. The draw is stored and counted like a
// downloaded one; a refused draw keeps the window open with the reason.
class EntradaSorteo : public QDialog {
  Q_OBJECT
 public:
  explicit EntradaSorteo(Sesion& sesion, QWidget* padre = nullptr);

  // Checks and stores the draw; true when it was stored (the window then closes).
  bool guardar();

 signals:
  void anadido();

 private:
  QDateEdit* fecha = nullptr;
  std::array<QSpinBox*, 5> numeros{};
  QSpinBox* clave = nullptr;
  QPushButton* aceptar = nullptr;
  QPushButton* cancelar = nullptr;
  Sesion& sesion_;
};

}  // namespace sortilan::ui
