#pragma once

#include <QString>
#include <memory>

namespace sortilan::plataforma {

// The desktop's own programs, for a file the user has just saved (a PDF, a CSV): the
// window hands it over and tests record the call instead of starting anything.
class Escritorio {
 public:
  virtual ~Escritorio() = default;
  // Opens `ruta` in the program the desktop has for its kind; false when none started.
  virtual bool abrirArchivo(const QString& ruta) = 0;
};

// Current adapter; none opens anything until the application installs its own.
Escritorio& escritorio();
void ponerEscritorio(std::shared_ptr<Escritorio> e);

}  // namespace sortilan::plataforma
