#pragma once

#include "main/sesion.h"

#include <QObject>

namespace sortilan::ui {

class Principal;

// The statistics chart of the "Estadísticas" tab.
class Graficos : public QObject {
  Q_OBJECT
 public:
  explicit Graficos(Principal& principal);

  // New tallies from the draw list.
  void poner(const Frecuencias& f);
  void Option1_Click(int indice);

 private:
  Principal& p_;
  Frecuencias frecuencias_;
};

}  // namespace sortilan::ui
