#include "platform/temporizador.h"

#include <QTimer>

namespace sortilan::plataforma {

namespace {

class TemporizadorQt : public Temporizador {
 public:
  void despues(int ms, QObject* contexto, std::function<void()> luego) override {
    QTimer::singleShot(ms, contexto, std::move(luego));
  }
};

std::shared_ptr<Temporizador>& actual() {
  static std::shared_ptr<Temporizador> t = std::make_shared<TemporizadorQt>();
  return t;
}

}  // namespace

Temporizador& temporizador() { return *actual(); }
void ponerTemporizador(std::shared_ptr<Temporizador> t) { actual() = std::move(t); }

}  // namespace sortilan::plataforma
