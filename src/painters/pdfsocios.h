#pragma once

#include <QByteArray>

#include "members/papeles.h"

namespace sortilan::ui {

// The members' papers as PDF (A4). Empty when painting failed. `paginas` receives the
// number of pages. The NIF goes in only with `conNif`.
QByteArray pdfExtracto(const Extracto& e, bool conNif, int* paginas = nullptr);
QByteArray pdfReparto(const DocumentoReparto& d, bool conNif, int* paginas = nullptr);

}  // namespace sortilan::ui
