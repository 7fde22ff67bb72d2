#pragma once

#include <QLabel>
#include <QString>

namespace sortilan::ui {

// Object name of element i of a control array: "Label9_3".
inline QString nombreIndice(const char* control, int i) {
  return QStringLiteral("%1_%2").arg(QLatin1String(control)).arg(i);
}

inline QLabel* etiqueta(QWidget* padre, const QString& nombre, const QString& texto = QString()) {
  auto* l = new QLabel(texto, padre);
  l->setObjectName(nombre);
  return l;
}

}  // namespace sortilan::ui
