#include "platform/canalqt.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslError>
#include <QTimer>

#include "platform/plataforma.h"

namespace sortilan::plataforma {

namespace {
FabricaCanal& fabricaActual() {
  static FabricaCanal f = [] { return std::unique_ptr<CanalHttp>(std::make_unique<CanalQt>()); };
  return f;
}
}  // namespace

QString textoCertificadoAjeno() {
  return QStringLiteral(
      "El certificado del servidor no corresponde a la dirección del servicio: la conexión no es segura y no se ha "
      "usado.");
}

std::unique_ptr<CanalHttp> crearCanal() { return fabricaActual()(); }

void ponerFabricaCanal(FabricaCanal fabrica) {
  if (fabrica)
    fabricaActual() = std::move(fabrica);
  else
    fabricaActual() = [] { return std::unique_ptr<CanalHttp>(std::make_unique<CanalQt>()); };
}

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

CanalQt::CanalQt(int esperaMs, QObject* padre)
    : CanalHttp(padre), red_(new QNetworkAccessManager(this)), espera_(esperaMs), reloj_(new QTimer(this)) {
  reloj_->setSingleShot(true);
  connect(reloj_, &QTimer::timeout, this, &CanalQt::agotarPlazo);
}

CanalQt::~CanalQt() {
  if (respuesta_) {
    respuesta_->disconnect(this);
    respuesta_->abort();
  }
}

void CanalQt::traer(const QUrl& url, const Opciones& opciones) {
  if (respuesta_) {
    // A new request resets the channel: the old transfer ends without a report.
    respuesta_->disconnect(this);
    respuesta_->abort();
    respuesta_->deleteLater();
  }
  ++generacion_;
  opciones_ = opciones;
  url_ = url;
  cuerpo_.clear();
  conError_ = false;
  demasiado_ = false;
  recibiendo_ = false;
  recibidos_ = 0;
  certificadoAjeno_ = false;
  intentos_ = 0;
  enPortada_ = false;
  portadaVisitada_ = false;
  esperando_ = false;
  motivo_.clear();
  reloj_->start(plazo_);
  pedir(url_, false);
  emit estado(kSolicitando);
}

void CanalQt::agotarPlazo() {
  motivo_ = QStringLiteral("El servidor tarda demasiado en enviar la respuesta");
  if (respuesta_) {
    respuesta_->abort();
    return;
  }
  if (esperando_) {
    ++generacion_;
    esperando_ = false;
    conError_ = true;
    Traida t;
    t.error = motivo_;
    terminar(t, kError);
  }
}

void CanalQt::alRedirigir(const QUrl& destino) {
  if (!respuesta_) return;
  // Another host could be anybody: no request (and no Referer) goes there.
  if (destino.host().compare(url_.host(), Qt::CaseInsensitive) != 0 || destino.scheme() != url_.scheme()) {
    motivo_ = QStringLiteral("El servicio redirige a otro sitio (%1)").arg(destino.host());
    respuesta_->abort();
    return;
  }
  emit respuesta_->redirectAllowed();
}

void CanalQt::alErroresSsl(const QList<QSslError>& errores) {
  // The errors are never ignored (Qt then fails the transfer); only the cause is noted.
  for (const QSslError& e : errores)
    if (e.error() == QSslError::HostNameMismatch) certificadoAjeno_ = true;
}

void CanalQt::alCabeceras() {
  if (!respuesta_) return;
  qint64 total = 0;
  for (const auto& [nombre, valor] : respuesta_->rawHeaderPairs()) total += nombre.size() + valor.size() + 4;
  if (total > kMaximoCabeceras) {
    motivo_ = QStringLiteral("Las cabeceras de la respuesta son demasiado grandes");
    respuesta_->abort();
  }
}

void CanalQt::pedir(const QUrl& url, bool portada) {
  enPortada_ = portada;
  if (!portada) ++intentos_;
  cuerpo_.clear();
  demasiado_ = false;
  recibidos_ = 0;
  QNetworkRequest peticion(url);
  peticion.setTransferTimeout(espera_);
  const bool propio = !opciones_.portada.isEmpty();
  peticion.setAttribute(QNetworkRequest::RedirectPolicyAttribute, propio ? QNetworkRequest::UserVerifiedRedirectPolicy
                                                                  : opciones_.mismoOrigen
                                                                      ? QNetworkRequest::SameOriginRedirectPolicy
                                                                      : QNetworkRequest::NoLessSafeRedirectPolicy);
  if (!opciones_.portada.isEmpty()) {
    // What a current desktop browser sends; the service's edge turns other clients away.
    peticion.setHeader(QNetworkRequest::UserAgentHeader,
                       QStringLiteral("Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like "
                                      "Gecko) Chrome/131.0.0.0 Safari/537.36"));
    peticion.setRawHeader("Accept-Language", "es-ES");
    if (portada) {
      peticion.setRawHeader("Accept", "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8");
    } else {
      peticion.setRawHeader("Accept", "application/json");
      peticion.setRawHeader("Referer", opciones_.portada.toEncoded());
    }
  }
  respuesta_ = red_->get(peticion);
  connect(respuesta_, &QNetworkReply::readyRead, this, &CanalQt::alLeer);
  connect(respuesta_, &QNetworkReply::metaDataChanged, this, &CanalQt::alCabeceras);
  connect(respuesta_, &QNetworkReply::sslErrors, this, &CanalQt::alErroresSsl);
  if (propio) connect(respuesta_, &QNetworkReply::redirected, this, &CanalQt::alRedirigir);
  connect(respuesta_, &QNetworkReply::finished, this, &CanalQt::alTerminar);
}

void CanalQt::cancelar() {
  reloj_->stop();
  if (esperando_) {
    // A pause between tries: the transfer ends there.
    ++generacion_;
    esperando_ = false;
    conError_ = true;
    return;
  }
  if (!respuesta_) return;
  QNetworkReply* r = respuesta_;
  respuesta_ = nullptr;
  r->disconnect(this);
  r->abort();
  r->deleteLater();
  cuerpo_.clear();
  conError_ = true;
}

void CanalQt::alLeer() {
  if (!respuesta_ || demasiado_) return;
  if (enPortada_) {
    // Only its cookies matter: the body is read to nothing, never kept, and a page
    // past the size limit is not read to its end.
    recibidos_ += respuesta_->skip(respuesta_->bytesAvailable());
    if (recibidos_ > opciones_.limite) respuesta_->abort();
    return;
  }
  if (!recibiendo_) {
    recibiendo_ = true;
    emit estado(kRecibiendo);
  }
  cuerpo_ += respuesta_->readAll();
  recibidos_ = cuerpo_.size();
  if (cuerpo_.size() > opciones_.limite) {
    // Never hold more than the limit: stop the transfer and report the refusal.
    demasiado_ = true;
    cuerpo_.clear();
    respuesta_->abort();
  }
}

bool CanalQt::reintentar() {
  if (opciones_.portada.isEmpty() || intentos_ >= kIntentos) return false;
  if (!portadaVisitada_) {
    portadaVisitada_ = true;
    pedir(opciones_.portada, true);
  } else {
    esperarYRepetir();
  }
  return true;
}

void CanalQt::esperarYRepetir() {
  esperando_ = true;
  plataforma::pausas().esperar(kPausas[intentos_ - 1], this, [this, generacion = generacion_] {
    if (generacion != generacion_) return;
    esperando_ = false;
    pedir(url_, false);
  });
}

void CanalQt::terminar(Traida t, int estadoFinal) {
  reloj_->stop();
  t.intentos = intentos_;
  t.certificadoAjeno = !t.ok && certificadoAjeno_;
  emit estado(estadoFinal);
  emit terminado(t);
}

void CanalQt::alTerminar() {
  QNetworkReply* r = respuesta_;
  if (!r) return;
  respuesta_ = nullptr;
  r->deleteLater();
  const int http = r->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  if (enPortada_ && motivo_.isEmpty()) {
    // Only its cookies matter (the jar keeps them); whatever it answered, the
    // address is asked again after the pause.
    enPortada_ = false;
    cuerpo_.clear();
    esperarYRepetir();
    return;
  }
  Traida t;
  t.recibidos = std::max(recibidos_, static_cast<qint64>(cuerpo_.size()));
  t.estadoHttp = http;
  if (!motivo_.isEmpty()) {
    // Stopped by the channel itself: a failed transfer that stores nothing.
    enPortada_ = false;
    t.error = motivo_;
    cuerpo_.clear();
    conError_ = true;
    return terminar(t, kError);
  }
  if (demasiado_) {
    t.demasiado = true;
    t.error = QStringLiteral("Respuesta demasiado grande");
    return terminar(t, kCompletado);
  }
  if (http == 403 || http == 406) {
    cuerpo_.clear();
    if (reintentar()) return;
    t.rechazado = true;
  }
  if (r->error() == QNetworkReply::NoError) cuerpo_ += r->readAll();
  t.recibidos = std::max(t.recibidos, static_cast<qint64>(cuerpo_.size()));
  if (cuerpo_.size() > opciones_.limite) {
    t.demasiado = true;
    cuerpo_.clear();
    return terminar(t, kCompletado);
  }
  // Every status of 400 and above (403 and 406 included, once the tries are spent)
  // is a failed transfer that stores nothing.
  if (t.rechazado || r->error() != QNetworkReply::NoError || http >= 400 || http < 200) {
    t.error = t.rechazado ? QStringLiteral("HTTP %1").arg(http) : r->errorString();
    cuerpo_.clear();
    conError_ = true;
    return terminar(t, kError);
  }
  t.ok = true;
  t.cuerpo = std::move(cuerpo_);
  cuerpo_.clear();
  terminar(t, kCompletado);
}

}  // namespace sortilan::plataforma
