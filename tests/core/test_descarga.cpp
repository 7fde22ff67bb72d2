// The download sequence driven tick by tick, against a scripted channel and against
// the real channel talking to a local fake service.
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QtTest>
#include <functional>

#include "base/fechas.h"
#include "download/descarga.h"
#include "operations/entradas.h"
#include "platform/canalcurl.h"
#include "session/sesion.h"
#include "support/dobles.h"
#include "support/servicioprueba.h"

using namespace Qt::StringLiterals;

using namespace sortilan;

Q_DECLARE_METATYPE(sortilan::prueba::ServicioPrueba::Respuesta)

namespace {

using Desenlace = Descarga::Desenlace;

QByteArray ejemplo() { return prueba::leerDatoPrueba(QStringLiteral("respuesta_ejemplo.json")); }
QByteArray historia(int registros) {
  return prueba::leerDatoPrueba(QStringLiteral("numeros.dat")).left(static_cast<qsizetype>(registros) * 24);
}
// Records of the real history dated up to `hasta`.
int registrosHasta(QDate hasta) {
  const QByteArray h = historia(100000);
  int n = 0;
  while ((n + 1) * 24 <= h.size() && Sorteo::decodificar(h.constData() + n * 24).fecha <= oleDesdeFecha(hasta)) ++n;
  return n;
}

// One sequence on a data folder with the first `registros` real draws; what the
// sequence asks of its window is recorded in `llamadas`.
struct Banco {
  explicit Banco(int registros, QDate dia = QDate(2021, 3, 10)) : entorno(dia), hoy(dia) {
    entorno.escribir(QStringLiteral("numeros.dat"), historia(registros));
    prueba::exigir(sesion.abrir(entorno.carpeta.path()));
    sesion.cargasorteos(hoy);
  }
  Descarga& con(plataforma::CanalHttp& canal, GuardarDescarga guardar = &operaciones::guardarDescarga) {
    descarga = std::make_unique<Descarga>(sesion, canal, std::move(guardar));
    Descarga* d = descarga.get();
    QObject::connect(d, &Descarga::empezada, [this] { llamadas << u"empezada"_s; });
    QObject::connect(d, &Descarga::mostrarGeneral, [this] { llamadas << u"pestana0"_s; });
    QObject::connect(d, &Descarga::guardados, [this](int n) {
      llamadas << QStringLiteral("guardados %1").arg(n);
      sesion.cargasorteos(this->hoy);
    });
    QObject::connect(d, &Descarga::comprobar, [this](int n) { llamadas << QStringLiteral("comprobar %1").arg(n); });
    QObject::connect(d, &Descarga::desplazar, [this](int n) { llamadas << QStringLiteral("HScroll1 %1").arg(n); });
    QObject::connect(d, &Descarga::actualizar, [this](const QByteArray& b) {
      llamadas << u"actualizar"_s;
      buffer = b;
      lista = sesion.listasorteos();
    });
    QObject::connect(d, &Descarga::avisoInterpretacionPedido, [this](const QString& t) { aviso = t; });
    QObject::connect(d, &Descarga::entradaManualPedida, [this] { llamadas << u"manual"_s; });
    QObject::connect(d, &Descarga::terminada, [this] { llamadas << u"terminada"_s; });
    return *d;
  }
  // Ticks while they run, at most `maximo` times.
  int ticks(int maximo = 40) {
    int n = 0;
    while (descarga->ticksActivos() && n < maximo) {
      descarga->tick();
      ++n;
    }
    return n;
  }
  // The whole sequence over a real channel: ticks whenever they run, the event loop
  // while a request is out.
  void correr() {
    QElapsedTimer t;
    t.start();
    while (descarga->enCurso() && t.elapsed() < 20000) {
      if (descarga->ticksActivos())
        descarga->tick();
      else
        QTest::qWait(2);
    }
  }
  QStringList titulos() const {
    QStringList t;
    for (const auto& m : entorno.mensajes->vistos) t << m.titulo + u": "_s + m.texto;
    return t;
  }
  std::vector<Sorteo> sorteos() { return sesion.almacen().sorteos().leerTodos(); }
  QString estado() const { return Descarga::textoFase(descarga->fase()); }

  prueba::Entorno entorno;
  QDate hoy;
  Sesion sesion;
  std::unique_ptr<Descarga> descarga;
  QStringList llamadas;
  QByteArray buffer;
  QString aviso;
  ListaSorteos lista;
};

const QString kTodavia = QStringLiteral("Pruebe más tarde: Todavía no hay sorteos nuevos.");
const QString kCorruptos = QStringLiteral(
    "Error crítico: ¡¡Datos corruptos o inválidos!! Si se repite en otros momentos este mismo error, posiblemente "
    "se ha de actualizar el programa. Pruebe más tarde.");

}  // namespace

