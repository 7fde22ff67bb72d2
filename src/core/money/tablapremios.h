#pragma once

#include <QByteArray>
#include <QDate>
#include <QJsonObject>
#include <QString>
#include <array>
#include <optional>
#include <vector>

#include "base/dinero.h"

namespace sortilan {

// One row of a draw's prize table.
struct PremioCategoria {
  Centimos centimos = 0;  // for each winning bet; 0 while the prizes are not yet counted
  std::optional<qint64> ganadores;
  bool operator==(const PremioCategoria&) const = default;
};

// The official prize table of one draw.
struct TablaPremios {
  static constexpr int kCategorias = 8;

  QDate fecha;
  // [0] is 1ª (5 + 1) ... [7] is 8ª (2 + 0); empty when the answer did not list it.
  std::array<std::optional<PremioCategoria>, kCategorias> categorias;
  std::optional<PremioCategoria> reintegro;
  QString documento;  // the report document's path as the answer names it

  // Prize of one winning bet of official category 1..8; empty while unknown. The
  // service lists a recent draw with zeros until its prizes are counted, and no
  // category that somebody won pays nothing, so a zero is never an amount.
  std::optional<Centimos> premio(int categoria) const;
  std::optional<Centimos> premioReintegro() const;
  // Some category carries a prize: the table has been published.
  bool publicada() const;

  bool operator==(const TablaPremios&) const = default;
};

// `nueva` over `guardada` (same draw): a later answer completes or corrects a table,
// but a zero (not yet counted) never replaces a known prize, nor an empty document path
// a known one.
TablaPremios combinar(const TablaPremios& guardada, const TablaPremios& nueva);

// The prize table of one draw object of an answer; empty without a readable date.
std::optional<TablaPremios> leerTablaSorteo(const QJsonObject& sorteo);

// The prize tables of every draw an answer of the results service lists. Text before
// the array and after it is ignored; a draw without a readable date is left out, and so
// is a category whose prize is not a text with a decimal point. Not an array, an array cut
// short or one with more draws than any history holds: none.
std::vector<TablaPremios> leerTablasRespuesta(const QByteArray& respuesta);

}  // namespace sortilan
