#pragma once

#include <QString>

#include "base/dinero.h"

namespace sortilan {

// An amount in Spanish words, as written on a cheque, so that a large amount can be read
// back before it is booked: "mil doscientos cincuenta euros con cincuenta céntimos",
// "un millón de euros", "veintiún euros". Negative amounts read "menos …".
QString importeEnLetras(Centimos c);

}  // namespace sortilan