class TestDescarga : public QObject {
  Q_OBJECT
 private slots:
  void nuevosEnOrden_data() {
    QTest::addColumn<int>("registros");
    QTest::addColumn<int>("nuevos");
    QTest::addColumn<int>("hscroll");
    QTest::newRow("archivo vacío") << 0 << 22 << 8;
    QTest::newRow("once nuevos") << 819 << 11 << 8;
    QTest::newRow("dos nuevos") << 828 << 2 << 2;
  }
  void nuevosEnOrden() {
    QFETCH(int, registros);
    QFETCH(int, nuevos);
    QFETCH(int, hscroll);
    Banco b(registros);
    prueba::CanalGuionado canal;
    Descarga& d = b.con(canal);
    d.iniciar();
    // Up to date: the one usual request.
    QCOMPARE(canal.pedidas.size(), 1);
    QCOMPARE(canal.pedidas[0].query(), QStringLiteral("game_id=ELGR&celebrados=true&fechaInicioInclusiva=20201011&"
                                                      "fechaFinInclusiva=20210310"));
    QCOMPARE(b.estado(), QStringLiteral("CONECTANDO AL SERVIDOR"));
    QCOMPARE(d.progreso(), Descarga::Progreso::Pidiendo);
    QVERIFY(d.enCurso() && !d.ticksActivos());
    d.iniciar();  // a second press while the request is out does nothing
    QCOMPARE(canal.pedidas.size(), 1);

    canal.responder(ejemplo());
    QCOMPARE(d.caracteres(), 34041);
    QCOMPARE(b.estado(), QStringLiteral("BUSCANDO SORTEOS"));
    QVERIFY(d.ticksActivos());
    QCOMPARE(b.ticks(), 1);

    QCOMPARE(b.entorno.leer(QStringLiteral("www.txt")), registroCitado(QString::fromUtf8(ejemplo())));
    QCOMPARE(d.nuevos(), nuevos);
    QCOMPARE(b.estado(), QStringLiteral("TRANSFERENCIA FINALIZADA"));
    QCOMPARE(d.progreso(), Descarga::Progreso::Terminada);
    QCOMPARE(d.desenlace(), Desenlace::Completa);
    QVERIFY(!d.enCurso());
    QVERIFY(b.titulos().isEmpty());
    QCOMPARE(b.llamadas,
             (QStringList{u"empezada"_s, u"pestana0"_s, QStringLiteral("guardados %1").arg(nuevos),
                          QStringLiteral("comprobar %1").arg(nuevos), QStringLiteral("HScroll1 %1").arg(hscroll),
                          u"actualizar"_s, u"pestana0"_s, u"terminada"_s}));
    QCOMPARE(b.buffer, b.entorno.leer(QStringLiteral("www.txt")));

    // The new draws are the real ones of those dates, in the file's order.
    const std::vector<Sorteo> todos = b.sorteos();
    QCOMPARE(static_cast<int>(todos.size()), registros + nuevos);
    QVERIFY(!b.lista.danado);
    const QByteArray real = historia(100000);
    for (int k = registros; k < registros + nuevos; ++k) {
      const Sorteo& s = todos[static_cast<size_t>(k)];
      QVERIFY(k == 0 || s.fecha > todos[static_cast<size_t>(k - 1)].fecha);
      bool visto = false;
      for (qsizetype off = 0; off < real.size(); off += Sorteo::kTamano) {
        const Sorteo r = Sorteo::decodificar(real.constData() + off);
        if (r.fecha == s.fecha) {
          QCOMPARE(s, r);
          visto = true;
        }
      }
      QVERIFY(visto);
    }
    QCOMPARE(fechaDesdeOle(todos.back().fecha), QDate(2021, 3, 7));
  }

  void nadaNuevo() {
    Banco b(830);
    const QByteArray antes = b.entorno.leer(QStringLiteral("numeros.dat"));
    prueba::CanalGuionado canal;
    Descarga& d = b.con(canal);
    d.iniciar();
    canal.responder(ejemplo());
    b.ticks();
    QCOMPARE(b.titulos(), QStringList{kTodavia});
    QCOMPARE(d.nuevos(), 0);
    QVERIFY(b.llamadas.contains(u"comprobar 1"_s));
    QVERIFY(b.llamadas.contains(u"HScroll1 1"_s));
    QCOMPARE(d.desenlace(), Desenlace::Completa);
    QCOMPARE(b.entorno.leer(QStringLiteral("numeros.dat")), antes);
  }

