#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <optional>
#include <vector>

#include "base/resultado.h"
#include "money/tablapremios.h"
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

// The same inside a bigger change (the download's, with the draws of the same answer);
// nothing is kept until `t` is.
class Transaccion;
Resultado guardarTablasEn(Transaccion& t, const std::vector<TablaPremios>& tablas, int* guardadas = nullptr);

// Marks the collection of peña `registro` (1-based record) in the draw of `sorteo` as
// collected on `dia`, or, without a day, as not collected. Refuses a draw the peña did
// not win in, and a day before the draw, after today or after the last day to collect.
Resultado marcarCobro(Almacen& almacen, int registro, const QDate& sorteo, const std::optional<QDate>& dia,
                      const QDate& hoy);

}  // namespace sortilan::operaciones
