#include "platform/canalhttp.h"

#include <QEventLoop>

#include "platform/canalcurl.h"

namespace sortilan::plataforma {

namespace {
std::unique_ptr<CanalHttp> canalDelPrograma() { return std::make_unique<CanalCurl>(); }

FabricaCanal& fabricaActual() {
  static FabricaCanal f = canalDelPrograma;
  return f;
}
}  // namespace

QString textoCertificadoAjeno() {
  return QStringLiteral(
      "El certificado del servidor no corresponde a la dirección del servicio: la conexión no es segura y no se ha "
      "usado.");
}

std::unique_ptr<CanalHttp> crearCanal() { return fabricaActual()(); }

void ponerFabricaCanal(FabricaCanal fabrica) { fabricaActual() = fabrica ? std::move(fabrica) : canalDelPrograma; }

Traida traerEsperando(CanalHttp& canal, const QUrl& url, const CanalHttp::Opciones& opciones) {
  Traida resultado;
  QEventLoop bucle;
  const auto c = QObject::connect(&canal, &CanalHttp::terminado, &bucle, [&](const Traida& t) {
    resultado = t;
    bucle.quit();
  });
  canal.traer(url, opciones);
  bucle.exec();
  QObject::disconnect(c);
  return resultado;
}

}  // namespace sortilan::plataforma
