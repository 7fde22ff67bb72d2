#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "session/sesion.h"

namespace sortilan {

// A chart table: one row label per category and one series per further column.
// An empty cell (a number never drawn) is no bar.
struct TablaGrafico {
  std::vector<QString> etiquetas;
  std::vector<std::vector<std::optional<int>>> series;  // series[c][fila]

  int filas() const { return static_cast<int>(etiquetas.size()); }
};

TablaGrafico graficobajos(const Frecuencias& f);  // numbers 1..27
TablaGrafico graficoaltos(const Frecuencias& f);  // numbers 28..54
// Key numbers 0..9; the counts are the second series, after an empty one.
TablaGrafico graficoclave(const Frecuencias& f);

// Counts as plain numbers, 0 for an empty cell: 1..27, 28..54, 0..9.
std::vector<int> cuentas(const TablaGrafico& t);

}  // namespace sortilan
