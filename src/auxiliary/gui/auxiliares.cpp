#include "auxiliary/gui/auxiliares.h"

#include <QAction>
#include <QPushButton>

#include "app/principal.h"
#include "auxiliary/gui/acercade.h"
#include "auxiliary/gui/infor.h"
#include "auxiliary/noticias.h"
#include "main/gui/tabgeneral.h"
#include "operations/ajustes.h"
#include "platform/plataforma.h"
#include "platform/servicios.h"
#include "ui/cierrealvolver.h"

namespace sortilan::ui {

Auxiliares::Auxiliares(Principal& principal) : QObject(&principal), p_(principal) {
  setObjectName(QStringLiteral("Auxiliares"));
  if (QAction* a = p_.accion(QStringLiteral("acerca"))) {
    a->setEnabled(true);
    connect(a, &QAction::triggered, this, &Auxiliares::acerca_Click);
  }
  if (QAction* a = p_.accion(QStringLiteral("Leer"))) {
    a->setEnabled(true);
    connect(a, &QAction::triggered, this, &Auxiliares::Leer_Click);
  }
  connect(p_.general()->Command6, &QPushButton::clicked, this, &Auxiliares::Leer_Click);
  // The about window goes when the user comes back to the main window; the news stay.
  cierre_ = new CierreAlVolver(
      p_,
      [this] {
        if (acercade_) acercade_->close();
      },
      this);
}

Auxiliares::~Auxiliares() = default;
Acercade* Auxiliares::acercade() const { return acercade_; }
Infor* Auxiliares::infor() const { return infor_; }

void Auxiliares::compruebainforme() {
  Sesion& s = p_.sesion();
  const QUrl direccion = plataforma::servicios().delFabricante(QStringLiteral("/ginforme.dat"));
  const auto guardar = [&s](const QByteArray& b) { return operaciones::guardarNoticias(s.almacen(), b); };
  if (sortilan::compruebainforme(s.almacen(), s.sorteo.fecha, plataforma::hoy(), direccion, guardar)) Leer_Click();
}

void Auxiliares::acerca_Click() {
  if (acercade_) acercade_->close();
  acercade_ = new Acercade(&p_);
  cierre_->abierta();
  acercade_->show();
}

void Auxiliares::Leer_Click() {
  if (infor_) infor_->close();
  infor_ = new Infor(p_.sesion().almacen().ruta(kInforme), &p_);
  infor_->show();
}

}  // namespace sortilan::ui
