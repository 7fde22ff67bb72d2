#include "gui/members/controlsocios.h"

#include <QDir>

#include "base/fechas.h"
#include "base/letras.h"
#include "gui/members/tabsocios.h"
#include "members/papeles.h"
#include "members/registrosocios.h"
#include "money/balance.h"
#include "money/registrodinero.h"
#include "operations/socios.h"
#include "painters/pdfsocios.h"
#include "platform/plataforma.h"
#include "session/errorpermiso.h"
#include "store/escritura.h"

namespace sortilan::ui {

namespace {

// From here an amount is read back in words before it is booked.
constexpr Centimos kImporteGrande = 100000;

}  // namespace

ControlSocios::ControlSocios(Almacen& almacen, TabSocios& tab, QObject* padre)
    : QObject(padre), almacen_(almacen), tab_(tab) {
  connect(&tab_, &TabSocios::penaElegida, this, &ControlSocios::cargarPena);
  connect(&tab_, &TabSocios::altaPedida, this, &ControlSocios::CommandAlta_Click);
  connect(&tab_, &TabSocios::bajaPedida, this, &ControlSocios::CommandBaja_Click);
  connect(&tab_, &TabSocios::participacionesPedidas, this, &ControlSocios::CommandParticipaciones_Click);
  connect(&tab_, &TabSocios::aportacionPedida, this, &ControlSocios::CommandAportacion_Click);
  connect(&tab_, &TabSocios::pagoPedido, this, &ControlSocios::CommandPago_Click);
  connect(&tab_, &TabSocios::repartoPedido, this, &ControlSocios::CommandRepartir_Click);
  connect(&tab_, &TabSocios::anulacionPedida, this, &ControlSocios::CommandAnular_Click);
  connect(&tab_, &TabSocios::anulacionRepartoPedida, this, &ControlSocios::CommandAnularReparto_Click);
  connect(&tab_, &TabSocios::extractoPedido, this, &ControlSocios::CommandExtracto_Click);
  connect(&tab_, &TabSocios::documentoPedido, this, &ControlSocios::CommandDocumento_Click);
}

void ControlSocios::actualizar() {
  penas_ = almacen_.penas().leerTodos();
  std::vector<std::pair<int, QString>> lista;
  for (size_t i = 0; i < penas_.size(); ++i)
    lista.emplace_back(static_cast<int>(i) + 1, QStringLiteral("%1. %2").arg(i + 1).arg(penas_[i].nombreRecortado()));
  std::vector<PenaBorrada> borradas;
  {
    BaseDatos base;
    // Without them the live peñas still show; the members' read below tells the cause.
    if (base.abrir(almacen_.carpeta(), BaseDatos::Modo::Lectura)) (void)leerPenasBorradas(base, borradas);
  }
  // A deleted peña travels as minus its number.
  for (const PenaBorrada& b : borradas) lista.emplace_back(-b.numero, textoPenaBorrada(b));
  tab_.mostrarPenas(lista);
  cargarPena();
}

void ControlSocios::cargarPena() {
  int registro = tab_.penaSeleccionada();
  const int borrada = tab_.borradaSeleccionada();
  SociosPena socios;
  QStringList avisos;
  const std::vector<Sorteo> sorteos = almacen_.sorteos().leerTodos();
  Cuentas cuentas;
  if (borrada > 0) {
    if (const Resultado r = leerSociosPenaBorrada(almacen_.carpeta(), sorteos, borrada, socios); !r) avisos << r.error;
    if (const Resultado r = leerCuentasBorrada(almacen_.carpeta(), borrada, sorteos, plataforma::hoy(), cuentas); !r)
      avisos << r.error;
    avisos << QStringLiteral("Peña borrada: sus socios y cuentas solo se consultan.");
    registro = 1;  // its collections are worked out as those of record 1
  } else if (registro > 0) {
    if (const Resultado r = leerSociosPena(almacen_.carpeta(), penas_, sorteos, registro, socios); !r)
      avisos << r.error;
    if (const Resultado r = leerCuentas(almacen_.carpeta(), penas_, sorteos, plataforma::hoy(), cuentas, {registro});
        !r)
      avisos << r.error;
  }
  avisos.removeDuplicates();
  std::vector<TabSocios::PremioCobrado> premios;
  // Newest first: the prize just collected is the one to split.
  for (auto c = cuentas.cobros.rbegin(); c != cuentas.cobros.rend(); ++c) {
    if (c->registro != registro || c->estado != EstadoCobro::Cobrado) continue;
    const bool repartido = socios.reparto(c->fecha) != nullptr;
    premios.push_back(
        {c->fecha, QStringLiteral("%1: neto %2 (%3)")
                       .arg(fechaCorta(c->fecha), c->neto ? textoEuros(*c->neto) : QStringLiteral("pendiente"),
                            repartido ? QStringLiteral("repartido") : QStringLiteral("sin repartir"))});
  }
  tab_.mostrarSocios(std::move(socios), premios, avisos);
}

QString ControlSocios::idPena() const {
  const int borrada = tab_.borradaSeleccionada();
  return borrada > 0 ? QStringLiteral("B%1").arg(borrada) : QString::number(tab_.penaSeleccionada());
}

bool ControlSocios::trasCambio(const Resultado& r) {
  if (!r) {
    avisarFallo(r);
    return false;
  }
  cargarPena();
  emit cambiado();
  return true;
}

void ControlSocios::CommandAlta_Click() {
  const int registro = tab_.penaSeleccionada();
  if (registro == 0) return;
  int numero = 0;
  if (!trasCambio(operaciones::altaSocio(almacen_, registro, {tab_.nombre(), tab_.nif(), tab_.contacto()},
                                         tab_.participaciones(), tab_.fechaSocio(), &numero)))
    return;
  tab_.limpiarSocio();
  tab_.seleccionarSocio(numero);
}

void ControlSocios::CommandBaja_Click() {
  const Socio* s = tab_.socios().socio(tab_.socioSeleccionado());
  if (!s) return;
  const QDate fecha = tab_.fechaSocio();
  const QString pregunta = QStringLiteral(
                               "¿Dar de baja a %1 el %2?\n\nDesde ese día no tendrá participaciones; su "
                               "saldo y su extracto se conservan.")
                               .arg(s->nombre, fechaCorta(fecha));
  if (plataforma::mensaje(plataforma::Icono::Pregunta, QStringLiteral("Dar de baja"), pregunta,
                          plataforma::Botones::SiNo) != plataforma::Respuesta::Si)
    return;
  trasCambio(operaciones::bajaSocio(almacen_, tab_.penaSeleccionada(), s->numero, fecha));
}

void ControlSocios::CommandParticipaciones_Click() {
  const Socio* s = tab_.socios().socio(tab_.socioSeleccionado());
  if (!s) return;
  const QDate fecha = tab_.fechaSocio();
  const int nuevas = tab_.participaciones();
  const QString pregunta = QStringLiteral("¿Cambiar las participaciones de %1 de %2 a %3 desde el %4?")
                               .arg(s->nombre)
                               .arg(s->participacionesEn(fecha))
                               .arg(nuevas)
                               .arg(fechaCorta(fecha));
  if (plataforma::mensaje(plataforma::Icono::Pregunta, QStringLiteral("Cambiar participaciones"), pregunta,
                          plataforma::Botones::SiNo) != plataforma::Respuesta::Si)
    return;
  trasCambio(operaciones::cambiarParticipaciones(almacen_, tab_.penaSeleccionada(), s->numero, nuevas, fecha));
}

void ControlSocios::anotar(Concepto concepto) {
  const Socio* s = tab_.socios().socio(tab_.socioSeleccionado());
  if (!s) return;
  const std::optional<Centimos> importe = leerImporte(tab_.importe());
  if (!importe) {
    plataforma::mensaje(plataforma::Icono::Exclamacion, QStringLiteral("Importe"), avisoImporte());
    return;
  }
  const bool pago = concepto == Concepto::Pago;
  const QString que = QStringLiteral("%1 de %2 %3 %4")
                          .arg(pago ? QStringLiteral("el pago") : QStringLiteral("la aportación"), textoEuros(*importe),
                               pago ? QStringLiteral("a") : QStringLiteral("de"), s->nombre);
  // A slip of the keyboard (a zero too many) is caught by reading the amount in words.
  if (*importe >= kImporteGrande) {
    const QString pregunta = QStringLiteral("¿Anotar %1 el %2?\n\nImporte: %3.")
                                 .arg(que, fechaCorta(tab_.fechaMovimiento()), importeEnLetras(*importe));
    if (plataforma::mensaje(plataforma::Icono::Pregunta, QStringLiteral("Importe"), pregunta,
                            plataforma::Botones::SiNo) != plataforma::Respuesta::Si)
      return;
  }
  if (!trasCambio(operaciones::anotarMovimiento(almacen_, tab_.penaSeleccionada(), s->numero, concepto, *importe,
                                                tab_.fechaMovimiento(), plataforma::hoy())))
    return;
  tab_.limpiarImporte();
  emit aviso(QStringLiteral("%1 %2").arg(pago ? QStringLiteral("Anotado") : QStringLiteral("Anotada"), que));
}

void ControlSocios::CommandAportacion_Click() { anotar(Concepto::Aportacion); }

void ControlSocios::CommandPago_Click() { anotar(Concepto::Pago); }

void ControlSocios::CommandRepartir_Click() {
  const QDate premio = tab_.premioSeleccionado();
  if (!premio.isValid()) return;
  const bool pagar = tab_.pagarPremio();
  // The user confirms what is going to be recorded.
  const QString pregunta =
      QStringLiteral("¿Repartir entre los socios el premio del sorteo del %1 y %2?")
          .arg(fechaCorta(premio), pagar ? QStringLiteral("pagárselo") : QStringLiteral("dejarlo en la peña"));
  if (plataforma::mensaje(plataforma::Icono::Pregunta, QStringLiteral("Reparto del premio"), pregunta,
                          plataforma::Botones::SiNo) != plataforma::Respuesta::Si)
    return;
  trasCambio(operaciones::repartirPremio(almacen_, tab_.penaSeleccionada(), premio, pagar, plataforma::hoy()));
}

void ControlSocios::CommandAnular_Click() {
  const Socio* s = tab_.socios().socio(tab_.socioSeleccionado());
  const Movimiento* m = tab_.movimientoSeleccionado();
  if (!s || !m || m->numero == 0) return;
  // A line that cannot be voided is told why before anything is asked.
  if (const Resultado r = tab_.socios().anulable(*s, m->numero); !r) return avisarFallo(r);
  const bool pago = m->concepto == Concepto::Pago;
  const QString que = QStringLiteral("%1 de %2 del %3 %4 %5")
                          .arg(pago ? QStringLiteral("el pago") : QStringLiteral("la aportación"),
                               textoEuros(pago ? -m->importe : m->importe), fechaCorta(m->fecha),
                               pago ? QStringLiteral("a") : QStringLiteral("de"), s->nombre);
  const QDate hoy = plataforma::hoy();
  const QString motivo = tab_.motivo().simplified();
  QString pregunta = QStringLiteral("¿Anular %1 (movimiento %2)?\n\nSe anotará hoy, %3, una anulación que %4 nombra")
                         .arg(que)
                         .arg(m->numero)
                         .arg(fechaCorta(hoy), pago ? QStringLiteral("lo") : QStringLiteral("la"));
  if (!motivo.isEmpty()) pregunta += QStringLiteral(", con el motivo «%1»").arg(motivo);
  pregunta += QStringLiteral(". Las dos líneas seguirán en el extracto y el saldo no contará ninguna.");
  if (plataforma::mensaje(plataforma::Icono::Pregunta, QStringLiteral("Anular movimiento"), pregunta,
                          plataforma::Botones::SiNo) != plataforma::Respuesta::Si)
    return;
  const QString nombre = s->nombre;
  if (!trasCambio(operaciones::anularMovimiento(almacen_, tab_.penaSeleccionada(), tab_.socioSeleccionado(), m->numero,
                                                motivo, hoy)))
    return;
  tab_.limpiarMotivo();
  emit aviso(QStringLiteral("%1 %2").arg(pago ? QStringLiteral("Anulado") : QStringLiteral("Anulada"), que));
}

void ControlSocios::CommandAnularReparto_Click() {
  const QDate premio = tab_.premioSeleccionado();
  const Reparto* r = premio.isValid() ? tab_.socios().reparto(premio) : nullptr;
  if (!r) return;
  const QString motivo = tab_.motivo().simplified();
  QString pregunta = QStringLiteral(
                         "¿Anular el reparto del premio del sorteo del %1 (neto %2, repartido el %3 entre "
                         "%4 socios%5)?\n\nLas partes de los socios%6 quedarán anuladas en sus extractos")
                         .arg(fechaCorta(r->sorteo), textoEuros(r->neto()), fechaCorta(r->hecho))
                         .arg(r->partes.size())
                         .arg(r->pagado ? QStringLiteral(" y pagado") : QStringLiteral(", dejado en la peña"),
                              r->pagado ? QStringLiteral(" y los pagos que se les hicieron") : QString());
  if (!motivo.isEmpty()) pregunta += QStringLiteral(", con el motivo «%1»").arg(motivo);
  pregunta += QStringLiteral("; el premio podrá repartirse otra vez.");
  if (plataforma::mensaje(plataforma::Icono::Pregunta, QStringLiteral("Anular reparto"), pregunta,
                          plataforma::Botones::SiNo) != plataforma::Respuesta::Si)
    return;
  if (!trasCambio(operaciones::anularReparto(almacen_, tab_.penaSeleccionada(), premio, motivo, plataforma::hoy())))
    return;
  tab_.limpiarMotivo();
  emit aviso(QStringLiteral("Anulado el reparto del premio del sorteo del %1").arg(fechaCorta(premio)));
}

void ControlSocios::guardarPapel(const QString& titulo, const QString& propuesto, const QString& filtro,
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
  else
    emit archivoGuardado(ruta);
}

void ControlSocios::CommandExtracto_Click(bool pdf) {
  const std::optional<Extracto> e =
      extracto(tab_.socios(), tab_.socioSeleccionado(), tab_.extractoDesde(), tab_.extractoHasta());
  if (!e) return;
  const QString nombre = QStringLiteral("extracto-pena-%1-socio-%2").arg(idPena()).arg(e->numero);
  if (pdf)
    guardarPapel(QStringLiteral("Guardar el extracto del socio"), nombre + QStringLiteral(".pdf"),
                 QStringLiteral("PDF (*.pdf)"), pdfExtracto(*e, tab_.conNif()));
  else
    guardarPapel(QStringLiteral("Guardar el extracto del socio"), nombre + QStringLiteral(".csv"),
                 QStringLiteral("CSV (*.csv)"), csvExtracto(*e, tab_.conNif()));
}

void ControlSocios::CommandDocumento_Click(bool pdf) {
  DocumentoReparto d;
  const std::vector<Sorteo> sorteos = almacen_.sorteos().leerTodos();
  const int borrada = tab_.borradaSeleccionada();
  const Resultado r =
      borrada > 0 ? leerDocumentoRepartoBorrada(almacen_.carpeta(), sorteos, borrada, tab_.premioSeleccionado(), d)
                  : leerDocumentoReparto(almacen_.carpeta(), penas_, sorteos, tab_.penaSeleccionada(),
                                         tab_.premioSeleccionado(), d);
  if (!r) return avisarFallo(r);
  const QString nombre = QStringLiteral("reparto-pena-%1-%2").arg(idPena(), d.sorteo.toString(Qt::ISODate));
  if (pdf)
    guardarPapel(QStringLiteral("Guardar el documento de reparto"), nombre + QStringLiteral(".pdf"),
                 QStringLiteral("PDF (*.pdf)"), pdfReparto(d, tab_.conNif()));
  else
    guardarPapel(QStringLiteral("Guardar el documento de reparto"), nombre + QStringLiteral(".csv"),
                 QStringLiteral("CSV (*.csv)"), csvReparto(d, tab_.conNif()));
}

}  // namespace sortilan::ui
