#include "gui/checking/graficopena.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCursor>
#include <QToolTip>
#include <QValueAxis>
#include <cmath>

#include "gui/ui/graficovacio.h"

namespace sortilan::ui {

GraficoPena::GraficoPena(QWidget* padre) : QChartView(padre) {
  auto* grafico = new QChart;
  grafico->legend()->setAlignment(Qt::AlignBottom);
  grafico->setMargins(QMargins(2, 2, 2, 2));
  grafico->setBackgroundRoundness(0);
  sinPremio_ = new QBarSet(QStringLiteral("Sorteos sin premio"));
  premios_ = new QBarSet(QStringLiteral("Premios"));
  sinPremio_->setColor(QColor(0x60, 0x80, 0xC0));
  premios_->setColor(QColor(0xE0, 0x40, 0x30));
  *sinPremio_ << 0;
  *premios_ << 0;
  auto* serie = new QBarSeries;
  serie->append(sinPremio_);
  serie->append(premios_);
  grafico->addSeries(serie);
  auto* categorias = new QBarCategoryAxis;
  categorias->append(QStringLiteral(" "));
  grafico->addAxis(categorias, Qt::AlignBottom);
  serie->attachAxis(categorias);
  auto* valores = new QValueAxis;
  valores->setLabelFormat(QStringLiteral("%d"));
  grafico->addAxis(valores, Qt::AlignLeft);
  serie->attachAxis(valores);
  // Each bar tells its count under the pointer.
  connect(serie, &QBarSeries::hovered, this, [this](bool dentro, int indice, QBarSet* barras) {
    pista_ = dentro && barras ? QStringLiteral("%1: %2").arg(barras->label()).arg(barras->at(indice)) : QString();
    if (pista_.isEmpty())
      QToolTip::hideText();
    else
      QToolTip::showText(QCursor::pos(), pista_, this);
  });
  setChart(grafico);
  mostrarVacio(*grafico, true);
  setRenderHint(QPainter::Antialiasing);
  // Room for the legend's two captions side by side, and for a readable pair of bars.
  setMinimumSize(260, 150);
}

void GraficoPena::poner(const DatosGrafico& d) {
  datos_ = d;
  sinPremio_->replace(0, d.sinPremio);
  premios_->replace(0, d.premios.value_or(0));
  const double maximo = std::max(d.sinPremio, d.premios.value_or(0));
  for (QAbstractAxis* eje : chart()->axes(Qt::Vertical))
    if (auto* v = qobject_cast<QValueAxis*>(eje)) {
      // Whole-number ticks only: the values are counts. Three labels at most, so a short
      // chart never has to abbreviate them.
      const int paso = std::max(1, static_cast<int>(std::ceil(maximo / 2.0)));
      const int tope = std::max(1, static_cast<int>(std::ceil(maximo / paso))) * paso;
      v->setRange(0, tope);
      v->setTickType(QValueAxis::TicksDynamic);
      v->setTickAnchor(0);
      v->setTickInterval(paso);
    }
  mostrarVacio(*chart(), maximo == 0);
}

}  // namespace sortilan::ui
