#include "gui/stats/graficos.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCursor>
#include <QFont>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>

#include "gui/ui/graficovacio.h"

namespace sortilan::ui {

namespace {
// "17: 120 veces" for the bar `indice` of `barras`.
QString textoBarra(const TablaGrafico& t, const QBarSet* barras, int indice) {
  if (!barras || indice < 0 || indice >= t.filas() || indice >= barras->count()) return {};
  const int veces = static_cast<int>(barras->at(indice));
  return QStringLiteral("%1: %2 %3")
      .arg(t.etiquetas[static_cast<size_t>(indice)])
      .arg(veces)
      .arg(veces == 1 ? QStringLiteral("vez") : QStringLiteral("veces"));
}
}  // namespace

QFont Graficos::fuenteEtiquetas() {
  QFont f;
  f.setPointSizeF(8);
  return f;
}

Graficos::Graficos(QObject* padre) : QObject(padre) {
  setObjectName(QStringLiteral("Graficos"));
  grafico_ = new QChart;
  grafico_->legend()->hide();
  grafico_->setMargins(QMargins(4, 4, 4, 4));
  vista_ = new QChartView(grafico_);
  vista_->setObjectName(QStringLiteral("vistaGrafico"));
  vista_->setRenderHint(QPainter::Antialiasing);
  // The category axis gives each of the 28 slots an equal share of the plot, less its
  // padding, and a label needs its text plus the margins of a text item: room for 27
  // two-digit labels whole, beside the value axis.
  const QFontMetrics fm(fuenteEtiquetas());
  vista_->setMinimumWidth(28 * (fm.horizontalAdvance(QStringLiteral("54")) + 13) +
                          fm.horizontalAdvance(QStringLiteral("9999")) + 40);

  const Frecuencias vacias;
  bajos_ = graficobajos(vacias);
  altos_ = graficoaltos(vacias);
  clave_ = graficoclave(vacias);
  mostrar(bajos_);
}

// The view belongs to the window that shows it; one never placed goes with the chart.
Graficos::~Graficos() {
  if (vista_ && !vista_->parent()) delete vista_;
}

void Graficos::poner(const Frecuencias& f) {
  bajos_ = graficobajos(f);
  altos_ = graficoaltos(f);
  clave_ = graficoclave(f);
}

void Graficos::elegir(int indice) {
  // The draw list selects the numbers by calling this; the buttons follow.
  emit opcionElegida(indice);
  mostrar(indice == 0 ? bajos_ : clave_);
}

QBarSeries* Graficos::serie() const {
  const QList<QAbstractSeries*> series = grafico_->series();
  return series.isEmpty() ? nullptr : qobject_cast<QBarSeries*>(series.first());
}

void Graficos::mostrarMitad(int mitad) { mostrar(mitad == 1 ? bajos_ : altos_); }

void Graficos::mostrar(const TablaGrafico& t) {
  mostrada_ = t;
  grafico_->removeAllSeries();
  for (QAbstractAxis* eje : grafico_->axes()) {
    grafico_->removeAxis(eje);
    delete eje;
  }
  auto* serie = new QBarSeries;
  int maximo = 0;
  for (const auto& columna : t.series) {
    auto* barras = new QBarSet(QString());
    barras->setColor(QColor(0, 0, 160));
    for (const std::optional<int>& c : columna) {
      barras->append(c.value_or(0));
      maximo = std::max(maximo, c.value_or(0));
    }
    serie->append(barras);
  }
  serie->setBarWidth(0.8);
  grafico_->addSeries(serie);

  auto* categorias = new QBarCategoryAxis;
  for (const QString& e : t.etiquetas) categorias->append(e);
  categorias->setLabelsFont(fuenteEtiquetas());
  grafico_->addAxis(categorias, Qt::AlignBottom);
  serie->attachAxis(categorias);
  auto* valores = new QValueAxis;
  valores->setRange(0, std::max(1, maximo));
  valores->setLabelFormat(QStringLiteral("%d"));
  // Counts are whole: a small range gets one tick per unit, never repeated labels.
  if (maximo <= 4)
    valores->setTickCount(std::max(1, maximo) + 1);
  else
    valores->applyNiceNumbers();
  grafico_->addAxis(valores, Qt::AlignLeft);
  serie->attachAxis(valores);
  mostrarVacio(*grafico_, maximo == 0);
  // Each bar tells its count under the pointer.
  connect(serie, &QBarSeries::hovered, vista_.data(), [this](bool dentro, int indice, QBarSet* barras) {
    pista_ = dentro ? textoBarra(mostrada_, barras, indice) : QString();
    if (pista_.isEmpty())
      QToolTip::hideText();
    else
      QToolTip::showText(QCursor::pos(), pista_, vista_);
  });
}

}  // namespace sortilan::ui
