#pragma once

#include <QString>

#include "store/sorteo.h"

namespace sortilan {

// Whether draw `s` is one the user looks for with `texto` in the draw list's search box:
// a date or part of one ("16/08/2026", "16/8/2026", "08/2026", "2026"), or winning
// numbers ("7 31", "7, 31"), all of which the draw must hold. An empty text keeps every
// draw; a text that is neither keeps none.
bool sorteoBuscado(const Sorteo& s, const QString& texto);

}  // namespace sortilan
