#include "gui/members/tabsocios.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include "base/fechas.h"
#include "gui/members/modelossocios.h"
#include "gui/ui/campofecha.h"
#include "gui/ui/controles.h"
#include "gui/ui/tablaordenable.h"
#include "platform/plataforma.h"

namespace sortilan::ui {

namespace {

QPushButton* boton(QWidget* padre, const char* nombre, const QString& texto) {
  auto* b = new QPushButton(texto, padre);
  b->setObjectName(QLatin1String(nombre));
  return b;
}

QTableView* tabla(QWidget* padre, const char* nombre, QAbstractItemModel* modelo) {
  auto* t = new QTableView(padre);
  t->setObjectName(QLatin1String(nombre));
  // Tab goes on to the next control, as in any form; the arrows walk the rows.
  t->setTabKeyNavigation(false);
  t->setModel(modelo);
  ordenarPorCabecera(*t);
  t->verticalHeader()->hide();
  t->verticalHeader()->setDefaultSectionSize(20);
  t->setSelectionBehavior(QAbstractItemView::SelectRows);
  t->setSelectionMode(QAbstractItemView::SingleSelection);
  t->setEditTriggers(QAbstractItemView::NoEditTriggers);
  t->setWordWrap(false);
  t->horizontalHeader()->setStretchLastSection(true);
  return t;
}

QDateEdit* fecha(QWidget* padre, const char* nombre) {
  auto* f = new CampoFecha(padre);
  f->setObjectName(QLatin1String(nombre));
  f->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
  f->setCalendarPopup(true);
  return f;
}

QLineEdit* campo(QWidget* padre, const char* nombre) {
  auto* e = new QLineEdit(padre);
  e->setObjectName(QLatin1String(nombre));
  return e;
}

}  // namespace

TabSocios::TabSocios(QWidget* padre) : QWidget(padre) {
  setObjectName(QStringLiteral("TabSocios"));
  auto* capa = new QVBoxLayout(this);
  auto* arriba = new QHBoxLayout;
  arriba->addWidget(new QLabel(QStringLiteral("Peña:"), this));
  ComboPenaSocios = new QComboBox(this);
  ComboPenaSocios->setObjectName(QStringLiteral("ComboPenaSocios"));
  ComboPenaSocios->setMinimumContentsLength(24);
  arriba->addWidget(ComboPenaSocios);
  arriba->addStretch(1);
  capa->addLayout(arriba);
  LabelAvisoSocios = etiqueta(this, QStringLiteral("LabelAvisoSocios"));
  LabelAvisoSocios->setStyleSheet(QStringLiteral("color: #c00000;"));
  LabelAvisoSocios->setWordWrap(true);
  LabelAvisoSocios->hide();
  capa->addWidget(LabelAvisoSocios);

  auto* divisor = new QSplitter(Qt::Horizontal, this);
  capa->addWidget(divisor, 1);
  auto* izquierda = new QSplitter(Qt::Vertical, divisor);
  modeloSocios_ = new ModeloSocios(this);
  modeloMovimientos_ = new ModeloMovimientos(this);
  TablaSocios = tabla(izquierda, "TablaSocios", modeloSocios_);
  auto* abajo = new QWidget(izquierda);
  auto* capaAbajo = new QVBoxLayout(abajo);
  capaAbajo->setContentsMargins(0, 0, 0, 0);
  LabelSocio = etiqueta(abajo, QStringLiteral("LabelSocio"));
  capaAbajo->addWidget(LabelSocio);
  TablaMovimientos = tabla(abajo, "TablaMovimientos", modeloMovimientos_);
  capaAbajo->addWidget(TablaMovimientos, 1);
  auto* filaAnular = new QHBoxLayout;
  EditMotivo = campo(abajo, "EditMotivo");
  EditMotivo->setPlaceholderText(QStringLiteral("Motivo de la anulación (si se quiere)"));
  EditMotivo->setMaxLength(200);
  CommandAnular = boton(abajo, "CommandAnular", QStringLiteral("Anular…"));
  CommandAnular->setToolTip(QStringLiteral("Anula la aportación o el pago elegido: sigue en el extracto"));
  filaAnular->addWidget(EditMotivo, 1);
  filaAnular->addWidget(CommandAnular);
  capaAbajo->addLayout(filaAnular);
  // The same void from the statement's context menu, on the line under the pointer.
  AccionAnular = new QAction(QStringLiteral("Anular…"), TablaMovimientos);
  AccionAnular->setObjectName(QStringLiteral("AccionAnular"));
  TablaMovimientos->addAction(AccionAnular);
  TablaMovimientos->setContextMenuPolicy(Qt::ActionsContextMenu);

  auto* derecha = new QWidget(divisor);
  auto* capaDerecha = new QVBoxLayout(derecha);
  capaDerecha->setContentsMargins(0, 0, 0, 0);

  auto* grupoSocio = new QGroupBox(QStringLiteral("Socio"), derecha);
  auto* formSocio = new QFormLayout(grupoSocio);
  EditNombre = campo(grupoSocio, "EditNombre");
  EditNif = campo(grupoSocio, "EditNif");
  EditContacto = campo(grupoSocio, "EditContacto");
  SpinParticipaciones = new QSpinBox(grupoSocio);
  SpinParticipaciones->setObjectName(QStringLiteral("SpinParticipaciones"));
  SpinParticipaciones->setRange(1, 100000);
  FechaSocio = fecha(grupoSocio, "FechaSocio");
  formSocio->addRow(QStringLiteral("Nombre:"), EditNombre);
  formSocio->addRow(QStringLiteral("NIF:"), EditNif);
  formSocio->addRow(QStringLiteral("Contacto:"), EditContacto);
  formSocio->addRow(QStringLiteral("Participaciones:"), SpinParticipaciones);
  formSocio->addRow(QStringLiteral("Desde:"), FechaSocio);
  auto* botonesSocio = new QHBoxLayout;
  CommandAlta = boton(grupoSocio, "CommandAlta", QStringLiteral("Dar de alta"));
  CommandParticipaciones = boton(grupoSocio, "CommandParticipaciones", QStringLiteral("Cambiar participaciones"));
  CommandBaja = boton(grupoSocio, "CommandBaja", QStringLiteral("Dar de baja"));
  botonesSocio->addWidget(CommandAlta);
  botonesSocio->addWidget(CommandParticipaciones);
  botonesSocio->addWidget(CommandBaja);
  formSocio->addRow(botonesSocio);
  capaDerecha->addWidget(grupoSocio);

  auto* grupoDinero = new QGroupBox(QStringLiteral("Aportaciones y pagos del socio"), derecha);
  auto* capaDinero = new QGridLayout(grupoDinero);
  EditImporte = campo(grupoDinero, "EditImporte");
  EditImporte->setPlaceholderText(QStringLiteral("20,00"));
  FechaMovimiento = fecha(grupoDinero, "FechaMovimiento");
  CommandAportacion = boton(grupoDinero, "CommandAportacion", QStringLiteral("Aportación"));
  CommandPago = boton(grupoDinero, "CommandPago", QStringLiteral("Pago"));
  capaDinero->addWidget(new QLabel(QStringLiteral("Importe (€):"), grupoDinero), 0, 0);
  capaDinero->addWidget(EditImporte, 0, 1);
  capaDinero->addWidget(new QLabel(QStringLiteral("Fecha:"), grupoDinero), 0, 2);
  capaDinero->addWidget(FechaMovimiento, 0, 3);
  capaDinero->addWidget(CommandAportacion, 1, 1);
  capaDinero->addWidget(CommandPago, 1, 3);
  capaDerecha->addWidget(grupoDinero);

  auto* grupoReparto = new QGroupBox(QStringLiteral("Premios cobrados"), derecha);
  auto* capaReparto = new QGridLayout(grupoReparto);
  ComboPremios = new QComboBox(grupoReparto);
  ComboPremios->setObjectName(QStringLiteral("ComboPremios"));
  ComboPremios->setMinimumContentsLength(30);
  OptionPagar = new QRadioButton(QStringLiteral("Pagar a los socios"), grupoReparto);
  OptionPagar->setObjectName(QStringLiteral("OptionPagar"));
  OptionPagar->setChecked(true);
  OptionReinvertir = new QRadioButton(QStringLiteral("Dejar en la peña"), grupoReparto);
  OptionReinvertir->setObjectName(QStringLiteral("OptionReinvertir"));
  CommandRepartir = boton(grupoReparto, "CommandRepartir", QStringLiteral("Repartir"));
  CommandAnularReparto = boton(grupoReparto, "CommandAnularReparto", QStringLiteral("Anular reparto…"));
  CommandDocumentoPdf = boton(grupoReparto, "CommandDocumentoPdf", QStringLiteral("Documento PDF..."));
  CommandDocumentoCsv = boton(grupoReparto, "CommandDocumentoCsv", QStringLiteral("Documento CSV..."));
  capaReparto->addWidget(ComboPremios, 0, 0, 1, 3);
  capaReparto->addWidget(OptionPagar, 1, 0);
  capaReparto->addWidget(OptionReinvertir, 1, 1);
  capaReparto->addWidget(CommandRepartir, 1, 2);
  capaReparto->addWidget(CommandAnularReparto, 2, 0);
  capaReparto->addWidget(CommandDocumentoPdf, 2, 1);
  capaReparto->addWidget(CommandDocumentoCsv, 2, 2);
  capaDerecha->addWidget(grupoReparto);

  auto* grupoExtracto = new QGroupBox(QStringLiteral("Extracto del socio"), derecha);
  auto* capaExtracto = new QGridLayout(grupoExtracto);
  FechaDesde = fecha(grupoExtracto, "FechaDesde");
  FechaHasta = fecha(grupoExtracto, "FechaHasta");
  CheckNif = new QCheckBox(QStringLiteral("Con NIF en los papeles"), grupoExtracto);
  CheckNif->setObjectName(QStringLiteral("CheckNif"));
  CommandExtractoPdf = boton(grupoExtracto, "CommandExtractoPdf", QStringLiteral("Extracto PDF..."));
  CommandExtractoCsv = boton(grupoExtracto, "CommandExtractoCsv", QStringLiteral("Extracto CSV..."));
  capaExtracto->addWidget(new QLabel(QStringLiteral("Desde:"), grupoExtracto), 0, 0);
  capaExtracto->addWidget(FechaDesde, 0, 1);
  capaExtracto->addWidget(new QLabel(QStringLiteral("Hasta:"), grupoExtracto), 0, 2);
  capaExtracto->addWidget(FechaHasta, 0, 3);
  capaExtracto->addWidget(CheckNif, 1, 0, 1, 2);
  capaExtracto->addWidget(CommandExtractoPdf, 1, 2);
  capaExtracto->addWidget(CommandExtractoCsv, 1, 3);
  capaDerecha->addWidget(grupoExtracto);
  capaDerecha->addStretch(1);
  divisor->setStretchFactor(0, 3);
  divisor->setStretchFactor(1, 2);

  const QDate hoy = plataforma::hoy();
  FechaSocio->setDate(hoy);
  FechaMovimiento->setDate(hoy);
  FechaDesde->setDate(QDate(hoy.year(), 1, 1));
  FechaHasta->setDate(hoy);

  connect(ComboPenaSocios, &QComboBox::currentIndexChanged, this, &TabSocios::penaElegida);
  connect(TablaSocios->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    mostrarDatosSocio();
    mostrarMovimientos();
    habilitar();
  });
  connect(ComboPremios, &QComboBox::currentIndexChanged, this, [this] { habilitar(); });
  connect(TablaMovimientos->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { habilitar(); });
  connect(CommandAnular, &QPushButton::clicked, this, &TabSocios::anulacionPedida);
  connect(AccionAnular, &QAction::triggered, this, &TabSocios::anulacionPedida);
  connect(CommandAnularReparto, &QPushButton::clicked, this, &TabSocios::anulacionRepartoPedida);
  connect(CommandAlta, &QPushButton::clicked, this, &TabSocios::altaPedida);
  connect(CommandBaja, &QPushButton::clicked, this, &TabSocios::bajaPedida);
  connect(CommandParticipaciones, &QPushButton::clicked, this, &TabSocios::participacionesPedidas);
  connect(CommandAportacion, &QPushButton::clicked, this, &TabSocios::aportacionPedida);
  connect(CommandPago, &QPushButton::clicked, this, &TabSocios::pagoPedido);
  // Return in the amount books a contribution; the amount is cleared once booked, so a
  // second Return finds nothing to book.
  connect(EditImporte, &QLineEdit::returnPressed, this, [this] {
    if (CommandAportacion->isEnabled() && !EditImporte->text().trimmed().isEmpty()) emit aportacionPedida();
  });
  connect(CommandRepartir, &QPushButton::clicked, this, &TabSocios::repartoPedido);
  connect(CommandExtractoPdf, &QPushButton::clicked, this, [this] { emit extractoPedido(true); });
  connect(CommandExtractoCsv, &QPushButton::clicked, this, [this] { emit extractoPedido(false); });
  connect(CommandDocumentoPdf, &QPushButton::clicked, this, [this] { emit documentoPedido(true); });
  connect(CommandDocumentoCsv, &QPushButton::clicked, this, [this] { emit documentoPedido(false); });
  habilitar();
}

