#include "gui/members/tabsocios.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
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
#include "gui/ui/controles.h"
#include "members/papeles.h"
#include "members/registrosocios.h"
#include "money/balance.h"
#include "operations/socios.h"
#include "painters/pdfsocios.h"
#include "platform/plataforma.h"
#include "session/errorpermiso.h"
#include "store/escritura.h"

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
  t->setModel(modelo);
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
  auto* f = new QDateEdit(padre);
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

TabSocios::TabSocios(Almacen& almacen, QWidget* padre) : QWidget(padre), almacen_(almacen) {
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
  CommandDocumentoPdf = boton(grupoReparto, "CommandDocumentoPdf", QStringLiteral("Documento PDF..."));
  CommandDocumentoCsv = boton(grupoReparto, "CommandDocumentoCsv", QStringLiteral("Documento CSV..."));
  capaReparto->addWidget(ComboPremios, 0, 0, 1, 3);
  capaReparto->addWidget(OptionPagar, 1, 0);
  capaReparto->addWidget(OptionReinvertir, 1, 1);
  capaReparto->addWidget(CommandRepartir, 1, 2);
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

  connect(ComboPenaSocios, &QComboBox::currentIndexChanged, this, [this] { cargarPena(); });
  connect(TablaSocios->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    mostrarMovimientos();
    habilitar();
  });
  connect(ComboPremios, &QComboBox::currentIndexChanged, this, [this] { habilitar(); });
  connect(CommandAlta, &QPushButton::clicked, this, &TabSocios::CommandAlta_Click);
  connect(CommandBaja, &QPushButton::clicked, this, &TabSocios::CommandBaja_Click);
  connect(CommandParticipaciones, &QPushButton::clicked, this, &TabSocios::CommandParticipaciones_Click);
  connect(CommandAportacion, &QPushButton::clicked, this, &TabSocios::CommandAportacion_Click);
  connect(CommandPago, &QPushButton::clicked, this, &TabSocios::CommandPago_Click);
  connect(CommandRepartir, &QPushButton::clicked, this, &TabSocios::CommandRepartir_Click);
  connect(CommandExtractoPdf, &QPushButton::clicked, this, &TabSocios::CommandExtractoPdf_Click);
  connect(CommandExtractoCsv, &QPushButton::clicked, this, &TabSocios::CommandExtractoCsv_Click);
  connect(CommandDocumentoPdf, &QPushButton::clicked, this, &TabSocios::CommandDocumentoPdf_Click);
  connect(CommandDocumentoCsv, &QPushButton::clicked, this, &TabSocios::CommandDocumentoCsv_Click);
  habilitar();
}

// The combo's data: a record number, or minus the number of a deleted peña.
int TabSocios::penaSeleccionada() const { return std::max(0, ComboPenaSocios->currentData().toInt()); }

int TabSocios::borradaSeleccionada() const { return std::max(0, -ComboPenaSocios->currentData().toInt()); }

int TabSocios::socioSeleccionado() const { return modeloSocios_->numero(filaResaltada(*TablaSocios)); }

QDate TabSocios::premioSeleccionado() const { return ComboPremios->currentData().toDate(); }

void TabSocios::seleccionarSocio(int numero) {
  if (const int f = modeloSocios_->fila(numero); f >= 0) TablaSocios->selectRow(f);
}

void TabSocios::actualizar() {
  const int registro = ComboPenaSocios->currentData().toInt();
  penas_ = almacen_.penas().leerTodos();
  std::vector<PenaBorrada> borradas;
  {
    BaseDatos base;
    // Without them the live peñas still show; the members' read below tells the cause.
    if (base.abrir(almacen_.carpeta(), BaseDatos::Modo::Lectura)) (void)leerPenasBorradas(base, borradas);
  }
  {
    const QSignalBlocker bloqueo(ComboPenaSocios);
    ComboPenaSocios->clear();
    for (size_t i = 0; i < penas_.size(); ++i)
      ComboPenaSocios->addItem(QStringLiteral("%1. %2").arg(i + 1).arg(penas_[i].nombreRecortado()),
                               static_cast<int>(i) + 1);
    // Deleted peñas at the end, only to look at.
    if (!borradas.empty()) ComboPenaSocios->insertSeparator(ComboPenaSocios->count());
    for (const PenaBorrada& b : borradas) ComboPenaSocios->addItem(textoPenaBorrada(b), -b.numero);
    const int elegida = ComboPenaSocios->findData(registro);
    ComboPenaSocios->setCurrentIndex(elegida >= 0 ? elegida : (penas_.empty() ? -1 : 0));
  }
  cargarPena();
}

