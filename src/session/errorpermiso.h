#pragma once

#include <QString>

namespace sortilan {

// The message shown when a data file cannot be written.
QString textoErrorPermiso();
void errorpermiso();

}  // namespace sortilan