// The combo's data: a record number, or minus the number of a deleted peña.
int TabSocios::penaSeleccionada() const { return std::max(0, ComboPenaSocios->currentData().toInt()); }

int TabSocios::borradaSeleccionada() const { return std::max(0, -ComboPenaSocios->currentData().toInt()); }

int TabSocios::socioSeleccionado() const { return modeloSocios_->numero(filaResaltada(*TablaSocios)); }

QDate TabSocios::premioSeleccionado() const { return ComboPremios->currentData().toDate(); }

const Movimiento* TabSocios::movimientoSeleccionado() const {
  return modeloMovimientos_->movimiento(filaResaltada(*TablaMovimientos));
}

QString TabSocios::motivo() const { return EditMotivo->text(); }

void TabSocios::limpiarMotivo() { EditMotivo->clear(); }

QString TabSocios::nombre() const { return EditNombre->text(); }
QString TabSocios::nif() const { return EditNif->text(); }
QString TabSocios::contacto() const { return EditContacto->text(); }
int TabSocios::participaciones() const { return SpinParticipaciones->value(); }
QDate TabSocios::fechaSocio() const { return FechaSocio->date(); }
QString TabSocios::importe() const { return EditImporte->text(); }
QDate TabSocios::fechaMovimiento() const { return FechaMovimiento->date(); }
bool TabSocios::pagarPremio() const { return OptionPagar->isChecked(); }
QDate TabSocios::extractoDesde() const { return FechaDesde->date(); }
QDate TabSocios::extractoHasta() const { return FechaHasta->date(); }
bool TabSocios::conNif() const { return CheckNif->isChecked(); }

