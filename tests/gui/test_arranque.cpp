// The start of the window program as main() runs it, through every box and wait its load
// can meet: the main window must come up and stay, and the splash go without harm.
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QLabel>
#include <QSettings>
#include <QTimer>
#include <QtTest>

#include "app/arranque.h"
#include "app/presentacion.h"
#include "app/principal.h"
#include "gui/money/tabcuentas.h"
#include "store/archivoregistros.h"
#include "store/cerrojodatos.h"
#include "store/pena.h"
#include "store/sorteo.h"
#include "support/dobles.h"
#include "support/servicioprueba.h"

using namespace sortilan;
using namespace Qt::StringLiterals;

namespace {

// A real box keeps the program in an event loop of its own until it is answered: timers
// and posted events run meanwhile. This one does the same before it answers.
class MensajesEnBucle : public prueba::MensajesGuionados {
 public:
  plataforma::Respuesta mostrar(plataforma::Icono icono, const QString& titulo, const QString& texto,
                                plataforma::Botones botones, plataforma::Respuesta predeterminada) override {
    QEventLoop bucle;
    QTimer::singleShot(20, &bucle, &QEventLoop::quit);
    bucle.exec();
    return MensajesGuionados::mostrar(icono, titulo, texto, botones, predeterminada);
  }
};

// Root writes anywhere whatever the permissions say; without these capabilities in
// effect it meets a read-only folder as any user does. They stay permitted, so they can
// be taken back. Nothing happens for other users.
class SinPrivilegios {
 public:
  SinPrivilegios() { poner(false); }
  ~SinPrivilegios() { poner(true); }

 private:
  static void poner(bool con) {
    __user_cap_header_struct cabecera{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct datos[2]{};
    if (syscall(SYS_capget, &cabecera, datos) != 0) return;
    for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER}) {
      const unsigned bit = 1u << (cap % 32);
      if (con)
        datos[cap / 32].effective |= datos[cap / 32].permitted & bit;
      else
        datos[cap / 32].effective &= ~bit;
    }
    syscall(SYS_capset, &cabecera, datos);
  }
};

Pena penaDe(const QString& nombre, QDate creacion, std::array<int, 6> apuesta = {3, 12, 25, 40, 54, 7}) {
  Pena p = nuevaPena(nombre, 1, creacion);
  for (int i = 0; i < 6; ++i) p.ponerApuesta(i + 1, 1, static_cast<int16_t>(apuesta[static_cast<size_t>(i)]));
  return p;
}

// The history with one number of its 17th draw out of range.
QByteArray historiaDanada() {
  QByteArray h = prueba::leerDatoPrueba(QStringLiteral("numeros.dat"));
  h[16 * 24] = 55;
  return h;
}

struct Arrancado {
  int estado = -1;           // what iniciar returned
  bool salio = false;        // the application ended by itself
  bool principal = false;    // the main window on screen when looked at
  bool presentacion = true;  // the splash still there
  QStringList titulos;       // of the boxes shown, in order
  QStringList ventanas;      // object names of the windows on screen when looked at

  // Empty when the main window came up and stayed and the splash went; otherwise what failed.
  QString fallo() const {
    if (salio) return QStringLiteral("el programa terminó solo");
    if (!principal) return QStringLiteral("no se ve la ventana principal");
    if (presentacion) return QStringLiteral("la presentación sigue ahí");
    return {};
  }
};

// Runs the start as main() does, enters by "Entrar" and runs the event loop until the
// main window is up, the splash gone and `cajas` boxes answered, then a little longer to
// see that it stays. A start that never gets there ends the loop after 20 s.
Arrancado arrancar(prueba::Entorno& e, qsizetype cajas) {
  Arrancado a;
  ui::Arranque arranque;
  a.estado = arranque.iniciar({QStringLiteral("sortilan"), QStringLiteral("--datos"), e.carpeta.path()});
  if (a.estado != 0) return a;
  QObject guarda;
  bool porLaPrueba = false;
  QObject::connect(qApp, &QCoreApplication::aboutToQuit, &guarda, [&] { a.salio = !porLaPrueba; });
  const auto terminar = [&] {
    porLaPrueba = true;
    QCoreApplication::quit();
  };
  int despues = 0;
  auto* mirar = new QTimer(&guarda);
  QObject::connect(mirar, &QTimer::timeout, &guarda, [&] {
    // Looked at before quitting: quitting closes every window.
    a.principal = arranque.principal() && arranque.principal()->isVisible();
    a.presentacion = arranque.presentacion() != nullptr;
    a.ventanas.clear();
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible()) a.ventanas << w->objectName();
    if (a.principal && !a.presentacion && e.mensajes->vistos.size() >= cajas && ++despues > 10) terminar();
  });
  mirar->start(10);
  QTimer::singleShot(20000, &guarda, terminar);
  // "Entrar" from inside the event loop, as the splash's tick or a click comes.
  QTimer::singleShot(0, arranque.presentacion(), &ui::Presentacion::Command1_Click);
  QCoreApplication::exec();
  for (const prueba::MensajeVisto& m : e.mensajes->vistos) a.titulos << m.titulo;
  return a;
}

}  // namespace

