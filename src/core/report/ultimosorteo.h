#pragma once

#include <QByteArray>
#include <QUrl>

#include "report/escrutinio.h"
#include "store/sorteo.h"

namespace sortilan {

// What the "Último sorteo" tab shows: the newest stored draw and, when the last answer
// of the results service holds that draw, its prize table.
struct UltimoSorteo {
  enum class Premios {
    SinSorteo,  // no draw is stored
    Tabla,      // the answer holds the draw with its prizes
    AunNo,      // the answer holds the draw, but its prizes are not published yet
    SinDatos,   // the answer says nothing of this draw (an old answer, or none)
  };
  Premios premios = Premios::SinSorteo;
  Sorteo sorteo;
  // The report of the draw's own part of the answer; prizes and document only with a Tabla.
  Escrutinio informe;
};

// `ultimo` is the newest stored draw (all zero when there is none).
UltimoSorteo ultimoSorteo(const QByteArray& buffer, const Sorteo& ultimo, const QUrl& operador);

// A prize as the tab shows it, in the program's own money format: "47.445,95 €" for the
// service's "47445.95"; "-" where the answer gave none; any other text as it came.
QString textoPremio(const std::optional<QString>& premio);

// Notices of the tab besides the ones of the prize report.
QString avisoSinSorteos();
QString avisoSinPremios();

}  // namespace sortilan
