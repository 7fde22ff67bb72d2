#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include "auxiliary/noticias.h"
#include "auxiliary/versiones.h"
#include "base/fechas.h"
#include "operations/ajustes.h"
#include "platform/descarga.h"
#include "support/dobles.h"

using namespace sortilan;
using namespace sortilan::prueba;

namespace {

// A one-page web server on 127.0.0.1 that answers every request with the same reply.
class ServidorLocal : public QObject {
 public:
  explicit ServidorLocal(QByteArray respuesta) : respuesta_(std::move(respuesta)) {
    servidor_.listen(QHostAddress::LocalHost);
    connect(&servidor_, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket* s = servidor_.nextPendingConnection()) {
        connect(s, &QTcpSocket::readyRead, s, [this, s] {
          pedido_ += s->readAll();
          if (!pedido_.contains("\r\n\r\n")) return;
          ++peticiones;
          peticion = pedido_;
          pedido_.clear();
          s->write(respuesta_);
          s->disconnectFromHost();
        });
        connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
      }
    });
  }
  QUrl url(const QString& ruta = QStringLiteral("/ginforme.dat")) const {
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(servidor_.serverPort()).arg(ruta));
  }
  static QByteArray ok(const QByteArray& cuerpo) {
    return "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " + QByteArray::number(cuerpo.size()) +
           "\r\nConnection: close\r\n\r\n" + cuerpo;
  }
  int peticiones = 0;
  QByteArray peticion;

 private:
  QTcpServer servidor_;
  QByteArray respuesta_;
  QByteArray pedido_;
};

// A port where nobody listens.
QUrl puertoCerrado() {
  QTcpServer s;
  s.listen(QHostAddress::LocalHost);
  const quint16 p = s.serverPort();
  s.close();
  return QUrl(QStringLiteral("http://127.0.0.1:%1/ginforme.dat").arg(p));
}

}  // namespace

namespace {
GuardarNoticias guardar(Almacen& a) {
  return [&a](const QByteArray& b) { return operaciones::guardarNoticias(a, b); };
}
}  // namespace

