#include "gui/money/tabcuentas.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QDateEdit>
#include <QDateTimeAxis>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

#include "gui/money/modeloscuentas.h"
#include "gui/ui/campofecha.h"
#include "gui/ui/controles.h"
#include "gui/ui/graficovacio.h"
#include "gui/ui/tablaordenable.h"

namespace sortilan::ui {

namespace {

QTableView* tabla(QWidget* padre, const char* nombre, QAbstractItemModel* modelo) {
  auto* v = new QTableView(padre);
  v->setObjectName(QLatin1String(nombre));
  // Tab goes on to the next control, as in any form; the arrows walk the rows.
  v->setTabKeyNavigation(false);
  v->verticalHeader()->hide();
  v->verticalHeader()->setDefaultSectionSize(20);
  v->setSelectionBehavior(QAbstractItemView::SelectRows);
  v->setSelectionMode(QAbstractItemView::SingleSelection);
  v->setEditTriggers(QAbstractItemView::NoEditTriggers);
  v->setWordWrap(false);
  v->setModel(modelo);
  ordenarPorCabecera(*v);
  v->horizontalHeader()->setStretchLastSection(true);
  return v;
}

QPushButton* boton(QWidget* padre, const char* nombre, const QString& texto) {
  auto* b = new QPushButton(texto, padre);
  b->setObjectName(QLatin1String(nombre));
  return b;
}

const QString kTituloGrafico = QStringLiteral("Coste y premios acumulados (€)");

// Euros for the chart's axis; the amounts themselves stay in cents.
double euros(Centimos c) { return static_cast<double>(c) / 100.0; }

}  // namespace

TabCuentas::TabCuentas(QWidget* padre) : QWidget(padre) {
  setObjectName(QStringLiteral("TabCuentas"));
  auto* capa = new QVBoxLayout(this);
  LabelCuentas = etiqueta(this, QStringLiteral("LabelCuentas"));
  QFont negrita = LabelCuentas->font();
  negrita.setBold(true);
  LabelCuentas->setFont(negrita);
  capa->addWidget(LabelCuentas);
  LabelAvisoCuentas = etiqueta(this, QStringLiteral("LabelAvisoCuentas"));
  LabelAvisoCuentas->setStyleSheet(QStringLiteral("color: #c00000;"));
  LabelAvisoCuentas->setWordWrap(true);
  LabelAvisoCuentas->hide();
  capa->addWidget(LabelAvisoCuentas);

  auto* divisor = new QSplitter(Qt::Vertical, this);
  capa->addWidget(divisor, 1);
  auto* arriba = new QSplitter(Qt::Horizontal, divisor);
  modeloPenas = new ModeloCuentasPenas(this);
  ListaPenasCuentas = tabla(arriba, "ListaPenasCuentas", modeloPenas);

  auto* grafico = new QChart;
  grafico->setTitle(kTituloGrafico);
  grafico->legend()->setAlignment(Qt::AlignBottom);
  grafico->setMargins(QMargins(2, 2, 2, 2));
  grafico->setBackgroundRoundness(0);
  coste_ = new QLineSeries;
  coste_->setName(QStringLiteral("Coste"));
  coste_->setColor(QColor(0xC0, 0x30, 0x20));
  ganado_ = new QLineSeries;
  ganado_->setName(QStringLiteral("Ganado"));
  ganado_->setColor(QColor(0x20, 0x80, 0x30));
  caducado_ = new QLineSeries;
  caducado_->setName(QStringLiteral("Caducado"));
  caducado_->setColor(QColor(0x80, 0x80, 0x80));
  grafico->addSeries(coste_);
  grafico->addSeries(ganado_);
  grafico->addSeries(caducado_);
  auto* fechas = new QDateTimeAxis;
  fechas->setFormat(QStringLiteral("MM/yyyy"));
  fechas->setTickCount(5);
  grafico->addAxis(fechas, Qt::AlignBottom);
  auto* importes = new QValueAxis;
  importes->setLabelFormat(QStringLiteral("%.0f"));
  grafico->addAxis(importes, Qt::AlignLeft);
  for (QLineSeries* s : {coste_, ganado_, caducado_}) {
    s->attachAxis(fechas);
    s->attachAxis(importes);
  }
  GraficoCuentas = new QChartView(grafico, arriba);
  GraficoCuentas->setObjectName(QStringLiteral("GraficoCuentas"));
  GraficoCuentas->setRenderHint(QPainter::Antialiasing);
  GraficoCuentas->setMinimumWidth(360);
  arriba->setStretchFactor(0, 3);
  arriba->setStretchFactor(1, 2);

  modeloSorteos = new ModeloCuentasSorteos(this);
  ListaSorteosCuentas = tabla(divisor, "ListaSorteosCuentas", modeloSorteos);
  divisor->setStretchFactor(0, 2);
  divisor->setStretchFactor(1, 3);

  auto* botones = new QHBoxLayout;
  capa->addLayout(botones);
  botones->addWidget(new QLabel(QStringLiteral("Día de cobro:"), this));
  FechaCobro = new CampoFecha(this);
  FechaCobro->setObjectName(QStringLiteral("FechaCobro"));
  FechaCobro->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
  FechaCobro->setCalendarPopup(true);
  botones->addWidget(FechaCobro);
  CommandCobrar = boton(this, "CommandCobrar", QStringLiteral("Marcar cobrado"));
  CommandPendiente = boton(this, "CommandPendiente", QStringLiteral("Marcar pendiente"));
  CommandCsv = boton(this, "CommandCsv", QStringLiteral("Exportar CSV..."));
  botones->addWidget(CommandCobrar);
  botones->addWidget(CommandPendiente);
  botones->addStretch();
  CheckBorradas = new QCheckBox(QStringLiteral("Peñas borradas"), this);
  CheckBorradas->setObjectName(QStringLiteral("CheckBorradas"));
  botones->addWidget(CheckBorradas);
  botones->addWidget(CommandCsv);

  connect(CommandCobrar, &QPushButton::clicked, this, [this] { emit cobroPedido(FechaCobro->date()); });
  connect(CommandPendiente, &QPushButton::clicked, this, &TabCuentas::pendientePedido);
  connect(CommandCsv, &QPushButton::clicked, this, &TabCuentas::exportarPedido);
  connect(CheckBorradas, &QCheckBox::toggled, this, [this] {
    // Another list of peñas: the record chosen in one means nothing in the other.
    ListaPenasCuentas->setCurrentIndex(QModelIndex());
    emit borradasPedidas();
  });

  // What the buttons act on is the row drawn highlighted, which a Ctrl+click can take away
  // from the current row.
  connect(ListaPenasCuentas->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TabCuentas::alElegirPena);
  connect(ListaSorteosCuentas->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &TabCuentas::alElegirSorteo);
  alElegirSorteo();
}

bool TabCuentas::verBorradas() const { return CheckBorradas->isChecked(); }

int TabCuentas::penaSeleccionada() const { return modeloPenas->registro(filaResaltada(*ListaPenasCuentas)); }

QDate TabCuentas::sorteoSeleccionado() const { return modeloSorteos->fecha(filaResaltada(*ListaSorteosCuentas)); }

const sortilan::Cobro* TabCuentas::cobroSeleccionado() const {
  return modeloSorteos->cobro(filaResaltada(*ListaSorteosCuentas));
}

void TabCuentas::mostrar(Cuentas cuentas, const QDate& hoy) {
  const int pena = penaSeleccionada();
  const QDate sorteo = sorteoSeleccionado();
  cuentas_ = std::move(cuentas);
  const Centimos neto = cuentas_.ganado() - cuentas_.coste();
  LabelCuentas->setText(QStringLiteral("Precio por apuesta: %1.   %7: coste %2, ganado %3, caducado %4, neto %5.   %6")
                            .arg(textoEuros(cuentas_.precio), textoEuros(cuentas_.coste()),
                                 textoEuros(cuentas_.ganado()), textoEuros(cuentas_.caducado()), textoEuros(neto),
                                 textoPorCobrar(cuentas_.cobros),
                                 verBorradas() ? QStringLiteral("Peñas borradas") : QStringLiteral("Todas las peñas")));
  FechaCobro->setMaximumDate(hoy);
  FechaCobro->setDate(hoy);
  modeloPenas->poner(cuentas_);
  ListaPenasCuentas->resizeColumnsToContents();
  seleccionar(pena > 0 ? pena : modeloPenas->registro(0), sorteo);
}

void TabCuentas::mostrarAviso(const QString& texto) {
  LabelAvisoCuentas->setText(texto);
  LabelAvisoCuentas->setVisible(!texto.isEmpty());
}

void TabCuentas::seleccionar(int registro, const QDate& sorteo) {
  const int fila = modeloPenas->fila(registro);
  if (fila < 0) {
    ListaPenasCuentas->setCurrentIndex(QModelIndex());
    alElegirPena();
  } else if (filaResaltada(*ListaPenasCuentas) != fila) {
    ListaPenasCuentas->setCurrentIndex(indiceVista(*ListaPenasCuentas, fila));
  } else {
    alElegirPena();
  }
  for (int f = 0; sorteo.isValid() && f < modeloSorteos->rowCount(); ++f)
    if (modeloSorteos->fecha(f) == sorteo) ListaSorteosCuentas->setCurrentIndex(indiceVista(*ListaSorteosCuentas, f));
}

void TabCuentas::alElegirPena() {
  const CuentaPena* pena = cuentas_.pena(penaSeleccionada());
  modeloSorteos->poner(cuentas_, pena);
  ListaSorteosCuentas->resizeColumnsToContents();
  // A draw with many prizes would push the rest of the row out of sight.
  constexpr int kAnchoPremios = 380;
  if (ListaSorteosCuentas->columnWidth(ModeloCuentasSorteos::Premios) > kAnchoPremios)
    ListaSorteosCuentas->setColumnWidth(ModeloCuentasSorteos::Premios, kAnchoPremios);
  dibujar(pena);
  alElegirSorteo();
}

void TabCuentas::alElegirSorteo() {
  const sortilan::Cobro* c = cobroSeleccionado();
  // A deleted peña's collections are only looked at.
  CommandCobrar->setEnabled(c && c->estado != EstadoCobro::Cobrado && !verBorradas());
  CommandPendiente->setEnabled(c && c->estado == EstadoCobro::Cobrado && !verBorradas());
  FechaCobro->setEnabled(!verBorradas());
  CommandCsv->setEnabled(penaSeleccionada() > 0);
}

void TabCuentas::dibujar(const CuentaPena* pena) {
  QList<QPointF> coste, ganado, caducado;
  Centimos c = 0, g = 0, k = 0;
  if (pena) {
    for (const CuentaSorteo& s : pena->sorteos) {
      c += s.coste;
      (cuentas_.caducado(pena->registro, s.fecha) ? k : g) += s.ganadoConocido();
      const qreal x = static_cast<qreal>(s.fecha.startOfDay().toMSecsSinceEpoch());
      coste << QPointF(x, euros(c));
      ganado << QPointF(x, euros(g));
      caducado << QPointF(x, euros(k));
    }
  }
  coste_->replace(coste);
  ganado_->replace(ganado);
  caducado_->replace(caducado);
  QChart* grafico = GraficoCuentas->chart();
  for (QAbstractAxis* eje : grafico->axes(Qt::Horizontal)) {
    if (!pena || pena->sorteos.empty()) break;
    eje->setRange(pena->sorteos.front().fecha.startOfDay(), pena->sorteos.back().fecha.startOfDay().addDays(1));
  }
  for (QAbstractAxis* eje : grafico->axes(Qt::Vertical)) {
    auto* importes = qobject_cast<QValueAxis*>(eje);
    if (!importes) continue;
    importes->setRange(0.0, std::max({1.0, euros(c), euros(g), euros(k)}));
    importes->applyNiceNumbers();
  }
  mostrarVacio(*grafico, !pena || pena->sorteos.empty(), kTituloGrafico);
}

}  // namespace sortilan::ui
