#include "gui/checking/tabgestor.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/checking/graficopena.h"
#include "gui/checking/modelopenas.h"
#include "gui/ui/controles.h"
#include "gui/ui/tablaordenable.h"

namespace sortilan::ui {

namespace {
// Width of a list column that must show `muestra` whole, never less than the design's.
int anchoColumna(const QTableView* v, int columna, int disenoCentesimas, const QString& muestra) {
  const int diseno = disenoCentesimas * 96 / 2540;
  const int contenido = v->fontMetrics().horizontalAdvance(muestra) + 12;
  return std::max({diseno, contenido, v->horizontalHeader()->sectionSizeHint(columna)});
}
}  // namespace

TabGestor::TabGestor(QWidget* padre) : QWidget(padre) {
  setObjectName(QStringLiteral("TabGestor"));
  auto* capa = new QVBoxLayout(this);
  // The user decides how much of the width the list takes from the peña's detail.
  auto* divisor = new QSplitter(Qt::Horizontal, this);
  divisor->setObjectName(QStringLiteral("divisorGestor"));
  divisor->setChildrenCollapsible(false);
  capa->addWidget(divisor, 3);

  ListView1 = new QTableView(divisor);
  ListView1->setObjectName(QStringLiteral("ListView1"));
  // Tab goes on to the next control, as in any form; the arrows walk the rows.
  ListView1->setTabKeyNavigation(false);
  ListView1->verticalHeader()->hide();
  ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
  ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
  ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ListView1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  modeloPenas = new ModeloPenas(this);
  ListView1->setModel(modeloPenas);
  ordenarPorCabecera(*ListView1);
  // Column widths of the design (hundredths of a millimetre at 96 dots per inch), wider
  // where the widest name, count or date would not fit.
  const int anchos[4] = {anchoColumna(ListView1, 0, 5998, QString(20, QLatin1Char('W'))),
                         anchoColumna(ListView1, 1, 1764, QStringLiteral("462")),
                         anchoColumna(ListView1, 2, 2823, QStringLiteral("30/09/2026")),
                         anchoColumna(ListView1, 3, 2999, QStringLiteral("Miércoles"))};
  int columnas = 0;
  for (int i = 0; i < 4; ++i) {
    ListView1->setColumnWidth(i, anchos[i]);
    columnas += anchos[i];
  }
  ListView1->horizontalHeader()->setStretchLastSection(true);
  ListView1->setMinimumWidth(columnas + ListView1->verticalScrollBar()->sizeHint().width() +
                             2 * ListView1->frameWidth());
  divisor->addWidget(ListView1);

  auto* apuestas = new QWidget(divisor);
  auto* detalle = new QVBoxLayout(apuestas);
  detalle->setContentsMargins(0, 0, 0, 0);
  List1 = new QListWidget(apuestas);
  List1->setObjectName(QStringLiteral("List1"));
  QFont mono(QStringLiteral("Courier"));
  mono.setStyleHint(QFont::TypeWriter);
  List1->setFont(mono);
  List1->setUniformItemSizes(true);
  List1->setSpacing(0);
  List1->setStyleSheet(QStringLiteral("QListWidget { background: #e0e0e0; }"));
  List1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  List1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // The longest line: a multiple of 11 numbers.
  List1->setMinimumWidth(List1->fontMetrics().horizontalAdvance(QString(32, QLatin1Char('0'))) + 12 +
                         List1->verticalScrollBar()->sizeHint().width() + 2 * List1->frameWidth());
  detalle->addWidget(List1);
  detalle->addStretch();
  // Room for the tallest list (24 bets) from the start: choosing a peña never grows the tab.
  apuestas->setMinimumHeight(altoLista1(5225));
  divisor->addWidget(apuestas);

  auto* resumenPena = new QWidget(divisor);
  auto* columna = new QVBoxLayout(resumenPena);
  columna->setContentsMargins(0, 0, 0, 0);
  Frame1 = new QGroupBox(QStringLiteral("Desde la creación de la peña..."), resumenPena);
  Frame1->setObjectName(QStringLiteral("Frame1"));
  auto* rejilla = new QGridLayout(Frame1);
  const char* ordinales[8] = {"8ª", "7ª", "6ª", "5ª", "4ª", "3ª", "2ª", "1ª"};
  const char* aciertos[8] = {"2+0", "2+1", "3+0", "3+1", "4+0", "4+1", "5+0", "5+1"};
  for (int i = 7; i >= 0; --i) {
    const int fila = 7 - i;
    rejilla->addWidget(new QLabel(QStringLiteral("-Aciertos de %1 categoría (%2): ")
                                      .arg(QString::fromUtf8(ordinales[i]), QLatin1String(aciertos[i])),
                                  Frame1),
                       fila, 0);
    Label3[static_cast<size_t>(i)] = etiqueta(Frame1, nombreIndice("Label3", i), QStringLiteral("0"));
    reservarAncho(Label3[static_cast<size_t>(i)], {QStringLiteral("32767")});
    rejilla->addWidget(Label3[static_cast<size_t>(i)], fila, 1);
  }
  rejilla->addWidget(new QLabel(QStringLiteral("participados:"), Frame1), 8, 0);
  Label17 = etiqueta(Frame1, QStringLiteral("Label17"), QStringLiteral("-"));
  reservarAncho(Label17, {QStringLiteral("32767")});
  rejilla->addWidget(Label17, 8, 1);
  Label16 = etiqueta(Frame1, QStringLiteral("Label16"), QStringLiteral("0 %"));
  reservarAncho(Label16, {QStringLiteral("99999,9 %")});
  rejilla->addWidget(Label16, 9, 1);
  rejilla->setColumnStretch(1, 1);
  rejilla->setVerticalSpacing(2);
  columna->addWidget(Frame1);
  MSChart3 = new QWidget(resumenPena);
  MSChart3->setObjectName(QStringLiteral("MSChart3"));
  auto* capa3 = new QVBoxLayout(MSChart3);
  capa3->setContentsMargins(0, 0, 0, 0);
  grafico3 = new GraficoPena(MSChart3);
  capa3->addWidget(grafico3);
  columna->addWidget(MSChart3, 1);
  divisor->addWidget(resumenPena);
  divisor->setStretchFactor(0, 1);
  divisor->setStretchFactor(1, 0);
  divisor->setStretchFactor(2, 0);

  auto* abajo = new QHBoxLayout;
  capa->addLayout(abajo, 1);
  struct Def {
    int indice;
    QStyle::StandardPixmap px;
    const char* ayuda;
  };
  const Def iconos[3] = {{0, QStyle::SP_DialogDiscardButton, "Eliminar peña"},
                         {1, QStyle::SP_FileIcon, "Crear peña nueva"},
                         {3, QStyle::SP_DialogSaveButton, "Imprimir"}};
  for (int i = 0; i < 3; ++i) {
    auto* b = new QToolButton(this);
    b->setObjectName(nombreIndice("Image1", iconos[i].indice));
    b->setIcon(style()->standardIcon(iconos[i].px));
    b->setIconSize(QSize(32, 32));
    b->setAutoRaise(true);
    b->setToolTip(QString::fromUtf8(iconos[i].ayuda));
    Image1[static_cast<size_t>(i)] = b;
    abajo->addWidget(b);
  }
  Command3 = new QPushButton(QStringLiteral("Eliminar peña"), this);
  Command3->setObjectName(QStringLiteral("Command3"));
  Command4 = new QPushButton(QStringLiteral("Crear peña nueva"), this);
  Command4->setObjectName(QStringLiteral("Command4"));
  Command2 = new QPushButton(QStringLiteral("Imprimir"), this);
  Command2->setObjectName(QStringLiteral("Command2"));
  abajo->addWidget(Command3);
  abajo->addWidget(Command4);
  abajo->addWidget(Command2);
  abajo->addSpacing(20);

  auto* total = new QGridLayout;
  total->addWidget(new QLabel(QStringLiteral("Suma aciertos peñas:"), this), 0, 0);
  Label13 = etiqueta(this, QStringLiteral("Label13"), QStringLiteral("0"));
  reservarAncho(Label13, {QStringLiteral("9999999")});
  total->addWidget(Label13, 0, 1);
  Text4 = new QLineEdit(this);
  Text4->setObjectName(QStringLiteral("Text4"));
  Text4->setReadOnly(true);
  Text4->setMinimumWidth(Text4->fontMetrics().horizontalAdvance(QStringLiteral("100% de efectividad en premios")) + 16);
  total->addWidget(Text4, 1, 0, 1, 2);
  Text5 = new QLineEdit(this);
  Text5->setObjectName(QStringLiteral("Text5"));
  Text5->setReadOnly(true);
  total->addWidget(Text5, 2, 0, 1, 2);
  total->setColumnStretch(1, 1);
  abajo->addLayout(total);
  MSChart2 = new QWidget(this);
  MSChart2->setObjectName(QStringLiteral("MSChart2"));
  auto* capa2 = new QVBoxLayout(MSChart2);
  capa2->setContentsMargins(0, 0, 0, 0);
  grafico2 = new GraficoPena(MSChart2);
  capa2->addWidget(grafico2);
  abajo->addWidget(MSChart2, 1);

  connect(ListView1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this] { emit penaElegida(filaResaltada(*ListView1)); });
  connect(Command3, &QPushButton::clicked, this, &TabGestor::borrarPedido);
  connect(Image1[0], &QToolButton::clicked, this, &TabGestor::borrarPedido);
  connect(Command4, &QPushButton::clicked, this, &TabGestor::crearPedido);
  connect(Image1[1], &QToolButton::clicked, this, &TabGestor::crearPedido);
  connect(Command2, &QPushButton::clicked, this, &TabGestor::imprimirPedido);
  connect(Image1[2], &QToolButton::clicked, this, &TabGestor::imprimirPedido);
}

