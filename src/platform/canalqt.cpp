#include "platform/canalqt.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace sortilan::plataforma {

namespace {
FabricaCanal& fabricaActual() {
  static FabricaCanal f = [] { return std::unique_ptr<CanalHttp>(std::make_unique<CanalQt>()); };
  return f;
}
}  // namespace

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
    : CanalHttp(padre), red_(new QNetworkAccessManager(this)), espera_(esperaMs) {}

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
  opciones_ = opciones;
  cuerpo_.clear();
  conError_ = false;
  demasiado_ = false;
  recibiendo_ = false;
  recibidos_ = 0;
  QNetworkRequest peticion(url);
  peticion.setTransferTimeout(espera_);
  peticion.setAttribute(QNetworkRequest::RedirectPolicyAttribute, opciones.mismoOrigen
                                                                      ? QNetworkRequest::SameOriginRedirectPolicy
                                                                      : QNetworkRequest::NoLessSafeRedirectPolicy);
  respuesta_ = red_->get(peticion);
  connect(respuesta_, &QNetworkReply::readyRead, this, &CanalQt::alLeer);
  connect(respuesta_, &QNetworkReply::finished, this, &CanalQt::alTerminar);
  emit estado(kSolicitando);
}

void CanalQt::cancelar() {
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

void CanalQt::alTerminar() {
  QNetworkReply* r = respuesta_;
  if (!r) return;
  respuesta_ = nullptr;
  r->deleteLater();
  Traida t;
  t.recibidos = std::max(recibidos_, static_cast<qint64>(cuerpo_.size()));
  t.estadoHttp = r->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  if (demasiado_) {
    t.demasiado = true;
    t.error = QStringLiteral("Respuesta demasiado grande");
    emit estado(kCompletado);
    emit terminado(t);
    return;
  }
  if (r->error() == QNetworkReply::NoError) cuerpo_ += r->readAll();
  t.recibidos = std::max(t.recibidos, static_cast<qint64>(cuerpo_.size()));
  if (cuerpo_.size() > opciones_.limite) {
    t.demasiado = true;
    cuerpo_.clear();
    emit estado(kCompletado);
    emit terminado(t);
    return;
  }
  // 403 (not taken for a browser) and 406 (too many requests) come back as errors
  // too: every status of 400 and above is a failed transfer that stores nothing.
  if (r->error() != QNetworkReply::NoError || t.estadoHttp >= 400 || t.estadoHttp < 200) {
    t.error = r->errorString();
    cuerpo_.clear();
    conError_ = true;
    emit estado(kError);
    emit terminado(t);
    return;
  }
  t.ok = true;
  t.cuerpo = std::move(cuerpo_);
  cuerpo_.clear();
  emit estado(kCompletado);
  emit terminado(t);
}

}  // namespace sortilan::plataforma
