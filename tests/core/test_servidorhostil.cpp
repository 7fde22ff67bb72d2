// The channel against servers that do not play fair, each a QTcpServer on 127.0.0.1:
// a body that drips, headers without end, a redirection to another host, a home page
// that never stops, a compressed bomb, a certificate nobody vouches for. Every transfer
// ends, refused, within its deadline, and holds no more than its bounds.
#include <QElapsedTimer>
#include <QFile>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "platform/canalcurl.h"
#include "support/dobles.h"
#include "support/servicioprueba.h"

using namespace sortilan;
using namespace sortilan::plataforma;
using namespace Qt::StringLiterals;

namespace {

// Answers every request with `responder`, which writes to the socket as it likes.
class Hostil : public QObject {
 public:
  explicit Hostil(std::function<void(QTcpSocket*, const QByteArray&)> responder) : responder_(std::move(responder)) {
    QObject::connect(&servidor_, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket* s = servidor_.nextPendingConnection()) {
        auto* pedido = new QByteArray;
        QObject::connect(s, &QTcpSocket::readyRead, s, [this, s, pedido] {
          *pedido += s->readAll();
          if (!pedido->contains("\r\n\r\n")) return;
          ++peticiones;
          const QByteArray p = *pedido;
          pedido->clear();
          responder_(s, p);
        });
        QObject::connect(s, &QTcpSocket::disconnected, s, [s, pedido] {
          delete pedido;
          s->deleteLater();
        });
      }
    });
    servidor_.listen(QHostAddress::LocalHost);
  }
  QUrl url(const QString& ruta, const QString& host = u"127.0.0.1"_s) const {
    return QUrl(u"http://%1:%2%3"_s.arg(host).arg(servidor_.serverPort()).arg(ruta));
  }
  int peticiones = 0;

 private:
  QTcpServer servidor_;
  std::function<void(QTcpSocket*, const QByteArray&)> responder_;
};

// One byte every 50 ms of a body that says it is long: the inactivity timeout never fires.
void gotear(QTcpSocket* s) {
  auto* t = new QTimer(s);
  QObject::connect(t, &QTimer::timeout, s, [s] { s->write("x"); });
  t->start(50);
}

}  // namespace

class TestServidorHostil : public QObject {
  Q_OBJECT

 private slots:
  void goteoAgotaElPlazo_data() {
    QTest::addColumn<bool>("servicio");
    QTest::newRow("documento") << false;
    QTest::newRow("servicio de resultados") << true;
  }

  void goteoAgotaElPlazo() {
    QFETCH(bool, servicio);
    Hostil h([](QTcpSocket* s, const QByteArray&) {
      s->write("HTTP/1.1 200 OK\r\nContent-Length: 1000000\r\n\r\n");
      gotear(s);
    });
    CanalCurl canal(5000);
    canal.ponerPlazo(800);
    CanalHttp::Opciones o;
    if (servicio) o.portada = h.url(u"/"_s);
    QElapsedTimer reloj;
    reloj.start();
    const Traida t = traerEsperando(canal, h.url(u"/a"_s), o);
    QVERIFY(!t.ok);
    QVERIFY(t.cuerpo.isEmpty());
    QVERIFY2(t.error.contains(u"tarda demasiado"_s), qPrintable(t.error));
    QVERIFY(reloj.elapsed() < 3000);
    QVERIFY(canal.conError());
  }