class TestNoticias : public QObject {
  Q_OBJECT
 private slots:
  void nombresDeVersion_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("nombre");
    QTest::newRow("95") << "1.0.0"
                        << "Windows 95";
    QTest::newRow("98") << "1.1.0"
                        << "Windows 98";
    QTest::newRow("Me") << "1.9.0"
                        << "Windows Millenium";
    QTest::newRow("NT 3.51") << "2.3.0"
                             << "Windows NT 3.51";
    QTest::newRow("NT 4") << "2.4.0"
                          << "Windows NT 4.0";
    QTest::newRow("2000") << "2.5.0"
                          << "Windows 2000";
    QTest::newRow("XP") << "2.5.1"
                        << "Windows XP";
    QTest::newRow("2003") << "2.5.3"
                          << "Windows 2003";
    QTest::newRow("Vista") << "2.6.0"
                           << "Windows Vista";
    QTest::newRow("7") << "2.6.1"
                       << "Windows 7";
    QTest::newRow("8") << "2.6.2"
                       << "Windows 8";
    QTest::newRow("10 y 11") << "2.10.0"
                             << "Windows 10";
    QTest::newRow("8.1 sin nombre") << "2.6.3"
                                    << "2.6.3";
    QTest::newRow("coincidencia exacta") << "2.10.0.1"
                                         << "2.10.0.1";
    QTest::newRow("otro sistema") << "Debian GNU/Linux 12 (bookworm)"
                                  << "Debian GNU/Linux 12 (bookworm)";
    QTest::newRow("vacía") << ""
                           << "";
  }
  void nombresDeVersion() {
    QFETCH(QString, version);
    QFETCH(QString, nombre);
    QCOMPARE(VersionToName(version), nombre);
  }

  void cuandoSeComprueba_data() {
    QTest::addColumn<int>("diasAtras");  // -1: no draw at all
    QTest::addColumn<bool>("comprueba");
    QTest::newRow("hace 3 días") << 3 << true;
    QTest::newRow("hace 2 días") << 2 << false;
    QTest::newRow("hace 40 días") << 40 << true;
    QTest::newRow("hoy") << 0 << false;
    QTest::newRow("sin sorteos") << -1 << false;
  }
  void cuandoSeComprueba() {
    QFETCH(int, diasAtras);
    QFETCH(bool, comprueba);
    const QDate hoy(2021, 3, 10);
    const double fecha = diasAtras < 0 ? 0 : oleDesdeFecha(hoy.addDays(-diasAtras));
    QCOMPARE(tocaComprobarInforme(fecha, hoy), comprueba);
  }

  void cuandoSeAvisa_data() {
    QTest::addColumn<int>("antes");
    QTest::addColumn<int>("despues");
    QTest::addColumn<bool>("avisa");
    QTest::newRow("300 caracteres") << 0 << 300 << false;
    QTest::newRow("301 caracteres") << 0 << 301 << true;
    QTest::newRow("misma longitud") << 301 << 301 << false;
    QTest::newRow("misma longitud larga") << 5000 << 5000 << false;
    QTest::newRow("más corta pero larga") << 900 << 800 << true;
    QTest::newRow("descarga vacía") << 900 << 0 << false;
  }
  void cuandoSeAvisa() {
    QFETCH(int, antes);
    QFETCH(int, despues);
    QFETCH(bool, avisa);
    QCOMPARE(avisainforme(antes, despues), avisa);
  }

  void navegadorVisible() {
    QVERIFY(!informeVisible(0));
    QVERIFY(!informeVisible(10));
    QVERIFY(informeVisible(11));
  }

  void derivaDeLaEtiqueta() {
    DerivaEtiqueta d{3650, 100};
    d.avanzar();
    QCOMPARE(d.izquierda, 3750);
    QCOMPARE(d.paso, -100);
    d.avanzar();
    QCOMPARE(d.izquierda, 3650);
    d = DerivaEtiqueta{400, -100};
    d.avanzar();
    QCOMPARE(d.izquierda, 300);
    QCOMPARE(d.paso, 100);
    // It stays between the bounds however long it runs.
    for (int i = 0; i < 500; ++i) {
      d.avanzar();
      QVERIFY(d.izquierda >= 260 && d.izquierda <= 3800);
    }
  }

  void descargaCorrecta() {
    Entorno e;
    ServidorLocal servidor(ServidorLocal::ok("<p>hola</p>"));
    e.escribir(QStringLiteral("informe.dat"), "viejo");
    QVERIFY(plataforma::descargarArchivo(servidor.url(), e.ruta(QStringLiteral("informe.dat"))));
    QCOMPARE(e.leer(QStringLiteral("informe.dat")), QByteArray("<p>hola</p>"));
    QVERIFY(servidor.peticion.startsWith("GET /ginforme.dat "));
    QVERIFY(servidor.peticion.toLower().contains("cache-control: no-cache"));
  }

  // A failed download keeps the old news and says nothing.
  void descargaFallida_data() {
    QTest::addColumn<QByteArray>("respuesta");
    QTest::newRow("no encontrado") << QByteArray("HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\nno existe");
    QTest::newRow("error del servidor") << QByteArray("HTTP/1.1 500 Error\r\nContent-Length: 0\r\n\r\n");
    QTest::newRow("respuesta cortada") << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 500\r\n\r\nabc");
    QTest::newRow("sin servidor") << QByteArray();
    QTest::newRow("cabecera enorme") << QByteArray("HTTP/1.1 200 OK\r\nX-Relleno: " + QByteArray(200 * 1024, 'a') +
                                                   "\r\nContent-Length: 2\r\n\r\nok");
    QTest::newRow("redirección sin destino") << QByteArray("HTTP/1.1 302 Found\r\nContent-Length: 0\r\n\r\n");
  }
  void descargaFallida() {
    QFETCH(QByteArray, respuesta);
    Entorno e;
    e.escribir(QStringLiteral("informe.dat"), "viejo");
    ServidorLocal servidor(respuesta);
    const QUrl url = respuesta.isEmpty() ? puertoCerrado() : servidor.url();
    QVERIFY(!plataforma::descargarArchivo(url, e.ruta(QStringLiteral("informe.dat"))));
    QCOMPARE(e.leer(QStringLiteral("informe.dat")), QByteArray("viejo"));
    QVERIFY(e.mensajes->vistos.isEmpty());
  }

  void comprobacionAlArrancar_data() {
    QTest::addColumn<int>("diasAtras");
    QTest::addColumn<bool>("conPena");
    QTest::addColumn<QByteArray>("viejo");
    QTest::addColumn<int>("largo");
    QTest::addColumn<int>("peticiones");
    QTest::addColumn<bool>("abre");
    QTest::newRow("noticia nueva") << 3 << true << QByteArray() << 301 << 1 << true;
    QTest::newRow("noticia corta") << 3 << true << QByteArray() << 300 << 1 << false;
    QTest::newRow("misma longitud") << 3 << true << QByteArray(400, 'a') << 400 << 1 << false;
    QTest::newRow("sorteo reciente") << 2 << true << QByteArray() << 400 << 0 << false;
    QTest::newRow("sin peñas") << 5 << false << QByteArray() << 400 << 0 << false;
  }
  void comprobacionAlArrancar() {
    QFETCH(int, diasAtras);
    QFETCH(bool, conPena);
    QFETCH(QByteArray, viejo);
    QFETCH(int, largo);
    QFETCH(int, peticiones);
    QFETCH(bool, abre);
    Entorno e;
    if (!viejo.isEmpty()) e.escribir(QStringLiteral("informe.dat"), viejo);
    if (conPena)
      e.escribir(QStringLiteral("apuestas.dat"), nuevaPena(QStringLiteral("A"), 1, e.reloj->dia).codificar());
    ServidorLocal servidor(ServidorLocal::ok(QByteArray(largo, 'b')));
    Almacen a;
    sortilan::prueba::exigir(a.abrir(e.carpeta.path()));
    const double fecha = oleDesdeFecha(e.reloj->dia.addDays(-diasAtras));
    QCOMPARE(compruebainforme(a, fecha, e.reloj->dia, servidor.url(), guardar(a)), abre);
    QCOMPARE(servidor.peticiones, peticiones);
    // What was fetched is stored; a check that fetched nothing creates nothing.
    if (peticiones == 1)
      QCOMPARE(e.leer(QStringLiteral("informe.dat")), QByteArray(largo, 'b'));
    else
      QCOMPARE(QFile::exists(e.ruta(QStringLiteral("informe.dat"))), !viejo.isEmpty());
    QVERIFY(e.mensajes->vistos.isEmpty());
  }

  void sinServidorNoSeHaceNada() {
    Entorno e;
    e.escribir(QStringLiteral("apuestas.dat"), nuevaPena(QStringLiteral("A"), 1, e.reloj->dia).codificar());
    Almacen a;
    sortilan::prueba::exigir(a.abrir(e.carpeta.path()));
    QVERIFY(!compruebainforme(a, oleDesdeFecha(e.reloj->dia.addDays(-10)), e.reloj->dia, QUrl(), guardar(a)));
    QVERIFY(!QFile::exists(e.ruta(QStringLiteral("informe.dat"))));
  }
};

QTEST_GUILESS_MAIN(TestNoticias)
#include "test_noticias.moc"