void TabSocios::seleccionarSocio(int numero) {
  if (const int f = modeloSocios_->fila(numero); f >= 0) TablaSocios->selectRow(indiceVista(*TablaSocios, f).row());
}

void TabSocios::limpiarSocio() {
  EditNombre->clear();
  EditNif->clear();
  EditContacto->clear();
}

void TabSocios::limpiarImporte() { EditImporte->clear(); }

void TabSocios::mostrarDatosSocio() {
  const Socio* s = socios_.socio(socioSeleccionado());
  if (!s) return;
  EditNombre->setText(s->nombre);
  EditNif->setText(s->nif);
  EditContacto->setText(s->contacto);
  // A member who left shows the shares they last held, ready to join again.
  SpinParticipaciones->setValue(s->periodos.empty() ? 1 : s->periodos.back().participaciones);
}

void TabSocios::mostrarPenas(const std::vector<std::pair<int, QString>>& penas) {
  const int elegidaAntes = ComboPenaSocios->currentData().toInt();
  const QSignalBlocker bloqueo(ComboPenaSocios);
  ComboPenaSocios->clear();
  for (const auto& [numero, texto] : penas) {
    // Deleted peñas (negative numbers) at the end, apart, only to look at.
    if (numero < 0 && ComboPenaSocios->count() > 0 &&
        ComboPenaSocios->itemData(ComboPenaSocios->count() - 1).toInt() > 0)
      ComboPenaSocios->insertSeparator(ComboPenaSocios->count());
    ComboPenaSocios->addItem(texto, numero);
  }
  const int elegida = ComboPenaSocios->findData(elegidaAntes);
  ComboPenaSocios->setCurrentIndex(elegida >= 0 ? elegida : (penas.empty() ? -1 : 0));
}

