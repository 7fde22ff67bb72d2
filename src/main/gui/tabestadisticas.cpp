#include "main/gui/tabestadisticas.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include "main/gui/modelosorteos.h"
#include "ui/controles.h"

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

  auto* izquierda = new QVBoxLayout;
  capa->addLayout(izquierda, 3);
  MSChart1 = new QWidget(this);
  MSChart1->setObjectName(QStringLiteral("MSChart1"));
  MSChart1->setMinimumSize(420, 300);
  capaGrafico = new QVBoxLayout(MSChart1);
  capaGrafico->setContentsMargins(0, 0, 0, 0);
  izquierda->addWidget(MSChart1, 1);
  HScroll2 = new QScrollBar(Qt::Horizontal, this);
  HScroll2->setObjectName(QStringLiteral("HScroll2"));
  HScroll2->setRange(1, 2);
  HScroll2->setPageStep(1);
  izquierda->addWidget(HScroll2);
  auto* opciones = new QHBoxLayout;
  const QString textos[2] = {QStringLiteral("Números"), QStringLiteral("Clave")};
  for (int i = 0; i < 2; ++i) {
    auto* o = new QRadioButton(textos[i], this);
    o->setObjectName(nombreIndice("Option1", i));
    Option1[static_cast<size_t>(i)] = o;
    opciones->addWidget(o);
  }
  Option1[0]->setChecked(true);
  opciones->addStretch();
  izquierda->addLayout(opciones);

  auto* derecha = new QVBoxLayout;
  capa->addLayout(derecha, 2);
  ListView3 = new QTableView(this);
  ListView3->setObjectName(QStringLiteral("ListView3"));
  modeloSorteos = new ModeloSorteos(ListView3);
  ListView3->setModel(modeloSorteos);
  ListView3->verticalHeader()->hide();
  ListView3->verticalHeader()->setDefaultSectionSize(18);
  ListView3->setShowGrid(false);
  ListView3->setSelectionBehavior(QAbstractItemView::SelectRows);
  ListView3->setSelectionMode(QAbstractItemView::SingleSelection);
  ListView3->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ListView3->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  ListView3->horizontalHeader()->setStretchLastSection(true);
  ListView3->setMinimumWidth(420);
  derecha->addWidget(ListView3, 1);
  Label7 = etiqueta(this, QStringLiteral("Label7"), QStringLiteral("TOTAL: 0 sorteos."));
  QFont f = Label7->font();
  f.setBold(true);
  Label7->setFont(f);
  derecha->addWidget(Label7);
  auto* botones = new QHBoxLayout;
  Command5 = new QPushButton(QStringLiteral("Borrar todos los sorteos"), this);
  Command5->setObjectName(QStringLiteral("Command5"));
  Command8 = new QPushButton(QStringLiteral("Añadir todos los sorteos"), this);
  Command8->setObjectName(QStringLiteral("Command8"));
  Command8->setToolTip(QStringLiteral("Añade todos los sorteos desde la creación de la Primitiva!!"));
  Image1_2 = icono(this, 2, QStyle::SP_TrashIcon, QStringLiteral("Borrar todos los sorteos"));
  Image1_4 = icono(this, 4, QStyle::SP_DialogOpenButton, QStringLiteral("Añadir todos los sorteos"));
  botones->addWidget(Image1_2);
  botones->addWidget(Command5);
  botones->addWidget(Image1_4);
  botones->addWidget(Command8);
  derecha->addLayout(botones);
}

}  // namespace sortilan::ui
