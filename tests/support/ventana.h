#pragma once

#include <QtTest>
#include <memory>

#include "app/principal.h"
#include "support/dobles.h"

namespace sortilan::prueba {

// For the window tests only (it needs the window library).
// The main window loaded on the test's folder and on screen, as the program shows it.
inline std::unique_ptr<ui::Principal> principalEnPantalla(const Entorno& e) {
  auto p = std::make_unique<ui::Principal>();
  p->cargar(e.carpeta.path());
  p->show();
  if (!QTest::qWaitForWindowExposed(p.get())) qFatal("La ventana principal no llegó a verse");
  return p;
}

}  // namespace sortilan::prueba