void TabSocios::cargarPena() {
  const int socio = socioSeleccionado();
  const QDate premio = premioSeleccionado();
  int registro = penaSeleccionada();
  const int borrada = borradaSeleccionada();
  socios_ = SociosPena{};
  QStringList avisos;
  const std::vector<Sorteo> sorteos = almacen_.sorteos().leerTodos();
  Cuentas cuentas;
  if (borrada > 0) {
    if (const Resultado r = leerSociosPenaBorrada(almacen_.carpeta(), sorteos, borrada, socios_); !r) avisos << r.error;
    if (const Resultado r = leerCuentasBorrada(almacen_.carpeta(), borrada, sorteos, plataforma::hoy(), cuentas); !r)
      avisos << r.error;
    avisos << QStringLiteral("Peña borrada: sus socios y cuentas solo se consultan.");
    registro = 1;  // its collections are worked out as those of record 1
  } else if (registro > 0) {
    if (const Resultado r = leerSociosPena(almacen_.carpeta(), penas_, sorteos, registro, socios_); !r)
      avisos << r.error;
    if (const Resultado r = leerCuentas(almacen_.carpeta(), penas_, sorteos, plataforma::hoy(), cuentas, {registro});
        !r)
      avisos << r.error;
  }
  avisos.removeDuplicates();
  LabelAvisoSocios->setText(avisos.join(QLatin1Char('\n')));
  LabelAvisoSocios->setVisible(!avisos.isEmpty());

  {
    const QSignalBlocker bloqueo(ComboPremios);
    ComboPremios->clear();
    // Newest first: the prize just collected is the one to split.
    for (auto c = cuentas.cobros.rbegin(); c != cuentas.cobros.rend(); ++c) {
      if (c->registro != registro || c->estado != EstadoCobro::Cobrado) continue;
      const bool repartido = socios_.reparto(c->fecha) != nullptr;
      ComboPremios->addItem(QStringLiteral("%1: neto %2 (%3)")
                                .arg(fechaCorta(c->fecha), c->neto ? textoEuros(*c->neto) : QStringLiteral("pendiente"),
                                     repartido ? QStringLiteral("repartido") : QStringLiteral("sin repartir")),
                            c->fecha);
    }
    const int i = ComboPremios->findData(premio);
    if (i >= 0) ComboPremios->setCurrentIndex(i);
  }
  mostrarSocios();
  // The first member when none was chosen, so that some movements show at once.
  seleccionarSocio(socios_.socio(socio) || socios_.socios.empty() ? socio : socios_.socios.front().numero);
  mostrarMovimientos();
  habilitar();
}

void TabSocios::mostrarSocios() {
  // The old highlight goes with the old rows; cargarPena chooses the member again.
  const QSignalBlocker bloqueo(TablaSocios->selectionModel());
  modeloSocios_->poner(socios_);
  TablaSocios->resizeColumnsToContents();
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
  CommandDocumentoPdf->setEnabled(repartido);
  CommandDocumentoCsv->setEnabled(repartido);
}

void TabSocios::trasCambio(const Resultado& r) {
  if (!r) {
    avisarFallo(r);
    return;
  }
  cargarPena();
  emit cambiado();
}

void TabSocios::CommandAlta_Click() {
  const int registro = penaSeleccionada();
  if (registro == 0) return;
  int numero = 0;
  const Resultado r =
      operaciones::altaSocio(almacen_, registro, {EditNombre->text(), EditNif->text(), EditContacto->text()},
                             SpinParticipaciones->value(), FechaSocio->date(), &numero);
  trasCambio(r);
  if (!r) return;
  EditNombre->clear();
  EditNif->clear();
  EditContacto->clear();
  seleccionarSocio(numero);
}

void TabSocios::CommandBaja_Click() {
  const int socio = socioSeleccionado();
  if (socio == 0) return;
  trasCambio(operaciones::bajaSocio(almacen_, penaSeleccionada(), socio, FechaSocio->date()));
}

void TabSocios::CommandParticipaciones_Click() {
  const int socio = socioSeleccionado();
  if (socio == 0) return;
  trasCambio(operaciones::cambiarParticipaciones(almacen_, penaSeleccionada(), socio, SpinParticipaciones->value(),
                                                 FechaSocio->date()));
}

void TabSocios::anotar(Concepto concepto) {
  const int socio = socioSeleccionado();
  if (socio == 0) return;
  const std::optional<Centimos> importe = leerImporte(EditImporte->text());
  if (!importe) {
    plataforma::mensaje(plataforma::Icono::Exclamacion, QStringLiteral("Importe"),
                        QStringLiteral("Escriba el importe en euros, por ejemplo 20,00."));
    return;
  }
  trasCambio(operaciones::anotarMovimiento(almacen_, penaSeleccionada(), socio, concepto, *importe,
                                           FechaMovimiento->date(), plataforma::hoy()));
}

