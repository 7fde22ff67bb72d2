#include "checking/gui/comprobador.h"

#include "main/gui/principal.h"
#include "main/gui/tabgeneral.h"

#include <QLabel>

namespace sortilan::ui {

Comprobador::Comprobador(Principal& principal) : QObject(&principal), p_(principal) {}

void Comprobador::compruebapenas(int) {}
void Comprobador::compruebamultiple(int) {}

void Comprobador::resumen() {
  p_.general()->Label9[2]->setText(QString::number(std::max(0, p_.sesion().proximapena - 1)));
}

void Comprobador::rotulo() {}
void Comprobador::Command1_Click(int) {}

}  // namespace sortilan::ui
