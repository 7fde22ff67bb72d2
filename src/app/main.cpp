#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "app/arranque.h"
#include "gui/platform/adaptadoresqt.h"

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
  QApplication::setApplicationVersion(QStringLiteral("1.3.82"));
  // Desktops match the windows to the menu entry, and take its icon, by this name.
  QGuiApplication::setDesktopFileName(QStringLiteral("es.sortilan.sortilan"));
  sortilan::plataforma::instalarAdaptadoresQt();

  sortilan::ui::Arranque arranque;
  if (const int estado = arranque.iniciar(QCoreApplication::arguments())) return estado;
  return app.exec();
}
