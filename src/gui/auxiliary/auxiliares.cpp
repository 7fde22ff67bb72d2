#include "gui/auxiliary/auxiliares.h"

#include <QWidget>

#include "auxiliary/noticias.h"
#include "gui/auxiliary/acercade.h"
#include "gui/auxiliary/guia.h"
#include "gui/auxiliary/infor.h"
#include "gui/ui/cierrealvolver.h"
#include "operations/ajustes.h"
#include "platform/plataforma.h"
#include "platform/servicios.h"
#include "session/sesion.h"

namespace sortilan::ui {

Auxiliares::Auxiliares(Sesion& sesion, QWidget& principal)
    : QObject(&principal), sesion_(sesion), principal_(principal) {
  setObjectName(QStringLiteral("Auxiliares"));
  // The about window goes when the user comes back to the main window; the news stay.
  cierre_ = new CierreAlVolver(
      principal,
      [this] {
        if (acercade_) acercade_->close();
      },
      this);
}

Auxiliares::~Auxiliares() = default;
Acercade* Auxiliares::acercade() const { return acercade_; }
Infor* Auxiliares::infor() const { return infor_; }
Guia* Auxiliares::guia() const { return guia_; }

void Auxiliares::compruebainforme() {
  Sesion& s = sesion_;
  const QUrl direccion = plataforma::servicios().delFabricante(QStringLiteral("/ginforme.dat"));
  const auto guardar = [&s](const QByteArray& b) { return operaciones::guardarNoticias(s.almacen(), b); };
  if (sortilan::compruebainforme(s.almacen(), s.sorteo.fecha, plataforma::hoy(), direccion, guardar)) Leer_Click();
}

void Auxiliares::acerca_Click() {
  if (acercade_) acercade_->close();
  acercade_ = new Acercade(&principal_);
  cierre_->abierta();
  acercade_->show();
}

void Auxiliares::guia_Click() {
  if (!guia_) guia_ = new Guia(&principal_);
  guia_->show();
  guia_->raise();
  guia_->activateWindow();
}

void Auxiliares::Leer_Click() {
  if (infor_) infor_->close();
  infor_ = new Infor(sesion_.almacen().ruta(kInforme), &principal_);
  infor_->show();
}

}  // namespace sortilan::ui
