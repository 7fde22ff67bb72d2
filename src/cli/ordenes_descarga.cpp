#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

#include "cli/contexto.h"
#include "download/descarga.h"
#include "operations/dinero.h"
#include "operations/sorteos.h"
#include "platform/canalhttp.h"
#include "platform/plataforma.h"
#include "platform/servicios.h"
#include "report/escrutinio.h"
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

// The window's side of the sequence without a window: status lines on stdout.
class VentanaConsola : public VentanaDescarga {
 public:
  VentanaConsola(Contexto& c, Descarga*& d, bool enLinea) : c_(c), d_(d), enLinea_(enLinea) {}
  void refrescar() override {
    if (!d_) return;
    if (d_->Label6 != label6_ && !d_->Label6.isEmpty()) c_.out << "Estado de la transferencia: " << d_->Label6 << "\n";
    if (d_->Label58 != label58_ && !d_->Label58.isEmpty()) c_.out << "Datos: " << d_->Label58 << "\n";
    if (d_->Label19 != label19_ && !d_->Label19.isEmpty()) c_.out << d_->Label19 << "\n";
    label6_ = d_->Label6;
    label58_ = d_->Label58;
    label19_ = d_->Label19;
    c_.out.flush();
  }
  void activarTimer(bool activo) override { timer = activo; }
  void mostrarPestana0() override {}
  void rotulo() override {}
  // The store operation has already counted the prizes; there is no list to show.
  void compruebapenas(int) override {}
  void ponerHScroll1(int) override {}
  void cargasorteos() override { c_.sesion.cargasorteos(plataforma::hoy()); }
  void listasorteos() override { c_.sesion.listasorteos(); }
  void escrutinio(const QByteArray& buffer) override {
    if (!enLinea_) return;
    const Sorteo ultimo = c_.sesion.almacen().sorteos().ultimo();
    const Escrutinio e = sortilan::escrutinio(buffer, ultimo.fecha, plataforma::servicios().operador);
    if (e.documento.isEmpty()) return;
    const QString ruta = c_.sesion.almacen().ruta(kDocumento);
    QFile::remove(ruta);
    std::unique_ptr<plataforma::CanalHttp> canal = plataforma::crearCanal();
    const plataforma::Traida t = plataforma::traerEsperando(*canal, e.documento, {64 * 1024 * 1024, true});
    if (t.ok && guardarDocumento(t.cuerpo, ruta)) c_.out << "Documento: " << ruta << "\n";
  }
  void restaurarPicture2() override {}
  void avisoInterpretacion(const QString&) override {}
  Resultado guardarSorteos(const std::vector<Sorteo>& nuevos, int& anadidos) override {
    const operaciones::Anadidos a = operaciones::anadirSorteos(c_.sesion.almacen(), nuevos, plataforma::hoy());
    anadidos = a.anadidos;
    return a.resultado;
  }
  bool timer = false;

 private:
  Contexto& c_;
  Descarga*& d_;
  bool enLinea_;
  QString label6_, label58_, label19_;
};

}  // namespace

int ordenDescargar(Contexto& c, QStringList args) {
  bool falta = false;
  const QString archivo = Contexto::tomarValor(args, QStringLiteral("--respuesta"), &falta);
  if (falta || !args.isEmpty()) return c.uso(QStringLiteral("Uso: sortilan-cli descargar [--respuesta ARCHIVO]"));
  // The data folder stands for the program folder, sortilan.ini included.
  plataforma::ponerCarpetaPrograma(c.carpeta);
  std::unique_ptr<plataforma::CanalHttp> canal;
  if (!archivo.isEmpty()) {
    bool leido = false;
    QByteArray cuerpo = leerArchivo(archivo, &leido);
    if (!leido || !QFile::exists(archivo)) {
      c.err << "No se puede leer la respuesta: " << archivo << "\n";
      return kRechazo;
    }
    canal = std::make_unique<CanalArchivo>(std::move(cuerpo));
  } else {
    canal = plataforma::crearCanal();
  }
  c.cargar();

  Descarga* d = nullptr;
  VentanaConsola ventana(c, d, archivo.isEmpty());
  Descarga descarga(c.sesion, ventana, *canal);
  QObject::connect(canal.get(), &plataforma::CanalHttp::terminado,
                   [&c](const plataforma::Traida& t) { operaciones::guardarPremiosDescargados(c.carpeta, t); });
  d = &descarga;
  descarga.iniciar();
  // Without a window the ticks need not wait a second each: the answer is complete
  // when they start.
  while (descarga.enCurso()) {
    if (ventana.timer)
      descarga.tick();
    else
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  const bool bien = descarga.Label6 == QStringLiteral("TRANSFERENCIA FINALIZADA") && !descarga.datosmalos &&
                    !descarga.guardadoFallido;
  return bien ? kBien : kRechazo;
}

int ordenEscrutinio(Contexto& c, QStringList args) {
  const bool json = Contexto::tomarOpcion(args, QStringLiteral("--json"));
  if (!args.isEmpty()) return c.uso(QStringLiteral("Uso: sortilan-cli escrutinio [--json]"));
  plataforma::ponerCarpetaPrograma(c.carpeta);
  c.cargar();
  const Sorteo ultimo = c.sesion.almacen().sorteos().ultimo();
  const QByteArray buffer = leerArchivo(c.sesion.almacen().ruta(Almacen::kBuffer));
  const Escrutinio e = escrutinio(buffer, ultimo.fecha, plataforma::servicios().operador);
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
  if (e.documento.isEmpty())
    c.out << avisoNoDisponible().trimmed().replace(QStringLiteral("\r\n"), QStringLiteral("\n")) << "\n";
  else
    c.out << "Documento: " << e.documento.toString() << "\n";
  return kBien;
}

}  // namespace sortilan::cli
