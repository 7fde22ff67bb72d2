#pragma once

#include <QPointer>
#include <map>

#include "platform/canalhttp.h"

class QSocketNotifier;
class QTimer;

// libcurl's handles, kept opaque so that only this adapter sees libcurl.
using CURL = void;
using CURLM = void;
using CURLSH = void;
struct curl_slist;

namespace sortilan::plataforma {

// CanalHttp over libcurl, driven by the Qt event loop (no threads). TLS certificates are
// checked by libcurl and never ignored. Everything that arrives is bounded while it
// arrives: the headers of an answer (kMaximoCabeceras in all, a single line far less), the
// body (the size limit, counted after decompression, so a small compressed bomb is stopped
// at the same size as a plain one) and the home page's body. A request that stalls for
// `espera` ms is given up, and a transfer that has not ended after `plazo` ms in all (a
// server sending a byte now and then) too. Redirections are followed by the channel
// itself: a service that needs a browser's look (`portada`) only within its own host,
// `mismoOrigen` only to the same scheme, host and port, and nothing from HTTPS to HTTP.
// Cookies live as long as the channel: a refusing service's cookies, once collected, go
// with every later request of the session.
class CanalCurl : public CanalHttp {
  Q_OBJECT
 public:
  static constexpr qint64 kMaximoCabeceras = 64 * 1024;
  static constexpr int kMaximoRedirecciones = 10;

  explicit CanalCurl(int esperaMs = 60000, QObject* padre = nullptr);
  ~CanalCurl() override;
  // The total deadline of each transfer, retries and pauses included.
  void ponerPlazo(int ms) { plazo_ = ms; }
  // Certificate authorities to trust instead of the system's (a PEM file); for a local
  // service with a certificate of its own.
  void ponerAutoridades(const QString& archivoPem) { autoridades_ = archivoPem.toLocal8Bit(); }

  void traer(const QUrl& url, const Opciones& opciones) override;
  using CanalHttp::traer;
  void cancelar() override;
  bool ocupado() const override { return easy_ != nullptr || esperando_; }
  bool conError() const override { return conError_; }

 private:
  // How one request of the transfer ended.
  struct Fin {
    int codigo = 0;  // CURLcode
    long http = 0;
    QUrl destino;  // where a redirection points
    QString error;
    qint64 anunciado = -1;     // Content-Length, when the server gave one
    bool nombreAjeno = false;  // the certificate is good but names another host
  };

  static int alSocket(CURL* easy, int socket, int que, void* canal, void* porSocket);
  static int alRelojCurl(CURLM* multi, long ms, void* canal);
  static size_t alCabecera(char* datos, size_t tam, size_t n, void* canal);
  static size_t alDatos(char* datos, size_t tam, size_t n, void* canal);

  void vigilar(int socket, int que);
  void actuar(int socket, int eventos);
  // Reports the transfer that curl has finished, outside curl's own calls.
  void recoger();
  void pedir(const QUrl& url, bool portada);
  void lanzar(const QUrl& url);
  void soltar();
  Fin cerrar(int codigo);
  void alTerminar(const Fin& fin);
  QString redireccionNoPermitida(const QUrl& destino) const;
  bool reintentar();
  void esperarYRepetir();
  void terminar(Traida t, int estadoFinal);
  void agotarPlazo();
  void agotarEspera();

  struct Vigia {
    QSocketNotifier* leer = nullptr;
    QSocketNotifier* escribir = nullptr;
  };
  std::map<int, Vigia> vigias_;
  CURLM* multi_;
  CURLSH* compartido_;
  CURL* easy_ = nullptr;
  curl_slist* cabeceras_ = nullptr;
  QByteArray autoridades_;
  QByteArray errorCurl_;  // curl's own words on the last failure
  QByteArray sinProxy_;   // hosts asked directly, whatever proxy the environment names
  QTimer* relojCurl_;
  QTimer* inactividad_;
  QTimer* reloj_;
  QByteArray cuerpo_;
  Opciones opciones_;
  QUrl url_;
  QUrl actual_;  // the address asked now: the url, the home page or where they redirected
  int espera_;
  int plazo_ = 180000;
  QString motivo_;  // why the channel itself stopped the transfer; empty otherwise
  int intentos_ = 0;
  int redirecciones_ = 0;
  int generacion_ = 0;  // a pause of an earlier transfer finds it changed and does nothing
  qint64 cabecerasRecibidas_ = 0;
  qint64 anunciado_ = -1;  // Content-Length of the answer, when it gave one
  bool cabecerasDeMas_ = false;
  bool enPortada_ = false;
  bool portadaVisitada_ = false;
  bool esperando_ = false;
  bool conError_ = false;
  bool demasiado_ = false;
  bool recibiendo_ = false;
  bool avisarRecibiendo_ = false;
  bool certificadoAjeno_ = false;
  qint64 recibidos_ = 0;
};

}  // namespace sortilan::plataforma