  void sorteoMaloEnMedio() {
    // The third newest draw carries a 0: the older new draws are stored, oldest first,
    // the newer ones wait for the next download, and the user is told which draw stopped it.
    Banco b(819);  // newest stored: 20 December 2020
    QList<prueba::SorteoRespuesta> l;
    for (int i = 0; i < 12; ++i)
      l.append({QDate(2021, 3, 7).addDays(-7 * i), QStringLiteral("01 - 02 - 03 - 04 - %1").arg(10 + i), i % 10});
    l[2].combinacion = QStringLiteral("00 - 02 - 03 - 04 - 05");
    prueba::CanalGuionado canal;
    Descarga& d = b.con(canal);
    d.iniciar();
    canal.responder(prueba::respuestaSintetica(l));
    b.ticks();
    const std::vector<Sorteo> todos = b.sorteos();
    QCOMPARE(todos.size(), size_t{819 + 8});
    QCOMPARE(fechaDesdeOle(todos.back().fecha), QDate(2021, 2, 14));
    QCOMPARE(todos.back().numero(5), int16_t{13});
    QCOMPARE(b.titulos(), QStringList{QStringLiteral(
                              "Sorteo no válido: El sorteo del Domingo, 21 de febrero del 2021 que ha enviado el "
                              "servidor no es válido (los números no son cinco números distintos del 1 al 54). La "
                              "descarga se ha detenido en él después de guardar 8 sorteos anteriores a él; la próxima "
                              "seguirá desde ahí. Si vuelve a pasar, puede añadir ese sorteo a mano.")});
    QCOMPARE(d.desenlace(), Desenlace::SorteoInvalido);
    QVERIFY(!d.exito());
    QCOMPARE(d.nuevos(), 8);
    QVERIFY(b.llamadas.contains(u"comprobar 8"_s));
    QCOMPARE(b.estado(), QStringLiteral("TRANSFERENCIA FINALIZADA"));
    QVERIFY(!b.lista.danado);

    // The next download starts from there and brings the rest once the service mends it.
    l[2].combinacion = QStringLiteral("01 - 02 - 03 - 04 - 05");
    b.entorno.mensajes->vistos.clear();
    d.iniciar();
    canal.responder(prueba::respuestaSintetica(l));
    b.ticks();
    QVERIFY(b.titulos().isEmpty());
    QCOMPARE(b.sorteos().size(), size_t{819 + 11});
    QCOMPARE(d.desenlace(), Desenlace::Completa);
  }

  void datosCorruptos_data() {
    QTest::addColumn<QByteArray>("respuesta");
    QByteArray cortada = ejemplo();
    cortada.chop(5000);
    QTest::newRow("cortada") << cortada;
    QTest::newRow("página de error") << QByteArray("<html><body>Servicio en mantenimiento</body></html>");
  }
  void datosCorruptos() {
    QFETCH(QByteArray, respuesta);
    Banco b(819);
    const QByteArray antes = b.entorno.leer(QStringLiteral("numeros.dat"));
    prueba::CanalGuionado canal;
    Descarga& d = b.con(canal);
    d.iniciar();
    canal.responder(respuesta);
    b.ticks();
    QCOMPARE(b.titulos(), QStringList{kCorruptos});
    QCOMPARE(b.entorno.mensajes->vistos[0].icono, plataforma::Icono::Critico);
    QCOMPARE(d.desenlace(), Desenlace::DatosMalos);
    QCOMPARE(b.aviso, Descarga::avisoInterpretacion(QString()));
    QVERIFY(b.aviso.startsWith(QStringLiteral("\r\nERROR DE INTERPRETACIÓN DE DATOS:\r\n")));
    QCOMPARE(b.estado(), QStringLiteral("TRANSFERENCIA FINALIZADA"));
    QCOMPARE(d.progreso(), Descarga::Progreso::Terminada);
    QVERIFY(!b.llamadas.join(QLatin1Char(' ')).contains(u"comprobar"_s));
    QCOMPARE(b.entorno.leer(QStringLiteral("numeros.dat")), antes);
  }

