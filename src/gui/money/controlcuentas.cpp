#include "gui/money/controlcuentas.h"

#include <QDir>
#include <QLabel>
#include <QStatusBar>

#include "gui/money/tabcuentas.h"
#include "gui/ui/controles.h"
#include "operations/dinero.h"
#include "platform/plataforma.h"
#include "session/errorpermiso.h"
#include "session/sesion.h"
#include "store/escritura.h"

namespace sortilan::ui {

namespace {
const QString kTituloTablas = QStringLiteral("Tablas de premios");
}

ControlCuentas::ControlCuentas(Sesion& sesion, TabCuentas& tab, QStatusBar& barra, QObject* padre)
    : QObject(padre), sesion_(sesion), tab_(tab) {
  LabelPorCobrar = etiqueta(&barra, QStringLiteral("LabelPorCobrar"));
  barra.addPermanentWidget(LabelPorCobrar);
  connect(&tab_, &TabCuentas::cobroPedido, this, &ControlCuentas::CommandCobrar_Click);
  connect(&tab_, &TabCuentas::pendientePedido, this, &ControlCuentas::CommandPendiente_Click);
  connect(&tab_, &TabCuentas::exportarPedido, this, &ControlCuentas::CommandCsv_Click);
  connect(&tab_, &TabCuentas::borradasPedidas, this, &ControlCuentas::actualizar);
}

// The request must go before the channel it uses.
ControlCuentas::~ControlCuentas() { completar_.reset(); }

void ControlCuentas::actualizar() {
  const QString carpeta = sesion_.almacen().carpeta();
  if (carpeta.isEmpty()) return;
  aplazado_ = false;
  vigentes_ = Cuentas{};
  if (tab_.verBorradas()) {
    const std::vector<Sorteo> sorteos = sesion_.almacen().sorteos().leerTodos();
    Cuentas borradas;
    std::vector<PenaBorrada> lista;
    const Resultado r = leerCuentasBorradas(carpeta, sorteos, plataforma::hoy(), borradas, lista);
    // The status bar still speaks of the peñas in play.
    Cuentas vivas;
    (void)leerCuentas(carpeta, sesion_.penas(), sorteos, plataforma::hoy(), vivas, {0, true});
    LabelPorCobrar->setText(textoPorCobrar(vivas.vigentes()));
    tab_.mostrarAviso(r ? (lista.empty() ? QStringLiteral("No hay peñas borradas con socios ni cuentas.")
                                         : QStringLiteral("Peñas borradas: sus cuentas solo se consultan."))
                        : r.error);
    tab_.mostrar(std::move(borradas), plataforma::hoy());
    return;
  }
  // Only what the change touched is worked out again.
  Cuentas cuentas = tab_.tomarCuentas();
  const Resultado r =
      releerCuentas(carpeta, sesion_.penas(), sesion_.almacen().sorteos().leerTodos(), plataforma::hoy(), cuentas);
  tab_.mostrarAviso(r ? QString() : r.error);
  LabelPorCobrar->setText(textoPorCobrar(cuentas.vigentes()));
  tab_.mostrar(std::move(cuentas), plataforma::hoy());
}

void ControlCuentas::actualizarVigentes() {
  const QString carpeta = sesion_.almacen().carpeta();
  if (carpeta.isEmpty()) return;
  const Resultado r = leerCuentas(carpeta, sesion_.penas(), sesion_.almacen().sorteos().leerTodos(), plataforma::hoy(),
                                  vigentes_, {0, true});
  aplazado_ = true;
  tab_.mostrarAviso(r ? QString() : r.error);
  LabelPorCobrar->setText(textoPorCobrar(vigentes_.vigentes()));
}

void ControlCuentas::completarAplazado() {
  if (aplazado_) actualizar();
}

void ControlCuentas::avisarUrgentes() {
  const QString aviso =
      avisoCobrosUrgentes(aplazado_ ? vigentes_.vigentes() : tab_.cuentas().vigentes(), plataforma::hoy());
  if (!aviso.isEmpty())
    plataforma::mensaje(plataforma::Icono::Exclamacion, QStringLiteral("Premios por cobrar"), aviso);
}

void ControlCuentas::marcar(const std::optional<QDate>& dia) {
  if (tab_.verBorradas()) return;
  const int registro = tab_.penaSeleccionada();
  const QDate sorteo = tab_.sorteoSeleccionado();
  if (registro == 0 || !sorteo.isValid()) return;
  const Resultado r = operaciones::marcarCobro(sesion_.almacen(), registro, sorteo, dia, plataforma::hoy());
  avisarFallo(r);
  actualizar();
}

void ControlCuentas::CommandCobrar_Click(const QDate& dia) { marcar(dia); }

void ControlCuentas::CommandPendiente_Click() { marcar(std::nullopt); }

void ControlCuentas::CommandCsv_Click() {
  const CuentaPena* pena = tab_.cuentas().pena(tab_.penaSeleccionada());
  if (!pena) return;
  const QString id = tab_.verBorradas() ? QStringLiteral("B%1").arg(pena->registro) : QString::number(pena->registro);
  const QString propuesto =
      QDir(plataforma::carpetaInicialDialogo()).filePath(QStringLiteral("cuentas-pena-%1.csv").arg(id));
  const QString ruta = plataforma::dialogoArchivo().guardarArchivo(QStringLiteral("Exportar los sorteos de la peña"),
                                                                   propuesto, QStringLiteral("CSV (*.csv)"));
  if (ruta.isEmpty()) return;
  // The file is the user's, anywhere: its failure is told as it is, not as the data folder's.
  if (const Resultado r = reemplazarArchivo(ruta, csvSorteos(*pena, tab_.cuentas())); !r)
    plataforma::mensaje(plataforma::Icono::Exclamacion, QStringLiteral("Error"), r.error);
  else
    emit archivoGuardado(ruta);
}

void ControlCuentas::Completar_Click() {
  if (completando()) return;
  completar_.reset();
  canal_ = plataforma::crearCanal();
  completar_ = std::make_unique<operaciones::CompletarPremios>(sesion_.almacen(), *canal_);
  connect(completar_.get(), &operaciones::CompletarPremios::pidiendo, this,
          [this](const VentanaPeticion& v, int n, int total) {
            LabelPorCobrar->setText(
                QStringLiteral("Pidiendo los premios del %1 al %2 (%3 de %4)...")
                    .arg(v.desde.toString(QStringLiteral("dd/MM/yyyy")), v.hasta.toString(QStringLiteral("dd/MM/yyyy")))
                    .arg(n)
                    .arg(total));
          });
  connect(completar_.get(), &operaciones::CompletarPremios::terminado, this, &ControlCuentas::alCompletar);
  emit ocupado(true);
  completar_->iniciar();
}

void ControlCuentas::alCompletar(const operaciones::ResumenCompletar& r) {
  emit ocupado(false);
  actualizar();
  const QString cuenta = QStringLiteral("Tablas de premios guardadas: %1. Sorteos sin tabla de premios: %2.")
                             .arg(r.guardadas)
                             .arg(r.faltan);
  const QString lineas = (QStringList{cuenta} + operaciones::textosSinImporte(r)).join(QLatin1Char('\n'));
  if (!r.resultado)
    plataforma::mensaje(plataforma::Icono::Exclamacion, kTituloTablas,
                        r.resultado.error + QStringLiteral("\n") + lineas);
  else if (r.ventanas == 0)
    plataforma::mensaje(plataforma::Icono::Informacion, kTituloTablas,
                        QStringLiteral("No falta ninguna tabla de premios de los sorteos jugados."));
  else
    plataforma::mensaje(plataforma::Icono::Informacion, kTituloTablas, lineas);
}

}  // namespace sortilan::ui
