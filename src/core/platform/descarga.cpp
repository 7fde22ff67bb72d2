#include "platform/descarga.h"

#include <QEventLoop>
#include <algorithm>

#include "platform/canalcurl.h"
#include "store/escritura.h"

namespace sortilan::plataforma {

Resultado descargarArchivo(const QUrl& direccion, const QString& destino, int esperaMs) {
  QByteArray cuerpo;
  if (Resultado r = descargarDatos(direccion, cuerpo, esperaMs); !r) return r;
  return reemplazarArchivo(destino, cuerpo);
}

Resultado descargarDatos(const QUrl& direccion, QByteArray& salida, int esperaMs) {
  using Clase = Resultado::Clase;
  if (!direccion.isValid() || direccion.isEmpty())
    return Resultado::fallo(Clase::Red, QStringLiteral("Dirección vacía"));
  // The same channel as every other transfer, so the same bounds on what a server sends.
  CanalCurl canal(esperaMs);
  // The inactivity timeout restarts with every byte: a server sending one now and then
  // meets this deadline instead.
  canal.ponerPlazo(std::max(esperaMs, 1) * 3);
  CanalHttp::Opciones opciones;
  opciones.limite = kMaximoDescarga;
  opciones.sinCache = true;
  Traida t;
  bool terminado = false;
  QEventLoop espera;
  QObject::connect(&canal, &CanalHttp::terminado, &espera, [&](const Traida& traida) {
    t = traida;
    terminado = true;
    espera.quit();
  });
  canal.traer(direccion, opciones);
  // The fetch blocks the program as a whole; user input waits so nothing re-enters.
  if (!terminado) espera.exec(QEventLoop::ExcludeUserInputEvents);

  if (t.demasiado) return Resultado::fallo(Clase::Red, QStringLiteral("Respuesta demasiado grande"));
  if (t.certificadoAjeno) return Resultado::fallo(Clase::Red, textoCertificadoAjeno());
  if (!t.ok) return Resultado::fallo(Clase::Red, t.error);
  if (t.estadoHttp < 200 || t.estadoHttp >= 300)
    return Resultado::fallo(Clase::Red, QStringLiteral("Respuesta HTTP %1").arg(t.estadoHttp));
  salida = std::move(t.cuerpo);
  return Resultado::bien();
}

}  // namespace sortilan::plataforma