  void tickDuranteUnMensaje() {
    // Timer1 fires while "Todavía no hay sorteos nuevos." waits for the user.
    struct MensajesQueEsperan : plataforma::Mensajes {
      std::function<void()> mientras;
      int vistos = 0;
      plataforma::Respuesta mostrar(plataforma::Icono, const QString&, const QString&, plataforma::Botones,
                                    plataforma::Respuesta) override {
        ++vistos;
        if (mientras) mientras();
        return plataforma::Respuesta::Aceptar;
      }
    };
    Banco b(830);
    auto mensajes = std::make_shared<MensajesQueEsperan>();
    plataforma::ponerMensajes(mensajes);
    prueba::CanalGuionado canal;
    Descarga& d = b.con(canal);
    mensajes->mientras = [&] {
      for (int i = 0; i < 3; ++i) d.tick();
    };
    d.iniciar();
    canal.responder(ejemplo());
    b.ticks();
    QCOMPARE(mensajes->vistos, 1);
    QCOMPARE(b.llamadas.count(u"actualizar"_s), 1);
    QCOMPARE(b.estado(), QStringLiteral("TRANSFERENCIA FINALIZADA"));
  }

  void conexionConErrorAlAnalizar() {
    Banco b(819);
    prueba::CanalGuionado canal;
    Descarga& d = b.con(canal);
    d.iniciar();
    canal.responder("[{\"fecha_sorteo\":\"2021-13-45 x\"}" + QByteArray(12000, ' '));
    emit canal.estado(plataforma::CanalHttp::kError);  // a late error from the channel
    b.ticks();
    QCOMPARE(b.titulos(), QStringList{QStringLiteral(
                              "Error de conexión: No conectado: Compruebe la conexión a internet. Si es correcta, "
                              "pruebe más tarde ya que no es posible conectar con el servidor de ONLAE.")});
    QCOMPARE(canal.cancelaciones, 1);
    QCOMPARE(b.estado(), QString());
    QCOMPARE(d.progreso(), Descarga::Progreso::Reposo);
    QCOMPARE(d.desenlace(), Desenlace::SinConexion);
    QVERIFY(!d.enCurso());
  }

  // Every way of not reaching the service is a network failure, and a certificate of
  // another host is named as such after the usual text.
  void fallosDeRed_data() {
    QTest::addColumn<bool>("certificado");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("caminos");
    const QString noConectado = QStringLiteral("No conectado: Compruebe la conexión a internet...");
    const QString cortada = u"La conexión se ha cortado antes de terminar la respuesta"_s;
    const QString conCausa = noConectado + u"\n"_s + cortada + u"."_s;
    const QString invalido = u"El certificado del servidor no es válido: la conexión no es segura y no se ha usado"_s;
    const QString certificado = noConectado + u"\n"_s + plataforma::textoCertificadoAjeno();
    QTest::newRow("conexión perdida") << false << cortada << conCausa << QString();
    QTest::newRow("sin causa") << false << QString() << noConectado << QString();
    QTest::newRow("certificado de otro sitio") << true << invalido << certificado << QString();
    // The other ways to get the draws are told after the whole text, never in the failure itself.
    QTest::newRow("con otros caminos") << false << cortada << conCausa << u"Importe un CSV."_s;
    QTest::newRow("certificado y otros caminos") << true << invalido << certificado << u"Importe un CSV."_s;
  }
  void fallosDeRed() {
    QFETCH(bool, certificado);
    QFETCH(QString, error);
    QFETCH(QString, texto);
    QFETCH(QString, caminos);
    Banco b(819);
    prueba::CanalGuionado canal;
    Descarga& d = b.con(canal);
    d.ponerOtrosCaminos(caminos);
    d.iniciar();
    plataforma::Traida t;
    t.error = error;
    t.certificadoAjeno = certificado;
    canal.ocupado_ = false;
    canal.error_ = true;
    emit canal.terminado(t);
    QCOMPARE(d.desenlace(), Desenlace::SinConexion);
    QCOMPARE(d.fallo().clase, Resultado::Clase::Red);
    QCOMPARE(d.fallo().error, texto);
    const QString visto = caminos.isEmpty() ? texto : texto + u"\n\n"_s + caminos;
    QCOMPARE(b.titulos(), QStringList{u"Error de conexión: "_s + visto});
  }

  // A good answer whose store fails: the failure is shown and the status never reads
  // as a finished transfer.
  void guardadoFallido() {
    Banco b(819);
    prueba::CanalGuionado canal;
    Descarga& d = b.con(canal, [](Almacen&, Descargado, const QDate&) {
      Guardado g;
      g.resultado = Resultado::fallo(Resultado::Clase::Lleno, u"No queda espacio en el disco."_s);
      return g;
    });
    QStringList fases;
    QObject::connect(&d, &Descarga::cambiado, [&] { fases << Descarga::textoFase(d.fase()); });
    d.iniciar();
    canal.responder(ejemplo());
    b.ticks();
    QCOMPARE(d.desenlace(), Desenlace::Escritura);
    QCOMPARE(d.fallo().clase, Resultado::Clase::Lleno);
    QVERIFY(!fases.contains(u"TRANSFERENCIA FINALIZADA"_s));
    QCOMPARE(b.estado(), QString());
    QCOMPARE(b.titulos(), QStringList{u"Error: No queda espacio en el disco."_s});
    QCOMPARE(b.sorteos().size(), size_t{819});
    QVERIFY(!d.enCurso());
  }

