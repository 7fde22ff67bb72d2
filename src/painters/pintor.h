#pragma once

#include "printing/impresion.h"

class QPagedPaintDevice;
class QString;

namespace sortilan::ui {

// Paints a print job on a printer or a PDF writer, millimetres from the top-left
// corner of the printable area. False when the device could not be painted on.
bool pintarImpresion(const Impresion& impresion, QPagedPaintDevice& dispositivo);

// Writes the job as an A4 PDF at `ruta`. The file appears only once it is complete, so a
// failure leaves whatever was there before. False when it could not be written.
bool escribirPdf(const Impresion& impresion, const QString& ruta, const QString& titulo);

}  // namespace sortilan::ui
