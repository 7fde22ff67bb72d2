#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/presentacion.h"
#include "app/principal.h"
#include "platform/gui/adaptadoresqt.h"
#include "platform/plataforma.h"

namespace {

// Without a display Qt would abort with a platform-plugin error; say what to do instead.
bool hayPantalla() {
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
  const char* qpa = std::getenv("QT_QPA_PLATFORM");
  if (qpa && *qpa) return true;
  const char* x = std::getenv("DISPLAY");
  const char* w = std::getenv("WAYLAND_DISPLAY");
  return (x && *x) || (w && *w);
#else
  return true;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  if (!hayPantalla()) {
    std::fprintf(stderr,
                 "No hay pantalla: ejecute la ventana con «xvfb-run -a %s» o use «sortilan-cli» para trabajar "
                 "sin ventanas.\n",
                 argv[0]);
    return 1;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Sortilan"));
  QApplication::setApplicationVersion(QStringLiteral("1.3.82"));
  sortilan::plataforma::instalarAdaptadoresQt();

  std::unique_ptr<sortilan::ui::Principal> principal;
  sortilan::ui::Presentacion* splash = nullptr;
  splash = new sortilan::ui::Presentacion([&] {
    principal = std::make_unique<sortilan::ui::Principal>();
    // The main window's load sequence closes the splash.
    QTimer::singleShot(0, splash, &QWidget::close);
    principal->cargar(sortilan::plataforma::carpetaPrograma());
    principal->show();
  });
  splash->setAttribute(Qt::WA_DeleteOnClose);
  splash->show();
  return app.exec();
}
