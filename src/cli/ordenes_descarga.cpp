#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

#include "answer/analisis.h"
#include "cli/contexto.h"
#include "download/descarga.h"
#include "download/guardado.h"
#include "operations/dinero.h"
#include "operations/entradas.h"
#include "platform/canalhttp.h"
#include "platform/canalpausado.h"
#include "platform/plataforma.h"
#include "platform/servicios.h"
#include "report/escrutinio.h"
#include "report/ultimosorteo.h"
#include "store/escritura.h"

namespace sortilan::cli {

namespace {

constexpr const char* kDocumento = "vix.pdf";

// A saved answer handed over as if it had just arrived; nothing touches the network.
class CanalArchivo : public plataforma::CanalHttp {
 public:
  explicit CanalArchivo(QByteArray cuerpo) : cuerpo_(std::move(cuerpo)) {}
  void traer(const QUrl&, const Opciones& o) override {
    plataforma::Traida t;
    t.recibidos = cuerpo_.size();
    if (cuerpo_.size() > o.limite)
      t.demasiado = true;
    else {
      t.ok = true;
      t.cuerpo = cuerpo_;
    }
    QTimer::singleShot(0, this, [this, t] {
      emit estado(kCompletado);
      emit terminado(t);
    });
  }
  using CanalHttp::traer;
  void cancelar() override {}
  bool ocupado() const override { return false; }
  bool conError() const override { return false; }

 private:
  QByteArray cuerpo_;
};

// The prize report's document of the newest draw, as the window fetches it.
void bajarDocumento(Contexto& c, const QByteArray& buffer) {
  const Sorteo ultimo = c.sesion.almacen().sorteos().ultimo();
  const Escrutinio e = ultimoSorteo(buffer, ultimo, plataforma::servicios().operador).informe;
  if (e.documento.isEmpty()) return;
  const QString ruta = c.sesion.almacen().ruta(kDocumento);
  std::unique_ptr<plataforma::CanalHttp> canal = plataforma::crearCanal();
  const plataforma::Traida t = plataforma::traerEsperando(*canal, e.documento, {64 * 1024 * 1024, true, {}});
  if (t.ok && guardarDocumento(t.cuerpo, ruta)) c.out << "Documento: " << ruta << "\n";
}

// The real cause of a failed download for its notice: what the run said last, or what
// its ending means.
class MensajesAnotados : public plataforma::Mensajes {
 public:
  explicit MensajesAnotados(std::shared_ptr<plataforma::Mensajes> antes) : antes_(std::move(antes)) {}
  plataforma::Respuesta mostrar(plataforma::Icono i, const QString& titulo, const QString& texto, plataforma::Botones b,
                                plataforma::Respuesta p) override {
    ultimo = texto.section(QLatin1Char('\n'), 0, 0);
    return antes_->mostrar(i, titulo, texto, b, p);
  }
  QString ultimo;

