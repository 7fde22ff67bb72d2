#pragma once

#include <QByteArray>

#include "members/papeles.h"
#include "papers/participacion.h"

namespace sortilan::ui {

// The members' papers as PDF (A4). Empty when painting failed. `paginas` receives the
// number of pages. The NIF goes in only with `conNif`.
QByteArray pdfExtracto(const Extracto& e, bool conNif, int* paginas = nullptr);
QByteArray pdfReparto(const DocumentoReparto& d, bool conNif, int* paginas = nullptr);

// A participation paper: its stored text line by line, its code whole and short, and
// whether it was voided.
QByteArray pdfPapel(const PapelGuardado& p, int* paginas = nullptr);

// The organiser's sheet of the papers issued together: member, shares, paid, code.
struct ResumenPapeles {
  QString pena;
  QString organizador;
  QDate desde;
  QDate hasta;
  std::vector<PapelGuardado> papeles;
};
QByteArray pdfResumenPapeles(const ResumenPapeles& r, int* paginas = nullptr);

}  // namespace sortilan::ui
