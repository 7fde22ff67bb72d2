#pragma once

#include <QObject>

namespace sortilan::ui {

class Principal;

// The results download sequence of the main window and the prize report it feeds.
class Descargador : public QObject {
  Q_OBJECT
 public:
  explicit Descargador(Principal& principal);

  // True while a download sequence runs (its Timer1 is enabled).
  bool enCurso() const { return false; }
  void Picture2_Click();
  // Prize report of the newest draw: 1 at start-up, 0 after a download.
  void escrutinio(int bandera);

 private:
  Principal& p_;
};

}  // namespace sortilan::ui
