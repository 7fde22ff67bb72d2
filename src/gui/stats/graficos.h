#pragma once

#include <QChartView>
#include <QFont>
#include <QObject>
#include <QPointer>

#include "session/sesion.h"
#include "stats/tablasgrafico.h"

class QBarCategoryAxis;
class QBarSeries;
class QChart;
class QValueAxis;

namespace sortilan::ui {

// The statistics chart: the tallies of the draw list as bars, numbers in two halves or
// the key. The view is placed by whoever shows it.
class Graficos : public QObject {
  Q_OBJECT
 public:
  explicit Graficos(QObject* padre = nullptr);
  ~Graficos() override;

  // New tallies from the draw list.
  void poner(const Frecuencias& f);

  // The table the chart shows now.
  const TablaGrafico& mostrada() const { return mostrada_; }
  QChartView* vista() const { return vista_; }
  // The text shown for the bar under the pointer; empty when none.
  const QString& pista() const { return pista_; }
  // The bars of the chart on show, for the tooltips.
  QBarSeries* serie() const;

 public slots:
  // Numbers (0, the lower half) or key (1).
  void elegir(int indice);
  // The half of the numbers: 1 for 1..27, 2 for 28..54.
  void mostrarMitad(int mitad);

 signals:
  // The choice changed from the program (a new draw list shows the numbers again).
  void opcionElegida(int indice);

 private:
  void mostrar(const TablaGrafico& t);
  // Small enough for 27 numbers under their bars, large enough to read.
  static QFont fuenteEtiquetas();

  TablaGrafico bajos_;
  TablaGrafico altos_;
  TablaGrafico clave_;
  TablaGrafico mostrada_;
  QChart* grafico_ = nullptr;
  QPointer<QChartView> vista_;
  QString pista_;
};

}  // namespace sortilan::ui
