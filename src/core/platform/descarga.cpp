#include "platform/descarga.h"

#include <QAbstractNetworkCache>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslError>
#include <QTimer>
#include <algorithm>

#include "platform/canalhttp.h"
#include "store/escritura.h"

namespace sortilan::plataforma {

Resultado descargarArchivo(const QUrl& direccion, const QString& destino, int esperaMs) {
  QByteArray cuerpo;
  if (Resultado r = descargarDatos(direccion, cuerpo, esperaMs); !r) return r;
  return reemplazarArchivo(destino, cuerpo);
}

Resultado descargarDatos(const QUrl& direccion, QByteArray& salida, int esperaMs) {
  if (!direccion.isValid() || direccion.isEmpty())
    return Resultado::fallo(Resultado::Clase::Red, QStringLiteral("Dirección vacía"));
  QNetworkAccessManager red;
  if (QAbstractNetworkCache* cache = red.cache()) cache->remove(direccion);
  QNetworkRequest peticion(direccion);
  peticion.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
  peticion.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
  peticion.setRawHeader("Cache-Control", "no-cache");
  peticion.setTransferTimeout(esperaMs);

  QNetworkReply* respuesta = red.get(peticion);
  QByteArray cuerpo;
  bool grande = false;
  QObject::connect(respuesta, &QNetworkReply::readyRead, respuesta, [&] {
    cuerpo += respuesta->readAll();
    if (cuerpo.size() > kMaximoDescarga) {
      grande = true;
      respuesta->abort();
    }
  });
  bool ajeno = false;
  QObject::connect(respuesta, &QNetworkReply::sslErrors, respuesta, [&](const QList<QSslError>& errores) {
    for (const QSslError& e : errores)
      if (e.error() == QSslError::HostNameMismatch) ajeno = true;
  });
  // The inactivity timeout restarts with every byte: a server sending one now and then
  // meets this deadline instead.
  bool tarde = false;
  QTimer plazo;
  plazo.setSingleShot(true);
  QObject::connect(&plazo, &QTimer::timeout, respuesta, [&] {
    tarde = true;
    respuesta->abort();
  });
  plazo.start(std::max(esperaMs, 1) * 3);
  QEventLoop espera;
  QObject::connect(respuesta, &QNetworkReply::finished, &espera, &QEventLoop::quit);
  // The fetch blocks the program as a whole; user input waits so nothing re-enters.
  if (!respuesta->isFinished()) espera.exec(QEventLoop::ExcludeUserInputEvents);
  cuerpo += respuesta->readAll();
  const int estado = respuesta->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  const QNetworkReply::NetworkError error = respuesta->error();
  const QString textoError = respuesta->errorString();
  respuesta->deleteLater();

  using Clase = Resultado::Clase;
  if (grande) return Resultado::fallo(Clase::Red, QStringLiteral("Respuesta demasiado grande"));
  if (tarde) return Resultado::fallo(Clase::Red, QStringLiteral("El servidor tarda demasiado en enviar la respuesta"));
  if (ajeno) return Resultado::fallo(Clase::Red, textoCertificadoAjeno());
  if (error != QNetworkReply::NoError) return Resultado::fallo(Clase::Red, textoError);
  if (direccion.scheme().startsWith(QLatin1String("http")) && (estado < 200 || estado >= 300))
    return Resultado::fallo(Clase::Red, QStringLiteral("Respuesta HTTP %1").arg(estado));
  salida = cuerpo;
  return Resultado::bien();
}

}  // namespace sortilan::plataforma
