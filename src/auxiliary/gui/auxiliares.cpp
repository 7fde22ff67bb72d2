#include "auxiliary/gui/auxiliares.h"

#include "main/gui/tabgeneral.h"

#include <QPushButton>

#include "auxiliary/gui/acercade.h"
#include "auxiliary/gui/infor.h"
#include "auxiliary/noticias.h"
#include "main/gui/principal.h"
#include "platform/plataforma.h"
#include "platform/servicios.h"

#include <QAction>
#include <QEvent>

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
  p_.installEventFilter(this);
}

Auxiliares::~Auxiliares() = default;
Acercade* Auxiliares::acercade() const { return acercade_; }
Infor* Auxiliares::infor() const { return infor_; }

void Auxiliares::compruebainforme() {
  Sesion& s = p_.sesion();
  const QUrl direccion = plataforma::servicios().delFabricante(QStringLiteral("/ginforme.dat"));
  if (sortilan::compruebainforme(s.almacen(), s.sorteo.fecha, plataforma::hoy(), direccion)) Leer_Click();
}

void Auxiliares::acerca_Click() {
  if (acercade_) acercade_->close();
  acercade_ = new Acercade(&p_);
  principalDejada_ = false;
  acercade_->show();
}

void Auxiliares::Leer_Click() {
  if (infor_) infor_->close();
  infor_ = new Infor(p_.sesion().almacen().ruta(kInforme), &p_);
  infor_->show();
}

bool Auxiliares::eventFilter(QObject* objeto, QEvent* evento) {
  // The about window goes whenever the main window is active again; the news stay.
  if (objeto == &p_ && evento->type() == QEvent::ActivationChange) {
    if (!p_.isActiveWindow())
      principalDejada_ = true;
    else if (principalDejada_ && acercade_)
      acercade_->close();
  }
  return QObject::eventFilter(objeto, evento);
}

}  // namespace sortilan::ui
