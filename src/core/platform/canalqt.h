#pragma once

#include <QPointer>

#include "platform/canalhttp.h"

class QNetworkAccessManager;
class QTimer;
class QNetworkReply;
class QSslError;

namespace sortilan::plataforma {

// CanalHttp over QNetworkAccessManager. TLS certificates are checked by Qt and
// never ignored; a request that stalls for `espera` ms is given up, and a transfer that
// has not ended after `plazo` ms in all (a server sending a byte now and then) too.
// Headers larger than kMaximoCabeceras are refused, and so is the home page's body past
// the size limit. A service that needs a browser's look (`portada`) is only followed
// through redirections to its own host. Cookies live as
// long as the channel: a refusing service's cookies, once collected, go with every
// later request of the session.
class CanalQt : public CanalHttp {
  Q_OBJECT
 public:
  static constexpr qint64 kMaximoCabeceras = 64 * 1024;

  explicit CanalQt(int esperaMs = 60000, QObject* padre = nullptr);
  // The total deadline of each transfer, retries and pauses included.
  void ponerPlazo(int ms) { plazo_ = ms; }
  ~CanalQt() override;

  void traer(const QUrl& url, const Opciones& opciones) override;
  using CanalHttp::traer;
  void cancelar() override;
  bool ocupado() const override { return !respuesta_.isNull() || esperando_; }
  bool conError() const override { return conError_; }

 private:
  void pedir(const QUrl& url, bool portada);
  void alLeer();
  void alTerminar();
  // A 403 or 406 of the address: the home page (once), a pause, another try.
  bool reintentar();
  void esperarYRepetir();
  void terminar(Traida t, int estadoFinal);
  void alRedirigir(const QUrl& destino);
  void alCabeceras();
  void agotarPlazo();
  void alErroresSsl(const QList<QSslError>& errores);

  QNetworkAccessManager* red_;
  QPointer<QNetworkReply> respuesta_;
  QByteArray cuerpo_;
  Opciones opciones_;
  QUrl url_;
  int espera_;
  int plazo_ = 180000;
  QTimer* reloj_;
  QString motivo_;  // why the channel itself stopped the transfer; empty otherwise
  int intentos_ = 0;
  int generacion_ = 0;  // a pause of an earlier transfer finds it changed and does nothing
  bool enPortada_ = false;
  bool portadaVisitada_ = false;
  bool esperando_ = false;
  bool conError_ = false;
  bool demasiado_ = false;
  bool recibiendo_ = false;
  bool certificadoAjeno_ = false;
  qint64 recibidos_ = 0;
};

}  // namespace sortilan::plataforma