void TabSocios::mostrarSocios(SociosPena socios, const std::vector<PremioCobrado>& premios, const QStringList& avisos) {
  const int socio = socioSeleccionado();
  const QDate premio = premioSeleccionado();
  socios_ = std::move(socios);
  LabelAvisoSocios->setText(avisos.join(QLatin1Char('\n')));
  LabelAvisoSocios->setVisible(!avisos.isEmpty());
  {
    const QSignalBlocker bloqueo(ComboPremios);
    ComboPremios->clear();
    for (const PremioCobrado& p : premios) ComboPremios->addItem(p.texto, p.sorteo);
    const int i = ComboPremios->findData(premio);
    if (i >= 0) ComboPremios->setCurrentIndex(i);
  }
  {
    // The old highlight goes with the old rows; the member is chosen again below.
    const QSignalBlocker bloqueo(TablaSocios->selectionModel());
    modeloSocios_->poner(socios_);
    TablaSocios->resizeColumnsToContents();
  }
  // The first member when none was chosen, so that some movements show at once.
  seleccionarSocio(socios_.socio(socio) || socios_.socios.empty() ? socio : socios_.socios.front().numero);
  mostrarMovimientos();
  habilitar();
}

void TabSocios::mostrarMovimientos() {
  const Socio* s = socios_.socio(socioSeleccionado());
  if (!s) {
    modeloMovimientos_->poner({});
    LabelSocio->setText(socios_.socios.empty() && (penaSeleccionada() > 0 || borradaSeleccionada() > 0)
                            ? QStringLiteral("La peña no tiene socios.")
                            : QString());
    return;
  }
  const std::vector<Movimiento> movimientos = socios_.movimientosDe(s->numero);
  LabelSocio->setText(QStringLiteral("Movimientos de %1 (saldo: %2)")
                          .arg(s->nombre, textoSaldo(movimientos.empty() ? 0 : movimientos.back().saldo)));
  modeloMovimientos_->poner(movimientos);
  TablaMovimientos->resizeColumnsToContents();
}

