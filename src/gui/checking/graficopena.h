#pragma once

#include <QChartView>

#include "checking/resumenpenas.h"

class QBarSet;

namespace sortilan::ui {

// The bar chart of a peña (MSChart3) or of all peñas (MSChart2): one category with
// the draws without a prize beside the prizes.
class GraficoPena : public QChartView {
  Q_OBJECT
 public:
  explicit GraficoPena(QWidget* padre = nullptr);

  void poner(const DatosGrafico& datos);
  const DatosGrafico& datos() const { return datos_; }
  // The text shown for the bar under the pointer; empty when none.
  const QString& pista() const { return pista_; }

 private:
  QBarSet* sinPremio_ = nullptr;
  QBarSet* premios_ = nullptr;
  DatosGrafico datos_;
  QString pista_;
};

}  // namespace sortilan::ui
