#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <memory>

#include "platform/canalhttp.h"

namespace sortilan::plataforma {

// A channel that lets at least `intervalo` pass between two requests, for a run that
// nobody watches: a catch-up of many windows must not ask the service in a burst.
class CanalPausado : public CanalHttp {
  Q_OBJECT
 public:
  CanalPausado(std::unique_ptr<CanalHttp> canal, int intervaloMs, QObject* padre = nullptr);
  void traer(const QUrl& url, const Opciones& opciones) override;
  using CanalHttp::traer;
  void cancelar() override;
  bool ocupado() const override;
  bool conError() const override;

 private:
  std::unique_ptr<CanalHttp> canal_;
  int intervalo_;
  QElapsedTimer desdeUltima_;
  QTimer espera_;
  QUrl url_;
  Opciones opciones_;
};

}  // namespace sortilan::plataforma
