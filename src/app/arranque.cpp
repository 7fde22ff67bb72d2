#include "app/arranque.h"

#include <QGuiApplication>
#include <QTimer>
#include <cstdio>

#include "app/presentacion.h"
#include "app/principal.h"
#include "platform/plataforma.h"
#include "session/carpetadatos.h"

namespace sortilan::ui {

Arranque::Arranque(QObject* padre) : QObject(padre) {}

Arranque::~Arranque() { delete presentacion_.data(); }

Presentacion* Arranque::presentacion() const { return presentacion_; }
Principal* Arranque::principal() const { return principal_.get(); }

int Arranque::iniciar(const QStringList& argumentos) {
  const qsizetype opcion = argumentos.indexOf(QStringLiteral("--datos"));
  const QString datos = opcion < 0 ? QString() : argumentos.value(opcion + 1);
  if (opcion >= 0 && datos.isEmpty()) {
    std::fprintf(stderr, "Falta la carpeta tras --datos.\n");
    return 2;
  }
  if (const Resultado r = usarCarpetaDatos(datos); !r) {
    plataforma::mensaje(plataforma::Icono::Critico, QStringLiteral("Carpeta de datos"), r.error);
    return 1;
  }
  // Entered from the event loop rather than from inside the splash's own tick or click:
  // nothing of the splash is running while the load runs and when the splash goes.
  presentacion_ = new Presentacion([this] { QTimer::singleShot(0, this, &Arranque::entrar); });
  presentacion_->setAttribute(Qt::WA_DeleteOnClose);
  presentacion_->show();
  return 0;
}

void Arranque::entrar() {
  // The load may wait (the network, a busy folder) or show a box in a loop of its own; the
  // splash stays on screen meanwhile, and closing a box must not end the program before the
  // main window is up.
  const bool alCerrarLaUltima = QGuiApplication::quitOnLastWindowClosed();
  QGuiApplication::setQuitOnLastWindowClosed(false);
  principal_ = std::make_unique<Principal>();
  principal_->aplazarDinero();
  principal_->cargar(plataforma::carpetaPrograma());
  principal_->show();
  QGuiApplication::setQuitOnLastWindowClosed(alCerrarLaUltima);
  // Deleted by its close from the event loop, once the main window is on screen.
  if (presentacion_) presentacion_->close();
  emit mostrada();
}

}  // namespace sortilan::ui