void TabSocios::CommandAportacion_Click() { anotar(Concepto::Aportacion); }

void TabSocios::CommandPago_Click() { anotar(Concepto::Pago); }

void TabSocios::CommandRepartir_Click() {
  const QDate premio = premioSeleccionado();
  if (!premio.isValid()) return;
  const bool pagar = OptionPagar->isChecked();
  // A split cannot be undone: the user confirms what is going to be recorded.
  const QString pregunta =
      QStringLiteral("¿Repartir entre los socios el premio del sorteo del %1 y %2?")
          .arg(fechaCorta(premio), pagar ? QStringLiteral("pagárselo") : QStringLiteral("dejarlo en la peña"));
  if (plataforma::mensaje(plataforma::Icono::Pregunta, QStringLiteral("Reparto del premio"), pregunta,
                          plataforma::Botones::SiNo) != plataforma::Respuesta::Si)
    return;
  trasCambio(operaciones::repartirPremio(almacen_, penaSeleccionada(), premio, pagar, plataforma::hoy()));
}

void TabSocios::guardarPapel(const QString& titulo, const QString& propuesto, const QString& filtro,
                             const QByteArray& datos) {
  if (datos.isEmpty()) {
    plataforma::mensaje(plataforma::Icono::Exclamacion, QStringLiteral("Error"),
                        QStringLiteral("No se pudo preparar el documento."));
    return;
  }
  const QString ruta = plataforma::dialogoArchivo().guardarArchivo(
      titulo, QDir(plataforma::carpetaInicialDialogo()).filePath(propuesto), filtro);
  if (ruta.isEmpty()) return;
  // The file is the user's, anywhere: its failure is told as it is, not as the data folder's.
  if (const Resultado r = reemplazarArchivo(ruta, datos); !r)
    plataforma::mensaje(plataforma::Icono::Exclamacion, QStringLiteral("Error"), r.error);
}

QString TabSocios::idPena() const {
  return borradaSeleccionada() > 0 ? QStringLiteral("B%1").arg(borradaSeleccionada())
                                   : QString::number(penaSeleccionada());
}

void TabSocios::papelExtracto(bool pdf) {
  const std::optional<Extracto> e = extracto(socios_, socioSeleccionado(), FechaDesde->date(), FechaHasta->date());
  if (!e) return;
  const QString nombre = QStringLiteral("extracto-pena-%1-socio-%2").arg(idPena()).arg(e->numero);
  if (pdf)
    guardarPapel(QStringLiteral("Guardar el extracto del socio"), nombre + QStringLiteral(".pdf"),
                 QStringLiteral("PDF (*.pdf)"), pdfExtracto(*e, CheckNif->isChecked()));
  else
    guardarPapel(QStringLiteral("Guardar el extracto del socio"), nombre + QStringLiteral(".csv"),
                 QStringLiteral("CSV (*.csv)"), csvExtracto(*e, CheckNif->isChecked()));
}

void TabSocios::papelReparto(bool pdf) {
  DocumentoReparto d;
  const std::vector<Sorteo> sorteos = almacen_.sorteos().leerTodos();
  const Resultado r =
      borradaSeleccionada() > 0
          ? leerDocumentoRepartoBorrada(almacen_.carpeta(), sorteos, borradaSeleccionada(), premioSeleccionado(), d)
          : leerDocumentoReparto(almacen_.carpeta(), penas_, sorteos, penaSeleccionada(), premioSeleccionado(), d);
  if (!r) return avisarFallo(r);
  const QString nombre = QStringLiteral("reparto-pena-%1-%2").arg(idPena(), d.sorteo.toString(Qt::ISODate));
  if (pdf)
    guardarPapel(QStringLiteral("Guardar el documento de reparto"), nombre + QStringLiteral(".pdf"),
                 QStringLiteral("PDF (*.pdf)"), pdfReparto(d, CheckNif->isChecked()));
  else
    guardarPapel(QStringLiteral("Guardar el documento de reparto"), nombre + QStringLiteral(".csv"),
                 QStringLiteral("CSV (*.csv)"), csvReparto(d, CheckNif->isChecked()));
}

void TabSocios::CommandExtractoPdf_Click() { papelExtracto(true); }
void TabSocios::CommandExtractoCsv_Click() { papelExtracto(false); }
void TabSocios::CommandDocumentoPdf_Click() { papelReparto(true); }
void TabSocios::CommandDocumentoCsv_Click() { papelReparto(false); }

}  // namespace sortilan::ui
