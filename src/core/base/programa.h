#pragma once

#include <QString>

namespace sortilan {

// The program's version: set once in the build (the project's version), so the
// window, the about box, the splash, the PDFs, the command line and the package all agree.
QString versionPrograma();

}  // namespace sortilan
