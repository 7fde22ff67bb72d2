#include "printing/gui/impresor.h"

#include <QPushButton>
#include <QToolButton>

#include "app/principal.h"
#include "checking/gui/tabgestor.h"
#include "platform/plataforma.h"
#include "printing/gui/imprimir.h"
#include "session/errorpermiso.h"
#include "ui/cierrealvolver.h"

namespace sortilan::ui {

Impresor::Impresor(Principal& principal) : QObject(&principal), p_(principal) {
  setObjectName(QStringLiteral("Impresor"));
  connect(p_.gestor()->Command2, &QPushButton::clicked, this, &Impresor::Command2_Click);
  connect(p_.gestor()->Image1[2], &QToolButton::clicked, this, &Impresor::Command2_Click);
  cierre_ = new CierreAlVolver(
      p_, [this] { cerrar(); }, this);
}

Impresor::~Impresor() = default;
Imprimir* Impresor::ventana() const { return ventana_; }

void Impresor::Command2_Click() {
  Sesion& s = p_.sesion();
  Pena pena;
  // A selection that no longer names a record (the peña was deleted) is no selection.
  if (s.penaSeleccionada < 1 || !s.almacen().penas().leer(s.penaSeleccionada, pena)) {
    avisarSinPena();
    return;
  }
  cerrar();
  ventana_ = new Imprimir(s.almacen(), s.penaSeleccionada, &p_);
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
