#include "operations/completarpremios.h"

#include <algorithm>

#include "answer/analisis.h"
#include "base/fechas.h"
#include "money/tablapremios.h"
#include "operations/dinero.h"
#include "platform/plataforma.h"
#include "platform/servicios.h"

namespace sortilan::operaciones {

CompletarPremios::CompletarPremios(Almacen& almacen, plataforma::CanalHttp& canal, QObject* padre)
    : QObject(padre), almacen_(almacen), canal_(canal) {
  connect(&canal_, &plataforma::CanalHttp::terminado, this, &CompletarPremios::alTraer);
}

Resultado CompletarPremios::buscarFaltan(std::vector<QDate>& faltan) {
  faltan.clear();
  // Exactly the draws whose prizes "Cuentas" shows as "importe pendiente".
  const std::vector<Pena> penas = almacen_.penas().leerTodos();
  DatosDinero datos;
  if (Resultado r = leerDatosDinero(almacen_.carpeta(), penas, datos); !r) return r;
  faltan = importesQueFaltan(penas, almacen_.sorteos().leerTodos(), datos, desde_);
  return Resultado::bien();
}

void CompletarPremios::iniciar(const QDate& desde) {
  if (enCurso_) return;
  desde_ = desde;
  resumen_ = ResumenCompletar{};
  ventanas_.clear();
  siguiente_ = 0;
  listadas_.clear();
  enCurso_ = true;
  std::vector<QDate> faltan;
  if (Resultado r = buscarFaltan(faltan); !r) return terminar(r);
  ventanas_ = ventanasPeticion(faltan);
  resumen_.ventanas = static_cast<int>(ventanas_.size());
  if (ventanas_.empty()) return terminar(Resultado::bien());
  pedir();
}

void CompletarPremios::pedir() {
  const VentanaPeticion& v = ventanas_[siguiente_];
  emit pidiendo(v, static_cast<int>(siguiente_) + 1, static_cast<int>(ventanas_.size()));
  esperando_ = true;
  const QUrl resultados = plataforma::leerServicios(almacen_.carpeta()).resultados;
  // The same service as the download, which turns away clients that do not look like a browser.
  plataforma::CanalHttp::Opciones o;
  o.limite = kMaximoRespuesta;
  o.portada = plataforma::portadaDe(resultados);
  canal_.traer(direccionVentana(resultados, v), o);
}

void CompletarPremios::alTraer(const plataforma::Traida& t) {
  if (!esperando_) return;
  esperando_ = false;
  if (!t.ok) {
    using Clase = Resultado::Clase;
    if (t.demasiado)
      return terminar(
          Resultado::fallo(Clase::Red, QStringLiteral("La respuesta del servicio de resultados es demasiado grande.")));
    if (t.estadoHttp >= 400)
      return terminar(Resultado::fallo(
          Clase::Red, QStringLiteral("El servicio de resultados no atendió la petición (HTTP %1). Pruebe más tarde.")
                          .arg(t.estadoHttp)));
    QString texto = QStringLiteral("No conectado: Compruebe la conexión a internet. Si es correcta, pruebe más tarde.");
    if (t.certificadoAjeno) texto += QStringLiteral("\n") + plataforma::textoCertificadoAjeno();
    return terminar(Resultado::fallo(Clase::Red, texto));
  }
  int guardadas = 0;
  if (Resultado r = guardarPremiosRespuesta(almacen_.carpeta(), t.cuerpo, &guardadas); !r) return terminar(r);
  for (const TablaPremios& tabla : leerTablasRespuesta(t.cuerpo)) listadas_.push_back(tabla.fecha);
  ++resumen_.peticiones;
  resumen_.guardadas += guardadas;
  // An answer may bring more than its window: the windows it completed are not asked for.
  std::vector<QDate> faltan;
  if (Resultado r = buscarFaltan(faltan); !r) return terminar(r);
  do {
    ++siguiente_;
  } while (siguiente_ < ventanas_.size() && std::none_of(faltan.begin(), faltan.end(), [&](const QDate& f) {
             return f >= ventanas_[siguiente_].desde && f <= ventanas_[siguiente_].hasta;
           }));
  if (siguiente_ >= ventanas_.size()) return terminar(Resultado::bien());
  // The service refuses clients that ask too often: wait between requests.
  plataforma::pausas().esperar(kPausaMs, this, [this] { pedir(); });
}

void CompletarPremios::terminar(Resultado r) {
  enCurso_ = false;
  resumen_.resultado = std::move(r);
  std::vector<QDate> faltan;
  if (const Resultado leido = buscarFaltan(faltan); !leido && resumen_.resultado) resumen_.resultado = leido;
  resumen_.faltan = static_cast<int>(faltan.size());
  std::sort(listadas_.begin(), listadas_.end());
  for (const QDate& f : faltan)
    if (std::binary_search(listadas_.begin(), listadas_.end(), f)) resumen_.sinImporte.push_back(f);
  // Answers that brought none of the tables asked for (a page of HTML, an empty search)
  // are no success, whatever the transfers said; tables listed without the amount are
  // told draw by draw.
  if (resumen_.resultado && resumen_.ventanas > 0 && resumen_.guardadas == 0 && resumen_.sinImporte.empty())
    resumen_.resultado =
        Resultado::fallo(Resultado::Clase::Red,
                         QStringLiteral("El servicio de resultados no ha dado ninguna de las tablas de premios que "
                                        "faltan. Pruebe más tarde."));
  emit terminado(resumen_);
}

QStringList textosSinImporte(const ResumenCompletar& r) {
  QStringList l;
  for (const QDate& f : r.sinImporte)
    l << QStringLiteral("El servicio de resultados no da el importe de algún premio del sorteo del %1.")
             .arg(fechaCorta(f));
  return l;
}

}  // namespace sortilan::operaciones