void TabSocios::habilitar() {
  const bool pena = penaSeleccionada() > 0;
  // A deleted peña is only looked at: its statements and documents, nothing that changes.
  const bool soloLectura = borradaSeleccionada() > 0;
  const bool socio = socios_.socio(socioSeleccionado()) != nullptr;
  const QDate premio = premioSeleccionado();
  const bool repartido = premio.isValid() && socios_.reparto(premio);
  CommandAlta->setEnabled(pena);
  for (QPushButton* b : {CommandBaja, CommandParticipaciones, CommandAportacion, CommandPago})
    b->setEnabled(socio && !soloLectura);
  for (QPushButton* b : {CommandExtractoPdf, CommandExtractoCsv}) b->setEnabled(socio);
  CommandRepartir->setEnabled(premio.isValid() && !repartido && !soloLectura);
  CommandAnularReparto->setEnabled(repartido && !soloLectura);
  const Movimiento* m = socio ? movimientoSeleccionado() : nullptr;
  CommandAnular->setEnabled(m && m->numero > 0 && !m->anulado.isValid() && !soloLectura);
  AccionAnular->setEnabled(CommandAnular->isEnabled());
  CommandDocumentoPdf->setEnabled(repartido);
  CommandDocumentoCsv->setEnabled(repartido);
}

}  // namespace sortilan::ui