  void reglasDeTicks_data() {
    QTest::addColumn<int>("largo");
    QTest::addColumn<QString>("estado");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<QStringList>("mensajes");
    QTest::newRow("100 caracteres: se rinde a los 5") << 100 << "CONECTANDO AL SERVIDOR" << 5 << QStringList();
    QTest::newRow("101 caracteres: espera 30")
        << 101 << "BUSCANDO SORTEOS" << 30
        << QStringList{QStringLiteral("Error de conexión: Problemas con el servidor. Tarda en "
                                      "responder. Pruebe más tarde...")};
  }
  void reglasDeTicks() {
    QFETCH(int, largo);
    Banco b(819);
    prueba::CanalGuionado canal;
    Descarga& d = b.con(canal);
    d.iniciar();
    // The body arrives but the channel keeps reporting an error: nothing is stored.
    canal.responder(QByteArray(largo, 'a'), plataforma::CanalHttp::kCompletado);
    canal.error_ = true;
    QTEST(b.estado(), "estado");
    QTEST(b.ticks(), "ticks");
    QTEST(b.titulos(), "mensajes");
    QCOMPARE(b.estado(), QString());
    QCOMPARE(d.progreso(), Descarga::Progreso::Reposo);
    QVERIFY(!d.enCurso());
    QVERIFY(!d.exito());
    QVERIFY(!QFile::exists(b.entorno.ruta(QStringLiteral("www.txt"))) ||
            b.entorno.leer(QStringLiteral("www.txt")).isEmpty());
  }

  void fechaDelOrdenador() {
    Banco b(833);  // newest draw 28 March 2021; today is 10 March
    prueba::CanalGuionado canal;
    Descarga& d = b.con(canal);
    d.iniciar();
    QCOMPARE(b.titulos(),
             QStringList{QStringLiteral(
                 "Error de fechas: La fecha de tu ordenador parece incorrecta. Existen sorteos en la "
                 "base de datos con fechas porsteriores a la actual. Comprueba la fecha de tu ordenador.")});
    QVERIFY(canal.pedidas.isEmpty());
    QCOMPARE(d.nuevos(), 0);
    QCOMPARE(d.desenlace(), Desenlace::FechaIncorrecta);
    QVERIFY(!d.enCurso());
  }

  void respuestaDemasiadoGrande() {
    Banco b(819);
    b.entorno.escribir(QStringLiteral("www.txt"), "\"anterior\"\r\n");
    prueba::CanalGuionado canal;
    Descarga& d = b.con(canal);
    d.iniciar();
    QCOMPARE(canal.opciones.limite, kMaximoRespuesta);
    plataforma::Traida t;
    t.demasiado = true;
    t.recibidos = kMaximoRespuesta + 1;
    canal.ocupado_ = false;
    emit canal.terminado(t);
    b.ticks();
    QCOMPARE(d.desenlace(), Desenlace::DatosMalos);
    QCOMPARE(b.titulos(), QStringList{kCorruptos});
    QCOMPARE(b.entorno.leer(QStringLiteral("www.txt")), QByteArray("\"anterior\"\r\n"));
    QCOMPARE(b.sorteos().size(), size_t{819});
  }

  // A user 400 days behind: the fake service holds the real history and answers each
  // request with the draws of its dates.
  void ponerseAlDia() {
    const QDate hoy(2026, 8, 20);
    const int registros = registrosHasta(hoy.addDays(-400));
    Banco b(registros, hoy);
    prueba::ServicioPrueba servicio;
    servicio.historia = prueba::historiaRespuesta();
    servicio.configurar(b.entorno.carpeta.path());
    plataforma::CanalCurl canal;
    Descarga& d = b.con(canal);
    d.iniciar();
    b.correr();

    QVERIFY2(b.titulos().isEmpty(), qPrintable(b.titulos().join(QLatin1Char('\n'))));
    QCOMPARE(d.desenlace(), Desenlace::Completa);
    // Three requests of at most 150 days, oldest first, from the day after the newest draw to today.
    QCOMPARE(servicio.pedidas.size(), 3);
    const QString q = QStringLiteral(
        "/servicios/buscadorSorteos?game_id=ELGR&celebrados=true&fechaInicioInclusiva=%1&fechaFinInclusiva=%2");
    QCOMPARE(servicio.pedidas[0], q.arg(u"20250714"_s, u"20251211"_s));
    QCOMPARE(servicio.pedidas[1], q.arg(u"20251212"_s, u"20260511"_s));
    QCOMPARE(servicio.pedidas[2], q.arg(u"20260512"_s, u"20260820"_s));
    // Every draw of the history, each with its own numbers, no hole: the very file of the history.
    QVERIFY(d.nuevos() > 50);
    QCOMPARE(b.entorno.leer(QStringLiteral("numeros.dat")), historia(100000));
    QCOMPARE(b.llamadas.count(u"actualizar"_s), 1);
    QVERIFY(b.llamadas.contains(QStringLiteral("comprobar %1").arg(d.nuevos())));
  }

