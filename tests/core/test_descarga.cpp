// The download sequence driven tick by tick, against a scripted channel and against
// the real channel talking to a local fake service.
#include <QFile>
#include <QtTest>
#include <functional>

#include "base/fechas.h"
#include "download/descarga.h"
#include "operations/sorteos.h"
#include "platform/canalqt.h"
#include "session/sesion.h"
#include "support/dobles.h"
#include "support/servicioprueba.h"

using namespace sortilan;

namespace {

QByteArray ejemplo() { return prueba::leerDatoPrueba(QStringLiteral("respuesta_ejemplo.json")); }

QByteArray historia(int registros) {
  QFile f(prueba::datoPrueba(QStringLiteral("numeros.dat")));
  f.open(QIODevice::ReadOnly);
  return f.read(static_cast<qint64>(registros) * Sorteo::kTamano);
}

// Records what the sequence asks of the window.
struct VentanaVista : VentanaDescarga {
  explicit VentanaVista(Sesion& s) : sesion(s) {}
  void refrescar() override { ++refrescos; }
  void activarTimer(bool a) override { timer = a; }
  void mostrarPestana0() override { llamadas << "pestana0"; }
  void rotulo() override { llamadas << "rotulo"; }
  void compruebapenas(int n) override { llamadas << QStringLiteral("compruebapenas %1").arg(n); }
  void ponerHScroll1(int v) override { llamadas << QStringLiteral("HScroll1 %1").arg(v); }
  void cargasorteos() override {
    llamadas << "cargasorteos";
    sesion.cargasorteos(plataforma::hoy());
  }
  void listasorteos() override {
    llamadas << "listasorteos";
    lista = sesion.listasorteos();
  }
  void escrutinio(const QByteArray& b) override {
    llamadas << "escrutinio";
    buffer = b;
  }
  void restaurarPicture2() override { llamadas << "Picture2"; }
  void avisoInterpretacion(const QString& t) override { aviso = t; }
  Resultado guardarSorteos(const std::vector<Sorteo>& nuevos, int& anadidos) override {
    const operaciones::Anadidos a = operaciones::anadirSorteos(sesion.almacen(), nuevos, plataforma::hoy());
    anadidos = a.anadidos;
    return a.resultado;
  }
  Sesion& sesion;
  int refrescos = 0;
  bool timer = false;
  QStringList llamadas;
  QByteArray buffer;
  QString aviso;
  ListaSorteos lista;
};

// One sequence on a data folder with the first `registros` real draws.
struct Banco {
  explicit Banco(int registros, QDate hoy = QDate(2021, 3, 10)) : entorno(hoy), ventana(sesion) {
    entorno.escribir(QStringLiteral("numeros.dat"), historia(registros));
    sortilan::prueba::exigir(sesion.abrir(entorno.carpeta.path()));
    sesion.cargasorteos(hoy);
  }
  Descarga& con(plataforma::CanalHttp& canal) {
    descarga = std::make_unique<Descarga>(sesion, ventana, canal);
    return *descarga;
  }
  // Ticks until Timer1 stops, at most `maximo` times.
  int ticks(int maximo = 40) {
    int n = 0;
    while (ventana.timer && n < maximo) {
      descarga->tick();
      ++n;
    }
    return n;
  }
  QStringList titulos() const {
    QStringList t;
    for (const auto& m : entorno.mensajes->vistos) t << m.titulo + ": " + m.texto;
    return t;
  }
  std::vector<Sorteo> sorteos() { return sesion.almacen().sorteos().leerTodos(); }
  prueba::Entorno entorno;
  Sesion sesion;
  VentanaVista ventana;
  std::unique_ptr<Descarga> descarga;
};

const QString kTodavia = QStringLiteral("Pruebe más tarde: Todavía no hay sorteos nuevos.");

}  // namespace

