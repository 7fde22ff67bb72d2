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

#include "app/principal.h"
#include "auxiliary/gui/auxiliares.h"
#include "auxiliary/gui/infor.h"
#include "checking/gui/comprobador.h"
#include "main/gui/tabgeneral.h"
#include "operations/dinero.h"
#include "operations/sorteos.h"
#include "platform/plataforma.h"
#include "platform/servicios.h"
#include "report/gui/tabultimo.h"
#include "report/ultimosorteo.h"
#include "store/escritura.h"

namespace sortilan::ui {

namespace {
constexpr const char* kDocumento = "vix.pdf";
// Report documents are a few hundred kilobytes; anything far bigger is not one.
constexpr qint64 kMaximoDocumento = 64 * 1024 * 1024;
}  // namespace

Descargador::Descargador(Principal& principal)
    : QObject(&principal), p_(principal), canal_(plataforma::crearCanal()), canalPdf_(plataforma::crearCanal()) {
  descarga_ = std::make_unique<Descarga>(p_.sesion(), *this, *canal_);
  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(1000);
  connect(Timer1, &QTimer::timeout, this, &Descargador::Timer1_Timer);
  connect(canalPdf_.get(), &plataforma::CanalHttp::terminado, this, &Descargador::alBajarPdf);
  connect(canal_.get(), &plataforma::CanalHttp::terminado, this, [this](const plataforma::Traida& t) {
    operaciones::guardarPremiosDescargados(p_.sesion().almacen().carpeta(), t);
  });
  connect(p_.general()->Picture2, &QToolButton::clicked, this, &Descargador::Picture2_Click);
}

Descargador::~Descargador() = default;

void Descargador::conectar() {
  if (QAction* baja = p_.accion(QStringLiteral("Baja"))) {
    baja->setEnabled(true);
    connect(baja, &QAction::triggered, this, &Descargador::Picture2_Click);
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
  g->Label6->setText(d.Label6);
  if (!d.Label58.isEmpty()) g->Label58->setText(d.Label58);
  g->Label19->setText(d.Label19);
  g->ProgressBar1->setValue(d.ProgressBar1);
}

void Descargador::refrescar() {
  pintar();
  // The labels change in the middle of a step; let the user see them now.
  p_.general()->repaint();
}

void Descargador::activarTimer(bool activo) {
  if (activo)
    Timer1->start();
  else
    Timer1->stop();
}

void Descargador::mostrarPestana0() { p_.SSTab1()->setCurrentIndex(0); }

void Descargador::rotulo() {
  p_.comprobador()->rotulo();
  p_.comprobador()->olvidarPremio();
}

void Descargador::compruebapenas(int sorteos) { p_.comprobador()->compruebapenas(sorteos); }

void Descargador::ponerHScroll1(int valor) {
  pintar();  // the bar at 3 keeps the scroll bar from starting a check of its own
  p_.general()->HScroll1->setValue(valor);
}

void Descargador::cargasorteos() { p_.cargasorteos(); }

void Descargador::listasorteos() { p_.listasorteos(); }

void Descargador::restaurarPicture2() { p_.general()->Picture2->setDown(false); }

void Descargador::avisoInterpretacion(const QString& texto) { p_.ultimo()->mostrarAviso(texto); }

Resultado Descargador::guardarSorteos(const std::vector<Sorteo>& nuevos, int& anadidos) {
  const operaciones::Anadidos a = operaciones::anadirSorteos(p_.sesion().almacen(), nuevos, plataforma::hoy());
  anadidos = a.anadidos;
  return a.resultado;
}

void Descargador::escrutinio(int bandera) {
  const QByteArray buffer = leerArchivo(p_.sesion().almacen().ruta(Almacen::kBuffer));
  construirInforme(buffer, bandera == 0);
}

void Descargador::escrutinio(const QByteArray& buffer) { construirInforme(buffer, true); }

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
  canalPdf_->traer(direccion, plataforma::CanalHttp::Opciones{kMaximoDocumento, true});
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
