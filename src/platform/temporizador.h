#pragma once

#include <QObject>
#include <functional>
#include <memory>

namespace sortilan::plataforma {

// Pauses of the program between requests to an outside service. Tests put a double in
// its place, so that no test waits on a real timer.
class Temporizador {
 public:
  virtual ~Temporizador() = default;
  // Calls `luego` once, from the event loop, after `ms`; not at all when `contexto` is
  // destroyed first.
  virtual void despues(int ms, QObject* contexto, std::function<void()> luego) = 0;
};

Temporizador& temporizador();
void ponerTemporizador(std::shared_ptr<Temporizador> t);

}  // namespace sortilan::plataforma