class TestDescarga : public QObject {
  Q_OBJECT
 private slots:
  void nuevosEnOrden_data() {
    QTest::addColumn<int>("registros");
    QTest::addColumn<int>("nuevos");
    QTest::addColumn<int>("hscroll");
    QTest::newRow("archivo vacío") << 0 << 18 << 8;
    QTest::newRow("tras el 4 de octubre") << 808 << 18 << 8;
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
    QCOMPARE(canal.pedidas.size(), 1);
    QCOMPARE(canal.pedidas[0].query(), QStringLiteral("game_id=ELGR&celebrados=true&fechaInicioInclusiva=20201011&"
                                                      "fechaFinInclusiva=20210310"));
    QCOMPARE(d.Label6, QStringLiteral("CONECTANDO AL SERVIDOR"));
    QCOMPARE(d.ProgressBar1, 1);
    QVERIFY(d.enCurso() && !b.ventana.timer);
    d.iniciar();  // a second press while the request is out does nothing
    QCOMPARE(canal.pedidas.size(), 1);

    canal.responder(ejemplo());
    QCOMPARE(d.Label58, QStringLiteral("34041"));
    QCOMPARE(d.Label6, QStringLiteral("BUSCANDO SORTEOS"));
    QCOMPARE(d.paso, 3);
    QVERIFY(b.ventana.timer);
    QCOMPARE(b.ticks(), 1);

    QCOMPARE(b.entorno.leer(QStringLiteral("www.txt")), registroCitado(QString::fromUtf8(ejemplo())));
    QCOMPARE(d.Label19, QStringLiteral("%1 sorteos").arg(nuevos));
    QCOMPARE(d.Label6, QStringLiteral("TRANSFERENCIA FINALIZADA"));
    QCOMPARE(d.ProgressBar1, 5);
    QCOMPARE(d.paso, 7);
    QVERIFY(!d.enCurso());
    QVERIFY(b.titulos().isEmpty());
    QCOMPARE(b.ventana.llamadas,
             (QStringList{"rotulo", "pestana0", "cargasorteos", QStringLiteral("compruebapenas %1").arg(nuevos),
                          QStringLiteral("HScroll1 %1").arg(hscroll), "cargasorteos", "listasorteos", "escrutinio",
                          "Picture2", "pestana0"}));
    QCOMPARE(b.ventana.buffer, b.entorno.leer(QStringLiteral("www.txt")));

    // The new draws are the real ones of those dates, in the file's order.
    const std::vector<Sorteo> todos = b.sorteos();
    QCOMPARE(static_cast<int>(todos.size()), registros + nuevos);
    QVERIFY(!b.ventana.lista.danado);
    QFile f(prueba::datoPrueba(QStringLiteral("numeros.dat")));
    f.open(QIODevice::ReadOnly);
    const QByteArray real = f.readAll();
    for (int k = registros; k < registros + nuevos; ++k) {
      QVERIFY(k == 0 || todos[static_cast<size_t>(k)].fecha > todos[static_cast<size_t>(k - 1)].fecha);
      bool visto = false;
      for (qsizetype off = 0; off < real.size(); off += Sorteo::kTamano) {
        const Sorteo r = Sorteo::decodificar(real.constData() + off);
        if (r.fecha == todos[static_cast<size_t>(k)].fecha) {
          QCOMPARE(todos[static_cast<size_t>(k)], r);
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
    QCOMPARE(d.nuevos, 1);
    QVERIFY(b.ventana.llamadas.contains("compruebapenas 1"));
    QVERIFY(b.ventana.llamadas.contains("HScroll1 1"));
    QCOMPARE(d.Label19, QString());
    QCOMPARE(b.entorno.leer(QStringLiteral("numeros.dat")), antes);
  }

  void sinHuecoAlPararLaPasada() {
    // The third newest draw carries a 0: the two newer ones go to the next two
    // records, oldest first, and the list still reads the file as sound.
    Banco b(808);
    QList<prueba::SorteoRespuesta> l;
    for (int i = 0; i < 20; ++i)
      l.append({QDate(2021, 3, 7).addDays(-7 * i), QStringLiteral("01 - 02 - 03 - 04 - %1").arg(10 + i), i % 10});
    l[2].combinacion = QStringLiteral("00 - 02 - 03 - 04 - 05");
    prueba::CanalGuionado canal;
    Descarga& d = b.con(canal);
    d.iniciar();
    canal.responder(prueba::respuestaSintetica(l));
    b.ticks();
    const std::vector<Sorteo> todos = b.sorteos();
    QCOMPARE(todos.size(), size_t{810});
    QCOMPARE(fechaDesdeOle(todos[808].fecha), QDate(2021, 2, 28));
    QCOMPARE(todos[808].numero(5), int16_t{11});
    QCOMPARE(fechaDesdeOle(todos[809].fecha), QDate(2021, 3, 7));
    QCOMPARE(todos[809].numero(5), int16_t{10});
    QCOMPARE(d.Label19, QStringLiteral("2 sorteos"));
    QVERIFY(!b.ventana.lista.danado);
    QCOMPARE(b.ventana.lista.filas(), 810);
  }

  void datosCorruptos_data() {
    QTest::addColumn<QByteArray>("respuesta");
    QList<prueba::SorteoRespuesta> l;
    for (int i = 0; i < 20; ++i)
      l.append({QDate(2021, 3, 7).addDays(-7 * i), QStringLiteral("01 - 02 - 03 - 04 - %1").arg(10 + i), 1});
    QByteArray mala = prueba::respuestaSintetica(l);
    mala.replace("2021-03-07", "2021-03-99");
    QTest::newRow("fecha imposible") << mala;
    QByteArray sinFin = ejemplo();
    sinFin.chop(4);
    sinFin.replace("\"fecha_sorteo\":\"2021-01-03", "\"fecha_sorteo\":\"xx");
    QTest::newRow("truncada") << sinFin;
  }
  void datosCorruptos() {
    QFETCH(QByteArray, respuesta);
    Banco b(808);
    const QByteArray antes = b.entorno.leer(QStringLiteral("numeros.dat"));
    prueba::CanalGuionado canal;
    Descarga& d = b.con(canal);
    d.iniciar();
    canal.responder(respuesta);
    b.ticks();
    QCOMPARE(b.titulos(), QStringList{QStringLiteral(
                              "Error crítico: ¡¡Datos corruptos o inválidos!! Si se repite en otros momentos este "
                              "mismo error, posiblemente se ha de actualizar el programa. Pruebe más tarde.")});
    QCOMPARE(b.entorno.mensajes->vistos[0].icono, plataforma::Icono::Critico);
    QVERIFY(d.datosmalos);
    QCOMPARE(b.ventana.aviso, Descarga::avisoInterpretacion(QString()));
    QVERIFY(b.ventana.aviso.startsWith(QStringLiteral("\r\nERROR DE INTERPRETACIÓN DE DATOS:\r\n")));
    QCOMPARE(d.Label6, QStringLiteral("TRANSFERENCIA FINALIZADA"));
    QCOMPARE(d.ProgressBar1, 5);
    QVERIFY(!b.ventana.llamadas.join(' ').contains("compruebapenas"));
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
    QCOMPARE(b.ventana.llamadas.count("cargasorteos"), 2);
    QCOMPARE(d.Label6, QStringLiteral("TRANSFERENCIA FINALIZADA"));
  }

  void conexionConErrorAlAnalizar() {
    Banco b(808);
    prueba::CanalGuionado canal;
    Descarga& d = b.con(canal);
    d.iniciar();
    canal.responder("[{\"fecha_sorteo\":\"2021-13-45 x\"}" + QByteArray(12000, ' ') + "]}}]");
    emit canal.estado(plataforma::CanalHttp::kError);  // a late error from the channel
    b.ticks();
    QCOMPARE(b.titulos(), QStringList{QStringLiteral(
                              "Error de conexión: No conectado: Compruebe la conexión a internet. Si es correcta, "
                              "pruebe más tarde ya que no es posible conectar con el servidor de ONLAE.")});
    QCOMPARE(canal.cancelaciones, 1);
    QCOMPARE(d.Label6, QString());
    QCOMPARE(d.ProgressBar1, 0);
    QVERIFY(!d.enCurso());
  }

  void errorTrasGuardarAlgunos() {
    // The newest draws are stored, then the pass runs out of combinations.
    Banco b(808);
    QList<prueba::SorteoRespuesta> l;
    for (int i = 0; i < 12; ++i)
      l.append({QDate(2021, 3, 7).addDays(-7 * i), QStringLiteral("01 - 02 - 03 - 04 - %1").arg(10 + i), 1});
    QByteArray r = prueba::respuestaSintetica(l);
    for (int i = 0; i < 11; ++i) r.replace(r.lastIndexOf("\"combinacion\""), 13, "\"combinacioN_");
    prueba::CanalGuionado canal;
    Descarga& d = b.con(canal);
    d.iniciar();
    canal.responder(r);
    b.ticks();
    QCOMPARE(b.titulos(), QStringList{QStringLiteral("Pruebe mas tarde: Aun no hay datos de sorteos del 2021.")});
    QCOMPARE(d.nuevos, 1);
    QCOMPARE(b.sorteos().size(), size_t{809});
    QCOMPARE(d.Label6, QStringLiteral("TRANSFERENCIA FINALIZADA"));
    b.sesion.cargasorteos(QDate(2021, 3, 10));
    QVERIFY(!b.sesion.listasorteos().danado);
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
    Banco b(808);
    prueba::CanalGuionado canal;
    Descarga& d = b.con(canal);
    d.iniciar();
    // The body arrives but the channel keeps reporting an error: nothing is stored.
    canal.responder(QByteArray(largo, 'a'), plataforma::CanalHttp::kCompletado);
    canal.error_ = true;
    QTEST(d.Label6, "estado");
    QTEST(b.ticks(), "ticks");
    QTEST(b.titulos(), "mensajes");
    QCOMPARE(d.Label6, QString());
    QCOMPARE(d.ProgressBar1, 0);
    QVERIFY(!d.enCurso());
    QVERIFY(!QFile::exists(b.entorno.ruta(QStringLiteral("www.txt"))) ||
            b.entorno.leer(QStringLiteral("www.txt")).isEmpty());
  }

  void fechaDelOrdenador() {
    Banco b(833);  // newest draw 28 March 2021; today is 10 March
    prueba::CanalGuionado canal;
    Descarga& d = b.con(canal);
    d.Label19 = QStringLiteral("3 sorteos");
    d.iniciar();
    QCOMPARE(b.titulos(),
             QStringList{QStringLiteral(
                 "Error de fechas: La fecha de tu ordenador parece incorrecta. Existen sorteos en la "
                 "base de datos con fechas porsteriores a la actual. Comprueba la fecha de tu ordenador.")});
    QVERIFY(canal.pedidas.isEmpty());
    QCOMPARE(d.Label19, QString());
    QVERIFY(!d.enCurso());
  }

  void respuestaDemasiadoGrande() {
    Banco b(808);
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
    QVERIFY(d.datosmalos);
    QCOMPARE(b.entorno.mensajes->vistos.size(), 1);
    QCOMPARE(b.entorno.mensajes->vistos[0].titulo, QStringLiteral("Error crítico"));
    QCOMPARE(b.entorno.leer(QStringLiteral("www.txt")), QByteArray("\"anterior\"\r\n"));
    QCOMPARE(b.sorteos().size(), size_t{808});
  }

  // The real channel against the fake service.
  void servicioLocal_data() {
    QTest::addColumn<int>("estado");
    QTest::addColumn<QByteArray>("cuerpo");
    QTest::addColumn<int>("demora");
    QTest::addColumn<bool>("rechazar");
    QTest::addColumn<QStringList>("mensajes");
    QTest::addColumn<int>("nuevos");
    const QStringList sinConexion{
        QStringLiteral("Error de conexión: No conectado: Compruebe la conexión a internet...")};
    QTest::newRow("respuesta") << 200 << ejemplo() << 0 << false << QStringList() << 18;
    QTest::newRow("403 no parece un navegador") << 403 << QByteArray("Forbidden") << 0 << false << sinConexion << 0;
    QTest::newRow("406 demasiadas peticiones")
        << 406 << QByteArray("<html>Not Acceptable</html>") << 0 << false << sinConexion << 0;
    QTest::newRow("lento") << 200 << ejemplo() << 5000 << false << sinConexion << 0;
    QTest::newRow("conexión rechazada") << 200 << QByteArray() << 0 << true << sinConexion << 0;
    QTest::newRow("texto de búsqueda vacía")
        << 200 << QByteArray("\"No se ha encontrado ningún registro para los parámetros introducidos.\"") << 0 << false
        << QStringList{kTodavia} << 0;
  }
  void servicioLocal() {
    QFETCH(int, estado);
    QFETCH(QByteArray, cuerpo);
    QFETCH(int, demora);
    QFETCH(bool, rechazar);
    Banco b(808);
    b.entorno.escribir(QStringLiteral("www.txt"), "\"anterior\"\r\n");
    prueba::ServicioPrueba servicio;
    servicio.defecto = {estado, cuerpo, demora, false};
    servicio.configurar(b.entorno.carpeta.path());
    if (rechazar) {
      QSettings ini(b.entorno.ruta(QStringLiteral("sortilan.ini")), QSettings::IniFormat);
      ini.setValue(QStringLiteral("servicios/resultados"),
                   QStringLiteral("http://127.0.0.1:%1").arg(prueba::puertoCerrado()));
    }
    plataforma::CanalQt canal(300);  // a short time-out stands for the 60 s one
    Descarga& d = b.con(canal);
    d.iniciar();
    QTRY_VERIFY_WITH_TIMEOUT(b.ventana.timer || !d.enCurso(), 5000);
    b.ticks();
    QTEST(b.titulos(), "mensajes");
    QFETCH(int, nuevos);
    QCOMPARE(static_cast<int>(b.sorteos().size()), 808 + nuevos);
    if (!rechazar)
      QVERIFY(servicio.pedidas.value(0).startsWith(QStringLiteral("/servicios/buscadorSorteos?game_id=ELGR")));
    if (!b.titulos().isEmpty() && b.titulos()[0].startsWith(QStringLiteral("Error de conexión"))) {
      QCOMPARE(b.entorno.leer(QStringLiteral("www.txt")), QByteArray("\"anterior\"\r\n"));
      QCOMPARE(d.ProgressBar1, 0);
      QCOMPARE(d.Label6, QString());
    } else {
      QCOMPARE(d.Label6, QStringLiteral("TRANSFERENCIA FINALIZADA"));
    }
  }

  void canalLimitaYCancela() {
    prueba::ServicioPrueba servicio;
    servicio.defecto = {200, QByteArray(5000, 'x'), 0, false};
    plataforma::CanalQt canal;
    QList<int> estados;
    connect(&canal, &plataforma::CanalHttp::estado, this, [&](int e) { estados << e; });
    plataforma::Traida t = plataforma::traerEsperando(canal, servicio.base(), {1000, false});
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
  }
};

QTEST_GUILESS_MAIN(TestDescarga)
#include "test_descarga.moc"