class TestArranque : public QObject {
  Q_OBJECT

  std::unique_ptr<prueba::Entorno> e;

  void usarCajasEnBucle() {
    e->mensajes = std::make_shared<MensajesEnBucle>();
    plataforma::ponerMensajes(e->mensajes);
  }
  void escribirPenas(const std::vector<Pena>& penas) {
    e->escribir(QStringLiteral("apuestas.dat"), ArchivoDe<Pena>::codificar(penas));
  }

 private slots:
  void init() {
    e = std::make_unique<prueba::Entorno>(QDate(2026, 12, 8));
    usarCajasEnBucle();
  }
  void cleanup() {
    QFile::setPermissions(e->carpeta.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    CerrojoDatos::ponerEspera(std::chrono::milliseconds(5000));
    e.reset();
  }

  void carpetaVacia() {
    const Arrancado a = arrancar(*e, 1);
    QCOMPARE(a.fallo(), QString());
    QCOMPARE(a.titulos, QStringList{QStringLiteral("Fichero de peñas vacío")});
  }

  void sorteosDanados() {
    e->escribir(QStringLiteral("numeros.dat"), historiaDanada());
    escribirPenas({penaDe(QStringLiteral("UNA"), QDate(2010, 1, 1))});
    const Arrancado a = arrancar(*e, 1);
    QCOMPARE(a.fallo(), QString());
    QCOMPARE(a.titulos, QStringList{QStringLiteral("Error de lectura")});
    QCOMPARE(e->leer(QStringLiteral("numeros.err")), historiaDanada());
    QVERIFY(e->leer(QStringLiteral("numeros.dat")).isEmpty());
  }

  // Another program holds the folder while the load has prizes to count or a damaged file
  // to put aside: the load waits for it, then says so, and shows what is stored.
  void carpetaOcupada_data() {
    QTest::addColumn<bool>("danado");
    QTest::addColumn<QStringList>("titulos");
    QTest::newRow("premios por contar") << false << QStringList{QStringLiteral("Error")};
    QTest::newRow("archivo dañado") << true << QStringList{QStringLiteral("Error de lectura"), QStringLiteral("Error")};
  }
  void carpetaOcupada() {
    QFETCH(bool, danado);
    QFETCH(QStringList, titulos);
    e->escribir(QStringLiteral("numeros.dat"),
                danado ? historiaDanada() : prueba::leerDatoPrueba(QStringLiteral("numeros.dat")));
    escribirPenas({penaDe(QStringLiteral("UNA"), QDate(2010, 1, 1))});
    CerrojoDatos otro(e->carpeta.path());
    prueba::exigir(otro.tomar());
    CerrojoDatos::ponerEspera(std::chrono::milliseconds(50));
    const Arrancado a = arrancar(*e, titulos.size());
    QCOMPARE(a.fallo(), QString());
    QCOMPARE(a.titulos, titulos);
    QCOMPARE(e->mensajes->vistos.last().texto, CerrojoDatos::textoOcupado());
  }

  void carpetaDeSoloLectura() {
    e->copiar(QStringLiteral("numeros.dat"));
    escribirPenas({penaDe(QStringLiteral("UNA"), QDate(2010, 1, 1))});
    const QByteArray penas = e->leer(QStringLiteral("apuestas.dat"));
    QFile::setPermissions(e->carpeta.path(), QFile::ReadOwner | QFile::ExeOwner);
    const SinPrivilegios sin;
    const Arrancado a = arrancar(*e, 1);
    QCOMPARE(a.fallo(), QString());
    QCOMPARE(a.titulos, QStringList{QStringLiteral("Error de permiso")});
    QCOMPARE(e->leer(QStringLiteral("apuestas.dat")), penas);
  }

  // The news check at the end of the load waits on the maker's server: slow, hanging up,
  // or answering with news that open their window.
  void servidorDeNoticias_data() {
    QTest::addColumn<int>("demora");
    QTest::addColumn<bool>("cuelga");
    QTest::addColumn<bool>("ventana");
    QTest::newRow("lento") << 300 << false << true;
    QTest::newRow("cuelga") << 0 << true << false;
  }
  void servidorDeNoticias() {
    QFETCH(int, demora);
    QFETCH(bool, cuelga);
    QFETCH(bool, ventana);
    prueba::ServicioPrueba servidor;
    servidor.poner(QStringLiteral("/ginforme.dat"), {200, QByteArray(400, 'n'), demora, cuelga});
    e->copiar(QStringLiteral("numeros.dat"));
    // Created after the newest draw: nothing to count, no prize to remind of.
    escribirPenas({penaDe(QStringLiteral("UNA"), QDate(2026, 9, 1))});
    QSettings ini(e->ruta(QStringLiteral("sortilan.ini")), QSettings::IniFormat);
    ini.setValue(QStringLiteral("servicios/fabricante"), servidor.base().toString());
    ini.sync();
    const Arrancado a = arrancar(*e, 0);
    QCOMPARE(a.fallo(), QString());
    QVERIFY(a.titulos.isEmpty());
    QVERIFY(!servidor.pedidas.isEmpty());
    QCOMPARE(servidor.pedidas.first(), QStringLiteral("/ginforme.dat"));
    QCOMPARE(a.ventanas.contains(QStringLiteral("Infor")), ventana);
  }

  // A prize of the newest draw whose last day to collect is a week away.
  void avisoDeCobros() {
    e = std::make_unique<prueba::Entorno>(QDate(2026, 11, 9));
    usarCajasEnBucle();
    e->copiar(QStringLiteral("numeros.dat"));
    escribirPenas({penaDe(QStringLiteral("GANA"), QDate(2026, 8, 1), {7, 8, 11, 31, 35, 1})});
    const Arrancado a = arrancar(*e, 1);
    QCOMPARE(a.fallo(), QString());
    QCOMPARE(a.titulos, QStringList{QStringLiteral("Premios por cobrar")});
  }

  // The program's own start is painted before the money of every draw is worked out, and
  // works it out right after: the status bar tells at once what may be collected, and
  // "Cuentas" then shows what a window loaded in one go shows.
  void dineroTrasPintar() {
    e = std::make_unique<prueba::Entorno>(QDate(2026, 8, 20));
    e->copiar(QStringLiteral("numeros.dat"));
    escribirPenas({penaDe(QStringLiteral("GANA"), QDate(2026, 8, 1), {7, 8, 11, 31, 35, 1}),
                   penaDe(QStringLiteral("OTRA"), QDate(2020, 1, 1), {1, 2, 3, 4, 5, 0})});
    const auto texto = [](QWidget* w, const char* nombre) {
      return w->findChild<QLabel*>(QLatin1String(nombre))->text();
    };
    ui::Principal deUnaVez;
    deUnaVez.cargar(e->carpeta.path());
    QCOMPARE(texto(&deUnaVez, "LabelPorCobrar"), QStringLiteral("Premios por cobrar: 2 (importe pendiente)"));

    ui::Arranque arranque;
    QCOMPARE(arranque.iniciar({QStringLiteral("sortilan"), QStringLiteral("--datos"), e->carpeta.path()}), 0);
    // What the window holds as it appears (the signal comes before the event loop goes on).
    QString alAparecer;
    size_t penasAlAparecer = 99;
    QObject::connect(&arranque, &ui::Arranque::mostrada, &arranque, [&] {
      alAparecer = texto(arranque.principal(), "LabelPorCobrar");
      penasAlAparecer = arranque.principal()->cuentas()->cuentas().penas.size();
    });
    arranque.presentacion()->Command1_Click();
    QTRY_VERIFY(arranque.principal() && arranque.principal()->isVisible());
    ui::Principal* p = arranque.principal();
    QCOMPARE(alAparecer, texto(&deUnaVez, "LabelPorCobrar"));
    QCOMPARE(penasAlAparecer, size_t{0});
    QTRY_COMPARE(p->cuentas()->cuentas().penas.size(), size_t{2});
    QCOMPARE(texto(p->cuentas(), "LabelCuentas"), texto(deUnaVez.cuentas(), "LabelCuentas"));
    QCOMPARE(texto(p, "LabelPorCobrar"), texto(&deUnaVez, "LabelPorCobrar"));
  }

  void argumentos_data() {
    QTest::addColumn<QStringList>("argumentos");
    QTest::addColumn<int>("estado");
    QTest::addColumn<int>("cajas");
    QTest::newRow("sin carpeta tras --datos") << QStringList{u"sortilan"_s, u"--datos"_s} << 2 << 0;
    QTest::newRow("carpeta que no existe")
        << QStringList{u"sortilan"_s, u"--datos"_s, u"/no/existe/sortilan"_s} << 1 << 1;
  }
  void argumentos() {
    QFETCH(QStringList, argumentos);
    QFETCH(int, estado);
    QFETCH(int, cajas);
    ui::Arranque arranque;
    QCOMPARE(arranque.iniciar(argumentos), estado);
    QVERIFY(!arranque.presentacion());
    QCOMPARE(e->mensajes->vistos.size(), cajas);
    if (cajas) QCOMPARE(e->mensajes->vistos[0].titulo, QStringLiteral("Carpeta de datos"));
  }
};

QTEST_MAIN(TestArranque)
#include "test_arranque.moc"
