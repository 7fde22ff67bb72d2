#pragma once

#include <QString>

class QChart;

namespace sortilan::ui {

// What an empty chart says instead of axes drawn over no data (dates of 1970, ticks of
// a range that holds nothing).
inline const QString kSinDatos = QStringLiteral("Sin datos todavía");

// Shows `grafico` with its axes and `titulo`, or, when `vacio`, without axes and with
// kSinDatos under the title.
void mostrarVacio(QChart& grafico, bool vacio, const QString& titulo = QString());

}  // namespace sortilan::ui
