#pragma once

#include <QDate>
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>

class QObject;

namespace sortilan::plataforma {

// The outside world as the program sees it. Windows and the command line reach it
// only through these adapters, so tests can put doubles in their place.

enum class Icono { Informacion, Pregunta, Exclamacion, Critico };
enum class Botones { Aceptar, SiNo };
enum class Respuesta { Aceptar, Si, No };

class Mensajes {
 public:
  virtual ~Mensajes() = default;
  // `predeterminada` is the answer Return gives; Escape always answers No (or Aceptar).
  virtual Respuesta mostrar(Icono icono, const QString& titulo, const QString& texto, Botones botones,
                            Respuesta predeterminada) = 0;
};

class Reloj {
 public:
  virtual ~Reloj() = default;
  virtual QDate hoy() const = 0;
};

// Waits the program makes on purpose (a pause before asking a refusing service again);
// tests put one in place that does not wait.
class Pausas {
 public:
  virtual ~Pausas() = default;
  // Calls `seguir` once, about `ms` milliseconds from now, unless `contexto` is gone by then.
  virtual void esperar(int ms, QObject* contexto, std::function<void()> seguir) = 0;
};

class Navegador {
 public:
  virtual ~Navegador() = default;
  virtual void abrir(const QUrl& direccion) = 0;
};

class DialogoArchivo {
 public:
  virtual ~DialogoArchivo() = default;
  // Empty when the user cancels.
  virtual QString abrirArchivo(const QString& titulo, const QString& carpetaInicial, const QString& filtro) = 0;
  // Where to write a new file; `propuesto` is the path offered. Empty when the user cancels.
  virtual QString guardarArchivo(const QString& titulo, const QString& propuesto, const QString& filtro) = 0;
};

// Current adapters; replaced by the application at start and by tests.
Mensajes& mensajes();
Reloj& reloj();
Pausas& pausas();
Navegador& navegador();
DialogoArchivo& dialogoArchivo();
void ponerMensajes(std::shared_ptr<Mensajes> m);
// The adapter in use, for one that passes its messages on.
std::shared_ptr<Mensajes> compartirMensajes();
void ponerReloj(std::shared_ptr<Reloj> r);
void ponerPausas(std::shared_ptr<Pausas> p);
void ponerNavegador(std::shared_ptr<Navegador> n);
void ponerDialogoArchivo(std::shared_ptr<DialogoArchivo> d);

// Shorthands. A Yes/No question answers No to Return unless the caller names Si: most of
// them delete or reset data, and a key pressed by habit must not do that.
inline Respuesta mensaje(Icono i, const QString& titulo, const QString& texto, Botones b = Botones::Aceptar) {
  return mensajes().mostrar(i, titulo, texto, b, b == Botones::SiNo ? Respuesta::No : Respuesta::Aceptar);
}
inline Respuesta mensaje(Icono i, const QString& titulo, const QString& texto, Botones b, Respuesta predeterminada) {
  return mensajes().mostrar(i, titulo, texto, b, predeterminada);
}
inline QDate hoy() { return reloj().hoy(); }

// The data folder in use, chosen at start (session/carpetadatos.h); the executable's folder
// until then.
QString carpetaPrograma();
void ponerCarpetaPrograma(const QString& carpeta);

// Initial folder of the open-file dialog: the root of drive C on Windows, home elsewhere.
QString carpetaInicialDialogo();

}  // namespace sortilan::plataforma
