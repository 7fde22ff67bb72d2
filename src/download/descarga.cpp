#include "download/descarga.h"

#include <QScopeGuard>
#include <algorithm>

#include "base/fechas.h"
#include "platform/plataforma.h"
#include "platform/servicios.h"
#include "session/errorpermiso.h"
#include "session/sesion.h"
#include "store/escritura.h"

namespace sortilan {

namespace {
using plataforma::Icono;

const QString kConectando = QStringLiteral("CONECTANDO AL SERVIDOR");
const QString kErrorConexion = QStringLiteral("Error de conexión");
const QString kNoConectadoServidor = QStringLiteral(
    "No conectado: Compruebe la conexión a internet. Si es correcta, pruebe más tarde ya que no es posible "
    "conectar con el servidor de ONLAE.");
}  // namespace

Descarga::Descarga(Sesion& sesion, VentanaDescarga& ventana, plataforma::CanalHttp& canal, QObject* padre)
    : QObject(padre), sesion_(sesion), ventana_(ventana), canal_(canal) {
  connect(&canal_, &plataforma::CanalHttp::estado, this, [this](int codigo) { estadoconexion = codigo; });
  connect(&canal_, &plataforma::CanalHttp::terminado, this, &Descarga::alTraer);
}

QString Descarga::avisoInterpretacion(const QString& correo) {
  return QStringLiteral(
             "\r\nERROR DE INTERPRETACIÓN DE DATOS:\r\nSi más tarde se conecta y le vuelve a suceder envie un "
             "email a: ") +
         correo;
}

void Descarga::ponerTimer(bool activo) {
  timerActivo_ = activo;
  ventana_.activarTimer(activo);
}

void Descarga::abortar() {
  ponerTimer(false);
  ProgressBar1 = 0;
  Label6.clear();
}

void Descarga::iniciar() {
  if (enCurso()) return;
  const QDate hoy = plataforma::hoy();
  const QUrl direccion = direccionPeticion(plataforma::servicios().resultados, hoy);

  Label19.clear();
  pdfbajado = false;
  ventana_.rotulo();
  datosmalos = false;
  guardadoFallido = false;

  // The newest draw as stored, whatever the shared draw buffer holds just now.
  const Sorteo ultimo = sesion_.almacen().sorteos().ultimo();
  if (oleDesdeFecha(hoy) < ultimo.fecha) {
    ventana_.refrescar();
    plataforma::mensaje(Icono::Informacion, QStringLiteral("Error de fechas"),
                        QStringLiteral("La fecha de tu ordenador parece incorrecta. Existen sorteos en la base de "
                                       "datos con fechas porsteriores a la actual. Comprueba la fecha de tu "
                                       "ordenador."));
    return;
  }

  contador = 0;
  paso = 2;
  ProgressBar1 = 1;
  ventana_.mostrarPestana0();
  Label6 = kConectando;
  RichTextBox1.clear();
  demasiado_ = false;
  traendo_ = true;
  ventana_.refrescar();
  canal_.traer(direccion, plataforma::CanalHttp::Opciones{kMaximoRespuesta, false});
}

void Descarga::alTraer(const plataforma::Traida& t) {
  if (!traendo_) return;
  traendo_ = false;
  if (t.demasiado) {
    // Too big to be an answer of the service: the parse refuses it as corrupt data.
    demasiado_ = true;
    RichTextBox1.clear();
    Label58 = QString::number(t.recibidos);
  } else if (!t.ok) {
    plataforma::mensaje(Icono::Exclamacion, kErrorConexion,
                        QStringLiteral("No conectado: Compruebe la conexión a internet..."));
    abortar();
    ventana_.refrescar();
    return;
  } else {
    RichTextBox1 = QString::fromUtf8(t.cuerpo);
    Label58 = QString::number(RichTextBox1.size());
  }
  if (demasiado_ || RichTextBox1.size() > 100) Label6 = QStringLiteral("BUSCANDO SORTEOS");
  paso = 3;
  ponerTimer(true);
  ventana_.refrescar();
}

void Descarga::tick() {
  // A message box of this tick runs an event loop in which Timer1 keeps firing;
  // those ticks must not store and parse the answer a second time.
  if (enTick_) return;
  enTick_ = true;
  const auto fin = qScopeGuard([this] { enTick_ = false; });
  ++contador;
  if (contador == 5 && Label6 == kConectando) {
    abortar();
    ventana_.refrescar();
    return;
  }
  if (contador == 30 && ProgressBar1 == 1) {
    canal_.cancelar();
    plataforma::mensaje(Icono::Exclamacion, kErrorConexion,
                        QStringLiteral("Problemas con el servidor. Tarda en responder. Pruebe más tarde..."));
    abortar();
  }
  if (!canal_.ocupado() && !canal_.conError()) {
    contador = 0;
    ProgressBar1 = 2;
    paso = 5;
    almacenar();
  }
  if (paso != 5 || estadoconexion == plataforma::CanalHttp::kError) {
    ventana_.refrescar();
    return;
  }

  paso = 7;
  ProgressBar1 = 2;
  ponerTimer(false);
  RichTextBox1.clear();
  if (!datosmalos && !finbusca) {
    ProgressBar1 = 3;
    ventana_.refrescar();
    ventana_.compruebapenas(nuevos);
    if (nuevos != 0) {
      nuevos = std::min(nuevos, 8);
      ventana_.ponerHScroll1(nuevos);
    }
    ProgressBar1 = 4;
    ventana_.refrescar();
    ventana_.cargasorteos();
    ventana_.listasorteos();
    ventana_.escrutinio(buffer_);
    ventana_.restaurarPicture2();
  }
  Label6 = QStringLiteral("TRANSFERENCIA FINALIZADA");
  ProgressBar1 = 5;
  ventana_.mostrarPestana0();
  ventana_.refrescar();
}

void Descarga::almacenar() {
  buffer_.clear();
  if (!demasiado_) {
    buffer_ = registroCitado(RichTextBox1);
    // A buffer that cannot be replaced keeps the previous answer on disk; the
    // parse and the report still use the answer just received.
    if (const Resultado r = reemplazarArchivo(sesion_.almacen().ruta(Almacen::kBuffer), buffer_); !r)
      qWarning("%s", qUtf8Printable(r.error));
  }
  analiza(buffer_, demasiado_);
}

void Descarga::analiza(const QByteArray& buffer, bool rechazado) {
  Label6 = QStringLiteral("ANALIZANDO DATOS");
  ventana_.refrescar();
  nuevos = 0;

  const int proximo = std::max(1, sesion_.proximoreg);
  const Sorteo ultimo = sesion_.almacen().sorteos().leerOCero(proximo - 1);

  Analisis a;
  if (rechazado)
    a.error = true;
  else
    a = analizar(buffer, ultimo);
  finbusca = a.finbusca;
  bool error = a.error;

  // The accepted draws are stored oldest first after the newest one, all in one change
  // of the draw file, and the peñas are counted for them.
  if (!a.sorteos.empty()) {
    const std::vector<Sorteo> antiguosPrimero(a.sorteos.rbegin(), a.sorteos.rend());
    const Resultado guardado = ventana_.guardarSorteos(antiguosPrimero, nuevos);
    if (nuevos > 0) {
      Label19 = textoNuevos(nuevos);
      ventana_.refrescar();
    }
    if (!guardado) {
      // Not stored is not done: the user is told and the command line ends in failure.
      guardadoFallido = true;
      avisarFallo(guardado);
      ventana_.refrescar();
      return;
    }
  }

  if (error) {
    if (nuevos == 0 && estadoconexion != plataforma::CanalHttp::kError) {
      plataforma::mensaje(Icono::Critico, QStringLiteral("Error crítico"),
                          QStringLiteral("¡¡Datos corruptos o inválidos!! Si se repite en otros momentos este mismo "
                                         "error, posiblemente se ha de actualizar el programa. Pruebe más tarde."));
      ponerTimer(false);
      ventana_.avisoInterpretacion(avisoInterpretacion(plataforma::servicios().correo));
      datosmalos = true;
    } else if (estadoconexion == plataforma::CanalHttp::kError) {
      plataforma::mensaje(Icono::Exclamacion, kErrorConexion, kNoConectadoServidor);
      canal_.cancelar();
      abortar();
    } else {
      plataforma::mensaje(Icono::Informacion, QStringLiteral("Pruebe mas tarde"),
                          QStringLiteral("Aun no hay datos de sorteos del %1.").arg(plataforma::hoy().year()));
    }
    ventana_.refrescar();
    return;
  }
  if (nuevos == 0) {
    plataforma::mensaje(Icono::Informacion, QStringLiteral("Pruebe más tarde"),
                        QStringLiteral("Todavía no hay sorteos nuevos."));
    nuevos = 1;
  }
  ventana_.cargasorteos();
}

}  // namespace sortilan
