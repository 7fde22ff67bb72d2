#pragma once

#include "printing/impresion.h"

class QPagedPaintDevice;

namespace sortilan::ui {

// Paints a print job on a printer or a PDF writer, millimetres from the top-left
// corner of the printable area. False when the device could not be painted on.
bool pintarImpresion(const Impresion& impresion, QPagedPaintDevice& dispositivo);

}  // namespace sortilan::ui
