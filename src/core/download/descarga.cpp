#include "download/descarga.h"

#include <QScopeGuard>
#include <algorithm>

#include "base/fechas.h"
#include "download/guardado.h"
#include "platform/plataforma.h"
#include "platform/servicios.h"
#include "session/errorpermiso.h"
#include "session/sesion.h"

namespace sortilan {

namespace {
using plataforma::Icono;

const QString kErrorConexion = QStringLiteral("Error de conexión");
const QString kNoConectadoServidor = QStringLiteral(
    "No conectado: Compruebe la conexión a internet. Si es correcta, pruebe más tarde ya que no es posible "
    "conectar con el servidor de ONLAE.");

QString mensajeSorteoMalo(const Analisis& a, int guardados) {
  const QString guardado = guardados == 0
                               ? QStringLiteral("sin guardar ningún sorteo nuevo")
                               : QStringLiteral("después de guardar %1 anteriores a él").arg(textoNuevos(guardados));
  return QStringLiteral(
             "El sorteo del %1 que ha enviado el servidor no es válido (%2). La descarga se ha detenido en él %3; la "
             "próxima seguirá desde ahí. Si vuelve a pasar, puede añadir ese sorteo a mano.")
      .arg(fechaLarga(oleDesdeFecha(a.fechaMala)), a.motivo, guardado);
}
}  // namespace

Descarga::Descarga(Sesion& sesion, plataforma::CanalHttp& canal, GuardarDescarga guardar, QObject* padre)
    : QObject(padre), sesion_(sesion), canal_(canal), guardar_(std::move(guardar)) {
  connect(&canal_, &plataforma::CanalHttp::estado, this, [this](int codigo) { estadoconexion_ = codigo; });
  connect(&canal_, &plataforma::CanalHttp::terminado, this, &Descarga::alTraer);
}

QString Descarga::textoFase(Fase f) {
  switch (f) {
    case Fase::Reposo: return {};
    case Fase::Conectando: return QStringLiteral("CONECTANDO AL SERVIDOR");
    case Fase::Buscando: return QStringLiteral("BUSCANDO SORTEOS");
    case Fase::Analizando: return QStringLiteral("ANALIZANDO DATOS");
    case Fase::Finalizada: return QStringLiteral("TRANSFERENCIA FINALIZADA");
  }
  return {};
}

QString Descarga::avisoInterpretacion(const QString& correo) {
  return QStringLiteral(
             "\r\nERROR DE INTERPRETACIÓN DE DATOS:\r\nSi más tarde se conecta y le vuelve a suceder envie un "
             "email a: ") +
         correo;
}

QString Descarga::textoRechazo(int estadoHttp) {
  const QString causa = estadoHttp == 406 ? QStringLiteral("HTTP 406: demasiadas peticiones seguidas")
                                          : QStringLiteral("HTTP %1: acceso denegado").arg(estadoHttp);
  return QStringLiteral(
             "El servicio de resultados ha rechazado la petición (%1) después de %2 intentos. No se ha guardado ningún "
             "sorteo de esa petición. Puede probar más tarde o añadir el sorteo a mano. ¿Quiere añadirlo ahora?")
      .arg(causa)
      .arg(plataforma::CanalHttp::kIntentos);
}

void Descarga::ponerTicks(bool activos) { ticks_ = activos; }

void Descarga::iniciar(bool unaPeticion) {
  if (enCurso()) return;
  hoy_ = plataforma::hoy();
  nuevos_ = 0;
  fallo_ = Resultado::bien();
  pdfbajado = false;
  desenlace_ = Desenlace::EnCurso;
  emit empezada();

  // The newest draw as stored, whatever the session loaded last.
  const Sorteo ultimo = sesion_.almacen().sorteos().ultimo();
  if (oleDesdeFecha(hoy_) < ultimo.fecha) {
    emit cambiado();
    plataforma::mensaje(Icono::Informacion, QStringLiteral("Error de fechas"),
                        QStringLiteral("La fecha de tu ordenador parece incorrecta. Existen sorteos en la base de "
                                       "datos con fechas porsteriores a la actual. Comprueba la fecha de tu "
                                       "ordenador."));
    desenlace_ = Desenlace::FechaIncorrecta;
    emit terminada(desenlace_);
    return;
  }
  intervalos_ = unaPeticion ? std::vector<Intervalo>{{hoy_.addDays(-kDiasPeticion), hoy_}}
                            : intervalosPeticion(ultimo.fecha, hoy_);
  siguiente_ = 0;
  pedirSiguiente();
}

void Descarga::pedirSiguiente() {
  const Intervalo iv = intervalos_[static_cast<size_t>(siguiente_++)];
  segundos_ = 0;
  paso_ = Paso::Pidiendo;
  progreso_ = Progreso::Pidiendo;
  emit mostrarGeneral();
  fase_ = Fase::Conectando;
  respuesta_.clear();
  demasiado_ = false;
  traendo_ = true;
  emit cambiado();
  const QUrl base = plataforma::servicios().resultados;
  plataforma::CanalHttp::Opciones o;
  o.limite = kMaximoRespuesta;
  o.portada = plataforma::portadaDe(base);
  canal_.traer(direccionPeticion(base, iv.desde, iv.hasta), o);
}

QString Descarga::conOtrosCaminos(const QString& texto) const {
  return otrosCaminos_.isEmpty() ? texto : texto + QStringLiteral("\n\n") + otrosCaminos_;
}

void Descarga::alTraer(const plataforma::Traida& t) {
  if (!traendo_) return;
  traendo_ = false;
  if (t.demasiado) {
    // Too big to be an answer of the service: it is taken for corrupt data.
    demasiado_ = true;
    caracteres_ = t.recibidos;
  } else if (t.rechazado) {
    const plataforma::Respuesta r = plataforma::mensaje(Icono::Exclamacion, QStringLiteral("Servicio no disponible"),
                                                        textoRechazo(t.estadoHttp), plataforma::Botones::SiNo);
    abortar(Desenlace::Rechazada);
    if (r == plataforma::Respuesta::Si) emit entradaManualPedida();
    return;
  } else if (!t.ok) {
    QString texto = QStringLiteral("No conectado: Compruebe la conexión a internet...");
    // The channel's words name the cause (a refused connection, a server that stalls,
    // headers past their bound); a certificate of another host has words of its own.
    if (t.certificadoAjeno)
      texto += QStringLiteral("\n") + plataforma::textoCertificadoAjeno();
    else if (!t.error.isEmpty())
      texto += QStringLiteral("\n") + t.error + QStringLiteral(".");
    fallo_ = Resultado::fallo(Resultado::Clase::Red, texto);
    plataforma::mensaje(Icono::Exclamacion, kErrorConexion, conOtrosCaminos(texto));
    abortar(Desenlace::SinConexion);
    return;
  } else {
    respuesta_ = t.cuerpo;
    caracteres_ = QString::fromUtf8(respuesta_).size();
  }
  if (demasiado_ || caracteres_ > 100) fase_ = Fase::Buscando;
  paso_ = Paso::Recibida;
  ponerTicks(true);
  emit cambiado();
}

void Descarga::tick() {
  // A message box of this tick runs an event loop in which the sequence timer keeps firing;
  // those ticks must not store and read the answer a second time.
  if (enTick_) return;
  enTick_ = true;
  const auto fin = qScopeGuard([this] { enTick_ = false; });
  ++segundos_;
  if (segundos_ == 5 && fase_ == Fase::Conectando) return abortar(Desenlace::Abandonada);
  if (segundos_ == 30 && progreso_ == Progreso::Pidiendo) {
    canal_.cancelar();
    fallo_ = Resultado::fallo(Resultado::Clase::Red,
                              QStringLiteral("Problemas con el servidor. Tarda en responder. Pruebe más tarde..."));
    plataforma::mensaje(Icono::Exclamacion, kErrorConexion,
                        QStringLiteral("Problemas con el servidor. Tarda en responder. Pruebe más tarde..."));
    abortar(Desenlace::TiempoAgotado);
  }
  if (!canal_.ocupado() && !canal_.conError() && paso_ == Paso::Recibida) {
    segundos_ = 0;
    progreso_ = Progreso::Leyendo;
    paso_ = Paso::Leida;
    procesar();
  }
  if (paso_ != Paso::Leida || estadoconexion_ == plataforma::CanalHttp::kError) {
    emit cambiado();
    return;
  }
  if (ultimoBien_ && siguiente_ < static_cast<int>(intervalos_.size())) {
    // Caught up to the end of this interval: ask for the next one.
    ponerTicks(false);
    pedirSiguiente();
    return;
  }
  acabar(desenlace_ == Desenlace::EnCurso ? Desenlace::Completa : desenlace_);
}

void Descarga::procesar() {
  fase_ = Fase::Analizando;
  ultimoBien_ = false;
  emit cambiado();

  buffer_.clear();
  Analisis a;
  if (demasiado_) {
    a.estado = Analisis::Estado::Ilegible;
  } else {
    buffer_ = registroCitado(QString::fromUtf8(respuesta_));
    a = analizar(respuesta_, sesion_.almacen().sorteos().ultimo().fecha, hoy_);
  }

  // Draws, their counts, the prize tables and the buffer are one change; the tables and
  // the buffer only of an answer taken whole.
  Guardado g;
  const bool aceptada = a.estado == Analisis::Estado::Bien;
  if (!a.nuevos.empty() || aceptada) {
    Descargado d{std::move(a.nuevos), aceptada ? respuesta_ : QByteArray(), aceptada ? buffer_ : QByteArray()};
    respuesta_.clear();
    g = guardar_(sesion_.almacen(), std::move(d), hoy_);
    nuevos_ += g.guardados;
    if (g.guardados > 0) {
      emit guardados(nuevos_);
      emit cambiado();
    }
    if (!g.resultado) {
      // Nothing of this answer was kept: the status must not read as a finished transfer.
      fallo_ = g.resultado;
      avisarFallo(g.resultado);
      return abortar(Desenlace::Escritura);
    }
  }
  respuesta_.clear();

  switch (a.estado) {
    case Analisis::Estado::Ilegible:
      if (estadoconexion_ == plataforma::CanalHttp::kError) {
        fallo_ = Resultado::fallo(Resultado::Clase::Red, kNoConectadoServidor);
        plataforma::mensaje(Icono::Exclamacion, kErrorConexion, conOtrosCaminos(kNoConectadoServidor));
        canal_.cancelar();
        return abortar(Desenlace::SinConexion);
      }
      plataforma::mensaje(Icono::Critico, QStringLiteral("Error crítico"),
                          QStringLiteral("¡¡Datos corruptos o inválidos!! Si se repite en otros momentos este mismo "
                                         "error, posiblemente se ha de actualizar el programa. Pruebe más tarde."));
      ponerTicks(false);
      emit avisoInterpretacionPedido(avisoInterpretacion(plataforma::servicios().correo));
      desenlace_ = Desenlace::DatosMalos;
      return;
    case Analisis::Estado::SorteoMalo:
      plataforma::mensaje(Icono::Exclamacion, QStringLiteral("Sorteo no válido"), mensajeSorteoMalo(a, g.guardados));
      desenlace_ = Desenlace::SorteoInvalido;
      return;
    case Analisis::Estado::Bien: ultimoBien_ = true; return;
  }
}

void Descarga::refrescarVentana(int sorteos) {
  progreso_ = Progreso::Comprobando;
  emit cambiado();
  emit comprobar(sorteos);
  if (sorteos != 0) emit desplazar(std::min(sorteos, 8));
  progreso_ = Progreso::Actualizando;
  emit cambiado();
  emit actualizar(buffer_);
}

void Descarga::abortar(Desenlace d) {
  // Draws stored by earlier requests of this sequence stay; the window shows them.
  if (nuevos_ > 0) refrescarVentana(nuevos_);
  ponerTicks(false);
  traendo_ = false;
  paso_ = Paso::Reposo;
  progreso_ = Progreso::Reposo;
  fase_ = Fase::Reposo;
  desenlace_ = d;
  emit cambiado();
  emit terminada(d);
}

void Descarga::acabar(Desenlace d) {
  paso_ = Paso::Acabada;
  progreso_ = Progreso::Leyendo;
  ponerTicks(false);
  desenlace_ = d;
  if (d == Desenlace::Completa && nuevos_ == 0)
    plataforma::mensaje(Icono::Informacion, QStringLiteral("Pruebe más tarde"),
                        QStringLiteral("Todavía no hay sorteos nuevos."));
  // An answer that could not be used, with nothing stored, changes nothing to show.
  if (nuevos_ > 0 || d == Desenlace::Completa) refrescarVentana(std::max(nuevos_, 1));
  fase_ = Fase::Finalizada;
  progreso_ = Progreso::Terminada;
  emit mostrarGeneral();
  emit cambiado();
  emit terminada(d);
}

}  // namespace sortilan
