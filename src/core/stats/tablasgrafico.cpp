#include "stats/tablasgrafico.h"

namespace sortilan {

namespace {
std::optional<int> celda(int cuenta) { return cuenta > 0 ? std::optional<int>(cuenta) : std::nullopt; }

TablaGrafico numeros(const Frecuencias& f, int desde) {
  TablaGrafico t;
  t.series.resize(1);
  for (int n = desde; n < desde + 27; ++n) {
    t.etiquetas.push_back(QString::number(n));
    t.series[0].push_back(celda(f.numero(n)));
  }
  return t;
}
}  // namespace

TablaGrafico graficobajos(const Frecuencias& f) { return numeros(f, 1); }
TablaGrafico graficoaltos(const Frecuencias& f) { return numeros(f, 28); }

TablaGrafico graficoclave(const Frecuencias& f) {
  TablaGrafico t;
  t.series.resize(2);
  for (int k = 0; k <= 9; ++k) {
    t.etiquetas.push_back(QString::number(k));
    t.series[0].push_back(std::nullopt);
    t.series[1].push_back(celda(f.clave[static_cast<size_t>(k)]));
  }
  return t;
}

std::vector<int> cuentas(const TablaGrafico& t) {
  std::vector<int> out;
  if (t.series.empty()) return out;
  for (const std::optional<int>& c : t.series.back()) out.push_back(c.value_or(0));
  return out;
}

}  // namespace sortilan
