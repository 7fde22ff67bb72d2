#include "stats/gui/graficos.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QFont>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QValueAxis>

#include "app/principal.h"
#include "main/gui/tabestadisticas.h"

namespace sortilan::ui {

QFont Graficos::fuenteEtiquetas() {
  QFont f;
  f.setPointSizeF(8);
  return f;
}

Graficos::Graficos(Principal& principal) : QObject(&principal), p_(principal) {
  setObjectName(QStringLiteral("Graficos"));
  TabEstadisticas* tab = p_.estadisticas();
  grafico_ = new QChart;
  grafico_->legend()->hide();
  grafico_->setMargins(QMargins(4, 4, 4, 4));
  vista_ = new QChartView(grafico_, tab->MSChart1);
  vista_->setObjectName(QStringLiteral("vistaGrafico"));
  vista_->setRenderHint(QPainter::Antialiasing);
  tab->capaGrafico->addWidget(vista_);
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

  connect(tab->HScroll2, &QScrollBar::valueChanged, this, &Graficos::HScroll2_Change);
  for (int i = 0; i < 2; ++i)
    connect(tab->Option1[static_cast<size_t>(i)], &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
  mostrar(bajos_);
}

void Graficos::poner(const Frecuencias& f) {
  bajos_ = graficobajos(f);
  altos_ = graficoaltos(f);
  clave_ = graficoclave(f);
}

void Graficos::Option1_Click(int indice) {
  TabEstadisticas* tab = p_.estadisticas();
  // The draw list selects the numbers by calling this; the buttons follow.
  tab->Option1[static_cast<size_t>(indice)]->setChecked(true);
  tab->HScroll2->setEnabled(indice == 0);
  mostrar(indice == 0 ? bajos_ : clave_);
}

void Graficos::HScroll2_Change() { mostrar(p_.estadisticas()->HScroll2->value() == 1 ? bajos_ : altos_); }

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
  valores->applyNiceNumbers();
  grafico_->addAxis(valores, Qt::AlignLeft);
  serie->attachAxis(valores);
}

}  // namespace sortilan::ui
