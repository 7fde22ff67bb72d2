#include "gui/printing/impresor.h"

#include <QWidget>
#include <utility>

#include "gui/printing/imprimir.h"
#include "gui/ui/cierrealvolver.h"
#include "platform/plataforma.h"
#include "session/errorpermiso.h"
#include "session/sesion.h"

namespace sortilan::ui {

Impresor::Impresor(Sesion& sesion, QWidget& principal, std::function<int()> penaElegida)
    : QObject(&principal), sesion_(sesion), principal_(principal), penaElegida_(std::move(penaElegida)) {
  setObjectName(QStringLiteral("Impresor"));
  cierre_ = new CierreAlVolver(
      principal, [this] { cerrar(); }, this);
}

Impresor::~Impresor() = default;
Imprimir* Impresor::ventana() const { return ventana_; }

void Impresor::Command2_Click() {
  Sesion& s = sesion_;
  const int registro = penaElegida_();
  Pena pena;
  // A selection that no longer names a record (the peña was deleted) is no selection.
  if (registro < 1 || !s.almacen().penas().leer(registro, pena)) {
    avisarSinPena();
    return;
  }
  cerrar();
  ventana_ = new Imprimir(s.almacen(), registro, &principal_);
  connect(ventana_, &Imprimir::archivoGuardado, this, &Impresor::archivoGuardado);
  cierre_->abierta();
  ventana_->show();
}

void Impresor::cerrar() {
  if (ventana_) {
    ventana_->hide();
    ventana_->deleteLater();
    ventana_.clear();
  }
}

}  // namespace sortilan::ui