  // The real channel against the fake service, whole sequences.
  void servicioLocal_data() {
    QTest::addColumn<QList<prueba::ServicioPrueba::Respuesta>>("respuestas");
    QTest::addColumn<bool>("rechazar");
    QTest::addColumn<QStringList>("mensajes");
    QTest::addColumn<int>("nuevos");
    QTest::addColumn<QStringList>("pedidas");
    QTest::addColumn<QList<int>>("pausas");
    using R = prueba::ServicioPrueba::Respuesta;
    const QString sinConexion =
        QStringLiteral("Error de conexión: No conectado: Compruebe la conexión a internet...\n");
    const QStringList lento{sinConexion + u"El servidor lleva 1 segundo sin enviar nada."_s};
    const QStringList cerrado{sinConexion + u"No se puede conectar con 127.0.0.1."_s};
    const QString s = QStringLiteral("/servicios");
    const QStringList una{s};
    const R bien{200, ejemplo(), 0, false};
    const R denegado{403, "<HTML><HEAD><TITLE>Access Denied</TITLE></HEAD></HTML>", 0, false};
    const R demasiadas{406, "<html>Not Acceptable</html>", 0, false};
    QTest::newRow("respuesta") << QList<R>{bien} << false << QStringList() << 11 << una << QList<int>();
    QTest::newRow("403, portada, 200") << QList<R>{denegado, bien} << false << QStringList() << 11
                                       << QStringList{s, u"/"_s, s} << QList<int>{2000};
    QTest::newRow("406 dos veces, luego 200") << QList<R>{demasiadas, demasiadas, bien} << false << QStringList() << 11
                                              << QStringList{s, u"/"_s, s, s} << QList<int>{2000, 6000};
    const QStringList tres{s, u"/"_s, s, s};
    QTest::newRow("406 tres veces") << QList<R>{demasiadas} << false
                                    << QStringList{u"Servicio no disponible: "_s + Descarga::textoRechazo(406)} << 0
                                    << tres << QList<int>{2000, 6000};
    QTest::newRow("403 tres veces") << QList<R>{denegado} << false
                                    << QStringList{u"Servicio no disponible: "_s + Descarga::textoRechazo(403)} << 0
                                    << tres << QList<int>{2000, 6000};
    QTest::newRow("lento") << QList<R>{{200, ejemplo(), 5000, false}} << false << lento << 0 << una << QList<int>();
    QTest::newRow("conexión rechazada") << QList<R>{bien} << true << cerrado << 0 << QStringList() << QList<int>();
    QTest::newRow("texto de búsqueda vacía")
        << QList<R>{{200, "\"No se ha encontrado ningún registro para los parámetros introducidos.\"", 0, false}}
        << false << QStringList{kTodavia} << 0 << una << QList<int>();
  }
  void servicioLocal() {
    QFETCH(QList<prueba::ServicioPrueba::Respuesta>, respuestas);
    QFETCH(bool, rechazar);
    QFETCH(QStringList, mensajes);
    QFETCH(int, nuevos);
    Banco b(819);
    b.entorno.escribir(QStringLiteral("www.txt"), "\"anterior\"\r\n");
    prueba::ServicioPrueba servicio;
    servicio.ponerSecuencia(QStringLiteral("/servicios/"), respuestas);
    servicio.configurar(b.entorno.carpeta.path());
    if (rechazar) {
      QSettings ini(b.entorno.ruta(QStringLiteral("sortilan.ini")), QSettings::IniFormat);
      ini.setValue(QStringLiteral("servicios/resultados"),
                   QStringLiteral("http://127.0.0.1:%1").arg(prueba::puertoCerrado()));
    }
    plataforma::CanalCurl canal(300);  // a short time-out stands for the 60 s one
    Descarga& d = b.con(canal);
    d.iniciar();
    b.correr();
    QCOMPARE(b.titulos(), mensajes);
    QCOMPARE(static_cast<int>(b.sorteos().size()), 819 + nuevos);
    QStringList pedidas;
    for (const QString& p : servicio.pedidas) pedidas << p.section(QLatin1Char('/'), 0, 1);
    for (QString& p : pedidas)
      if (p.isEmpty()) p = QStringLiteral("/");
    QTEST(pedidas, "pedidas");
    QTEST(b.entorno.pausas->vistas, "pausas");
    QCOMPARE(d.exito(), mensajes.isEmpty() || mensajes == QStringList{kTodavia});
    if (!mensajes.isEmpty() && mensajes != QStringList{kTodavia}) {
      // A refusal or a failed connection stores nothing, not even the buffer.
      QCOMPARE(b.entorno.leer(QStringLiteral("www.txt")), QByteArray("\"anterior\"\r\n"));
      QCOMPARE(d.progreso(), Descarga::Progreso::Reposo);
      QCOMPARE(b.estado(), QString());
    } else {
      QCOMPARE(b.estado(), QStringLiteral("TRANSFERENCIA FINALIZADA"));
    }
  }

