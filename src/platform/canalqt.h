#pragma once

#include <QPointer>

#include "platform/canalhttp.h"

class QNetworkAccessManager;
class QNetworkReply;

namespace sortilan::plataforma {

// CanalHttp over QNetworkAccessManager. TLS certificates are checked by Qt and
// never ignored; a request that stalls for `espera` ms is given up.
class CanalQt : public CanalHttp {
  Q_OBJECT
 public:
  explicit CanalQt(int esperaMs = 60000, QObject* padre = nullptr);
  ~CanalQt() override;

  void traer(const QUrl& url, const Opciones& opciones) override;
  using CanalHttp::traer;
  void cancelar() override;
  bool ocupado() const override { return !respuesta_.isNull(); }
  bool conError() const override { return conError_; }

 private:
  void alLeer();
  void alTerminar();

  QNetworkAccessManager* red_;
  QPointer<QNetworkReply> respuesta_;
  QByteArray cuerpo_;
  Opciones opciones_;
  int espera_;
  bool conError_ = false;
  bool demasiado_ = false;
  bool recibiendo_ = false;
  qint64 recibidos_ = 0;
};

}  // namespace sortilan::plataforma
