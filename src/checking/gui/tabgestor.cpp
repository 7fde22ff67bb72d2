#include "checking/gui/tabgestor.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include "checking/gui/graficopena.h"
#include "checking/gui/modelopenas.h"
#include "ui/controles.h"

namespace sortilan::ui {

TabGestor::TabGestor(QWidget* padre) : QWidget(padre) {
  setObjectName(QStringLiteral("TabGestor"));
  auto* capa = new QVBoxLayout(this);
  auto* arriba = new QHBoxLayout;
  capa->addLayout(arriba, 1);

  ListView1 = new QTableView(this);
  ListView1->setObjectName(QStringLiteral("ListView1"));
  ListView1->verticalHeader()->hide();
  ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
  ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
  ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  modeloPenas = new ModeloPenas(this);
  ListView1->setModel(modeloPenas);
  // Column widths of the design, hundredths of a millimetre at 96 dots per inch.
  const int anchos[4] = {5998, 1764, 2823, 2999};
  for (int i = 0; i < 4; ++i) ListView1->setColumnWidth(i, anchos[i] * 96 / 2540);
  ListView1->horizontalHeader()->setStretchLastSection(true);
  ListView1->setMinimumWidth(530);  // the four columns whole, without a scroll bar
  arriba->addWidget(ListView1, 3);

  auto* detalle = new QVBoxLayout;
  arriba->addLayout(detalle, 2);
  List1 = new QListWidget(this);
  List1->setObjectName(QStringLiteral("List1"));
  QFont mono(QStringLiteral("Courier"));
  mono.setStyleHint(QFont::TypeWriter);
  List1->setFont(mono);
  List1->setUniformItemSizes(true);
  List1->setSpacing(0);
  List1->setStyleSheet(QStringLiteral("QListWidget { background: #e0e0e0; }"));
  detalle->addWidget(List1);
  detalle->addStretch();
  Frame1 = new QGroupBox(QStringLiteral("Desde la creación de la peña..."), this);
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
    rejilla->addWidget(Label3[static_cast<size_t>(i)], fila, 1);
  }
  rejilla->addWidget(new QLabel(QStringLiteral("participados:"), Frame1), 8, 0);
  Label17 = etiqueta(Frame1, QStringLiteral("Label17"), QStringLiteral("-"));
  rejilla->addWidget(Label17, 8, 1);
  Label16 = etiqueta(Frame1, QStringLiteral("Label16"), QStringLiteral("0 %"));
  rejilla->addWidget(Label16, 9, 1);
  detalle->addWidget(Frame1);
  MSChart3 = new QWidget(this);
  MSChart3->setObjectName(QStringLiteral("MSChart3"));
  MSChart3->setMinimumSize(180, 120);
  auto* capa3 = new QVBoxLayout(MSChart3);
  capa3->setContentsMargins(0, 0, 0, 0);
  grafico3 = new GraficoPena(MSChart3);
  capa3->addWidget(grafico3);
  arriba->addWidget(MSChart3, 2);

  auto* abajo = new QHBoxLayout;
  capa->addLayout(abajo);
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
  total->addWidget(Label13, 0, 1);
  Text4 = new QLineEdit(this);
  Text4->setObjectName(QStringLiteral("Text4"));
  Text4->setReadOnly(true);
  total->addWidget(Text4, 1, 0, 1, 2);
  Text5 = new QLineEdit(this);
  Text5->setObjectName(QStringLiteral("Text5"));
  Text5->setReadOnly(true);
  total->addWidget(Text5, 2, 0, 1, 2);
  abajo->addLayout(total, 1);
  MSChart2 = new QWidget(this);
  MSChart2->setObjectName(QStringLiteral("MSChart2"));
  MSChart2->setMinimumSize(260, 190);
  auto* capa2 = new QVBoxLayout(MSChart2);
  capa2->setContentsMargins(0, 0, 0, 0);
  grafico2 = new GraficoPena(MSChart2);
  capa2->addWidget(grafico2);
  abajo->addWidget(MSChart2, 1);
}

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
  ListView1->selectionModel()->select(modeloPenas->index(fila, 0),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  ListView1->setCurrentIndex(modeloPenas->index(fila, 0));
}

}  // namespace sortilan::ui