  // Answers in the shapes the service may take, through the real channel: the user's
  // newest draw is 20 December 2020 and the service lists the eleven draws after it.
  void respuestasDelServicio_data() {
    QTest::addColumn<QByteArray>("respuesta");
    QTest::addColumn<int>("guardados");
    QTest::addColumn<int>("desenlace");
    QTest::addColumn<QString>("mensaje");
    QList<prueba::SorteoRespuesta> l;
    for (const prueba::SorteoRespuesta& s : prueba::historiaRespuesta())
      if (s.fecha >= QDate(2020, 10, 11) && s.fecha <= QDate(2021, 3, 7)) l.prepend(s);
    const auto completa = static_cast<int>(Desenlace::Completa);
    const auto invalido = static_cast<int>(Desenlace::SorteoInvalido);
    QList<prueba::SorteoRespuesta> x = l;
    std::swap(x[0], x[15]);  // a stored draw first, the new ones out of order
    std::swap(x[2], x[7]);
    QTest::newRow("desordenada, un guardado primero") << prueba::respuestaSintetica(x) << 11 << completa << QString();
    QTest::newRow("con espacios y saltos de línea")
        << QJsonDocument::fromJson(prueba::respuestaSintetica(l)).toJson(QJsonDocument::Indented) << 11 << completa
        << QString();
    x = l;
    x[4].combinacion = QStringLiteral("07 - 07 - 18 - 33 - 41");  // 7 February 2021
    QTest::newRow("inválido en medio") << prueba::respuestaSintetica(x) << 6 << invalido
                                       << QStringLiteral("7 de febrero");
    x = l;
    x.prepend({QDate(2021, 3, 14), QStringLiteral("01 - 02 - 03 - 04 - 05"), 1});
    QTest::newRow("uno posterior a hoy") << prueba::respuestaSintetica(x) << 11 << invalido
                                         << QStringLiteral(
                                                "14 de marzo del 2021 que ha enviado el servidor no es "
                                                "válido (la fecha es posterior a hoy)");
  }
  void respuestasDelServicio() {
    QFETCH(QByteArray, respuesta);
    QFETCH(int, guardados);
    QFETCH(QString, mensaje);
    Banco b(819);
    prueba::ServicioPrueba servicio;
    servicio.defecto = {200, respuesta, 0, false};
    servicio.configurar(b.entorno.carpeta.path());
    plataforma::CanalCurl canal;
    Descarga& d = b.con(canal);
    d.iniciar();
    b.correr();
    QTEST(static_cast<int>(d.desenlace()), "desenlace");
    QCOMPARE(d.nuevos(), guardados);
    // Each draw with its own numbers, in order, nothing skipped: the real history's records.
    QCOMPARE(b.entorno.leer(QStringLiteral("numeros.dat")), historia(819 + guardados));
    QCOMPARE(b.titulos().join(QString()).contains(mensaje), true);
    QCOMPARE(b.titulos().isEmpty(), mensaje.isEmpty());
  }

