#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

#include "base/dinero.h"
#include "base/resultado.h"
#include "members/socios.h"
#include "store/pena.h"
#include "store/sorteo.h"

namespace sortilan {

// The papers of the members: a member's statement and the split of one prize, as CSV
// here and as PDF on the window side. Personal data (the NIF) goes into a paper only
// when the caller asks for it; the contact never does.

// One member's line of a prize split.
struct LineaReparto {
  int numero = 0;
  QString nombre;
  QString nif;
  int participaciones = 0;
  Centimos bruto = 0;
  Centimos retencion = 0;
  Centimos neto = 0;
};

// The prize-split document: what a peña shows when one member collects for all.
struct DocumentoReparto {
  int registro = 0;
  QString pena;
  QDate sorteo;
  QString combinacion;  // "05 - 12 - 23 - 40 - 51   clave 7"
  QDate cobrado;
  QDate hecho;
  bool pagado = false;
  QStringList apuestas;  // the peña's bets that won, each with its prize
  Centimos bruto = 0;
  Centimos retencion = 0;
  Centimos neto = 0;
  int participaciones = 0;  // of every member together
  std::vector<LineaReparto> lineas;
};

// The split of peña `registro`'s prize of draw `sorteo`, read from the data folder. A
// prize not split yet is refused.
Resultado leerDocumentoReparto(const QString& carpeta, const std::vector<Pena>& penas,
                               const std::vector<Sorteo>& sorteos, int registro, const QDate& sorteo,
                               DocumentoReparto& d);
// The same for the deleted peña "B`numero`".
Resultado leerDocumentoRepartoBorrada(const QString& carpeta, const std::vector<Sorteo>& sorteos, int numero,
                                      const QDate& sorteo, DocumentoReparto& d);

// Titles and texts shared by the CSV and the PDF.
QString tituloExtracto(const Extracto& e);
QString textoPeriodoExtracto(const Extracto& e);
QString textoParticipaciones(const Extracto& e);
QString tituloReparto(const DocumentoReparto& d);

// For a spreadsheet: UTF-8, ';', decimal comma, CRLF, dates dd/MM/yyyy.
QByteArray csvExtracto(const Extracto& e, bool conNif);
QByteArray csvReparto(const DocumentoReparto& d, bool conNif);

}  // namespace sortilan