  // Headers are bounded while they arrive: neither many lines nor one line without end
  // are kept past the bound, and the refusal comes at once, not at the deadline.
  void cabecerasSinFin_data() {
    QTest::addColumn<QByteArray>("trozo");
    QTest::addColumn<bool>("sinFin");
    QByteArray lineas;
    for (int i = 0; i < 40; ++i) lineas += "X-Relleno-" + QByteArray::number(i) + ": " + QByteArray(4000, 'a') + "\r\n";
    QTest::newRow("160 KB en líneas pequeñas") << lineas << false;
    QTest::newRow("líneas sin fin") << QByteArray("X-Relleno: " + QByteArray(1000, 'a') + "\r\n") << true;
    QTest::newRow("una línea sin fin") << QByteArray(64 * 1024, 'a') << true;
  }
  void cabecerasSinFin() {
    QFETCH(QByteArray, trozo);
    QFETCH(bool, sinFin);
    Hostil h([trozo, sinFin](QTcpSocket* s, const QByteArray&) {
      s->write(sinFin ? QByteArray("HTTP/1.1 200 OK\r\nX-Larga: ") : QByteArray("HTTP/1.1 200 OK\r\n"));
      if (!sinFin) {
        s->write(trozo + "Content-Length: 2\r\n\r\nok");
        return;
      }
      auto* t = new QTimer(s);
      QObject::connect(t, &QTimer::timeout, s, [s, trozo] {
        if (s->bytesToWrite() < 1024 * 1024) s->write(trozo);
      });
      t->start(1);
    });
    CanalCurl canal(5000);
    canal.ponerPlazo(20000);
    QElapsedTimer reloj;
    reloj.start();
    const Traida t = traerEsperando(canal, h.url(u"/a"_s), {});
    QVERIFY(!t.ok);
    QVERIFY(t.cuerpo.isEmpty());
    QVERIFY2(t.error.contains(u"cabeceras"_s), qPrintable(t.error));
    QVERIFY2(reloj.elapsed() < 5000, qPrintable(QString::number(reloj.elapsed())));
  }

  // A body is bounded after decompression, and one announced too long is refused before it
  // arrives: the limit is the same whatever the server says or squeezes.
  void cuerpoAcotado_data() {
    QTest::addColumn<QByteArray>("cabeceras");
    QTest::addColumn<QByteArray>("cuerpo");
    QTest::addColumn<bool>("demasiado");
    // 16 MiB of zeros in some 16 KB: deflate is a zlib stream, what qCompress writes after its length.
    const QByteArray bomba = qCompress(QByteArray(16 * 1024 * 1024, '\0'), 9).mid(4);
    QTest::newRow("bomba comprimida") << QByteArray("Content-Encoding: deflate\r\n") << bomba << true;
    QTest::newRow("anuncia 1 GB") << QByteArray("X-Nada: 1\r\n") << QByteArray() << true;
    const QByteArray poco = qCompress(QByteArray(500 * 1024, 'x'), 9).mid(4);
    QTest::newRow("comprimida dentro del límite") << QByteArray("Content-Encoding: deflate\r\n") << poco << false;
  }
  void cuerpoAcotado() {
    QFETCH(QByteArray, cabeceras);
    QFETCH(QByteArray, cuerpo);
    QFETCH(bool, demasiado);
    Hostil h([cabeceras, cuerpo](QTcpSocket* s, const QByteArray&) {
      const QByteArray largo = cuerpo.isEmpty() ? QByteArray("1000000000") : QByteArray::number(cuerpo.size());
      s->write("HTTP/1.1 200 OK\r\n" + cabeceras + "Content-Length: " + largo + "\r\n\r\n" + cuerpo);
    });
    CanalCurl canal(5000);
    canal.ponerPlazo(20000);
    CanalHttp::Opciones o;
    o.limite = 1024 * 1024;
    const Traida t = traerEsperando(canal, h.url(u"/a"_s), o);
    QCOMPARE(t.demasiado, demasiado);
    QCOMPARE(t.ok, !demasiado);
    if (demasiado) {
      QVERIFY(t.cuerpo.isEmpty());
      QVERIFY(t.recibidos > o.limite);
      QVERIFY(!canal.conError());
    } else {
      QCOMPARE(t.cuerpo, QByteArray(500 * 1024, 'x'));
    }
  }

