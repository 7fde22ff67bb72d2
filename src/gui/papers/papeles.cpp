#include "gui/papers/papeles.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

#include "answer/reglas.h"
#include "base/fechas.h"
#include "base/nif.h"
#include "gui/ui/campofecha.h"
#include "painters/pdfsocios.h"
#include "papers/registropapeles.h"
#include "platform/plataforma.h"
#include "session/errorpermiso.h"
#include "store/escritura.h"

namespace sortilan::ui {

namespace {

QDateEdit* editorFecha(QWidget* padre, const char* nombre, const QDate& d) {
  auto* e = new CampoFecha(d, padre);
  e->setObjectName(QLatin1String(nombre));
  e->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
  e->setCalendarPopup(true);
  return e;
}

void aviso(const QString& texto) {
  plataforma::mensaje(plataforma::Icono::Exclamacion, QStringLiteral("Papeles de participación"), texto);
}

}  // namespace

DialogoPapel::DialogoPapel(const QString& titulo, const Organizador& organizador, const QDate& hoy, QWidget* padre)
    : QDialog(padre) {
  setObjectName(QStringLiteral("DialogoPapel"));
  setWindowTitle(titulo);
  // The next draw: papers are handed out before it.
  QDate sorteo = hoy;
  while (!esDiaDeSorteo(sorteo)) sorteo = sorteo.addDays(1);
  auto* forma = new QFormLayout(this);
  FechaDesde = editorFecha(this, "FechaDesde", sorteo);
  FechaHasta = editorFecha(this, "FechaHasta", sorteo);
  EditOrganizador = new QLineEdit(organizador.nombre, this);
  EditOrganizador->setObjectName(QStringLiteral("EditOrganizador"));
  EditOrganizadorNif = new QLineEdit(organizador.nif, this);
  EditOrganizadorNif->setObjectName(QStringLiteral("EditOrganizadorNif"));
  CheckNifSocio = new QCheckBox(QStringLiteral("Con el NIF del socio"), this);
  CheckNifSocio->setObjectName(QStringLiteral("CheckNifSocio"));
  forma->addRow(QStringLiteral("Desde el sorteo del:"), FechaDesde);
  forma->addRow(QStringLiteral("Hasta el sorteo del:"), FechaHasta);
  forma->addRow(QStringLiteral("Organizador:"), EditOrganizador);
  forma->addRow(QStringLiteral("NIF del organizador:"), EditOrganizadorNif);
  forma->addRow(CheckNifSocio);
  auto* botones = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  botones->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Aceptar"));
  botones->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
  connect(botones, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(botones, &QDialogButtonBox::rejected, this, &QDialog::reject);
  forma->addRow(botones);
}

operaciones::PeticionPapel DialogoPapel::peticion() const {
  operaciones::PeticionPapel p;
  p.desde = FechaDesde->date();
  p.hasta = FechaHasta->date();
  p.conNif = CheckNifSocio->isChecked();
  p.organizador = {EditOrganizador->text().simplified(), normalizarNif(EditOrganizadorNif->text())};
  p.emitido = QDateTime(plataforma::hoy(), QTime::currentTime());
  return p;
}

Papeles::Papeles(Almacen& almacen, Seleccion seleccion, QWidget* ventana)
    : QObject(ventana), almacen_(almacen), seleccion_(std::move(seleccion)), ventana_(ventana) {}

void Papeles::anadirMenu(QMenuBar* barra) {
  QMenu* menu = barra->addMenu(QStringLiteral("&Socios"));
  menu->setObjectName(QStringLiteral("MenuSocios"));
  const auto accion = [&](const char* nombre, const QString& texto, void (Papeles::*f)()) {
    QAction* a = menu->addAction(texto);
    a->setObjectName(QLatin1String(nombre));
    connect(a, &QAction::triggered, this, f);
  };
  accion("PapelSocio", QStringLiteral("&Papel de participación del socio..."), &Papeles::emitirDelSocio);
  accion("PapelesTodos", QStringLiteral("Papeles de &todos los socios..."), &Papeles::emitirDeTodos);
  accion("ComprobarPapel", QStringLiteral("&Comprobar un papel..."), &Papeles::comprobar);
}

bool Papeles::pedirPeriodo(const QString& titulo, operaciones::PeticionPapel& p) {
  DialogoPapel d(titulo, organizadorDe(almacen_.carpeta()), plataforma::hoy(), ventana_);
  if (d.exec() != QDialog::Accepted) return false;
  p = d.peticion();
  return true;
}

void Papeles::emitirDelSocio() {
  const auto [pena, socio] = seleccion_();
  if (pena == 0 || socio == 0) {
    aviso(QStringLiteral("Elija antes una peña y un socio en la pestaña Socios."));
    return;
  }
  operaciones::PeticionPapel p;
  if (!pedirPeriodo(QStringLiteral("Papel de participación del socio %1").arg(socio), p)) return;
  PapelGuardado papel;
  if (const Resultado r = operaciones::emitirPapel(almacen_, pena, socio, p, papel); !r) {
    avisarFallo(r);
    return;
  }
  const QString propuesto = QStringLiteral("papel_%1_socio_%2.pdf").arg(papel.numero).arg(papel.socio);
  const QString ruta = plataforma::dialogoArchivo().guardarArchivo(
      QStringLiteral("Guardar el papel de participación"),
      QDir(plataforma::carpetaInicialDialogo()).filePath(propuesto), QStringLiteral("PDF (*.pdf)"));
  // The paper is issued whatever happens to its file: its code says so.
  QString texto = QStringLiteral("Papel nº %1 emitido. Código: %2").arg(papel.numero).arg(codigoAgrupado(papel.codigo));
  bool guardado = false;
  if (!ruta.isEmpty()) {
    if (const Resultado r = reemplazarArchivo(ruta, pdfPapel(papel)); !r)
      texto += QStringLiteral("\n\n") + r.error;
    else
      guardado = true;
  }
  plataforma::mensaje(plataforma::Icono::Informacion, QStringLiteral("Papeles de participación"), texto);
  if (guardado) emit archivoGuardado(ruta);
}

void Papeles::emitirDeTodos() {
  const int pena = seleccion_().first;
  if (pena == 0) {
    aviso(QStringLiteral("Elija antes una peña en la pestaña Socios."));
    return;
  }
  operaciones::PeticionPapel p;
  if (!pedirPeriodo(QStringLiteral("Papeles de todos los socios"), p)) return;
  // The summary sheet's place chooses the folder; every paper goes beside it.
  const QString resumen = plataforma::dialogoArchivo().guardarArchivo(
      QStringLiteral("Guardar la hoja resumen (los papeles van a la misma carpeta)"),
      QDir(plataforma::carpetaInicialDialogo()).filePath(QStringLiteral("resumen_papeles.pdf")),
      QStringLiteral("PDF (*.pdf)"));
  if (resumen.isEmpty()) return;
  std::vector<PapelGuardado> papeles;
  QStringList omitidos;
  if (const Resultado r = operaciones::emitirPapelesSorteo(almacen_, pena, p, papeles, &omitidos); !r) {
    avisarFallo(r);
    return;
  }
  const QDir dir = QFileInfo(resumen).absoluteDir();
  QStringList fallos;
  for (const PapelGuardado& g : papeles)
    if (const Resultado r = reemplazarArchivo(
            dir.filePath(QStringLiteral("papel_%1_socio_%2.pdf").arg(g.numero).arg(g.socio)), pdfPapel(g));
        !r)
      fallos << r.error;
  const std::vector<Pena> penas = almacen_.penas().leerTodos();
  const QString nombre =
      pena <= static_cast<int>(penas.size()) ? penas[static_cast<size_t>(pena - 1)].nombreRecortado() : QString();
  const QString organizador = p.organizador.nif.isEmpty()
                                  ? p.organizador.nombre
                                  : QStringLiteral("%1, NIF %2").arg(p.organizador.nombre, p.organizador.nif);
  const Resultado hoja =
      reemplazarArchivo(resumen, pdfResumenPapeles({nombre, organizador, p.desde, p.hasta, papeles}));
  if (!hoja) fallos << hoja.error;
  QString texto =
      QStringLiteral("%1 papeles emitidos en %2.").arg(papeles.size()).arg(QDir::toNativeSeparators(dir.path()));
  if (!omitidos.isEmpty()) texto += QStringLiteral("\n\nSin papel:\n") + omitidos.join(QLatin1Char('\n'));
  if (!fallos.isEmpty()) texto += QStringLiteral("\n\n") + fallos.join(QLatin1Char('\n'));
  plataforma::mensaje(plataforma::Icono::Informacion, QStringLiteral("Papeles de participación"), texto);
  // The summary sheet stands for the lot: it lists every paper beside it.
  if (hoja) emit archivoGuardado(resumen);
}

QString Papeles::textoComprobacion(const QString& carpeta, const QString& codigo, bool* valido) {
  if (valido) *valido = false;
  std::optional<PapelGuardado> papel;
  if (const Resultado r = verificarCodigo(carpeta, codigo, papel); !r) return r.error;
  if (!papel) return QStringLiteral("Ningún papel de esta carpeta tiene ese código.");
  if (!papel->integro())
    return QStringLiteral("El texto guardado del papel nº %1 no da su código: está alterado.").arg(papel->numero);
  if (valido) *valido = !papel->anulado;
  return (papel->anulado ? QStringLiteral("Papel emitido en esta carpeta, ANULADO.\n\n")
                         : QStringLiteral("Papel emitido en esta carpeta.\n\n")) +
         papel->texto + QStringLiteral("\nCódigo: ") + codigoAgrupado(papel->codigo);
}

void Papeles::comprobar() {
  bool aceptado = false;
  const QString codigo = QInputDialog::getText(ventana_, QStringLiteral("Comprobar un papel"),
                                               QStringLiteral("Código del papel (basta con los tres primeros grupos):"),
                                               QLineEdit::Normal, QString(), &aceptado);
  if (!aceptado || codigo.trimmed().isEmpty()) return;
  bool valido = false;
  const QString texto = textoComprobacion(almacen_.carpeta(), codigo, &valido);
  plataforma::mensaje(valido ? plataforma::Icono::Informacion : plataforma::Icono::Exclamacion,
                      QStringLiteral("Comprobar un papel"), texto);
}

}  // namespace sortilan::ui
