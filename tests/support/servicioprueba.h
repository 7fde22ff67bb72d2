#pragma once

#include <QByteArray>
#include <QDate>
#include <QHash>
#include <QList>
#include <QStringList>
#include <QTcpServer>

#include "platform/canalhttp.h"

namespace sortilan::prueba {

// An answer shaped like the service's: draws newest first with the key written R(k)
// (or " (k)"), each object padded to about `largo` bytes, a prize table and a document.
struct SorteoRespuesta {
  SorteoRespuesta() = default;
  SorteoRespuesta(const QDate& f, const QString& c, int k) : fecha(f), combinacion(c), clave(k) {}
  // The combinations written in the tests are plain ASCII.
  SorteoRespuesta(const QDate& f, const char* c, int k) : SorteoRespuesta(f, QLatin1String(c), k) {}
  QDate fecha;
  QString combinacion;  // "04 - 10 - 29 - 39 - 54"
  int clave = 0;
};
QByteArray respuestaSintetica(const QList<SorteoRespuesta>& sorteos, int largo = 1500, bool conParentesis = false);

// The draws of tests/data/numeros.dat (the real history), oldest first.
QList<SorteoRespuesta> historiaRespuesta();

// A stand-in for the results service and the operator's site on 127.0.0.1: every
// request gets the answer set for it; the paths and headers asked with are recorded.
class ServicioPrueba : public QObject {
  Q_OBJECT
 public:
  struct Respuesta {
    int estado = 200;
    QByteArray cuerpo;
    int demoraMs = 0;     // answer only after this long
    bool cerrar = false;  // hang up without answering
  };
  ServicioPrueba();
  quint16 puerto() const { return servidor_.serverPort(); }
  QUrl base() const;
  // Answer for requests whose path starts with `prefijo`; the default for the rest.
  void poner(const QString& prefijo, const Respuesta& r) { porRuta_.append({prefijo, {r}}); }
  // Answers taken in turn by the requests under `prefijo`; the last one stays.
  void ponerSecuencia(const QString& prefijo, const QList<Respuesta>& r) { porRuta_.append({prefijo, r}); }
  Respuesta defecto;
  QStringList pedidas;                             // path and query of every request
  QList<QHash<QByteArray, QByteArray>> cabeceras;  // headers of every request, names in lower case

  // Like the operator's edge: a request of the results service without the cookie that
  // the home page "/" hands out is refused with 403 "Access Denied".
  bool exigirCookie = false;
  // When not empty, the results service answers from these draws: those between the
  // dates of the query, newest first, or the plain text of a search that found nothing.
  QList<SorteoRespuesta> historia;

  // Writes <carpeta>/sortilan.ini pointing the results service and the operator's site here.
  void configurar(const QString& carpeta) const;

 private:
  void atender(QTcpSocket* s);
  Respuesta responder(const QString& ruta, const QHash<QByteArray, QByteArray>& cabeceras);
  QTcpServer servidor_;
  QList<QPair<QString, QList<Respuesta>>> porRuta_;
};

// A port on which nothing listens.
quint16 puertoCerrado();

// A transfer channel driven by the test: it records the request and answers when told.
class CanalGuionado : public plataforma::CanalHttp {
  Q_OBJECT
 public:
  void traer(const QUrl& url, const Opciones& o) override {
    pedidas.append(url);
    opciones = o;
    ocupado_ = true;
    error_ = false;
  }
  using CanalHttp::traer;
  void cancelar() override {
    ++cancelaciones;
    if (ocupado_) error_ = true;
    ocupado_ = false;
  }
  bool ocupado() const override { return ocupado_; }
  bool conError() const override { return error_; }

  // The transfer ends with this body (ok) or fails.
  void responder(const QByteArray& cuerpo, int estadoFinal = kCompletado);
  void fallar();
  // The channel state a tick sees afterwards.
  bool ocupado_ = false;
  bool error_ = false;
  QList<QUrl> pedidas;
  Opciones opciones;
  int cancelaciones = 0;
};

}  // namespace sortilan::prueba
