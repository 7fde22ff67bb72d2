#include "platform/canalpausado.h"

#include <algorithm>

namespace sortilan::plataforma {

CanalPausado::CanalPausado(std::unique_ptr<CanalHttp> canal, int intervaloMs, QObject* padre)
    : CanalHttp(padre), canal_(std::move(canal)), intervalo_(intervaloMs) {
  espera_.setSingleShot(true);
  connect(canal_.get(), &CanalHttp::estado, this, &CanalHttp::estado);
  connect(canal_.get(), &CanalHttp::terminado, this, &CanalHttp::terminado);
  connect(&espera_, &QTimer::timeout, this, [this] {
    desdeUltima_.start();
    canal_->traer(url_, opciones_);
  });
}

void CanalPausado::traer(const QUrl& url, const Opciones& opciones) {
  url_ = url;
  opciones_ = opciones;
  const qint64 falta = desdeUltima_.isValid() ? intervalo_ - desdeUltima_.elapsed() : 0;
  espera_.start(static_cast<int>(std::max<qint64>(0, falta)));
}

void CanalPausado::cancelar() {
  espera_.stop();
  canal_->cancelar();
}

bool CanalPausado::ocupado() const { return espera_.isActive() || canal_->ocupado(); }

bool CanalPausado::conError() const { return canal_->conError(); }

}  // namespace sortilan::plataforma