bool TabGestor::vacio() const { return modeloPenas->vacio(); }

void TabGestor::mostrarResumen(const ResumenPenas& r) {
  modeloPenas->poner(r);
  Command2->setEnabled(!r.vacio);
  Command3->setEnabled(!r.vacio);
  if (r.vacio) {
    List1->clear();
    for (QLabel* l : Label3) l->setText(QStringLiteral("0"));
  }
  Label13->setText(r.sumaAciertos);
  Text4->setText(r.efectividad);
  Text4->setCursorPosition(0);
  Text5->setText(r.sorteos);
  grafico2->poner(r.grafico);
}

void TabGestor::mostrarDetalle(const DetallePena& d) {
  List1->clear();
  if (d.corrupta) return;
  List1->addItems(d.lineas);
  if (d.altoTwips > 0) List1->setFixedHeight(altoLista1(d.altoTwips));
  if (!d.lineas.isEmpty() || d.participados != QStringLiteral("-"))
    for (size_t i = 0; i < Label3.size(); ++i) Label3[i]->setText(d.premios[i]);
  Label17->setText(d.participados);
  Label16->setText(d.efectividad);
  grafico3->poner(d.grafico);
}

int TabGestor::altoLista1(int twips) const {
  // The design gives 225 twips to a line; scaled to the line height of this font so the
  // lines the rule makes room for are the lines that show.
  const int linea = List1->fontMetrics().height() + 1;
  return twips * linea / 225 + 2 * List1->frameWidth();
}

void TabGestor::resaltar(int fila) {
  if (filaResaltada(*ListView1) == fila) {
    emit penaElegida(fila);
    return;
  }
  // A single row selection: making the row current highlights it.
  ListView1->setCurrentIndex(indiceVista(*ListView1, fila));
}

}  // namespace sortilan::ui
