#pragma once

#include <QString>

#include "base/resultado.h"

namespace sortilan {

// A tax number as it is stored and compared: capitals, without blanks, dots or dashes
// ("12.345.678-z" is "12345678Z").
QString normalizarNif(const QString& nif);

// Whether `nif` (normalised or not) is a Spanish tax number with its control character
// right: a DNI (8 digits and a letter), an NIE (X, Y or Z, 7 digits and a letter), a NIF
// of K, L or M (a letter, 7 digits and a letter) or an entity's CIF (a letter, 7 digits
// and a digit or letter). Refused with "El NIF … no es válido: …" naming what is wrong.
Resultado comprobarNif(const QString& nif);

}  // namespace sortilan
