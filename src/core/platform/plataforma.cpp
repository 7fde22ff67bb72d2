#include "platform/plataforma.h"

#include <QCoreApplication>
#include <QDir>
#include <QTimer>
#include <cstdio>

namespace sortilan::plataforma {

namespace {

class RelojSistema : public Reloj {
 public:
  QDate hoy() const override { return QDate::currentDate(); }
};

// Without a window: messages go to standard error as "Título: texto"; questions are
// answered No, so nothing is changed without an explicit confirmation.
class MensajesConsola : public Mensajes {
 public:
  Respuesta mostrar(Icono, const QString& titulo, const QString& texto, Botones botones, Respuesta) override {
    std::fprintf(stderr, "%s: %s\n", titulo.toUtf8().constData(), texto.toUtf8().constData());
    return botones == Botones::SiNo ? Respuesta::No : Respuesta::Aceptar;
  }
};

class PausasReales : public Pausas {
 public:
  void esperar(int ms, QObject* contexto, std::function<void()> seguir) override {
    QTimer::singleShot(ms, contexto, std::move(seguir));
  }
};

class NavegadorNulo : public Navegador {
 public:
  void abrir(const QUrl&) override {}
};

class DialogoNulo : public DialogoArchivo {
 public:
  QString abrirArchivo(const QString&, const QString&, const QString&) override { return {}; }
  QString guardarArchivo(const QString&, const QString&, const QString&) override { return {}; }
};

struct Adaptadores {
  std::shared_ptr<Mensajes> mensajes = std::make_shared<MensajesConsola>();
  std::shared_ptr<Reloj> reloj = std::make_shared<RelojSistema>();
  std::shared_ptr<Pausas> pausas = std::make_shared<PausasReales>();
  std::shared_ptr<Navegador> navegador = std::make_shared<NavegadorNulo>();
  std::shared_ptr<DialogoArchivo> dialogo = std::make_shared<DialogoNulo>();
  QString carpeta;
};

Adaptadores& actuales() {
  static Adaptadores a;
  return a;
}

}  // namespace

Mensajes& mensajes() { return *actuales().mensajes; }
Reloj& reloj() { return *actuales().reloj; }
Pausas& pausas() { return *actuales().pausas; }
Navegador& navegador() { return *actuales().navegador; }
DialogoArchivo& dialogoArchivo() { return *actuales().dialogo; }
void ponerMensajes(std::shared_ptr<Mensajes> m) { actuales().mensajes = std::move(m); }
std::shared_ptr<Mensajes> compartirMensajes() { return actuales().mensajes; }
void ponerReloj(std::shared_ptr<Reloj> r) { actuales().reloj = std::move(r); }
void ponerPausas(std::shared_ptr<Pausas> p) { actuales().pausas = std::move(p); }
void ponerNavegador(std::shared_ptr<Navegador> n) { actuales().navegador = std::move(n); }
void ponerDialogoArchivo(std::shared_ptr<DialogoArchivo> d) { actuales().dialogo = std::move(d); }

QString carpetaPrograma() {
  if (!actuales().carpeta.isEmpty()) return actuales().carpeta;
  return QCoreApplication::applicationDirPath();
}

void ponerCarpetaPrograma(const QString& carpeta) { actuales().carpeta = carpeta; }

QString carpetaInicialDialogo() {
#ifdef Q_OS_WIN
  return QStringLiteral("C:\\");
#else
  return QDir::homePath();
#endif
}

}  // namespace sortilan::plataforma
