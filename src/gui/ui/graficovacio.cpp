#include "gui/ui/graficovacio.h"

#include <QAbstractAxis>
#include <QChart>

namespace sortilan::ui {

void mostrarVacio(QChart& grafico, bool vacio, const QString& titulo) {
  for (QAbstractAxis* eje : grafico.axes()) eje->setVisible(!vacio);
  if (!vacio)
    grafico.setTitle(titulo);
  else
    grafico.setTitle(titulo.isEmpty() ? kSinDatos : titulo + QStringLiteral("<br>") + kSinDatos);
}

}  // namespace sortilan::ui