  // HTTPS against a local server with a certificate for 127.0.0.1: one nobody vouches for
  // is never accepted, and one vouched for but of another name is told as such; no
  // request goes over either. From HTTPS the channel never steps down to HTTP.
  void https_data() {
    QTest::addColumn<bool>("avalado");
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("ruta");
    QTest::addColumn<QString>("error");  // empty: answered
    QTest::addColumn<bool>("ajeno");
    QTest::newRow("nadie lo avala") << false << u"127.0.0.1"_s << u"/a"_s << u"certificado"_s << false;
    QTest::newRow("avalado") << true << u"127.0.0.1"_s << u"/a"_s << QString() << false;
    QTest::newRow("avalado, de otro nombre") << true << u"localhost"_s << u"/a"_s << u"certificado"_s << true;
    QTest::newRow("avalado, redirige a HTTP") << true << u"127.0.0.1"_s << u"/redirige"_s << u"sin cifrar"_s << false;
  }
  void https() {
    QFETCH(bool, avalado);
    QFETCH(QString, host);
    QFETCH(QString, ruta);
    QFETCH(QString, error);
    const QString certificado = QStringLiteral(SORTILAN_TEST_DATA "/tls/local.crt");
    QSslServer servidor;
    QFile cert(certificado);
    QFile clave(QStringLiteral(SORTILAN_TEST_DATA "/tls/local.key"));
    QVERIFY(cert.open(QIODevice::ReadOnly) && clave.open(QIODevice::ReadOnly));
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setLocalCertificate(QSslCertificate(&cert, QSsl::Pem));
    tls.setPrivateKey(QSslKey(&clave, QSsl::Rsa, QSsl::Pem));
    servidor.setSslConfiguration(tls);
    int peticiones = 0;
    connect(&servidor, &QSslServer::pendingConnectionAvailable, this, [&] {
      while (QTcpSocket* s = servidor.nextPendingConnection()) {
        connect(s, &QTcpSocket::readyRead, s, [&peticiones, s] {
          ++peticiones;
          if (s->readAll().startsWith("GET /redirige"))
            s->write("HTTP/1.1 302 Found\r\nLocation: http://127.0.0.1:9/x\r\nContent-Length: 0\r\n\r\n");
          else
            s->write("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\n[]");
        });
      }
    });
    QVERIFY(servidor.listen(QHostAddress::LocalHost));
    CanalCurl canal(5000);
    canal.ponerPlazo(10000);
    if (avalado) canal.ponerAutoridades(certificado);
    const QUrl url(u"https://%1:%2%3"_s.arg(host).arg(servidor.serverPort()).arg(ruta));
    const Traida t = traerEsperando(canal, url, {});
    QTEST(t.certificadoAjeno, "ajeno");
    if (error.isEmpty()) {
      QVERIFY2(t.ok, qPrintable(t.error));
      QCOMPARE(t.cuerpo, QByteArray("[]"));
      return;
    }
    QVERIFY(!t.ok);
    QVERIFY(t.cuerpo.isEmpty());
    QVERIFY2(t.error.contains(error), qPrintable(t.error));
    QCOMPARE(peticiones, ruta == u"/redirige"_s ? 1 : 0);
    QVERIFY(canal.conError());
  }

  // The channel follows a redirection only where the request's policy lets it: the results
  // service within its own host, the same origin when asked, anywhere else for the rest.
  // Where it does not follow, the other server gets no request; a loop ends.
  void redirecciones_data() {
    QTest::addColumn<int>("politica");  // 0 none, 1 same origin, 2 the results service
    QTest::addColumn<QString>("destino");
    QTest::addColumn<QString>("error");  // empty: followed and answered
    const QString otroSitio = u"otro sitio"_s;
    QTest::newRow("servicio, su sitio") << 2 << u"/nuevo"_s << QString();
    QTest::newRow("servicio, otro host") << 2 << u"otro-host"_s << otroSitio;
    QTest::newRow("mismo origen, otro puerto") << 1 << u"otro-puerto"_s << otroSitio;
    QTest::newRow("mismo origen, su sitio") << 1 << u"/nuevo"_s << QString();
    QTest::newRow("sin política, otro host") << 0 << u"otro-host"_s << QString();
    QTest::newRow("sin fin") << 0 << u"/bucle"_s << u"demasiadas veces"_s;
  }
  void redirecciones() {
    QFETCH(int, politica);
    QFETCH(QString, destino);
    QFETCH(QString, error);
    Hostil otro([](QTcpSocket* s, const QByteArray&) { s->write("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\n[]"); });
    Hostil h([&otro, destino](QTcpSocket* s, const QByteArray& pedido) {
      if (pedido.startsWith("GET /nuevo")) {
        s->write("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\n[]");
        return;
      }
      const QByteArray a = destino == u"otro-host"_s     ? otro.url(u"/x"_s, u"localhost"_s).toEncoded()
                           : destino == u"otro-puerto"_s ? otro.url(u"/x"_s).toEncoded()
                                                         : destino.toUtf8();
      s->write("HTTP/1.1 302 Found\r\nLocation: " + a + "\r\nContent-Length: 0\r\n\r\n");
    });
    CanalCurl canal(5000);
    canal.ponerPlazo(5000);
    CanalHttp::Opciones o;
    o.mismoOrigen = politica == 1;
    if (politica == 2) o.portada = h.url(u"/"_s);
    const Traida t = traerEsperando(canal, h.url(u"/viejo"_s), o);
    if (error.isEmpty()) {
      QVERIFY2(t.ok, qPrintable(t.error));
      QCOMPARE(t.cuerpo, QByteArray("[]"));
      return;
    }
    QVERIFY(!t.ok);
    QVERIFY2(t.error.contains(error), qPrintable(t.error));
    QCOMPARE(otro.peticiones, 0);
    if (destino == u"/bucle"_s) QCOMPARE(h.peticiones, CanalCurl::kMaximoRedirecciones + 1);
  }

