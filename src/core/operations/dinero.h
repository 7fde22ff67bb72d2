#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <optional>
#include <vector>

#include "base/resultado.h"
#include "money/tablapremios.h"
#include "platform/canalhttp.h"
#include "store/almacen.h"

namespace sortilan::operaciones {

// Changes of the money side, for the window and the command line alike. Each takes the
// folder lock and runs one transaction of sortilan.db (cambiarBase): all of it is kept,
// or, on a failure or a crash, nothing.

// Stores prize tables over the stored ones (a later answer completes or corrects a
// table). `guardadas` counts the tables that were new or changed. Reads first: when
// nothing would change, neither the lock nor the file is touched.
Resultado guardarTablasPremios(const QString& carpeta, const std::vector<TablaPremios>& tablas,
                               int* guardadas = nullptr);
// The tables of an answer of the results service.
Resultado guardarPremiosRespuesta(const QString& carpeta, const QByteArray& respuesta, int* guardadas = nullptr);

// The download's one call: keeps the tables of an answer that arrived whole. A failure
// is only logged: the draws of the answer matter more, and the tables can be completed
// later from the menu or with completar-premios.
void guardarPremiosDescargados(const QString& carpeta, const plataforma::Traida& traida);

// Marks the collection of peña `registro` (1-based record) in the draw of `sorteo` as
// collected on `dia`, or, without a day, as not collected. Refuses a draw the peña did
// not win in, and a day before the draw, after today or after the last day to collect.
Resultado marcarCobro(Almacen& almacen, int registro, const QDate& sorteo, const std::optional<QDate>& dia,
                      const QDate& hoy);

}  // namespace sortilan::operaciones
