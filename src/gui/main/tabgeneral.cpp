#include "gui/main/tabgeneral.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "checking/resultados.h"
#include "gui/main/botondescarga.h"
#include "gui/ui/controles.h"

namespace sortilan::ui {

namespace {
QTableView* listaResultados(QWidget* padre, const char* nombre) {
  auto* v = new QTableView(padre);
  v->setObjectName(QLatin1String(nombre));
  // Tab goes on to the next control, as in any form; the arrows walk the rows.
  v->setTabKeyNavigation(false);
  v->verticalHeader()->hide();
  v->verticalHeader()->setDefaultSectionSize(18);
  v->setShowGrid(false);
  v->setSelectionBehavior(QAbstractItemView::SelectRows);
  v->setEditTriggers(QAbstractItemView::NoEditTriggers);
  v->setWordWrap(false);
  return v;
}
}  // namespace

TabGeneral::TabGeneral(QWidget* padre) : QWidget(padre) {
  setObjectName(QStringLiteral("TabGeneral"));
  auto* capa = new QHBoxLayout(this);

  // Left column: status and download. Its labels keep the width of their longest text, so
  // the column never widens while a download runs and the result list keeps its room.
  auto* panel = new QWidget(this);
  panel->setObjectName(QStringLiteral("panelEstado"));
  panel->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
  auto* izquierda = new QVBoxLayout(panel);
  izquierda->setContentsMargins(0, 0, 0, 0);
  capa->addWidget(panel, 0);
  auto* estado = new QFrame(panel);
  estado->setFrameShape(QFrame::StyledPanel);
  auto* rejilla = new QVBoxLayout(estado);
  const QString fijos[7] = {QStringLiteral("- Peñas registradas a comprobar:"),
                            QStringLiteral("- Última actualización de números ganadores:"),
                            QString(),
                            QString(),
                            QStringLiteral("- Próximo sorteo:"),
                            QString(),
                            QString()};
  for (int i = 0; i < 7; ++i) Label9[static_cast<size_t>(i)] = etiqueta(estado, nombreIndice("Label9", i), fijos[i]);
  for (int i : {2, 3, 5, 6}) {
    QFont f = Label9[static_cast<size_t>(i)]->font();
    f.setBold(true);
    Label9[static_cast<size_t>(i)]->setFont(f);
  }
  Label9[6]->setStyleSheet(QStringLiteral("color: #c00000;"));
  const QString fechaMasLarga = QStringLiteral("Miércoles, 30 de septiembre del 2026");
  reservarAncho(Label9[2], {QStringLiteral("32767")});
  reservarAncho(Label9[3], {fechaMasLarga, QStringLiteral("Fichero de datos vacío.")});
  reservarAncho(Label9[5], {fechaMasLarga});
  reservarAncho(Label9[6],
                {QStringLiteral("Faltan 9999 sorteos por actualizar"), QStringLiteral("No se ha actualizado nunca")});
  QSizePolicy sp = Label9[6]->sizePolicy();
  sp.setRetainSizeWhenHidden(true);
  Label9[6]->setSizePolicy(sp);
  auto* filaPenas = new QHBoxLayout;
  filaPenas->addWidget(Label9[0]);
  filaPenas->addWidget(Label9[2], 1);
  rejilla->addLayout(filaPenas);
  rejilla->addWidget(Label9[1]);
  rejilla->addWidget(Label9[3]);
  rejilla->addWidget(Label9[4]);
  rejilla->addWidget(Label9[5]);
  rejilla->addWidget(Label9[6]);
  izquierda->addWidget(estado);

  auto* descarga = new QFrame(panel);
  descarga->setFrameShape(QFrame::StyledPanel);
  auto* cd = new QGridLayout(descarga);
  Picture2 = new QToolButton(descarga);
  Picture2->setObjectName(QStringLiteral("Picture2"));
  Picture2->setText(QStringLiteral("Bajar sorteos"));
  Picture2->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  botonDescarga_ = new BotonDescarga(Picture2);
  cd->addWidget(Picture2, 0, 0, 4, 1, Qt::AlignTop);
  cd->addWidget(etiqueta(descarga, QStringLiteral("Label4"), QStringLiteral("Estado de la transferencia:")), 0, 1, 1,
                2);
  Label6 = etiqueta(descarga, QStringLiteral("Label6"));
  QFont f6 = Label6->font();
  f6.setBold(true);
  Label6->setFont(f6);
  reservarAncho(Label6, {QStringLiteral("CONECTANDO AL SERVIDOR"), QStringLiteral("TRANSFERENCIA FINALIZADA"),
                         QStringLiteral("BUSCANDO SORTEOS"), QStringLiteral("ANALIZANDO DATOS")});
  cd->addWidget(Label6, 1, 1, 1, 2);
  cd->addWidget(etiqueta(descarga, QStringLiteral("Label57"), QStringLiteral("Datos:")), 2, 1);
  Label58 = etiqueta(descarga, QStringLiteral("Label58"), QStringLiteral("0 Bytes"));
  Label58->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  // The largest answer accepted, quoted, is 32 MiB.
  reservarAncho(Label58, {QStringLiteral("33554436 Bytes")});
  cd->addWidget(Label58, 2, 2);
  ProgressBar1 = new QProgressBar(descarga);
  ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
  ProgressBar1->setRange(0, 5);
  ProgressBar1->setValue(0);
  ProgressBar1->setTextVisible(false);
  cd->addWidget(ProgressBar1, 3, 1, 1, 2);
  Label19 = etiqueta(descarga, QStringLiteral("Label19"));
  QFont f19 = Label19->font();
  f19.setBold(true);
  Label19->setFont(f19);
  reservarAncho(Label19, {QStringLiteral("50 sorteos")});
  cd->addWidget(Label19, 4, 1, 1, 2);
  cd->setColumnStretch(2, 1);
  izquierda->addWidget(descarga);
  Command6 = new QPushButton(QStringLiteral("Ver mensaje"), panel);
  Command6->setObjectName(QStringLiteral("Command6"));
  izquierda->addWidget(Command6, 0, Qt::AlignLeft);
  izquierda->addStretch();

  // Right column: result lists and their controls.
  auto* derecha = new QVBoxLayout;
  capa->addLayout(derecha, 1);
  auto* botones = new QHBoxLayout;
  const QString vistas[2] = {QStringLiteral("S E N C I L L A"), QStringLiteral("M Ú L T I P L E")};
  for (int i = 0; i < 2; ++i) {
    auto* b = new QPushButton(vistas[i], this);
    b->setObjectName(nombreIndice("Command1", i));
    b->setAutoFillBackground(true);
    // The prize banner changes the caption: both buttons keep their width meanwhile.
    b->setMinimumWidth(b->fontMetrics().horizontalAdvance(vistas[1]) + 40);
    b->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    Command1[static_cast<size_t>(i)] = b;
    botones->addWidget(b, 1);
  }
  derecha->addLayout(botones);
  Shape2 = new QFrame(this);
  Shape2->setObjectName(QStringLiteral("Shape2"));
  Shape2->setFrameShape(QFrame::Box);
  auto* marco = new QVBoxLayout(Shape2);
  marco->setContentsMargins(2, 2, 2, 2);
  ListView2 = listaResultados(Shape2, "ListView2");
  ListView4 = listaResultados(Shape2, "ListView4");
  ListView4->hide();
  marco->addWidget(ListView2);
  marco->addWidget(ListView4);
  derecha->addWidget(Shape2, 1);

  auto* seleccion = new QHBoxLayout;
  seleccion->addWidget(new QLabel(QStringLiteral("-Seleccione el número de sorteos a ver:"), this));
  HScroll1 = new QScrollBar(Qt::Horizontal, this);
  HScroll1->setObjectName(QStringLiteral("HScroll1"));
  HScroll1->setRange(1, 1);
  HScroll1->setMinimumWidth(160);
  seleccion->addWidget(HScroll1, 1);
  Text3 = new QLineEdit(QStringLiteral("1"), this);
  Text3->setObjectName(QStringLiteral("Text3"));
  // Typed as well as scrolled: a thousand draws are far apart on the bar.
  Text3->setValidator(new QIntValidator(0, 999999, Text3));
  Text3->setToolTip(QStringLiteral("Escriba cuántos sorteos ver y pulse Intro"));
  Text3->setMaximumWidth(60);
  seleccion->addWidget(Text3);
  derecha->addLayout(seleccion);

  auto* casillas = new QHBoxLayout;
  Check1 = new QCheckBox(QStringLiteral("Histórico"), this);
  Check1->setObjectName(QStringLiteral("Check1"));
  Check1->setToolTip(QStringLiteral("Resultados de una peña con sorteos anteriores a su creación"));
  Check2 = new QCheckBox(QStringLiteral("Ver sólo si hay premio"), this);
  Check2->setObjectName(QStringLiteral("Check2"));
  Check2->setToolTip(QStringLiteral("Pues eso..."));
  casillas->addWidget(Check1);
  casillas->addWidget(Check2);
  casillas->addStretch();
  derecha->addLayout(casillas);

  Timer2 = new QTimer(this);
  Timer2->setObjectName(QStringLiteral("Timer2"));
  Timer2->setInterval(500);
  connect(Timer2, &QTimer::timeout, this, &TabGeneral::Timer2_Timer);
  connect(HScroll1, &QScrollBar::valueChanged, Text3, [this](int v) { Text3->setText(QString::number(v)); });
  connect(Text3, &QLineEdit::editingFinished, this, &TabGeneral::Text3_Change);

  for (int i = 0; i < 2; ++i)
    connect(Command1[static_cast<size_t>(i)], &QPushButton::clicked, this, [this, i] { emit vistaPulsada(i); });
  // A value set from the menus counts as a click, as with the historic check boxes.
  connect(Check1, &QCheckBox::toggled, this, &TabGeneral::historicoCambiado);
  connect(Check2, &QCheckBox::toggled, this, &TabGeneral::soloPremiosCambiado);
  connect(HScroll1, &QScrollBar::valueChanged, this, &TabGeneral::sorteosElegidosCambiado);
  connect(Command6, &QPushButton::clicked, this, &TabGeneral::mensajePedido);
  connect(Picture2, &QToolButton::clicked, this, &TabGeneral::bajarPulsado);
}

namespace {
void prepararLista(QTableView* v, QAbstractItemModel* m, ListaResultados::Tipo tipo) {
  v->setModel(m);
  // Every row has the same height: the view never measures a row, whatever the count.
  v->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  v->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  const std::vector<int> anchos = ListaResultados::anchuras(tipo);
  for (size_t i = 0; i < anchos.size(); ++i) v->setColumnWidth(static_cast<int>(i), anchos[i] * 96 / 2540);
  v->horizontalHeader()->setStretchLastSection(true);
}
}  // namespace

void TabGeneral::ponerModelos(QAbstractItemModel* sencillas, QAbstractItemModel* multiples) {
  prepararLista(ListView2, sencillas, ListaResultados::Tipo::Sencillas);
  prepararLista(ListView4, multiples, ListaResultados::Tipo::Multiples);
}

void TabGeneral::mostrarPenasRegistradas(const QString& texto) { Label9[2]->setText(texto); }

Casillas TabGeneral::casillas() const { return {Check1->isChecked(), Check2->isChecked()}; }

void TabGeneral::ponerCasillas(int soloPremios, int historico) {
  if (soloPremios >= 0) Check2->setChecked(soloPremios == 1);
  if (historico >= 0) Check1->setChecked(historico == 1);
}

int TabGeneral::sorteosElegidos() const { return HScroll1->value(); }

void TabGeneral::elegirSorteos(int n) { HScroll1->setValue(n); }

void TabGeneral::Text3_Change() {
  bool ok = false;
  const int n = Text3->text().toInt(&ok);
  // Beyond the stored draws means all of them; the box then shows what the bar took.
  if (ok && HScroll1->isEnabled()) HScroll1->setValue(std::clamp(n, HScroll1->minimum(), HScroll1->maximum()));
  Text3->setText(QString::number(HScroll1->value()));
}

bool TabGeneral::elegirSorteosNuevos(int sorteos) {
  const int valor = std::clamp(sorteos, 1, 8);
  if (HScroll1->value() == valor || valor > HScroll1->maximum()) return false;
  HScroll1->setValue(valor);
  return true;
}

void TabGeneral::mostrarDescarga(const QString& fase, int caracteres, const QString& avisoNuevos, int paso) {
  Label6->setText(fase);
  if (caracteres >= 0) Label58->setText(QString::number(caracteres));
  Label19->setText(avisoNuevos);
  ProgressBar1->setValue(paso);
  repaint();
}

void TabGeneral::soltarBajar() { Picture2->setDown(false); }

void TabGeneral::borrarAvisoNuevos() { Label19->clear(); }

void TabGeneral::mostrarVista(int indice) {
  QTableView* mostrar = indice == 1 ? ListView4 : ListView2;
  QTableView* ocultar = indice == 1 ? ListView2 : ListView4;
  if (!mostrar->isHidden()) return;
  ocultar->hide();
  mostrar->show();
}

void TabGeneral::pintarPremio(int indice, bool rojo) {
  static const QString vistas[2] = {QStringLiteral("S E N C I L L A"), QStringLiteral("M Ú L T I P L E")};
  QPushButton* b = Command1[static_cast<size_t>(indice)];
  b->setStyleSheet(rojo ? QStringLiteral("background-color: rgb(255, 0, 0);") : QString());
  b->setText(rojo ? QStringLiteral("P R E M I O") : vistas[indice]);
}

void TabGeneral::mostrarEstado(const EstadoSorteos& e) {
  Label9[3]->setText(e.ultimo);
  Label9[5]->setText(e.proximo);
  Check1->setEnabled(e.casillasActivas);
  Check2->setEnabled(e.casillasActivas);
  HScroll1->setEnabled(e.desplazamientoActivo);
  Text3->setEnabled(e.desplazamientoActivo);
  if (e.desplazamientoActivo) HScroll1->setMaximum(e.desplazamientoMaximo);
  if (e.faltanVisible) {
    Label9[6]->setText(e.faltan);
    if (!Timer2->isActive()) Timer2->start();
  } else {
    Timer2->stop();
    Label9[6]->hide();
  }
}

void TabGeneral::Timer2_Timer() { Label9[6]->setVisible(!Label9[6]->isVisible()); }

}  // namespace sortilan::ui
