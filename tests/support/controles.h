#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>

namespace sortilan::prueba {

// A window's widget by its object name (the control name); a test that asks for one that
// is not there stops with its name rather than crashing on a null pointer.
template <typename T>
T* control(const QObject* dentro, const char* nombre) {
  T* c = dentro->findChild<T*>(QLatin1String(nombre));
  if (!c) qFatal("No hay control %s en %s", nombre, qPrintable(dentro->objectName()));
  return c;
}

template <typename T>
T* control(const QObject* dentro, const QString& nombre) {
  return control<T>(dentro, qPrintable(nombre));
}

}  // namespace sortilan::prueba
