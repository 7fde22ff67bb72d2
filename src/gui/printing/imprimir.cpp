#include "gui/printing/imprimir.h"

#include <QDir>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include "gui/ui/controles.h"
#include "gui/ui/secundaria.h"
#include "operations/ajustes.h"
#include "painters/pintor.h"
#include "platform/plataforma.h"
#include "session/errorpermiso.h"
#include "store/almacen.h"

namespace sortilan::ui {

namespace {
bool dialogoSistema(QPrinter& impresora, QWidget* padre) {
  QPrintDialog d(&impresora, padre);
  d.setOption(QAbstractPrintDialog::PrintSelection, false);
  d.setOption(QAbstractPrintDialog::PrintPageRange, false);
  return d.exec() == QDialog::Accepted;
}

QLabel* negrita(QLabel* l) {
  QFont f = l->font();
  f.setBold(true);
  l->setFont(f);
  return l;
}
}  // namespace

Imprimir::Imprimir(Almacen& almacen, int registro, QWidget* padre)
    : QWidget(padre, Qt::Window), almacen_(almacen), registro_(registro) {
  setObjectName(QStringLiteral("Imprimir"));
  setWindowTitle(QStringLiteral("IMPRIMIR BOLETOS"));
  setAttribute(Qt::WA_DeleteOnClose);
  elegirImpresora = [this](QPrinter& impresora) { return dialogoSistema(impresora, this); };

  auto* capa = new QVBoxLayout(this);
  Label9 = negrita(etiqueta(this, QStringLiteral("Label9"), QStringLiteral("IMPRESIÓN DE LOS NÚMEROS DE LA PEÑA:")));
  capa->addWidget(Label9);
  Label10 = negrita(etiqueta(this, QStringLiteral("Label10")));
  Label10->setStyleSheet(QStringLiteral("color: rgb(128, 0, 0); font-size: 14pt;"));
  capa->addWidget(Label10);

  auto* cuentas = new QGridLayout;
  const QString textos[3] = {QStringLiteral("-Total apuestas:"),
                             QStringLiteral("-Nº de boletos oficiales que necesita:"),
                             QStringLiteral("-Si imprime en papel oficial, asegúrese de que sea de:")};
  for (int i = 0; i < 3; ++i) {
    Label1[static_cast<size_t>(i)] = etiqueta(this, nombreIndice("Label1", i), textos[i]);
    cuentas->addWidget(Label1[static_cast<size_t>(i)], i, 0);
  }
  for (int i = 0; i < 2; ++i) {
    Label2[static_cast<size_t>(i)] = negrita(etiqueta(this, nombreIndice("Label2", i)));
    cuentas->addWidget(Label2[static_cast<size_t>(i)], i, 1);
  }
  auto* gordo = new QVBoxLayout;
  gordo->setSpacing(0);
  gordo->addWidget(negrita(etiqueta(this, QStringLiteral("Label12"), QStringLiteral("El Gordo"))));
  gordo->addWidget(negrita(etiqueta(this, QStringLiteral("Label13"), QStringLiteral("de la Primitiva"))));
  cuentas->addLayout(gordo, 2, 1);
  capa->addLayout(cuentas);

  auto* botones = new QHBoxLayout;
  Command1 = new QPushButton(QStringLiteral("Imprimir en papel oficial"), this);
  Command1->setObjectName(QStringLiteral("Command1"));
  Command1->setToolTip(QStringLiteral(
      "Ajuste la X yla Y para que las \"x\" coincidan en las casillas. También depende del papel oficial ya que "
      "aveces estan cortados irregularmente."));
  Command2 = new QPushButton(QStringLiteral("Imprimir en papel normal"), this);
  Command2->setObjectName(QStringLiteral("Command2"));
  Command2->setToolTip(QStringLiteral("Imprime en papel normal una participación compatible con el sistema oficial!"));
  botones->addWidget(Command1);
  botones->addWidget(Command2);
  capa->addLayout(botones);
  // What plain paper will show, on screen or in a file, before any paper is used.
  auto* vista = new QHBoxLayout;
  Command3 = new QPushButton(QStringLiteral("Vista previa"), this);
  Command3->setObjectName(QStringLiteral("Command3"));
  Command3->setToolTip(QStringLiteral("Muestra la hoja en papel normal tal como se imprimirá."));
  Command4 = new QPushButton(QStringLiteral("Guardar PDF…"), this);
  Command4->setObjectName(QStringLiteral("Command4"));
  Command4->setToolTip(QStringLiteral("Guarda la hoja en papel normal en un archivo PDF."));
  vista->addWidget(Command3);
  vista->addWidget(Command4);
  capa->addLayout(vista);

  auto* margen = new QGroupBox(this);
  auto* rejilla = new QGridLayout(margen);
  rejilla->addWidget(
      negrita(etiqueta(margen, QStringLiteral("Label8"), QStringLiteral("Corrección margen impresora:"))), 0, 0, 1, 3);
  rejilla->addWidget(etiqueta(margen, QStringLiteral("Label11"), QStringLiteral("Sólo en papel oficial")), 0, 3, 1, 2);
  for (int e = 0; e < 2; ++e) {
    rejilla->addWidget(etiqueta(margen, nombreIndice("Label7", e), e == 0 ? QStringLiteral("X") : QStringLiteral("Y")),
                       1, e * 3);
    auto* caja = new QLineEdit(QStringLiteral("0"), margen);
    caja->setObjectName(nombreIndice("Text1", e));
    caja->setMaximumWidth(80);
    caja->installEventFilter(this);
    Text1[static_cast<size_t>(e)] = caja;
    rejilla->addWidget(caja, 1, e * 3 + 1);
    rejilla->addWidget(etiqueta(margen, nombreIndice("Label7", e + 2), QStringLiteral("mm.")), 1, e * 3 + 2);
    connect(caja, &QLineEdit::textEdited, this, [this, e] { Text1_Change(e); });
  }
  capa->addWidget(margen);

  auto* instrucciones = new QGroupBox(this);
  auto* ci = new QGridLayout(instrucciones);
  ci->addWidget(
      negrita(etiqueta(instrucciones, QStringLiteral("Label3"), QStringLiteral("Instrucciones para papel oficial:"))),
      0, 0, 1, 2);
  QLabel* l4 = etiqueta(
      instrucciones, QStringLiteral("Label4"),
      QStringLiteral("Inserte el papel oficial en la impresora de la forma indicada en la imagen. Tenga en cuenta que "
                     "tendrá que modificar los valores X e Y, según modelo de impresora. X=Distancia horizontal al "
                     "centro de la casilla Nº 1 - margen X por defecto de la impresora. Y= Distancia vertical al "
                     "centro de la casilla Nº1 - margen Y por defecto de tu impresora."));
  l4->setWordWrap(true);
  l4->setMinimumWidth(320);
  // A window's minimum ignores how tall wrapped text grows: reserve its height at the
  // narrowest width, so every line shows.
  l4->setMinimumHeight(l4->heightForWidth(320));
  ci->addWidget(l4, 1, 0, 3, 1);
  // The feed direction and the two axes, drawn with text arrows.
  ci->addWidget(negrita(etiqueta(instrucciones, QStringLiteral("Label6"), QStringLiteral("Entrada impresora"))), 1, 1,
                Qt::AlignHCenter);
  const QString ejes[2] = {QStringLiteral("X"), QStringLiteral("Y")};
  const QString flechas[2] = {QStringLiteral("→"), QStringLiteral("↓")};
  for (int e = 0; e < 2; ++e) {
    auto* eje = new QHBoxLayout;
    eje->addWidget(etiqueta(instrucciones, nombreIndice("Label5", e), ejes[e]));
    eje->addWidget(new QLabel(flechas[e], instrucciones));
    ci->addLayout(eje, 2 + e, 1, Qt::AlignHCenter);
  }
  capa->addWidget(instrucciones);

  connect(Command1, &QPushButton::clicked, this, &Imprimir::Command1_Click);
  connect(Command2, &QPushButton::clicked, this, &Imprimir::Command2_Click);
  connect(Command3, &QPushButton::clicked, this, &Imprimir::Command3_Click);
  connect(Command4, &QPushButton::clicked, this, &Imprimir::Command4_Click);
  abrirVistaPrevia = [](QPrintPreviewDialog& d) { d.exec(); };
  cerrarConEscape(*this);
  botonPrincipal(*this, Command1);

  // Load step: the peña (just found by the caller), the tickets it needs and the calibration.
  pena_ = almacen_.penas().leerOCero(registro_);
  Label10->setText(pena_.nombreTexto().trimmed());
  Label2[0]->setText(QString::number(apuestasAImprimir(pena_)));
  Label2[1]->setText(QString::number(nboletos(pena_)));
  ajuste_ = std::make_unique<AjusteCalibracion>(
      almacen_.ajustes(), [this](const Calibracion& c) { return operaciones::guardarCalibracion(almacen_, c); });
  mostrarCalibracion();
}

Imprimir::~Imprimir() = default;

void Imprimir::mostrarCalibracion() {
  for (int e = 0; e < 2; ++e) Text1[static_cast<size_t>(e)]->setText(ajuste_->texto(e));
}

void Imprimir::Command1_Click() { imprimeboletos(Papel::Oficial); }
void Imprimir::Command2_Click() { imprimeboletos(Papel::Normal); }

Impresion Imprimir::trabajo(Papel papel) {
  // The record is read again: the peña file may have changed since the window opened,
  // and a peña deleted meanwhile is no peña to print.
  if (!almacen_.penas().leer(registro_, pena_)) {
    avisarSinPena();
    return {};
  }
  return sortilan::imprimeboletos(pena_, papel, ajuste_->valor());
}

void Imprimir::prepararImpresora(QPrinter& impresora) const {
  impresora.setPageSize(QPageSize(QPageSize::A4));
  impresora.setPageOrientation(QPageLayout::Portrait);
  impresora.setDocName(QStringLiteral("PEÑA ") + pena_.nombreTexto().trimmed());
}

void Imprimir::Command3_Click() {
  const Impresion impresion = trabajo(Papel::Normal);
  if (impresion.paginas.empty()) return;
  QPrinter impresora(QPrinter::HighResolution);
  prepararImpresora(impresora);
  QPrintPreviewDialog dialogo(&impresora, this);
  dialogo.setObjectName(QStringLiteral("VistaPrevia"));
  dialogo.setWindowTitle(QStringLiteral("Vista previa: PEÑA ") + pena_.nombreTexto().trimmed());
  connect(&dialogo, &QPrintPreviewDialog::paintRequested, this,
          [&impresion](QPrinter* p) { pintarImpresion(impresion, *p); });
  if (abrirVistaPrevia) abrirVistaPrevia(dialogo);
}

void Imprimir::Command4_Click() {
  const Impresion impresion = trabajo(Papel::Normal);
  if (impresion.paginas.empty()) return;
  const QString titulo = QStringLiteral("PEÑA ") + pena_.nombreTexto().trimmed();
  // A name may hold characters no file system takes.
  QString nombre = titulo;
  nombre.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|]")), QStringLiteral("_"));
  QString ruta = plataforma::dialogoArchivo().guardarArchivo(
      QStringLiteral("Guardar PDF"),
      QDir(plataforma::carpetaInicialDialogo()).filePath(nombre + QStringLiteral(".pdf")),
      QStringLiteral("Documentos PDF (*.pdf)"));
  if (ruta.isEmpty()) return;
  if (!ruta.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) ruta += QStringLiteral(".pdf");
  if (!escribirPdf(impresion, ruta, titulo))
    plataforma::mensaje(plataforma::Icono::Exclamacion, QStringLiteral("Guardar PDF"),
                        QStringLiteral("No se pudo guardar el PDF en «%1».").arg(QDir::toNativeSeparators(ruta)));
  else
    emit archivoGuardado(ruta);
}

