#pragma once

#include <QFont>
#include <QObject>

#include "session/sesion.h"
#include "stats/tablasgrafico.h"

class QBarCategoryAxis;
class QBarSeries;
class QChart;
class QChartView;
class QValueAxis;

namespace sortilan::ui {

class Principal;

// The statistics chart of the "Estadísticas" tab.
class Graficos : public QObject {
  Q_OBJECT
 public:
  explicit Graficos(Principal& principal);

  // New tallies from the draw list.
  void poner(const Frecuencias& f);
  void Option1_Click(int indice);
  void HScroll2_Change();

  // The table the chart shows now.
  const TablaGrafico& mostrada() const { return mostrada_; }
  QChartView* vista() const { return vista_; }

 private:
  void mostrar(const TablaGrafico& t);
  // Small enough for 27 numbers under their bars, large enough to read.
  static QFont fuenteEtiquetas();

  Principal& p_;
  TablaGrafico bajos_;
  TablaGrafico altos_;
  TablaGrafico clave_;
  TablaGrafico mostrada_;
  QChart* grafico_ = nullptr;
  QChartView* vista_ = nullptr;
};

}  // namespace sortilan::ui
