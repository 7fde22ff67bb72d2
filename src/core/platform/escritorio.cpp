#include "platform/escritorio.h"

namespace sortilan::plataforma {

namespace {

// Without a desktop (the command line) there is nothing to open a file with.
class EscritorioNulo : public Escritorio {
 public:
  bool abrirArchivo(const QString&) override { return false; }
};

std::shared_ptr<Escritorio>& actual() {
  static std::shared_ptr<Escritorio> e = std::make_shared<EscritorioNulo>();
  return e;
}

}  // namespace

Escritorio& escritorio() { return *actual(); }
void ponerEscritorio(std::shared_ptr<Escritorio> e) {
  actual() = e ? std::move(e) : std::make_shared<EscritorioNulo>();
}

}  // namespace sortilan::plataforma
