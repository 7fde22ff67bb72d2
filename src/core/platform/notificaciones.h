#pragma once

#include <QString>

#include "base/resultado.h"

namespace sortilan::plataforma {

// The desktop entry the notices name, so the desktop shows the program's icon and name.
inline constexpr const char* kEntradaEscritorio = "es.sortilan.sortilan";

// Sends one notice through the desktop's notification service on the session bus. Fails,
// saying why, when there is no session bus or no service answers within a few seconds;
// the caller has printed the same text anyway.
Resultado notificarEscritorio(const QString& titulo, const QString& cuerpo);

}  // namespace sortilan::plataforma
