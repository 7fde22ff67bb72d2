#include "checking/gui/comprobador.h"

#include <QAction>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

#include "app/principal.h"
#include "checking/gui/graficopena.h"
#include "checking/gui/modelopenas.h"
#include "checking/gui/modeloresultados.h"
#include "checking/gui/tabgestor.h"
#include "checking/resumenpenas.h"
#include "main/gui/tabestadisticas.h"
#include "main/gui/tabgeneral.h"
#include "operations/penas.h"
#include "platform/plataforma.h"
#include "session/errorpermiso.h"

namespace sortilan::ui {

namespace {

const QString kVistas[2] = {QStringLiteral("S E N C I L L A"), QStringLiteral("M Ú L T I P L E")};

void prepararLista(QTableView* v, ModeloResultados* m, ListaResultados::Tipo tipo) {
  v->setModel(m);
  // Every row has the same height: the view never measures a row, whatever the count.
  v->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  v->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  const std::vector<int> anchos = ListaResultados::anchuras(tipo);
  for (size_t i = 0; i < anchos.size(); ++i) v->setColumnWidth(static_cast<int>(i), anchos[i] * 96 / 2540);
  v->horizontalHeader()->setStretchLastSection(true);
}

}  // namespace

Comprobador::Comprobador(Principal& principal) : QObject(&principal), p_(principal) {
  Timer3_ = new QTimer(this);
  Timer3_->setObjectName(QStringLiteral("Timer3"));
  Timer3_->setInterval(800);
  connect(Timer3_, &QTimer::timeout, this, &Comprobador::Timer3_Timer);
  sencillas_ = new ModeloResultados(ListaResultados::Tipo::Sencillas, this);
  multiples_ = new ModeloResultados(ListaResultados::Tipo::Multiples, this);
  prepararLista(p_.general()->ListView2, sencillas_, ListaResultados::Tipo::Sencillas);
  prepararLista(p_.general()->ListView4, multiples_, ListaResultados::Tipo::Multiples);
}

void Comprobador::conectar() {
  TabGeneral* g = p_.general();
  for (int i = 0; i < 2; ++i)
    connect(g->Command1[static_cast<size_t>(i)], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
  // A value set from the menus counts as a click, as with the historic check boxes.
  connect(g->Check1, &QCheckBox::toggled, this, &Comprobador::Check1_Click);
  connect(g->Check2, &QCheckBox::toggled, this, &Comprobador::Check2_Click);
  connect(p_.SSTab1(), &QTabWidget::currentChanged, this, &Comprobador::rotulo);

  TabGestor* t = p_.gestor();
  connect(t->ListView1, &QTableView::clicked, this, [this](const QModelIndex& i) { ListView1_ItemClick(i.row()); });
  connect(t->Command3, &QPushButton::clicked, this, &Comprobador::Command3_Click);
  connect(t->Image1[0], &QToolButton::clicked, this, &Comprobador::Command3_Click);

  struct Item {
    const char* nombre;
    int indice, soloPremios, historico;  // -1 leaves a check box as it is
  };
  const Item items[] = {{"sencillas", 0, -1, -1}, {"verpremio", 0, 1, 0},   {"verhisto", 0, 0, 1},
                        {"verprehi", 0, 1, 1},    {"Multiples", 1, -1, -1}, {"verpremiom", 1, 1, 0},
                        {"verhistom", 1, 0, 1},   {"verpreim", 1, 1, 1}};
  for (const Item& it : items) {
    QAction* a = p_.accion(QLatin1String(it.nombre));
    if (!a) continue;
    a->setEnabled(true);
    connect(a, &QAction::triggered, this, [this, it] { vista(it.indice, it.soloPremios, it.historico); });
  }
}

void Comprobador::vista(int indice, int soloPremios, int historico) {
  p_.SSTab1()->setCurrentIndex(0);
  Command1_Click(indice);
  if (soloPremios >= 0) p_.general()->Check2->setChecked(soloPremios == 1);
  if (historico >= 0) p_.general()->Check1->setChecked(historico == 1);
}

Casillas Comprobador::casillas() const {
  return {p_.general()->Check1->isChecked(), p_.general()->Check2->isChecked()};
}

void Comprobador::antesDeComprobar() {
  aviso_.timer3 = Timer3_->isActive();
  aviso_.trasDescarga = !p_.general()->Label19->text().isEmpty();
}

void Comprobador::despuesDeComprobar(const ResultadoComprobacion& r) {
  if (r.sencillas) sencillas_->poner(r.sencillas);
  if (r.multiples) multiples_->poner(r.multiples);
  if (aviso_.timer3 && !Timer3_->isActive()) Timer3_->start();
}

void Comprobador::compruebapenas(int n) {
  antesDeComprobar();
  despuesDeComprobar(sortilan::compruebapenas(p_.sesion().almacen(), n, casillas(), aviso_));
}

void Comprobador::compruebamultiple(int n) {
  antesDeComprobar();
  despuesDeComprobar(sortilan::compruebamultiple(p_.sesion().almacen(), n, casillas(), aviso_));
}

void Comprobador::resumen() {
  Sesion& s = p_.sesion();
  const ResumenPenas r = sortilan::resumen(s.penas(), s.sorteosjugados);
  p_.general()->Label9[2]->setText(r.penasRegistradas);
  p_.gestor()->mostrarResumen(r);
  p_.gestor()->resaltar(0);
  detallepena(1);
}

void Comprobador::detallepena(int k) {
  Almacen& a = p_.sesion().almacen();
  Pena pena;
  const bool hay = !p_.gestor()->modeloPenas->vacio() && a.penas().leer(k, pena);
  const DetallePena d = sortilan::detallepena(hay ? &pena : nullptr, a.sorteos().leerTodos());
  p_.gestor()->mostrarDetalle(d);
  if (d.corrupta) plataforma::mensaje(plataforma::Icono::Exclamacion, tituloPenaCorrupta(), textoPenaCorrupta());
}

void Comprobador::ListView1_ItemClick(int fila) {
  detallepena(fila + 1);
  // The "VACÍO" row stands for no peña: nothing there to delete or print.
  if (!p_.gestor()->modeloPenas->vacio()) p_.sesion().penaSeleccionada = fila + 1;
}

void Comprobador::Command3_Click() {
  Sesion& s = p_.sesion();
  if (s.penaSeleccionada == 0) {
    avisarSinPena();
    return;
  }
  // The peña the user sees in the list; the operation makes sure it is still the one stored there.
  if (s.penaSeleccionada > static_cast<int>(s.penas().size())) {
    s.penaSeleccionada = 0;
    avisarSinPena();
    return;
  }
  const Pena pena = s.penas()[static_cast<size_t>(s.penaSeleccionada - 1)];
  if (plataforma::mensaje(plataforma::Icono::Pregunta, QStringLiteral("Borrar..."),
                          operaciones::preguntaBorrarPena(pena),
                          plataforma::Botones::SiNo) != plataforma::Respuesta::Si)
    return;
  const Resultado r = operaciones::borrarPena(s.almacen(), s.penaSeleccionada, pena);
  if (!r) {
    avisarFallo(r);
    // The list may be stale (another program changed the peñas): show what is stored.
    if (!r.permiso) {
      s.penaSeleccionada = 0;
      p_.cargasorteos();
    }
    return;
  }
  // The record numbers have moved up: the old number may now be another peña.
  s.penaSeleccionada = 0;
  p_.cargasorteos();
  TabGeneral* g = p_.general();
  if (g->HScroll1->value() == 1) {
    compruebapenas(1);
    compruebamultiple(1);
  } else {
    g->HScroll1->setValue(1);
    if (QScrollBar* h2 = p_.estadisticas()->HScroll2) h2->setValue(1);
  }
}

void Comprobador::HScroll1_Change() {
  // The third step of a download re-checks on its own.
  if (p_.general()->ProgressBar1->value() == 3) return;
  p_.refresca();
}

void Comprobador::Check1_Click() {
  p_.general()->Label19->clear();
  p_.refresca();
}

void Comprobador::Check2_Click() { p_.refresca(); }

void Comprobador::pintarBoton(int i, bool rojo) {
  QPushButton* b = p_.general()->Command1[static_cast<size_t>(i)];
  rojo_[static_cast<size_t>(i)] = rojo;
  b->setStyleSheet(rojo ? QStringLiteral("background-color: rgb(255, 0, 0);") : QString());
  b->setText(rojo ? QStringLiteral("P R E M I O") : kVistas[i]);
}

void Comprobador::rotulo() {
  if (!Timer3_->isActive()) return;
  Timer3_->stop();
  p_.general()->Label19->clear();
  pintarBoton(0, false);
  pintarBoton(1, false);
}

void Comprobador::Timer3_Timer() {
  if (aviso_.avisopremio == 3) {
    const bool rojo = !rojo_[0];
    pintarBoton(0, rojo);
    pintarBoton(1, rojo);
  } else if (aviso_.avisopremio == 1 || aviso_.avisopremio == 2) {
    const int i = aviso_.avisopremio - 1;
    pintarBoton(i, !rojo_[static_cast<size_t>(i)]);
  }
}

void Comprobador::Command1_Click(int indice) {
  rotulo();
  TabGeneral* g = p_.general();
  QTableView* mostrar = indice == 1 ? g->ListView4 : g->ListView2;
  QTableView* ocultar = indice == 1 ? g->ListView2 : g->ListView4;
  if (!mostrar->isHidden()) return;
  ocultar->hide();
  mostrar->show();
}

}  // namespace sortilan::ui
