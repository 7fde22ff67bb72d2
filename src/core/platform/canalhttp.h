#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>

namespace sortilan::plataforma {

// How a transfer ended.
struct Traida {
  bool ok = false;         // the whole body arrived with a success status
  bool demasiado = false;  // the body passed the size limit; the transfer was stopped
  bool rechazado = false;  // the service still answered 403 or 406 after every try
  int estadoHttp = 0;
  int intentos = 0;      // requests of the address itself, retries included
  qint64 recibidos = 0;  // bytes of body that arrived
  QByteArray cuerpo;     // empty unless ok
  QString error;
  // The server's certificate names another host: somebody may stand between us and the
  // service, which is not the same as a lost connection.
  bool certificadoAjeno = false;
};

// What the user is told of a transfer that failed for a certificate of another host.
QString textoCertificadoAjeno();

// The transfer channel of the downloads: one GET at a time, cancellable, with an
// idle/error test and state notifications in which 11 means an error.
class CanalHttp : public QObject {
  Q_OBJECT
 public:
  // State codes of the notifications.
  enum Estado { kSolicitando = 5, kRecibiendo = 7, kError = 11, kCompletado = 12 };

  struct Opciones {
    qint64 limite = 16 * 1024 * 1024;  // bytes of body accepted
    bool mismoOrigen = false;          // refuse redirections to another site
    // Set for a service that turns away clients that do not look like a browser: the
    // request carries a browser's headers with this page as Referer, and a 403 or 406
    // sends the channel to this page once (for its cookies), then it asks again after
    // a pause, at most kIntentos times in all.
    QUrl portada;
    // Asks every cache on the way for the server's current copy.
    bool sinCache = false;
  };
  static constexpr int kIntentos = 3;
  // Pauses before the second and the third try, in milliseconds.
  static constexpr int kPausas[kIntentos - 1] = {2000, 6000};

  using QObject::QObject;
  // Starts fetching `url`, cancelling any transfer still running; `terminado`
  // is emitted once, later, from the event loop.
  virtual void traer(const QUrl& url, const Opciones& opciones) = 0;
  void traer(const QUrl& url) { traer(url, Opciones{}); }
  virtual void cancelar() = 0;
  virtual bool ocupado() const = 0;
  // The last transfer failed or was cancelled.
  virtual bool conError() const = 0;

 signals:
  void estado(int codigo);
  void terminado(const sortilan::plataforma::Traida& traida);
};

// The channel of the program (HTTPS with certificate checks); tests install their own.
using FabricaCanal = std::function<std::unique_ptr<CanalHttp>()>;
std::unique_ptr<CanalHttp> crearCanal();
void ponerFabricaCanal(FabricaCanal fabrica);

// Blocks in a local event loop until the transfer ends; for the command line.
Traida traerEsperando(CanalHttp& canal, const QUrl& url, const CanalHttp::Opciones& opciones = {});

}  // namespace sortilan::plataforma
