#include "download/gui/descargador.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPdfDocument>
#include <QProgressBar>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

#include "app/principal.h"
#include "auxiliary/gui/auxiliares.h"
#include "auxiliary/gui/infor.h"
#include "base/fechas.h"
#include "checking/gui/comprobador.h"
#include "download/csv.h"
#include "download/guardado.h"
#include "download/gui/entradasorteo.h"
#include "main/gui/tabgeneral.h"
#include "operations/dinero.h"
#include "operations/entradas.h"
#include "platform/plataforma.h"
#include "platform/servicios.h"
#include "report/gui/tabultimo.h"
#include "report/ultimosorteo.h"
#include "session/errorpermiso.h"
#include "store/escritura.h"

namespace sortilan::ui {

namespace {
constexpr const char* kDocumento = "vix.pdf";
// Report documents are a few hundred kilobytes; anything far bigger is not one.
constexpr qint64 kMaximoDocumento = 64 * 1024 * 1024;
}  // namespace

Descargador::Descargador(Principal& principal)
    : QObject(&principal), p_(principal), canal_(plataforma::crearCanal()), canalPdf_(plataforma::crearCanal()) {
  descarga_ = std::make_unique<Descarga>(p_.sesion(), *canal_, &operaciones::guardarSorteosNuevos);
  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(1000);
  connect(Timer1, &QTimer::timeout, this, &Descargador::Timer1_Timer);
  connect(canalPdf_.get(), &plataforma::CanalHttp::terminado, this, &Descargador::alBajarPdf);
  connect(canal_.get(), &plataforma::CanalHttp::terminado, this, [this](const plataforma::Traida& t) {
    operaciones::guardarPremiosDescargados(p_.sesion().almacen().carpeta(), t);
  });
  connect(p_.general()->Picture2, &QToolButton::clicked, this, &Descargador::Picture2_Click);

  Descarga* d = descarga_.get();
  connect(d, &Descarga::cambiado, this, [this] {
    pintar();
    // The labels change in the middle of a step; let the user see them now.
    p_.general()->repaint();
  });
  connect(d, &Descarga::empezada, this, [this] {
    p_.comprobador()->rotulo();
    p_.comprobador()->olvidarPremio();
  });
  connect(d, &Descarga::mostrarGeneral, this, [this] { p_.SSTab1()->setCurrentIndex(0); });
  connect(d, &Descarga::guardados, this, [this] { p_.cargasorteos(); });
  connect(d, &Descarga::comprobar, this, &Descargador::comprobar);
  connect(d, &Descarga::desplazar, this, &Descargador::desplazar);
  connect(d, &Descarga::actualizar, this, &Descargador::actualizar);
  connect(d, &Descarga::avisoInterpretacionPedido, this, [this](const QString& t) { p_.ultimo()->mostrarAviso(t); });
  // Opened once the refused sequence has settled, not from inside its message.
  connect(d, &Descarga::entradaManualPedida, this, &Descargador::abrirEntradaManual, Qt::QueuedConnection);
}

Descargador::~Descargador() = default;

EntradaSorteo* Descargador::entradaManual() const { return entrada_; }

void Descargador::conectar() {
  if (QAction* baja = p_.accion(QStringLiteral("Baja"))) {
    baja->setEnabled(true);
    connect(baja, &QAction::triggered, this, &Descargador::Picture2_Click);
  }
  if (QAction* a = p_.accion(QStringLiteral("amano"))) {
    a->setEnabled(true);
    connect(a, &QAction::triggered, this, &Descargador::abrirEntradaManual);
  }
  if (QAction* a = p_.accion(QStringLiteral("importacsv"))) {
    a->setEnabled(true);
    connect(a, &QAction::triggered, this, qOverload<>(&Descargador::importarCsv));
  }
}

void Descargador::Picture2_Click() {
  // While the news window is on screen the button does nothing; otherwise it goes away.
  if (Infor* infor = p_.auxiliares()->infor()) {
    if (infor->isVisible()) return;
    infor->close();
  }
  descarga_->iniciar();
}

void Descargador::Timer1_Timer() { descarga_->tick(); }

void Descargador::pintar() {
  TabGeneral* g = p_.general();
  const Descarga& d = *descarga_;
  g->Label6->setText(Descarga::textoFase(d.fase()));
  if (d.caracteres() >= 0) g->Label58->setText(QString::number(d.caracteres()));
  g->Label19->setText(d.nuevos() > 0 ? textoNuevos(d.nuevos()) : QString());
  g->ProgressBar1->setValue(d.progreso());
  if (d.ticksActivos() != Timer1->isActive()) {
    if (d.ticksActivos())
      Timer1->start();
    else
      Timer1->stop();
  }
}

void Descargador::comprobar(int sorteos) { p_.comprobador()->compruebapenas(sorteos); }

void Descargador::desplazar(int valor) {
  pintar();  // the bar at 3 keeps the scroll bar from starting a check of its own
  p_.general()->HScroll1->setValue(valor);
}

void Descargador::actualizar(const QByteArray& buffer) {
  p_.cargasorteos();
  p_.listasorteos();
  construirInforme(buffer, true);
  p_.general()->Picture2->setDown(false);
}

void Descargador::trasAnadir(int sorteos) {
  p_.cargasorteos();
  QScrollBar* h = p_.general()->HScroll1;
  const int valor = std::clamp(sorteos, 1, 8);
  // A new value of the selector re-checks and rebuilds the list by itself.
  if (h->value() != valor && valor <= h->maximum())
    h->setValue(valor);
  else
    p_.refresca();
  escrutinio(1);
}

void Descargador::abrirEntradaManual() {
  if (entrada_) {
    entrada_->raise();
    entrada_->activateWindow();
    return;
  }
  entrada_ = new EntradaSorteo(p_.sesion(), &p_);
  connect(entrada_, &EntradaSorteo::anadido, this, [this] { trasAnadir(1); });
  entrada_->show();
}

void Descargador::importarCsv() {
  const QString ruta = plataforma::dialogoArchivo().abrirArchivo(kTituloCsv, plataforma::carpetaInicialDialogo(),
                                                                 QStringLiteral("Archivos CSV (*.csv *.txt)"));
  if (!ruta.isEmpty()) importarCsv(ruta);
}

int Descargador::importarCsv(const QString& ruta) {
  using plataforma::Icono;
  Almacen& almacen = p_.sesion().almacen();
  const QDate hoy = plataforma::hoy();
  const ImportacionCsv im = prepararCsv(almacen, ruta, hoy);
  if (im.estado != ImportacionCsv::Estado::Lista) {
    plataforma::mensaje(im.estado == ImportacionCsv::Estado::NadaNuevo ? Icono::Informacion : Icono::Exclamacion,
                        kTituloCsv, im.mensaje(ruta));
    return 0;
  }
  if (im.faltan > 0 && plataforma::mensaje(Icono::Pregunta, kTituloCsv,
                                           preguntaHueco(almacen.sorteos().ultimo().fecha,
                                                         fechaDesdeOle(im.nuevos.front().fecha), im.faltan),
                                           plataforma::Botones::SiNo) != plataforma::Respuesta::Si)
    return 0;
  const Guardado g = operaciones::guardarSorteosNuevos(almacen, im.nuevos, hoy);
  if (g.guardados > 0) trasAnadir(g.guardados);
  if (!g.resultado)
    avisarFallo(g.resultado);
  else
    plataforma::mensaje(Icono::Informacion, kTituloCsv, textoAnadidos(g.guardados));
  return g.guardados;
}

void Descargador::escrutinio(int bandera) {
  const QByteArray buffer = leerArchivo(p_.sesion().almacen().ruta(Almacen::kBuffer));
  construirInforme(buffer, bandera == 0);
}

void Descargador::construirInforme(const QByteArray& buffer, bool bajar) {
  TabUltimo* t = p_.ultimo();
  t->mostrarAviso(QString());
  const Sorteo ultimo = p_.sesion().almacen().sorteos().ultimo();
  const UltimoSorteo u = ultimoSorteo(buffer, ultimo, plataforma::servicios().operador);
  informe_ = u.informe;
  t->poner(u);
  if (u.premios == UltimoSorteo::Premios::SinSorteo) return t->mostrarAviso(avisoSinSorteos());
  if (u.premios == UltimoSorteo::Premios::SinDatos) return t->mostrarAviso(avisoSinPremios());
  // A path that would lead off the operator's site counts as no document.
  if (informe_.documento.isEmpty()) {
    t->mostrarAviso(avisoNoDisponible());
    return;
  }
  if (bajar)
    bajapdf(informe_.documento);
  else
    muestrapdf();
}

void Descargador::bajapdf(const QUrl& direccion) {
  const QString ruta = p_.sesion().almacen().ruta(kDocumento);
  p_.ultimo()->documento->close();
  QFile::remove(ruta);
  descarga_->pdfbajado = true;
  bajandoPdf_ = true;
  canalPdf_->traer(direccion, plataforma::CanalHttp::Opciones{kMaximoDocumento, true, {}});
}

void Descargador::alBajarPdf(const plataforma::Traida& t) {
  bajandoPdf_ = false;
  // A document that is not a PDF, or could not be kept, leaves no file: the view then shows
  // the notice of a document that cannot be opened.
  if (t.ok)
    if (const Resultado r = guardarDocumento(t.cuerpo, p_.sesion().almacen().ruta(kDocumento)); !r)
      qWarning("%s", qUtf8Printable(r.error));
  muestrapdf();
}

void Descargador::muestrapdf() {
  const QString ruta = p_.sesion().almacen().ruta(kDocumento);
  QByteArray cabecera;
  QFile f(ruta);
  if (f.open(QIODevice::ReadOnly)) cabecera = f.read(4);
  f.close();
  if (sortilan::muestrapdf(cabecera, descarga_->pdfbajado, informe_.documento) == VistaDocumento::NoDisponible) {
    p_.ultimo()->mostrarAviso(avisoNoDisponible());
    return;
  }
  p_.ultimo()->mostrarDocumento(ruta);
}

}  // namespace sortilan::ui