void Imprimir::imprimeboletos(Papel papel) {
  const Impresion impresion = trabajo(papel);
  if (impresion.paginas.empty()) return;
  QPrinter impresora(QPrinter::HighResolution);
  prepararImpresora(impresora);
  if (!elegirImpresora || !elegirImpresora(impresora)) return;
  if (!pintarImpresion(impresion, impresora))
    plataforma::mensaje(plataforma::Icono::Exclamacion, QStringLiteral("Imprimir"),
                        QStringLiteral("No se pudo imprimir en la impresora elegida."));
}

void Imprimir::Text1_Change(int e) {
  if (ajuste_->cambiar(e, Text1[static_cast<size_t>(e)]->text())) mostrarCalibracion();
  // Told once: every keystroke would fail the same way.
  if (!ajuste_->escritura() && !avisadoFallo_) {
    avisadoFallo_ = true;
    avisarFallo(ajuste_->escritura());
  }
}

void Imprimir::Text1_LostFocus(int e) { ajuste_->perderFoco(e, Text1[static_cast<size_t>(e)]->text()); }

bool Imprimir::eventFilter(QObject* objeto, QEvent* evento) {
  if (evento->type() == QEvent::FocusOut) {
    const auto razon = static_cast<QFocusEvent*>(evento)->reason();
    // Only a move to another control counts, not switching windows or opening a menu.
    if (razon != Qt::ActiveWindowFocusReason && razon != Qt::PopupFocusReason) {
      for (int e = 0; e < 2; ++e)
        if (objeto == Text1[static_cast<size_t>(e)]) Text1_LostFocus(e);
    }
  }
  return QWidget::eventFilter(objeto, evento);
}

}  // namespace sortilan::ui
