#pragma once

#include <QString>

#include "base/resultado.h"

namespace sortilan {

// The message shown when a data file cannot be written.
QString textoErrorPermiso();
void errorpermiso();

// A failed write shown to the user: the permission message for a file that could not be
// written, otherwise the reason in a warning box.
void avisarFallo(const Resultado& r);

// "Seleccione una peña primero...": an order that needs a peña and has none selected.
void avisarSinPena();

}  // namespace sortilan