  // A proxy named by the environment is never asked for this machine itself (here it
  // listens nowhere): the local service answers directly, by address and by name.
  void proxyDelEntorno_data() {
    QTest::addColumn<QString>("host");
    QTest::newRow("127.0.0.1") << u"127.0.0.1"_s;
    QTest::newRow("localhost") << u"localhost"_s;
  }
  void proxyDelEntorno() {
    QFETCH(QString, host);
    const QByteArray proxy = "http://127.0.0.1:" + QByteArray::number(prueba::puertoCerrado());
    const auto guarda = qScopeGuard([] {
      qunsetenv("http_proxy");
      qunsetenv("no_proxy");
    });
    qputenv("http_proxy", proxy);
    qputenv("no_proxy", "ejemplo.invalid");
    Hostil h([](QTcpSocket* s, const QByteArray&) { s->write("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok"); });
    CanalCurl canal(5000);
    const Traida t = traerEsperando(canal, h.url(u"/a"_s, host), {});
    QVERIFY2(t.ok, qPrintable(t.error));
    QCOMPARE(t.cuerpo, QByteArray("ok"));
  }

  // A new request while one runs ends the old one without a report; a channel deleted by
  // the receiver of its report is left alone.
  void nuevaPeticionYBorrado() {
    Hostil h([](QTcpSocket* s, const QByteArray& pedido) {
      if (pedido.startsWith("GET /lenta")) return;  // never answers
      s->write("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok");
    });
    auto* canal = new CanalCurl(5000);
    QList<QByteArray> cuerpos;
    connect(canal, &CanalHttp::terminado, this, [&cuerpos, canal](const Traida& t) {
      cuerpos << t.cuerpo;
      delete canal;
    });
    canal->traer(h.url(u"/lenta"_s));
    QTRY_COMPARE(h.peticiones, 1);
    canal->traer(h.url(u"/rapida"_s));
    QTRY_COMPARE(cuerpos.size(), 1);
    QCOMPARE(cuerpos[0], QByteArray("ok"));
    QTest::qWait(100);
    QCOMPARE(cuerpos.size(), 1);
  }

  // After a 403 the home page is visited for its cookies only: an endless page is cut at
  // the size limit and the service asked again, whose refusal ends the transfer.
  void portadaSinFin() {
    Hostil h([](QTcpSocket* s, const QByteArray& pedido) {
      if (pedido.startsWith("GET / ")) {
        s->write("HTTP/1.1 200 OK\r\nContent-Length: 1000000000\r\n\r\n");
        auto* t = new QTimer(s);
        QObject::connect(t, &QTimer::timeout, s, [s] { s->write(QByteArray(64 * 1024, 'p')); });
        t->start(1);
      } else {
        s->write("HTTP/1.1 403 Forbidden\r\nContent-Length: 0\r\n\r\n");
      }
    });
    prueba::Entorno e;  // the pauses between tries pass at once
    CanalCurl canal(5000);
    canal.ponerPlazo(20000);
    CanalHttp::Opciones o;
    o.limite = 256 * 1024;
    o.portada = h.url(u"/"_s);
    QElapsedTimer reloj;
    reloj.start();
    const Traida t = traerEsperando(canal, h.url(u"/servicio"_s), o);
    QVERIFY(!t.ok);
    QVERIFY(t.rechazado || !t.error.isEmpty());
    QVERIFY(reloj.elapsed() < 20000);
  }
};

QTEST_GUILESS_MAIN(TestServidorHostil)
#include "test_servidorhostil.moc"