 private:
  std::shared_ptr<plataforma::Mensajes> antes_;
};

QString causaFallo(Descarga::Desenlace d) {
  switch (d) {
    case Descarga::Desenlace::SorteoInvalido: return QStringLiteral("Un sorteo de la respuesta no es válido.");
    case Descarga::Desenlace::DatosMalos: return QStringLiteral("La respuesta del servicio no se pudo leer.");
    case Descarga::Desenlace::Rechazada: return QStringLiteral("El servicio ha rechazado la petición.");
    case Descarga::Desenlace::SinConexion: return QStringLiteral("No hay conexión con el servicio.");
    case Descarga::Desenlace::TiempoAgotado:
    case Descarga::Desenlace::Abandonada: return QStringLiteral("El servicio no ha respondido a tiempo.");
    case Descarga::Desenlace::FechaIncorrecta:
      return QStringLiteral("La fecha del ordenador es anterior al último sorteo guardado.");
    case Descarga::Desenlace::Escritura: return QStringLiteral("No se pudieron guardar los sorteos.");
    case Descarga::Desenlace::EnCurso:
    case Descarga::Desenlace::Completa: break;
  }
  return QStringLiteral("La descarga no ha terminado.");
}

}  // namespace

int ordenDescargar(Contexto& c, QStringList args) {
  bool falta = false;
  const bool si = Contexto::tomarOpcion(args, QStringLiteral("--si"));
  const bool avisar = Contexto::tomarOpcion(args, QStringLiteral("--avisar"));
  const QString archivo = Contexto::tomarValor(args, QStringLiteral("--respuesta"), &falta);
  if (falta || !args.isEmpty())
    return c.uso(QStringLiteral("Uso: sortilan-cli descargar [--respuesta ARCHIVO [--si]] [--avisar]"));
  // The data folder stands for the program folder, sortilan.ini included.
  plataforma::ponerCarpetaPrograma(c.carpeta);
  std::unique_ptr<plataforma::CanalHttp> canal;
  const bool enLinea = archivo.isEmpty();
  if (!enLinea) {
    QByteArray cuerpo;
    const Resultado leida = leerAcotado(archivo, kMaximoLectura, cuerpo);
    if (!leida || !QFile::exists(archivo)) {
      c.err << "No se puede leer la respuesta: " << (leida ? archivo : leida.error) << "\n";
      return kRechazo;
    }
    canal = std::make_unique<CanalArchivo>(std::move(cuerpo));
  } else if (avisar) {
    // A run nobody watches asks the service at most once a minute.
    canal = std::make_unique<plataforma::CanalPausado>(plataforma::crearCanal(), 60 * 1000);
  } else {
    canal = plataforma::crearCanal();
  }
  std::shared_ptr<MensajesAnotados> anotados;
  if (avisar) {
    anotados = std::make_shared<MensajesAnotados>(plataforma::compartirMensajes());
    plataforma::ponerMensajes(anotados);
  }
  c.cargar();

  // A saved answer may start long after the newest stored draw: the service would never
  // be asked for the draws between, so nothing of it (draws, prize tables, www.txt) is
  // stored unless the user says so.
  const GuardarDescarga guardar = [&](Almacen& a, Descargado d, const QDate& hoy) {
    const double ultima = a.sorteos().ultimo().fecha;
    if (!enLinea && !si && !d.nuevos.empty() && dejaHueco(ultima, d.nuevos.front().fecha)) {
      plataforma::mensaje(plataforma::Icono::Pregunta, kTituloAMano,
                          preguntaHuecoRespuesta(ultima, d.nuevos.front().fecha), plataforma::Botones::SiNo);
      c.err << "Añada --si para guardarlos de todos modos.\n";
      Guardado g;
      g.resultado = Resultado::fallo(Resultado::Clase::Entrada,
                                     QStringLiteral("No se ha guardado ningún sorteo de la respuesta."));
      return g;
    }
    return operaciones::guardarDescarga(a, std::move(d), hoy);
  };
  Descarga descarga(c.sesion, *canal, guardar);
  // Status lines on stdout, each when its text changes.
  QString fase, datos, nuevos;
  QObject::connect(&descarga, &Descarga::cambiado, [&] {
    const QString f = Descarga::textoFase(descarga.fase());
    const QString d = descarga.caracteres() >= 0 ? QString::number(descarga.caracteres()) : QString();
    const QString n = descarga.nuevos() > 0 ? textoNuevos(descarga.nuevos()) : QString();
    if (f != fase && !f.isEmpty()) c.out << "Estado de la transferencia: " << f << "\n";
    if (d != datos && !d.isEmpty()) c.out << "Datos: " << d << "\n";
    if (n != nuevos && !n.isEmpty()) c.out << n << "\n";
    fase = f;
    datos = d;
    nuevos = n;
    c.out.flush();
  });
  // The new draws' prizes are counted as they are stored; the rest is what the window shows.
  QObject::connect(&descarga, &Descarga::guardados, [&] { c.sesion.cargasorteos(plataforma::hoy()); });
  QObject::connect(&descarga, &Descarga::actualizar, [&](const QByteArray& buffer) {
    c.sesion.cargasorteos(plataforma::hoy());
    c.sesion.listasorteos();
    if (enLinea) bajarDocumento(c, buffer);
  });
  descarga.iniciar(!enLinea);
  // Without a window the ticks need not wait a second each: the answer is complete
  // when they start.
  while (descarga.enCurso()) {
    if (descarga.ticksActivos())
      descarga.tick();
    else
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  if (!avisar) return descarga.exito() ? kBien : kRechazo;
  std::vector<Aviso> fallo;
  if (!descarga.exito())
    fallo.push_back(avisoFallo(anotados->ultimo.isEmpty() ? causaFallo(descarga.desenlace()) : anotados->ultimo));
  const int avisos = enviarAvisos(c, std::move(fallo));
  return descarga.exito() ? avisos : kRechazo;
}

int ordenEscrutinio(Contexto& c, QStringList args) {
  const bool json = Contexto::tomarOpcion(args, QStringLiteral("--json"));
  if (!args.isEmpty()) return c.uso(QStringLiteral("Uso: sortilan-cli escrutinio [--json]"));
  plataforma::ponerCarpetaPrograma(c.carpeta);
  if (!c.leer()) return kRechazo;
  const Sorteo ultimo = c.sesion.almacen().sorteos().ultimo();
  const QByteArray buffer = leerArchivo(c.sesion.almacen().ruta(Almacen::kBuffer));
  // The newest stored draw's own table, by the rule the window's tab uses.
  const UltimoSorteo u = ultimoSorteo(buffer, ultimo, plataforma::servicios().operador);
  const Escrutinio& e = u.informe;
  // Labels the report does not fill keep their design caption.
  QStringList premios;
  for (const auto& p : e.premios) premios << p.value_or(QStringLiteral("0"));
  if (json) {
    QJsonObject o{{QStringLiteral("titulo"), e.titulo},
                  {QStringLiteral("premios"), QJsonArray::fromStringList(premios)},
                  {QStringLiteral("documento"),
                   e.documento.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(e.documento.toString())}};
    c.out << QJsonDocument(o).toJson(QJsonDocument::Compact) << "\n";
    return kBien;
  }
  c.out << e.titulo << "\n";
  for (int i = 0; i < 8; ++i) c.out << categoria(i) << premios[i] << "\n";
  if (u.premios == UltimoSorteo::Premios::SinDatos && ultimo.fecha != 0)
    c.out << avisoSinPremios().trimmed() << "\n";
  else if (e.documento.isEmpty())
    c.out << avisoNoDisponible().trimmed().replace(QStringLiteral("\r\n"), QStringLiteral("\n")) << "\n";
  else
    c.out << "Documento: " << e.documento.toString() << "\n";
  return kBien;
}

}  // namespace sortilan::cli
