#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <array>
#include <optional>

#include "base/resultado.h"

namespace sortilan {

// The prize report of the newest draw as the buffer of the last download gives it.
struct Escrutinio {
  QString titulo;  // the heading: "-Informe del Domingo, 7 de marzo del 2021"
  bool hayTabla = false;
  // The prize of category 1ª..8ª; empty where the answer gave nothing (the label keeps its text).
  std::array<std::optional<QString>, 8> premios;
  QString ruta;    // document path as the answer names it, "" when none
  QUrl documento;  // where the document is fetched from; empty when none or not acceptable
};

// The caption of category i: "- 1ª Categoría (5 + 1 Aciertos): " ...
QString categoria(int i);

// Builds the report from the buffer record and the date of the newest stored draw.
// The document is only ever looked for on the operator's site `operador`.
Escrutinio escrutinio(const QByteArray& buffer, double fechaUltimo, const QUrl& operador);

// `carla` without blanks, control characters, braces, bar, tilde and every
// non-ASCII character (the bytes 0..32 and 123..255 of Windows-1252).
QString raros(const QString& carla);

// The document address for `ruta` on the operator's site: HTTPS (plain HTTP only
// for a site on this computer), the site's own host and port, and a plain absolute
// path. Empty when the path could lead anywhere else.
QUrl direccionDocumento(const QUrl& operador, const QString& ruta);

// What the prize report tab shows for a document.
enum class VistaDocumento { Documento, NoDisponible };
// `cabecera` = the first bytes of "vix.pdf". Before a fresh download a stored file
// is shown only when it looks like a PDF and an address is known.
VistaDocumento muestrapdf(const QByteArray& cabecera, bool pdfbajado, const QUrl& hallado);

// bajapdf's check: a downloaded document is kept only when it starts with "%PDF".
bool esPdf(const QByteArray& cuerpo);
// Replaces `ruta` ("vix.pdf") with `cuerpo` when it is a PDF; otherwise removes it.
Resultado guardarDocumento(const QByteArray& cuerpo, const QString& ruta);

// Notices of the prize report tab.
QString avisoNoDisponible();
QString avisoSinConexion();

}  // namespace sortilan
