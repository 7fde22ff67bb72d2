#include "platform/canalcurl.h"

#include <curl/curl.h>

#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cstring>
#include <mutex>

#include "platform/plataforma.h"

namespace sortilan::plataforma {

namespace {

void iniciarCurl() {
  static std::once_flag una;
  std::call_once(una, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// What the user reads of a transfer that curl could not complete.
QString textoFallo(CURLcode codigo, const QUrl& url) {
  switch (codigo) {
    case CURLE_COULDNT_RESOLVE_HOST: return QStringLiteral("No se encuentra el servidor %1").arg(url.host());
    case CURLE_COULDNT_RESOLVE_PROXY: return QStringLiteral("No se encuentra el servidor proxy");
    case CURLE_COULDNT_CONNECT: return QStringLiteral("No se puede conectar con %1").arg(url.host());
    case CURLE_OPERATION_TIMEDOUT: return QStringLiteral("El servidor no responde");
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
      return QStringLiteral("El certificado del servidor no es válido: la conexión no es segura y no se ha usado");
    case CURLE_SSL_CONNECT_ERROR:
      return QStringLiteral("No se ha podido establecer una conexión segura con el servidor");
    case CURLE_GOT_NOTHING: return QStringLiteral("El servidor ha cerrado la conexión sin responder");
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_PARTIAL_FILE:
    case CURLE_HTTP2:
    case CURLE_HTTP2_STREAM: return QStringLiteral("La conexión se ha cortado antes de terminar la respuesta");
    case CURLE_BAD_CONTENT_ENCODING:
      return QStringLiteral("La respuesta viene comprimida de una forma que no se puede leer");
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_UNSUPPORTED_PROTOCOL: return QStringLiteral("El servidor no responde como un servidor web");
    default: return QStringLiteral("Error de red (%1)").arg(QString::fromUtf8(curl_easy_strerror(codigo)));
  }
}

}  // namespace

CanalCurl::CanalCurl(int esperaMs, QObject* padre)
    : CanalHttp(padre),
      relojCurl_(new QTimer(this)),
      inactividad_(new QTimer(this)),
      reloj_(new QTimer(this)),
      espera_(esperaMs) {
  iniciarCurl();
  multi_ = curl_multi_init();
  curl_multi_setopt(multi_, CURLMOPT_SOCKETFUNCTION, &CanalCurl::alSocket);
  curl_multi_setopt(multi_, CURLMOPT_SOCKETDATA, this);
  curl_multi_setopt(multi_, CURLMOPT_TIMERFUNCTION, &CanalCurl::alRelojCurl);
  curl_multi_setopt(multi_, CURLMOPT_TIMERDATA, this);
  // The cookies of every request of this channel, and only of it.
  compartido_ = curl_share_init();
  curl_share_setopt(compartido_, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
  errorCurl_.resize(CURL_ERROR_SIZE);
  // A proxy of the environment is used, never for this machine itself; the option replaces
  // the environment's own list, which is kept.
  sinProxy_ = "localhost,127.0.0.1,::1";
  const QByteArray lista = qEnvironmentVariableIsSet("no_proxy") ? qgetenv("no_proxy") : qgetenv("NO_PROXY");
  if (!lista.trimmed().isEmpty()) sinProxy_ += ',' + lista.trimmed();
  relojCurl_->setSingleShot(true);
  connect(relojCurl_, &QTimer::timeout, this, [this] { actuar(CURL_SOCKET_TIMEOUT, 0); });
  inactividad_->setSingleShot(true);
  connect(inactividad_, &QTimer::timeout, this, &CanalCurl::agotarEspera);
  reloj_->setSingleShot(true);
  connect(reloj_, &QTimer::timeout, this, &CanalCurl::agotarPlazo);
}

CanalCurl::~CanalCurl() {
  soltar();
  curl_multi_cleanup(multi_);
  curl_share_cleanup(compartido_);
}

int CanalCurl::alSocket(CURL*, curl_socket_t socket, int que, void* canal, void*) {
  static_cast<CanalCurl*>(canal)->vigilar(socket, que);
  return 0;
}

int CanalCurl::alRelojCurl(CURLM*, long ms, void* canal) {
  // Never act from inside curl: the timer calls back from the event loop.
  auto* c = static_cast<CanalCurl*>(canal);
  if (ms < 0)
    c->relojCurl_->stop();
  else
    c->relojCurl_->start(static_cast<int>(std::min<long>(ms, 24L * 3600 * 1000)));
  return 0;
}

void CanalCurl::vigilar(int socket, int que) {
  auto retirar = [](QSocketNotifier*& n) {
    if (!n) return;
    // It may be the one whose signal is being delivered now.
    n->setEnabled(false);
    n->deleteLater();
    n = nullptr;
  };
  if (que == CURL_POLL_REMOVE) {
    auto v = vigias_.find(socket);
    if (v == vigias_.end()) return;
    retirar(v->second.leer);
    retirar(v->second.escribir);
    vigias_.erase(v);
    return;
  }
  Vigia& v = vigias_[socket];
  const bool leer = que == CURL_POLL_IN || que == CURL_POLL_INOUT;
  const bool escribir = que == CURL_POLL_OUT || que == CURL_POLL_INOUT;
  if (leer && !v.leer) {
    v.leer = new QSocketNotifier(socket, QSocketNotifier::Read, this);
    connect(v.leer, &QSocketNotifier::activated, this, [this, socket] { actuar(socket, CURL_CSELECT_IN); });
  }
  if (escribir && !v.escribir) {
    v.escribir = new QSocketNotifier(socket, QSocketNotifier::Write, this);
    connect(v.escribir, &QSocketNotifier::activated, this, [this, socket] { actuar(socket, CURL_CSELECT_OUT); });
  }
  if (v.leer) v.leer->setEnabled(leer);
  if (v.escribir) v.escribir->setEnabled(escribir);
}

void CanalCurl::actuar(int socket, int eventos) {
  int vivos = 0;
  curl_multi_socket_action(multi_, socket, eventos, &vivos);
  recoger();
}

void CanalCurl::recoger() {
  const QPointer<CanalCurl> yo(this);
  if (avisarRecibiendo_) {
    avisarRecibiendo_ = false;
    emit estado(kRecibiendo);
    if (!yo) return;
  }
  int quedan = 0;
  while (CURLMsg* m = curl_multi_info_read(multi_, &quedan)) {
    if (m->msg != CURLMSG_DONE || m->easy_handle != easy_) continue;
    // The report may start another transfer or delete the channel: nothing after it.
    alTerminar(cerrar(m->data.result));
    return;
  }
}

size_t CanalCurl::alCabecera(char* datos, size_t tam, size_t n, void* canal) {
  auto* c = static_cast<CanalCurl*>(canal);
  const size_t largo = tam * n;
  c->inactividad_->start(c->espera_);
  // Each answer of the transfer (an interim 100, a redirection) starts with its status line.
  if (largo >= 5 && std::memcmp(datos, "HTTP/", 5) == 0) {
    c->cabecerasRecibidas_ = 0;
    c->anunciado_ = -1;
  }
  c->cabecerasRecibidas_ += static_cast<qint64>(largo);
  if (c->cabecerasRecibidas_ > kMaximoCabeceras) {
    c->cabecerasDeMas_ = true;
    return 0;
  }
  // The length the server announces, for the report of an answer refused before its body.
  const QByteArray linea = QByteArray::fromRawData(datos, static_cast<qsizetype>(largo));
  constexpr QByteArrayView kLargo = "content-length:";
  if (linea.size() > kLargo.size() && linea.first(kLargo.size()).compare(kLargo, Qt::CaseInsensitive) == 0) {
    bool bien = false;
    const qint64 valor = linea.sliced(kLargo.size()).trimmed().toLongLong(&bien);
    if (bien) c->anunciado_ = valor;
  }
  return largo;
}

size_t CanalCurl::alDatos(char* datos, size_t tam, size_t n, void* canal) {
  auto* c = static_cast<CanalCurl*>(canal);
  const size_t largo = tam * n;
  c->inactividad_->start(c->espera_);
  c->recibidos_ += static_cast<qint64>(largo);
  if (c->enPortada_) {
    // Only its cookies matter: the body is read to nothing, never kept, and a page
    // past the size limit is not read to its end.
    return c->recibidos_ > c->opciones_.limite ? 0 : largo;
  }
  if (c->recibidos_ > c->opciones_.limite) {
    // Never hold more than the limit: stop the transfer and report the refusal.
    c->demasiado_ = true;
    c->cuerpo_.clear();
    return 0;
  }
  if (!c->recibiendo_) {
    c->recibiendo_ = true;
    c->avisarRecibiendo_ = true;
  }
  c->cuerpo_.append(datos, static_cast<qsizetype>(largo));
  return largo;
}

void CanalCurl::traer(const QUrl& url, const Opciones& opciones) {
  // A new request resets the channel: the old transfer ends without a report.
  soltar();
  ++generacion_;
  opciones_ = opciones;
  url_ = url;
  cuerpo_.clear();
  conError_ = false;
  demasiado_ = false;
  recibiendo_ = false;
  avisarRecibiendo_ = false;
  recibidos_ = 0;
  certificadoAjeno_ = false;
  intentos_ = 0;
  enPortada_ = false;
  portadaVisitada_ = false;
  esperando_ = false;
  motivo_.clear();
  reloj_->start(plazo_);
  pedir(url_, false);
  emit estado(kSolicitando);
}

void CanalCurl::pedir(const QUrl& url, bool portada) {
  enPortada_ = portada;
  if (!portada) ++intentos_;
  redirecciones_ = 0;
  lanzar(url);
}

void CanalCurl::lanzar(const QUrl& url) {
  soltar();
  actual_ = url;
  cuerpo_.clear();
  demasiado_ = false;
  recibidos_ = 0;
  cabecerasRecibidas_ = 0;
  anunciado_ = -1;
  cabecerasDeMas_ = false;
  errorCurl_.fill('\0');

  easy_ = curl_easy_init();
  const QByteArray direccion = url.toEncoded();
  curl_easy_setopt(easy_, CURLOPT_URL, direccion.constData());
  curl_easy_setopt(easy_, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy_, CURLOPT_ERRORBUFFER, errorCurl_.data());
  // The channel decides on every redirection itself.
  curl_easy_setopt(easy_, CURLOPT_FOLLOWLOCATION, 0L);
  curl_easy_setopt(easy_, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(easy_, CURLOPT_SSL_VERIFYHOST, 2L);
  if (!autoridades_.isEmpty()) curl_easy_setopt(easy_, CURLOPT_CAINFO, autoridades_.constData());
  curl_easy_setopt(easy_, CURLOPT_SHARE, compartido_);
  curl_easy_setopt(easy_, CURLOPT_COOKIEFILE, "");  // cookies in memory, never on disk
  curl_easy_setopt(easy_, CURLOPT_NOPROXY, sinProxy_.constData());
  // Decoded by curl and counted decoded against the size limit.
  curl_easy_setopt(easy_, CURLOPT_ACCEPT_ENCODING, "gzip, deflate");
  // An answer that says it is too long is refused before its body arrives.
  curl_easy_setopt(easy_, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(opciones_.limite));
  curl_easy_setopt(easy_, CURLOPT_HEADERFUNCTION, &CanalCurl::alCabecera);
  curl_easy_setopt(easy_, CURLOPT_HEADERDATA, this);
  curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &CanalCurl::alDatos);
  curl_easy_setopt(easy_, CURLOPT_WRITEDATA, this);

  if (!opciones_.portada.isEmpty()) {
    // What a current desktop browser sends; the service's edge turns other clients away.
    curl_easy_setopt(easy_, CURLOPT_USERAGENT,
                     "Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) "
                     "Chrome/131.0.0.0 Safari/537.36");
    cabeceras_ = curl_slist_append(cabeceras_, "Accept-Language: es-ES");
    if (enPortada_) {
      cabeceras_ =
          curl_slist_append(cabeceras_, "Accept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8");
    } else {
      cabeceras_ = curl_slist_append(cabeceras_, "Accept: application/json");
      cabeceras_ = curl_slist_append(cabeceras_, ("Referer: " + opciones_.portada.toEncoded()).constData());
    }
  } else {
    curl_easy_setopt(easy_, CURLOPT_USERAGENT, "Mozilla/5.0");
  }
  if (opciones_.sinCache) cabeceras_ = curl_slist_append(cabeceras_, "Cache-Control: no-cache");
  curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, cabeceras_);
  inactividad_->start(espera_);
  curl_multi_add_handle(multi_, easy_);
}

void CanalCurl::soltar() {
  inactividad_->stop();
  if (easy_) {
    CURL* e = easy_;
    easy_ = nullptr;
    curl_multi_remove_handle(multi_, e);
    curl_easy_cleanup(e);
  }
  curl_slist_free_all(cabeceras_);
  cabeceras_ = nullptr;
}

CanalCurl::Fin CanalCurl::cerrar(int codigo) {
  Fin f;
  f.codigo = codigo;
  f.anunciado = anunciado_;
  if (easy_) {
    curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &f.http);
    char* destino = nullptr;
    if (curl_easy_getinfo(easy_, CURLINFO_REDIRECT_URL, &destino) == CURLE_OK && destino)
      f.destino = QUrl::fromEncoded(destino);
  }
  // libcurl checks the name itself once the chain is verified, and says so only in its words.
  f.nombreAjeno = codigo == CURLE_PEER_FAILED_VERIFICATION && errorCurl_.contains("target host name");
  if (codigo != CURLE_OK) {
    const auto c = static_cast<CURLcode>(codigo);
    // curl refuses a single header line past its own bound, before any of it is kept.
    if (cabecerasDeMas_ || (c == CURLE_OUT_OF_MEMORY && !recibiendo_))
      f.error = QStringLiteral("Las cabeceras de la respuesta son demasiado grandes");
    else
      f.error = textoFallo(c, actual_);
  }
  soltar();
  return f;
}

void CanalCurl::agotarEspera() {
  if (!easy_) return;
  Fin f = cerrar(CURLE_OPERATION_TIMEDOUT);
  const int segundos = (espera_ + 999) / 1000;
  f.error = segundos == 1 ? QStringLiteral("El servidor lleva 1 segundo sin enviar nada")
                          : QStringLiteral("El servidor lleva %1 segundos sin enviar nada").arg(segundos);
  alTerminar(f);
}

void CanalCurl::agotarPlazo() {
  motivo_ = QStringLiteral("El servidor tarda demasiado en enviar la respuesta");
  if (easy_) {
    alTerminar(cerrar(CURLE_OPERATION_TIMEDOUT));
    return;
  }
  if (esperando_) {
    ++generacion_;
    esperando_ = false;
    conError_ = true;
    Traida t;
    t.error = motivo_;
    terminar(t, kError);
  }
}

QString CanalCurl::redireccionNoPermitida(const QUrl& destino) const {
  const bool otroHost = destino.host().compare(actual_.host(), Qt::CaseInsensitive) != 0;
  if (destino.scheme() != QLatin1String("http") && destino.scheme() != QLatin1String("https"))
    return QStringLiteral("El servicio redirige a una dirección que no es web (%1)").arg(destino.scheme());
  // Another host could be anybody: no request (and no Referer) goes there.
  if (!opciones_.portada.isEmpty() && (otroHost || destino.scheme() != actual_.scheme()))
    return QStringLiteral("El servicio redirige a otro sitio (%1)").arg(destino.host());
  if (opciones_.mismoOrigen && (otroHost || destino.scheme() != actual_.scheme() ||
                                destino.port(destino.scheme() == QLatin1String("https") ? 443 : 80) !=
                                    actual_.port(actual_.scheme() == QLatin1String("https") ? 443 : 80)))
    return QStringLiteral("El servicio redirige a otro sitio (%1)").arg(destino.host());
  if (actual_.scheme() == QLatin1String("https") && destino.scheme() == QLatin1String("http"))
    return QStringLiteral("El servicio redirige a una dirección sin cifrar (%1)").arg(destino.host());
  return {};
}

void CanalCurl::cancelar() {
  reloj_->stop();
  if (esperando_) {
    // A pause between tries: the transfer ends there.
    ++generacion_;
    esperando_ = false;
    conError_ = true;
    return;
  }
  if (!easy_) return;
  soltar();
  cuerpo_.clear();
  conError_ = true;
}

bool CanalCurl::reintentar() {
  if (opciones_.portada.isEmpty() || intentos_ >= kIntentos) return false;
  if (!portadaVisitada_) {
    portadaVisitada_ = true;
    pedir(opciones_.portada, true);
  } else {
    esperarYRepetir();
  }
  return true;
}

void CanalCurl::esperarYRepetir() {
  esperando_ = true;
  plataforma::pausas().esperar(kPausas[intentos_ - 1], this, [this, generacion = generacion_] {
    if (generacion != generacion_) return;
    esperando_ = false;
    pedir(url_, false);
  });
}

void CanalCurl::terminar(Traida t, int estadoFinal) {
  reloj_->stop();
  t.intentos = intentos_;
  t.certificadoAjeno = !t.ok && certificadoAjeno_;
  emit estado(estadoFinal);
  emit terminado(t);
}

void CanalCurl::alTerminar(const Fin& fin) {
  // Somebody else's certificate is not the same as a lost connection.
  if (fin.nombreAjeno) certificadoAjeno_ = true;
  if (motivo_.isEmpty() && fin.codigo == CURLE_OK && fin.http >= 300 && fin.http < 400 && fin.destino.isValid()) {
    motivo_ = redireccionNoPermitida(fin.destino);
    if (motivo_.isEmpty() && redirecciones_ >= kMaximoRedirecciones)
      motivo_ = QStringLiteral("El servicio redirige demasiadas veces");
    if (motivo_.isEmpty()) {
      ++redirecciones_;
      lanzar(fin.destino);
      return;
    }
  }
  if (enPortada_ && motivo_.isEmpty()) {
    // Only its cookies matter (the share keeps them); whatever it answered, the
    // address is asked again after the pause.
    enPortada_ = false;
    cuerpo_.clear();
    esperarYRepetir();
    return;
  }
  Traida t;
  t.recibidos = recibidos_;
  t.estadoHttp = static_cast<int>(fin.http);
  if (!motivo_.isEmpty()) {
    // Stopped by the channel itself: a failed transfer that stores nothing.
    enPortada_ = false;
    t.error = motivo_;
    cuerpo_.clear();
    conError_ = true;
    return terminar(t, kError);
  }
  if (demasiado_ || fin.codigo == CURLE_FILESIZE_EXCEEDED) {
    t.demasiado = true;
    t.recibidos = std::max(t.recibidos, fin.anunciado);
    t.error = QStringLiteral("Respuesta demasiado grande");
    cuerpo_.clear();
    return terminar(t, kCompletado);
  }
  if (fin.codigo == CURLE_OK && (fin.http == 403 || fin.http == 406)) {
    cuerpo_.clear();
    if (reintentar()) return;
    t.rechazado = true;
  }
  // Every status of 400 and above (403 and 406 included, once the tries are spent)
  // is a failed transfer that stores nothing.
  if (t.rechazado || fin.codigo != CURLE_OK || fin.http >= 400 || fin.http < 200) {
    t.error = t.rechazado || fin.codigo == CURLE_OK ? QStringLiteral("HTTP %1").arg(fin.http) : fin.error;
    cuerpo_.clear();
    conError_ = true;
    return terminar(t, kError);
  }
  t.ok = true;
  t.cuerpo = std::move(cuerpo_);
  cuerpo_.clear();
  terminar(t, kCompletado);
}

}  // namespace sortilan::plataforma
