#include "gui/ui/secundaria.h"

#include <QPushButton>
#include <QShortcut>
#include <QWidget>

namespace sortilan::ui {

void cerrarConEscape(QWidget& ventana) {
  auto* atajo = new QShortcut(QKeySequence(Qt::Key_Escape), &ventana);
  atajo->setObjectName(QStringLiteral("cerrarConEscape"));
  atajo->setContext(Qt::WindowShortcut);
  QObject::connect(atajo, &QShortcut::activated, &ventana, &QWidget::close);
}

QPushButton* botonAceptar(QWidget& ventana, const QString& nombre) {
  auto* b = new QPushButton(QStringLiteral("Aceptar"), &ventana);
  b->setObjectName(nombre);
  // Outside a dialog a button answers Return only when it has the focus and is an auto-default.
  b->setAutoDefault(true);
  b->setDefault(true);
  QObject::connect(b, &QPushButton::clicked, &ventana, &QWidget::close);
  return b;
}

}  // namespace sortilan::ui
