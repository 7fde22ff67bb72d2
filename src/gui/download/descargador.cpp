#include "gui/download/descargador.h"

#include <QFile>
#include <QTimer>
#include <QWidget>

#include "base/fechas.h"
#include "download/csv.h"
#include "download/guardado.h"
#include "gui/download/entradasorteo.h"
#include "operations/dinero.h"
#include "operations/entradas.h"
#include "platform/plataforma.h"
#include "platform/servicios.h"
#include "report/ultimosorteo.h"
#include "session/errorpermiso.h"
#include "session/sesion.h"
#include "store/escritura.h"

namespace sortilan::ui {

namespace {
constexpr const char* kDocumento = "vix.pdf";
// Report documents are a few hundred kilobytes; anything far bigger is not one.
constexpr qint64 kMaximoDocumento = 64 * 1024 * 1024;
}  // namespace

QString Descargador::otrosCaminos() {
  return QStringLiteral(
      "Sin conexión también puede tener los sorteos desde el menú General: \"Importar sorteos de un archivo "
      "CSV...\" o \"Añadir sorteo a mano...\".");
}

Descargador::Descargador(Sesion& sesion, QWidget& ventana)
    : QObject(&ventana),
      sesion_(sesion),
      ventana_(ventana),
      canal_(plataforma::crearCanal()),
      canalPdf_(plataforma::crearCanal()) {
  descarga_ = std::make_unique<Descarga>(sesion_, *canal_, &operaciones::guardarDescarga);
  descarga_->ponerOtrosCaminos(otrosCaminos());
  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(1000);
  connect(Timer1, &QTimer::timeout, this, &Descargador::Timer1_Timer);
  connect(canalPdf_.get(), &plataforma::CanalHttp::terminado, this, &Descargador::alBajarPdf);

  Descarga* d = descarga_.get();
  connect(d, &Descarga::cambiado, this, &Descargador::pintar);
  connect(d, &Descarga::empezada, this, &Descargador::empezada);
  connect(d, &Descarga::mostrarGeneral, this, &Descargador::generalPedida);
  connect(d, &Descarga::guardados, this, [this] { emit sorteosCambiados(false); });
  connect(d, &Descarga::comprobar, this, &Descargador::comprobacionPedida);
  connect(d, &Descarga::desplazar, this, &Descargador::desplazar);
  connect(d, &Descarga::actualizar, this, &Descargador::actualizar);
  connect(d, &Descarga::avisoInterpretacionPedido, this, &Descargador::avisoUltimo);
  // Opened once the refused sequence has settled, not from inside its message.
  connect(d, &Descarga::entradaManualPedida, this, &Descargador::abrirEntradaManual, Qt::QueuedConnection);
}

Descargador::~Descargador() = default;

EntradaSorteo* Descargador::entradaManual() const { return entrada_; }

void Descargador::Picture2_Click() {
  // While the news window is on screen the button does nothing; otherwise it goes away.
  if (QWidget* infor = noticias_ ? noticias_() : nullptr) {
    if (infor->isVisible()) return;
    infor->close();
  }
  descarga_->iniciar();
}

void Descargador::Timer1_Timer() { descarga_->tick(); }

void Descargador::pintar() {
  const Descarga& d = *descarga_;
  emit estadoCambiado(Descarga::textoFase(d.fase()), d.caracteres(),
                      d.nuevos() > 0 ? textoNuevos(d.nuevos()) : QString(), static_cast<int>(d.progreso()));
  emit sorteosNuevos(d.nuevos());
  if (d.ticksActivos() != Timer1->isActive()) {
    if (d.ticksActivos())
      Timer1->start();
    else
      Timer1->stop();
  }
}

void Descargador::desplazar(int valor) {
  pintar();  // the bar at 3 keeps the scroll bar from starting a check of its own
  emit sorteosElegidosPedidos(valor);
}

void Descargador::actualizar(const QByteArray& buffer) {
  emit sorteosCambiados(true);
  construirInforme(buffer, true);
  emit terminada();
}

void Descargador::trasAnadir(int sorteos) {
  emit sorteosAnadidos(sorteos);
  escrutinio(Documento::Mostrar);
}

void Descargador::abrirEntradaManual() {
  if (entrada_) {
    entrada_->raise();
    entrada_->activateWindow();
    return;
  }
  entrada_ = new EntradaSorteo(sesion_, &ventana_);
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
  Almacen& almacen = sesion_.almacen();
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

void Descargador::escrutinio(Documento documento) {
  const QByteArray buffer = leerArchivo(sesion_.almacen().ruta(Almacen::kBuffer));
  construirInforme(buffer, documento == Documento::Bajar);
}

void Descargador::construirInforme(const QByteArray& buffer, bool bajar) {
  emit avisoUltimo(QString());
  const Sorteo ultimo = sesion_.almacen().sorteos().ultimo();
  const UltimoSorteo u = ultimoSorteo(buffer, ultimo, plataforma::servicios().operador);
  informe_ = u.informe;
  emit ultimoListo(u);
  if (u.premios == UltimoSorteo::Premios::SinSorteo) {
    emit avisoUltimo(avisoSinSorteos());
    return;
  }
  if (u.premios == UltimoSorteo::Premios::SinDatos) {
    emit avisoUltimo(avisoSinPremios());
    return;
  }
  // A path that would lead off the operator's site counts as no document.
  if (informe_.documento.isEmpty()) {
    emit avisoUltimo(avisoNoDisponible());
    return;
  }
  if (bajar)
    bajapdf(informe_.documento);
  else
    muestrapdf();
}

void Descargador::bajapdf(const QUrl& direccion) {
  const QString ruta = sesion_.almacen().ruta(kDocumento);
  emit documentoCerrado();
  descarga_->pdfbajado = true;
  bajandoPdf_ = true;
  canalPdf_->traer(direccion, plataforma::CanalHttp::Opciones{kMaximoDocumento, true, {}});
}

void Descargador::alBajarPdf(const plataforma::Traida& t) {
  bajandoPdf_ = false;
  Resultado r = t.ok ? guardarDocumento(t.cuerpo, sesion_.almacen().ruta(kDocumento))
                     : Resultado::fallo(t.error.isEmpty() ? QStringLiteral("sin documento") : t.error);
  if (!r) {
    // The previous document stays on disk, but it is another draw's: the notice is shown.
    qWarning("%s", qUtf8Printable(r.error));
    emit avisoUltimo(avisoSinConexion());
    return;
  }
  muestrapdf();
}

void Descargador::muestrapdf() {
  const QString ruta = sesion_.almacen().ruta(kDocumento);
  QByteArray cabecera;
  QFile f(ruta);
  if (f.open(QIODevice::ReadOnly)) cabecera = f.read(4);
  f.close();
  if (sortilan::muestrapdf(cabecera, descarga_->pdfbajado, informe_.documento) == VistaDocumento::NoDisponible) {
    emit avisoUltimo(avisoNoDisponible());
    return;
  }
  emit documentoListo(ruta);
}

}  // namespace sortilan::ui
