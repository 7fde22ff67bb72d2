#include "stats/gui/graficos.h"

#include "main/gui/principal.h"

namespace sortilan::ui {

Graficos::Graficos(Principal& principal) : QObject(&principal), p_(principal) {}

void Graficos::poner(const Frecuencias& f) { frecuencias_ = f; }
void Graficos::Option1_Click(int) {}

}  // namespace sortilan::ui
