#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/presentacion.h"
#include "app/principal.h"
#include "gui/platform/adaptadoresqt.h"
#include "platform/plataforma.h"
#include "session/carpetadatos.h"

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

  const QStringList args = QCoreApplication::arguments();
  const qsizetype opcion = args.indexOf(QStringLiteral("--datos"));
  const QString datos = opcion < 0 ? QString() : args.value(opcion + 1);
  if (opcion >= 0 && datos.isEmpty()) {
    std::fprintf(stderr, "Falta la carpeta tras --datos.\n");
    return 2;
  }
  if (const sortilan::Resultado r = sortilan::usarCarpetaDatos(datos); !r) {
    sortilan::plataforma::mensaje(sortilan::plataforma::Icono::Critico, QStringLiteral("Carpeta de datos"), r.error);
    return 1;
  }

  std::unique_ptr<sortilan::ui::Principal> principal;
  sortilan::ui::Presentacion* splash = nullptr;
  splash = new sortilan::ui::Presentacion([&] {
    principal = std::make_unique<sortilan::ui::Principal>();
    // The splash stays until the main window shows: a message of the load (a damaged file
    // set aside) must not find the program without any window, which would end it.
    principal->cargar(sortilan::plataforma::carpetaPrograma());
    principal->show();
    splash->close();
  });
  splash->setAttribute(Qt::WA_DeleteOnClose);
  splash->show();
  return app.exec();
}
