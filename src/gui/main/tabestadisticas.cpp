#include "gui/main/tabestadisticas.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSplitter>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/main/modelosorteos.h"
#include "gui/ui/controles.h"
#include "gui/ui/tablaordenable.h"
#include "stats/buscarsorteos.h"

namespace sortilan::ui {

namespace {
QToolButton* icono(QWidget* padre, int i, QStyle::StandardPixmap px, const QString& ayuda) {
  auto* b = new QToolButton(padre);
  b->setObjectName(nombreIndice("Image1", i));
  b->setIcon(padre->style()->standardIcon(px));
  b->setIconSize(QSize(32, 32));
  b->setAutoRaise(true);
  b->setToolTip(ayuda);
  return b;
}
}  // namespace

TabEstadisticas::TabEstadisticas(QWidget* padre) : QWidget(padre) {
  setObjectName(QStringLiteral("TabEstadisticas"));
  auto* capa = new QHBoxLayout(this);
  // The user decides how much of the width the chart takes from the draw list.
  auto* divisor = new QSplitter(Qt::Horizontal, this);
  divisor->setObjectName(QStringLiteral("divisorEstadisticas"));
  divisor->setChildrenCollapsible(false);
  capa->addWidget(divisor);

  auto* columnaGrafico = new QWidget(divisor);
  auto* izquierda = new QVBoxLayout(columnaGrafico);
  izquierda->setContentsMargins(0, 0, 0, 0);
  MSChart1 = new QWidget(columnaGrafico);
  MSChart1->setObjectName(QStringLiteral("MSChart1"));
  MSChart1->setMinimumHeight(300);
  capaGrafico = new QVBoxLayout(MSChart1);
  capaGrafico->setContentsMargins(0, 0, 0, 0);
  izquierda->addWidget(MSChart1, 1);
  HScroll2 = new QScrollBar(Qt::Horizontal, columnaGrafico);
  HScroll2->setObjectName(QStringLiteral("HScroll2"));
  HScroll2->setRange(1, 2);
  HScroll2->setPageStep(1);
  izquierda->addWidget(HScroll2);
  auto* opciones = new QHBoxLayout;
  const QString textos[2] = {QStringLiteral("Números"), QStringLiteral("Clave")};
  for (int i = 0; i < 2; ++i) {
    auto* o = new QRadioButton(textos[i], columnaGrafico);
    o->setObjectName(nombreIndice("Option1", i));
    Option1[static_cast<size_t>(i)] = o;
    opciones->addWidget(o);
  }
  Option1[0]->setChecked(true);
  opciones->addStretch();
  izquierda->addLayout(opciones);
  divisor->addWidget(columnaGrafico);

  auto* columnaLista = new QWidget(divisor);
  auto* derecha = new QVBoxLayout(columnaLista);
  derecha->setContentsMargins(0, 0, 0, 0);
  FiltroSorteos = new QLineEdit(columnaLista);
  FiltroSorteos->setObjectName(QStringLiteral("FiltroSorteos"));
  FiltroSorteos->setPlaceholderText(QStringLiteral("Buscar: fecha (16/08/2026, 08/2026, 2026) o números (7 31)"));
  FiltroSorteos->setClearButtonEnabled(true);
  derecha->addWidget(FiltroSorteos);
  ListView3 = new QTableView(columnaLista);
  ListView3->setObjectName(QStringLiteral("ListView3"));
  // Tab goes on to the next control, as in any form; the arrows walk the rows.
  ListView3->setTabKeyNavigation(false);
  modeloSorteos = new ModeloSorteos(ListView3);
  ListView3->setModel(modeloSorteos);
  ordenSorteos = ordenarPorCabecera(*ListView3);
  ListView3->verticalHeader()->hide();
  ListView3->verticalHeader()->setDefaultSectionSize(18);
  ListView3->setShowGrid(false);
  ListView3->setSelectionBehavior(QAbstractItemView::SelectRows);
  ListView3->setSelectionMode(QAbstractItemView::SingleSelection);
  ListView3->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ListView3->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // Fixed columns as wide as a draw's texts in the list's bold type: measuring thousands of
  // rows on every reload would cost more than it tells.
  QFont negrita = ListView3->font();
  negrita.setBold(true);
  const QFontMetrics fm(negrita);
  const int anchos[2] = {fm.horizontalAdvance(QStringLiteral("54-54-54-54-54  NÚM.CLAVE: 9")) + 16,
                         fm.horizontalAdvance(QStringLiteral("30/09/2026  Miércoles")) + 16};
  for (int i = 0; i < 2; ++i)
    ListView3->setColumnWidth(i, std::max(anchos[i], ListView3->horizontalHeader()->sectionSizeHint(i)));
  ListView3->horizontalHeader()->setStretchLastSection(true);
  ListView3->setMinimumWidth(ListView3->columnWidth(0) + ListView3->columnWidth(1) +
                             ListView3->verticalScrollBar()->sizeHint().width() + 2 * ListView3->frameWidth());
  derecha->addWidget(ListView3, 1);
  Label7 = etiqueta(columnaLista, QStringLiteral("Label7"), QStringLiteral("TOTAL: 0 sorteos."));
  QFont f = Label7->font();
  f.setBold(true);
  Label7->setFont(f);
  reservarAncho(Label7, {QStringLiteral("TOTAL: 32767 sorteos.")});
  derecha->addWidget(Label7);
  auto* botones = new QHBoxLayout;
  Command5 = new QPushButton(QStringLiteral("Borrar todos los sorteos"), columnaLista);
  Command5->setObjectName(QStringLiteral("Command5"));
  Command8 = new QPushButton(QStringLiteral("Añadir todos los sorteos"), columnaLista);
  Command8->setObjectName(QStringLiteral("Command8"));
  Command8->setToolTip(QStringLiteral("Añade todos los sorteos desde la creación de la Primitiva!!"));
  Image1_2 = icono(columnaLista, 2, QStyle::SP_TrashIcon, QStringLiteral("Borrar todos los sorteos"));
  Image1_4 = icono(columnaLista, 4, QStyle::SP_DialogOpenButton, QStringLiteral("Añadir todos los sorteos"));
  botones->addWidget(Image1_2);
  botones->addWidget(Command5);
  botones->addStretch();
  botones->addWidget(Image1_4);
  botones->addWidget(Command8);
  derecha->addLayout(botones);
  divisor->addWidget(columnaLista);
  divisor->setStretchFactor(0, 3);
  divisor->setStretchFactor(1, 2);

  connect(HScroll2, &QScrollBar::valueChanged, this, &TabEstadisticas::mitadCambiada);
  for (int i = 0; i < 2; ++i)
    connect(Option1[static_cast<size_t>(i)], &QRadioButton::clicked, this, [this, i] { emit opcionPulsada(i); });
  connect(Command5, &QPushButton::clicked, this, &TabEstadisticas::borrarTodosPulsado);
  connect(Command8, &QPushButton::clicked, this, &TabEstadisticas::anadirTodosPulsado);
  // The trash icon works only while its button does.
  connect(Image1_2, &QToolButton::clicked, this, [this] {
    if (Command5->isEnabled()) emit borrarTodosPulsado();
  });
  connect(Image1_4, &QToolButton::clicked, this, &TabEstadisticas::anadirTodosPulsado);
  // The draw clicked, unless the click took its highlight off (Ctrl); Supr does the same for
  // the highlighted draw, so the keyboard reaches it too.
  connect(ListView3, &QTableView::clicked, this, [this](const QModelIndex& i) {
    if (const int fila = filaModelo(i); fila >= 0 && filaResaltada(*ListView3) == fila) emit sorteoPulsado(fila + 1);
  });
  connect(FiltroSorteos, &QLineEdit::textChanged, this, [this](const QString& texto) {
    if (texto.trimmed().isEmpty()) return ordenSorteos->filtrar({});
    ordenSorteos->filtrar([this, texto](int fila) {
      const Sorteo* s = modeloSorteos->sorteo(fila);
      return s && sorteoBuscado(*s, texto);
    });
  });
  auto* suprimir = new QAction(ListView3);
  suprimir->setShortcut(QKeySequence::Delete);
  suprimir->setShortcutContext(Qt::WidgetShortcut);
  ListView3->addAction(suprimir);
  connect(suprimir, &QAction::triggered, this, [this] {
    if (const int fila = filaResaltada(*ListView3); fila >= 0) emit sorteoPulsado(fila + 1);
  });
}

void TabEstadisticas::ponerGrafico(QWidget* vista) { capaGrafico->addWidget(vista); }

void TabEstadisticas::ponerSorteos(ListaSorteos lista) {
  Label7->setText(lista.total());
  modeloSorteos->poner(std::move(lista.sorteos));
}

const Sorteo* TabEstadisticas::sorteo(int fila) const { return modeloSorteos->sorteo(fila - 1); }

void TabEstadisticas::quitarSorteo(int fila) { modeloSorteos->quitarFila(fila - 1); }

void TabEstadisticas::volverAlPrincipio() { HScroll2->setValue(1); }

void TabEstadisticas::marcarOpcion(int indice) {
  Option1[static_cast<size_t>(indice)]->setChecked(true);
  HScroll2->setEnabled(indice == 0);
}

}  // namespace sortilan::ui