  // The edge of the operator's site turns away a request without its cookie; the
  // request looks like a browser's, and after the home page the cookie goes with it.
  void comoUnNavegador() {
    Banco b(819);
    prueba::ServicioPrueba servicio;
    servicio.exigirCookie = true;
    servicio.defecto = {200, ejemplo(), 0, false};
    servicio.configurar(b.entorno.carpeta.path());
    plataforma::CanalCurl canal;
    Descarga& d = b.con(canal);
    d.iniciar();
    b.correr();
    QCOMPARE(d.desenlace(), Desenlace::Completa);
    QCOMPARE(d.nuevos(), 11);
    QCOMPARE(servicio.pedidas.size(), 3);
    QCOMPARE(servicio.pedidas[1], QStringLiteral("/"));
    const QHash<QByteArray, QByteArray> primera = servicio.cabeceras[0];
    QVERIFY(primera.value("user-agent").startsWith("Mozilla/5.0 ("));
    QCOMPARE(primera.value("accept"), QByteArray("application/json"));
    QCOMPARE(primera.value("accept-language"), QByteArray("es-ES"));
    QCOMPARE(primera.value("referer"), servicio.base().toEncoded() + "/");
    QVERIFY(!primera.contains("cookie"));
    QVERIFY(servicio.cabeceras[2].value("cookie").contains("sesion=ok"));

    // The cookie stays for the session: the next download is let in at once.
    servicio.pedidas.clear();
    d.iniciar();
    b.correr();
    QCOMPARE(servicio.pedidas.size(), 1);
    QCOMPARE(d.desenlace(), Desenlace::Completa);
  }

  void rechazoOfreceEntradaManual() {
    Banco b(819);
    prueba::ServicioPrueba servicio;
    servicio.defecto = {403, "Access Denied", 0, false};
    servicio.configurar(b.entorno.carpeta.path());
    b.entorno.mensajes->respuestas = {plataforma::Respuesta::Si};
    plataforma::CanalCurl canal;
    Descarga& d = b.con(canal);
    d.iniciar();
    b.correr();
    QCOMPARE(b.entorno.mensajes->vistos.size(), 1);
    QCOMPARE(b.entorno.mensajes->vistos[0].botones, plataforma::Botones::SiNo);
    QVERIFY(b.entorno.mensajes->vistos[0].texto.contains(QStringLiteral("(HTTP 403: acceso denegado)")));
    QCOMPARE(d.desenlace(), Desenlace::Rechazada);
    QCOMPARE(b.llamadas.last(), QStringLiteral("manual"));
  }

  void canalLimitaYCancela() {
    prueba::Entorno e;
    prueba::ServicioPrueba servicio;
    servicio.defecto = {200, QByteArray(5000, 'x'), 0, false};
    plataforma::CanalCurl canal;
    QList<int> estados;
    connect(&canal, &plataforma::CanalHttp::estado, this, [&](int c) { estados << c; });
    plataforma::Traida t = plataforma::traerEsperando(canal, servicio.base(), {1000, false, {}});
    QVERIFY(t.demasiado && !t.ok && t.cuerpo.isEmpty());
    QVERIFY(!canal.conError());
    t = plataforma::traerEsperando(canal, servicio.base(), {});
    QVERIFY(t.ok);
    QCOMPARE(t.cuerpo.size(), 5000);
    QCOMPARE(estados.first(), int{plataforma::CanalHttp::kSolicitando});
    QCOMPARE(estados.last(), int{plataforma::CanalHttp::kCompletado});

    servicio.defecto.demoraMs = 5000;
    bool terminado = false;
    connect(&canal, &plataforma::CanalHttp::terminado, this, [&] { terminado = true; });
    canal.traer(servicio.base());
    QVERIFY(canal.ocupado());
    canal.cancelar();
    QVERIFY(!canal.ocupado() && canal.conError());
    QTest::qWait(50);
    QVERIFY(!terminado);

    // Cancelled in the pause between two tries: the retry never goes out.
    struct PausaRetenida : plataforma::Pausas {
      std::function<void()> pendiente;
      void esperar(int, QObject*, std::function<void()> seguir) override { pendiente = std::move(seguir); }
    };
    auto pausa = std::make_shared<PausaRetenida>();
    plataforma::ponerPausas(pausa);
    servicio.defecto = {406, "no", 0, false};
    servicio.pedidas.clear();
    plataforma::CanalHttp::Opciones o;
    o.portada = servicio.base();
    canal.traer(servicio.base(), o);
    QTRY_VERIFY(pausa->pendiente);
    QVERIFY(canal.ocupado());
    canal.cancelar();
    QVERIFY(!canal.ocupado() && canal.conError());
    pausa->pendiente();
    QTest::qWait(50);
    QCOMPARE(servicio.pedidas.size(), 2);  // the address and the home page, no retry
    QVERIFY(!terminado);
  }
};

QTEST_GUILESS_MAIN(TestDescarga)
#include "test_descarga.moc"
