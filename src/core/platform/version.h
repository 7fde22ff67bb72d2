#pragma once

#include <QString>

namespace sortilan::plataforma {

// The running system's version as "platform.major.minor" on Windows (the true one,
// whatever compatibility mode the program runs in); elsewhere the system's own name.
QString NativeGetVersion();

}  // namespace sortilan::plataforma
