#include "download/gui/descargador.h"

#include "main/gui/principal.h"

namespace sortilan::ui {

Descargador::Descargador(Principal& principal) : QObject(&principal), p_(principal) {}

void Descargador::Picture2_Click() {}
void Descargador::escrutinio(int) {}

}  // namespace sortilan::ui
