// The changes of the data folder: each one under the folder lock, from a fresh read,
// replacing files whole, and leaving everything as it was when it cannot finish.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QLockFile>
#include <QtTest>
#include <cmath>
#include <limits>

#include "base/fechas.h"
#include "checking/comprobacion.h"
#include "checking/cuenta.h"
#include "members/registrosocios.h"
#include "money/balance.h"
#include "operations/ajustes.h"
#include "operations/dinero.h"
#include "operations/penas.h"
#include "operations/socios.h"
#include "operations/sorteos.h"
#include "session/errorpermiso.h"
#include "session/sesion.h"
#include "store/cerrojodatos.h"
#include "support/dobles.h"

using namespace Qt::StringLiterals;

using namespace sortilan;
using prueba::Entorno;

namespace {

Sorteo sorteoDia(double fecha, std::array<int16_t, 6> n = {1, 2, 3, 4, 5, 6}) {
  Sorteo s;
  for (size_t i = 0; i < 6; ++i) s.numeros[i] = n[i];
  s.fecha = fecha;
  return s;
}
Sorteo sorteo(QDate d, std::array<int16_t, 6> n = {1, 2, 3, 4, 5, 6}) { return sorteoDia(oleDesdeFecha(d), n); }

QByteArray archivo(const std::vector<Sorteo>& v) { return ArchivoDe<Sorteo>::codificar(v); }

const QDate kD1(2021, 2, 21), kD2(2021, 2, 28), kD3(2021, 3, 7);

Pena pena(const char* nombre, QDate creacion = QDate(2020, 1, 1)) {
  Pena p = nuevaPena(QString::fromUtf8(nombre), 1, creacion);
  for (int i = 1; i <= 5; ++i) p.ponerApuesta(i, 1, static_cast<int16_t>(i));
  p.ponerApuesta(6, 1, 6);
  return p;
}

// A data folder with three draws and one peña that has counted them (5 + key each).
struct Banco {
  Entorno e;
  Almacen a;
  Banco() {
    e.escribir(QStringLiteral("numeros.dat"), archivo({sorteo(kD1), sorteo(kD2), sorteo(kD3)}));
    Pena p = pena("UNA");
    p.aciertos[7] = 3;
    p.ultimacuenta = oleDesdeFecha(kD3);
    e.escribir(QStringLiteral("apuestas.dat"), p.codificar());
    prueba::exigir(a.abrir(e.carpeta.path()));
  }
  QByteArray leer(const char* n) const { return e.leer(QString::fromLatin1(n)); }
  QStringList textos() const {
    QStringList t;
    for (const auto& v : e.mensajes->vistos) t.append(v.texto);
    return t;
  }
  QStringList archivos() const { return QDir(e.carpeta.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
  std::vector<Pena> penas() { return a.penas().leerTodos(); }
};

}  // namespace

class TestOperaciones : public QObject {
  Q_OBJECT

 private slots:
  void init() { CerrojoDatos::ponerEspera(std::chrono::milliseconds(2000)); }

  // ---- The store: reading changes nothing, writing replaces whole files ----

  void abrirNoCreaNada() {
    Entorno e;
    Sesion s;
    QVERIFY(s.abrir(e.carpeta.path()));
    s.cargasorteos(e.reloj->dia);
    QVERIFY(!s.listasorteos().danado);
    AvisoPremio aviso;
    const ResultadoComprobacion r = compruebapenas(s.almacen(), 1, {}, aviso);
    QCOMPARE(r.sencillas->filas(), 0);
    QVERIFY(operaciones::contarPremios(s.almacen()));
    QVERIFY(QDir(e.carpeta.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
    QVERIFY(!s.abrir(e.ruta(QStringLiteral("no/existe"))));
  }

  void reemplazoSinRestos() {
    Entorno e;
    const QString f = e.ruta(QStringLiteral("f.dat"));
    e.escribir(QStringLiteral("f.dat"), "viejo");
    QFile::setPermissions(f, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    const QFile::Permissions permisos = QFile::permissions(f);
    QVERIFY(reemplazarArchivo(f, "nuevo"));
    QCOMPARE(e.leer(QStringLiteral("f.dat")), QByteArray("nuevo"));
    QCOMPARE(QFile::permissions(f), permisos);  // the replacement keeps who may read it
    // A target that cannot be replaced: the old one stays and no temporary is left.
    QVERIFY(QDir(e.carpeta.path()).mkpath(QStringLiteral("g.dat/dentro")));
    QVERIFY(!reemplazarArchivo(e.ruta(QStringLiteral("g.dat")), "otro"));
    QCOMPARE(QDir(e.carpeta.path()).entryList(QDir::Files), QStringList{QStringLiteral("f.dat")});
    // A file that must be new is never written over an existing one.
    bool existia = false;
    QVERIFY(!crearArchivoNuevo(f, "encima", &existia));
    QVERIFY(existia);
    QCOMPARE(e.leer(QStringLiteral("f.dat")), QByteArray("nuevo"));
  }

  // Temporaries of a change cut short go with the next change, never with a read.
  void restosDeUnCorte() {
    Banco b;
    for (const char* n : {"apuestas.tmp", "numeros.tmp", "apuestas.dat.tmp.a1B2c3", "nums.ini.tmp.zzzzzz"})
      b.e.escribir(QString::fromLatin1(n), "resto");
    const QStringList conRestos = b.archivos();
    Sesion s;
    prueba::exigir(s.abrir(b.e.carpeta.path()));
    s.cargasorteos(b.e.reloj->dia);
    QCOMPARE(b.archivos(), conRestos);
    QVERIFY(operaciones::contarPremios(b.a));  // nothing to count, but remains to clear
    QCOMPARE(b.archivos(), (QStringList{u"apuestas.dat"_s, u"numeros.dat"_s}));
  }

  // The peña file written whole corrects "Sábado" for good; reading only shows it right.
  void sabadoPasaADomingo() {
    Banco b;
    Pena p = pena("SABADEÑA");
    p.ponerDias(QStringLiteral("Sábado"));
    p.aciertos[7] = 3;  // already counted: only the day changes
    p.ultimacuenta = oleDesdeFecha(kD3);
    const QByteArray antes = b.leer("apuestas.dat") + p.codificar();
    b.e.escribir(QStringLiteral("apuestas.dat"), antes);
    QCOMPARE(b.a.enumerarPenas()[1].diasTexto(), QStringLiteral("Domingo        "));
    QCOMPARE(b.leer("apuestas.dat"), antes);
    QVERIFY(operaciones::crearPena(b.a, pena("OTRA", kD3), b.e.reloj->dia).resultado);
    QByteArray esperado = p.codificar();
    esperado.replace(612, 15, QByteArray("Domingo        "));
    QCOMPARE(b.leer("apuestas.dat").mid(645, 645), esperado);
  }

  // ---- The folder lock ----

  void carpetaOcupada() {
    Banco b;
    CerrojoDatos otro(b.e.carpeta.path());
    QVERIFY(otro.tomar());
    CerrojoDatos::ponerEspera(std::chrono::milliseconds::zero());
    const QByteArray penas = b.leer("apuestas.dat"), sorteos = b.leer("numeros.dat");
    const operaciones::Alta alta = operaciones::crearPena(b.a, pena("NUEVA", kD3), b.e.reloj->dia);
    QVERIFY(!alta.resultado);
    QCOMPARE(alta.resultado.error, CerrojoDatos::textoOcupado());
    QVERIFY(!alta.resultado.permiso);
    QVERIFY(!operaciones::borrarSorteos(b.a));
    QVERIFY(!operaciones::anadirSorteos(b.a, {sorteo(kD3.addDays(7))}, QDate(2021, 3, 21)).resultado);
    QCOMPARE(b.leer("apuestas.dat"), penas);
    QCOMPARE(b.leer("numeros.dat"), sorteos);
    otro.soltar();
    QVERIFY(operaciones::crearPena(b.a, pena("NUEVA", kD3), b.e.reloj->dia).resultado);
    QVERIFY(!QFile::exists(b.e.ruta(QLatin1String(CerrojoDatos::kNombre))));  // released
  }

  // A lock left by a program that died does not block the folder for ever.
  void cerrojoDeUnProgramaMuerto() {
    Banco b;
    const pid_t hijo = fork();
    if (hijo == 0) {
      QLockFile l(b.e.ruta(QLatin1String(CerrojoDatos::kNombre)));
      _exit(l.tryLock() ? 0 : 1);
    }
    int estado = 0;
    QCOMPARE(waitpid(hijo, &estado, 0), hijo);
    QCOMPARE(WEXITSTATUS(estado), 0);
    QVERIFY(QFile::exists(b.e.ruta(QLatin1String(CerrojoDatos::kNombre))));
    CerrojoDatos::ponerEspera(std::chrono::milliseconds::zero());
    QVERIFY(operaciones::reiniciarContadores(b.a, b.e.reloj->dia));
  }

  // ---- Peñas ----

  void crearPena_data() {
    QTest::addColumn<QByteArray>("cola");
    QTest::addColumn<int>("registro");
    QTest::newRow("tras la última") << QByteArray() << 2;
    // A partial record is a damaged file: refused, never rewritten without it.
    QTest::newRow("un registro partido") << QByteArray(100, 'x') << 0;
  }
  void crearPena() {
    QFETCH(QByteArray, cola);
    QFETCH(int, registro);
    Banco b;
    const QByteArray antes = b.leer("apuestas.dat");
    b.e.escribir(QStringLiteral("apuestas.dat"), antes + cola);
    // Created today (10 March 2021): the draws before are shown, not counted.
    const Pena nueva = nuevaPena(QStringLiteral("NUEVA"), 1, b.e.reloj->dia);
    const operaciones::Alta a = operaciones::crearPena(b.a, nueva, b.e.reloj->dia);
    QCOMPARE(a.resultado.ok, registro != 0);
    QCOMPARE(a.registro, registro);
    QCOMPARE(b.leer("apuestas.dat"), registro ? antes + nueva.codificar() : antes + cola);
  }

  // The peña the user was asked about is the one deleted, or none.
  void borrarPena_data() {
    QTest::addColumn<int>("registro");
    QTest::addColumn<QString>("esperada");
    QTest::addColumn<QStringList>("quedan");
    QTest::newRow("primera") << 1 << u"UNA"_s << QStringList{u"DOS"_s, u"TRES"_s};
    QTest::newRow("segunda de tres") << 2 << u"DOS"_s << QStringList{u"UNA"_s, u"TRES"_s};
    QTest::newRow("última") << 3 << u"TRES"_s << QStringList{u"UNA"_s, u"DOS"_s};
    QTest::newRow("ya no está ahí") << 2 << u"TRES"_s << QStringList{u"UNA"_s, u"DOS"_s, u"TRES"_s};
    QTest::newRow("no existe") << 4 << u"UNA"_s << QStringList{u"UNA"_s, u"DOS"_s, u"TRES"_s};
  }
  void borrarPena() {
    QFETCH(int, registro);
    QFETCH(QString, esperada);
    QFETCH(QStringList, quedan);
    Entorno e;
    std::vector<Pena> tres = {pena("UNA"), pena("DOS"), pena("TRES")};
    e.escribir(QStringLiteral("apuestas.dat"), ArchivoDe<Pena>::codificar(tres));
    Almacen a;
    prueba::exigir(a.abrir(e.carpeta.path()));
    Pena buscada = pena(qPrintable(esperada));
    buscada.aciertos[0] = 9;  // counters that moved meanwhile do not make it another peña
    const Resultado r = operaciones::borrarPena(a, registro, buscada, QDate(2021, 3, 10));
    QCOMPARE(r.ok, quedan.size() == 2);
    QStringList nombres;
    for (const Pena& p : a.penas().leerTodos()) nombres << p.nombreRecortado();
    QCOMPARE(nombres, quedan);
  }

  void reiniciarContadores() {
    Banco b;
    QVERIFY(operaciones::reiniciarContadores(b.a, b.e.reloj->dia));
    const Pena p = b.penas()[0];
    QCOMPARE(p.aciertos, (std::array<int16_t, 8>{}));
    QCOMPARE(p.ultimacuenta, 0.0);
    QCOMPARE(fechaDesdeOle(p.creacion), b.e.reloj->dia);
    QCOMPARE(p.nombreRecortado(), QStringLiteral("UNA"));
  }

  // A reset starts the prize counting again, not the money: the draws a peña played and
  // paid, its collections and what its members owe stay, reset after reset. A peña that
  // starts again another day (deleted and entered anew) pays from its own start.
  void reiniciarGuardaElDinero_data() {
    QTest::addColumn<QStringList>("pasos");
    QTest::addColumn<int>("jugados");  // draws the peña has paid at the end
    QTest::newRow("un reinicio") << QStringList{u"reiniciar"_s} << 3;
    QTest::newRow("dos el mismo día") << QStringList{u"reiniciar"_s, u"reiniciar"_s} << 3;
    QTest::newRow("dos en días distintos") << QStringList{u"reiniciar"_s, u"mañana"_s, u"reiniciar"_s} << 3;
    QTest::newRow("cobro y socio antes") << QStringList{u"cobrar"_s, u"socio"_s, u"reiniciar"_s} << 3;
    QTest::newRow("cobro y socio después") << QStringList{u"reiniciar"_s, u"mañana"_s, u"cobrar"_s, u"socio"_s} << 3;
    QTest::newRow("la peña empieza de nuevo otro día")
        << QStringList{u"socio"_s, u"reiniciar"_s, u"mañana"_s, u"recrear"_s} << 0;
  }
  void reiniciarGuardaElDinero() {
    QFETCH(QStringList, pasos);
    QFETCH(int, jugados);
    Banco b;
    QDate& hoy = b.e.reloj->dia;
    bool cobrado = false, socio = false;
    for (const QString& paso : pasos) {
      if (paso == u"reiniciar"_s) {
        QVERIFY(operaciones::reiniciarContadores(b.a, hoy));
        QCOMPARE(fechaDesdeOle(b.penas()[0].creacion), hoy);
      } else if (paso == u"mañana"_s) {
        hoy = hoy.addDays(1);
      } else if (paso == u"cobrar"_s) {
        const Resultado r = operaciones::marcarCobro(b.a, 1, kD3, kD3.addDays(1), hoy);
        QVERIFY2(r, qPrintable(r.error));
        cobrado = true;
      } else if (paso == u"socio"_s) {
        // Joined before the reset, whenever it is entered.
        const Resultado r = operaciones::altaSocio(b.a, 1, {u"ANA"_s, {}, {}}, 1, kD1);
        QVERIFY2(r, qPrintable(r.error));
        socio = true;
      } else if (paso == u"recrear"_s) {
        b.e.escribir(QStringLiteral("apuestas.dat"), pena("UNA", hoy).codificar());
        cobrado = false;
      }
    }
    const std::vector<Pena> penas = b.penas();
    const std::vector<Sorteo> sorteos = b.a.sorteos().leerTodos();
    Cuentas c;
    QVERIFY(leerCuentas(b.a.carpeta(), penas, sorteos, hoy, c));
    QCOMPARE(c.penas.size(), size_t{1});
    QCOMPARE(static_cast<int>(c.penas[0].sorteos.size()), jugados);
    QCOMPARE(c.coste(), Centimos{150} * jugados);
    QCOMPARE(c.cobros.size(), size_t(jugados));  // 5 + key in every draw
    const Cobro* k = c.cobro(1, kD3);
    QCOMPARE(k && k->estado == EstadoCobro::Cobrado, cobrado);
    // The collections one at a time say the same.
    DatosDinero d;
    QVERIFY(leerDatosDinero(b.a.carpeta(), penas, d));
    int uno = 0;
    recorrerCobros(penas, sorteos, d, hoy, {}, [&](const Cobro&) { ++uno; });
    QCOMPARE(uno, jugados);
    // The members pay the same draws.
    SociosPena sp;
    QVERIFY(leerSociosPena(b.a.carpeta(), penas, sorteos, 1, sp));
    Centimos costes = 0;
    for (const auto& x : sp.costes) costes += x.coste;
    QCOMPARE(costes, c.coste());
    if (socio && jugados > 0) QCOMPARE(sp.saldos(), std::vector<Centimos>{-c.coste()});
  }

  // ---- Draws ----

  void borrarSorteo_data() {
    QTest::addColumn<int>("cual");
    QTest::addColumn<int>("premios");  // 5 + key counted afterwards
    QTest::newRow("el más reciente") << 2 << 2;
    QTest::newRow("el del medio") << 1 << 2;
    QTest::newRow("uno que ya no está") << -1 << 3;
  }
  void borrarSorteo() {
    QFETCH(int, cual);
    QFETCH(int, premios);
    Banco b;
    const std::vector<Sorteo> antes = b.a.sorteos().leerTodos();
    const Sorteo s = cual >= 0 ? antes[static_cast<size_t>(cual)] : sorteo(kD3.addDays(7));
    QCOMPARE(operaciones::borrarSorteo(b.a, s).ok, cual >= 0);
    std::vector<Sorteo> quedan = antes;
    if (cual >= 0) quedan.erase(quedan.begin() + cual);
    QCOMPARE(b.leer("numeros.dat"), archivo(quedan));
    QCOMPARE(b.penas()[0].aciertos[7], int16_t(premios));
    QCOMPARE(b.penas()[0].ultimacuenta, quedan.back().fecha);
  }

  void borrarTodos() {
    Banco b;
    QVERIFY(operaciones::borrarSorteos(b.a));
    QCOMPARE(b.leer("numeros.dat"), QByteArray());
    QCOMPARE(b.penas()[0].aciertos[7], int16_t{0});
    QCOMPARE(b.penas()[0].ultimacuenta, 0.0);
  }

  void anadirSorteos_data() {
    QTest::addColumn<std::vector<Sorteo>>("nuevos");
    QTest::addColumn<int>("anadidos");
    QTest::addColumn<QString>("rechazo");
    const Sorteo s4 = sorteo(kD3.addDays(7)), s5 = sorteo(kD3.addDays(14));
    QTest::newRow("dos nuevos") << std::vector<Sorteo>{s4, s5} << 2 << "";
    QTest::newRow("ya guardado") << std::vector<Sorteo>{sorteo(kD3), s4} << 0
                                 << "El sorteo del 07/03/2021 no es posterior al último guardado.";
    QTest::newRow("fuera de orden") << std::vector<Sorteo>{s5, s4} << 1
                                    << "El sorteo del 14/03/2021 no es posterior al último guardado.";
    QTest::newRow("de mañana") << std::vector<Sorteo>{s4, s5, sorteo(QDate(2021, 3, 22))} << 2
                               << "El sorteo del 22/03/2021 tiene fecha posterior a hoy.";
    QTest::newRow("número repetido") << std::vector<Sorteo>{s4, sorteo(kD3.addDays(14), {1, 1, 3, 4, 5, 6})} << 1
                                     << "El sorteo del 21/03/2021 no es válido.";
  }
  void anadirSorteos() {
    QFETCH(std::vector<Sorteo>, nuevos);
    QFETCH(int, anadidos);
    QFETCH(QString, rechazo);
    Banco b;
    const QByteArray antes = b.leer("numeros.dat");
    const operaciones::Anadidos r = operaciones::anadirSorteos(b.a, nuevos, QDate(2021, 3, 21));
    QCOMPARE(r.anadidos, anadidos);
    QCOMPARE(r.resultado.error, rechazo);
    QCOMPARE(r.resultado.ok, rechazo.isEmpty());
    QCOMPARE(b.leer("numeros.dat"), antes + archivo({nuevos.begin(), nuevos.begin() + anadidos}));
    QCOMPARE(b.penas()[0].aciertos[7], int16_t(3 + anadidos));  // counted at once
  }

  // ---- A damaged draw file ----

  // Set aside under a name not yet used, never over an earlier copy.
  void apartarDanado() {
    Banco b;
    const QByteArray penas = b.leer("apuestas.dat");
    const QByteArray danado1 = archivo({sorteo(kD1), sorteoDia(0)});
    const QByteArray danado2 = archivo({sorteo(kD1, {1, 2, 3, 4, 77, 6})});
    // A record cut short at the end: no write of ours leaves one.
    const QByteArray danado3 = archivo({sorteo(kD1)}) + QByteArray(10, '\x01');
    b.e.escribir(QStringLiteral("numeros.err"), "una copia anterior");
    for (const QByteArray& d : {danado1, danado2, danado3}) {
      b.e.escribir(QStringLiteral("numeros.dat"), d);
      const operaciones::Apartado a = operaciones::apartarSorteosDanados(b.a);
      QVERIFY(a.resultado);
      QVERIFY(a.danado);
      QVERIFY(a.apartado);
      QCOMPARE(b.leer("numeros.dat"), QByteArray());
    }
    QCOMPARE(b.leer("numeros.err"), QByteArray("una copia anterior"));
    QCOMPARE(b.leer("numeros.2.err"), danado1);
    QCOMPARE(b.leer("numeros.3.err"), danado2);
    QCOMPARE(b.leer("numeros.4.err"), danado3);
    QCOMPARE(b.leer("apuestas.dat"), penas);  // the counters stay as they were
    QVERIFY(b.textos().isEmpty());            // the caller warns, after the change
    // Nothing to set aside any more: nothing changes.
    QVERIFY(!operaciones::apartarSorteosDanados(b.a).apartado);
    // The empty file takes new draws again.
    QCOMPARE(operaciones::anadirSorteos(b.a, {sorteo(kD1)}, b.e.reloj->dia).anadidos, 1);
  }

  void sobreUnArchivoDanado() {
    Banco b;
    const QByteArray danado = archivo({sorteo(kD1), sorteo(kD1)});
    b.e.escribir(QStringLiteral("numeros.dat"), danado);
    QVERIFY(!operaciones::anadirSorteos(b.a, {sorteo(kD3)}, b.e.reloj->dia).resultado);
    QVERIFY(!operaciones::borrarSorteo(b.a, sorteo(kD1)));
    QCOMPARE(b.leer("numeros.dat"), danado);
    // Counting never takes prizes from it.
    const QByteArray penas = b.leer("apuestas.dat");
    Pena p = pena("NUEVA", kD1);
    b.e.escribir(QStringLiteral("apuestas.dat"), penas + p.codificar());
    QVERIFY(operaciones::contarPremios(b.a));
    QCOMPARE(b.penas()[1], p);
  }

  // ---- Import ----

  void importar_data() {
    QTest::addColumn<QByteArray>("contenido");
    QTest::addColumn<bool>("valido");
    const QByteArray todos = prueba::leerDatoPrueba(QStringLiteral("numeros.dat"));
    std::vector<Sorteo> v;
    for (int i = 0; i < 20; ++i) v.push_back(sorteo(kD1.addDays(7 * i)));
    auto con = [&](int k, const Sorteo& s) {
      std::vector<Sorteo> w = v;
      w[static_cast<size_t>(k)] = s;
      return archivo(w);
    };
    std::vector<Sorteo> alReves(v.rbegin(), v.rend());
    QTest::newRow("1114 sorteos reales") << todos << true;
    QTest::newRow("un domingo") << archivo({sorteo(kD3)}) << true;
    QTest::newRow("con un registro partido al final") << archivo(v) + QByteArray(10, '\x01') << true;
    QTest::newRow("un 77 en el registro 5") << con(4, sorteo(kD1.addDays(28), {1, 2, 3, 77, 5, 6})) << false;
    QTest::newRow("un registro a cero") << con(10, Sorteo{}) << false;
    QTest::newRow("al revés") << archivo(alReves) << false;
    QTest::newRow("fechas repetidas") << con(7, sorteo(kD1.addDays(42))) << false;
    QTest::newRow("registro 2 dañado") << archivo({sorteo(kD3)}) + QByteArray(24, '\x7f') << false;
    QTest::newRow("vacío") << QByteArray() << false;
    QTest::newRow("menos de un registro") << archivo({sorteo(kD3)}).left(23) << false;
    QTest::newRow("sábado") << archivo({sorteo(QDate(2021, 3, 6))}) << false;
    QTest::newRow("31 dic 1899") << archivo({sorteoDia(1)}) << false;
    QTest::newRow("fecha NaN") << archivo({sorteoDia(std::numeric_limits<double>::quiet_NaN())}) << false;
    QTest::newRow("no es de sorteos") << QByteArray("Esto es un texto cualquiera, no un archivo de sorteos.\n")
                                      << false;
    QByteArray grande;
    for (int i = 0; i < operaciones::kMaximoSorteos; ++i) grande += sorteo(kD1.addDays(7 * i)).codificar();
    QTest::newRow("todos los que caben") << grande << true;
    QTest::newRow("uno más de los que caben") << grande + sorteo(kD1.addDays(7 * 40000)).codificar() << false;
    QTest::newRow("un byte más de los que caben") << grande + QByteArray(1, '\0') << false;
  }
  void importar() {
    QFETCH(QByteArray, contenido);
    QFETCH(bool, valido);
    Banco b;
    b.e.escribir(QStringLiteral("elegido.dat"), contenido);
    const QByteArray antes = b.leer("numeros.dat");
    const operaciones::Importacion r = operaciones::importarSorteos(b.a, b.e.ruta(QStringLiteral("elegido.dat")));
    QCOMPARE(r, valido ? operaciones::Importe::Importado : operaciones::Importe::NoValido);
    QCOMPARE(r.resultado.error, valido ? QString() : operaciones::kNoValido);
    // The operation shows nothing itself; its caller shows the outcome afterwards.
    QVERIFY(b.textos().isEmpty());
    operaciones::avisarImportacion(r);
    QCOMPARE(b.textos(), QStringList{valido ? operaciones::kImportado : operaciones::kNoValido});
    QCOMPARE(b.e.mensajes->vistos[0].titulo,
             valido ? QStringLiteral("Todos los sorteos") : QStringLiteral("¡Vaya hombre!"));
    if (valido) {
      QCOMPARE(b.leer("numeros.dat"), contenido.left(contenido.size() - contenido.size() % 24));
      QCOMPARE(b.leer("numeros.bak"), antes);
    } else {
      QCOMPARE(b.leer("numeros.dat"), antes);
    }
    QCOMPARE(b.archivos().size(), valido ? 4 : 3);  // no temporary, no lock left
  }

  // A pipe or a device is refused at once, without reading it to the end.
  void importarLoQueNoEsUnArchivo_data() {
    QTest::addColumn<QString>("ruta");
    QTest::newRow("/dev/zero") << "/dev/zero";
    QTest::newRow("una tubería") << "tuberia";
    QTest::newRow("una carpeta") << ".";
  }
  void importarLoQueNoEsUnArchivo() {
    QFETCH(QString, ruta);
    Banco b;
    const QString camino = ruta.startsWith(QLatin1Char('/')) ? ruta : b.e.ruta(ruta);
    if (ruta == QLatin1String("tuberia")) QCOMPARE(mkfifo(QFile::encodeName(camino).constData(), 0600), 0);
    const QByteArray antes = b.leer("numeros.dat");
    QCOMPARE(operaciones::importarSorteos(b.a, camino), operaciones::Importe::NoValido);
    QCOMPARE(b.leer("numeros.dat"), antes);
  }

  void importarQueNoExiste() {
    Banco b;
    const operaciones::Importacion r = operaciones::importarSorteos(b.a, b.e.ruta(QStringLiteral("no-existe.dat")));
    QCOMPARE(r, operaciones::Importe::Fallo);
    QCOMPARE(r.resultado.error, operaciones::kNoValido + QStringLiteral(" Error 53"));
    QCOMPARE(r.resultado.clase, Resultado::Clase::Entrada);
  }

  // numeros.bak is only ever made from a sound, non-empty file.
  void copiaDeSeguridad_data() {
    QTest::addColumn<QByteArray>("actual");
    QTest::addColumn<bool>("copia");
    QTest::addColumn<bool>("apartado");
    QTest::newRow("actual sano") << archivo({sorteo(kD1)}) << true << false;
    QTest::newRow("actual vacío") << QByteArray() << false << false;
    QTest::newRow("actual dañado") << archivo({sorteo(kD1), sorteoDia(0)}) << false << true;
    QTest::newRow("actual con un registro a medias") << archivo({sorteo(kD1)}) + "abc" << false << true;
  }
  void copiaDeSeguridad() {
    QFETCH(QByteArray, actual);
    QFETCH(bool, copia);
    QFETCH(bool, apartado);
    Banco b;
    b.e.escribir(QStringLiteral("numeros.bak"), "copia vieja");
    b.e.escribir(QStringLiteral("numeros.dat"), actual);
    b.e.copiar(QStringLiteral("numeros.dat"), QStringLiteral("nuevo.dat"));
    QCOMPARE(operaciones::importarSorteos(b.a, b.e.ruta(QStringLiteral("nuevo.dat"))), operaciones::Importe::Importado);
    QCOMPARE(b.leer("numeros.bak"), copia ? actual : QByteArray("copia vieja"));
    QCOMPARE(QFile::exists(b.e.ruta(QStringLiteral("numeros.err"))), apartado);
    if (apartado) QCOMPARE(b.leer("numeros.err"), actual);
    // Importing again keeps the history just imported as the backup.
    QCOMPARE(operaciones::importarSorteos(b.a, b.e.ruta(QStringLiteral("nuevo.dat"))), operaciones::Importe::Importado);
    QCOMPARE(b.leer("numeros.bak"), b.leer("nuevo.dat"));
  }

  void importarSinPoderEscribir() {
    Banco b;
    // A folder with something in it stands where the backup must go.
    QVERIFY(QDir(b.e.carpeta.path()).mkpath(QStringLiteral("numeros.bak/dentro")));
    b.e.copiar(QStringLiteral("numeros.dat"), QStringLiteral("nuevo.dat"));
    const QByteArray antes = b.leer("numeros.dat"), penas = b.leer("apuestas.dat");
    const operaciones::Importacion r = operaciones::importarSorteos(b.a, b.e.ruta(QStringLiteral("nuevo.dat")));
    QCOMPARE(r, operaciones::Importe::Fallo);
    QCOMPARE(b.leer("numeros.dat"), antes);
    QCOMPARE(b.leer("apuestas.dat"), penas);
    // A folder in the way is no permission problem: the message names what is in the way.
    QVERIFY(!r.resultado.permiso);
    QVERIFY2(r.resultado.error.contains(QStringLiteral("numeros.bak")), qPrintable(r.resultado.error));
    operaciones::avisarImportacion(r);
    QCOMPARE(b.e.mensajes->vistos.size(), 1);
  }

  // ---- Calibration and news ----

  void calibracionYNoticias() {
    Banco b;
    QVERIFY(operaciones::guardarCalibracion(b.a, Calibracion{1, 2.5f, -3, 4}));
    QCOMPARE(b.leer("nums.ini"), (Calibracion{1, 2.5f, -3, 4}.codificar()));
    QVERIFY(operaciones::guardarNoticias(b.a, "<p>hola</p>"));
    QCOMPARE(b.leer("informe.dat"), QByteArray("<p>hola</p>"));
  }

  void textoErrorPermiso() {
    Entorno e;
    errorpermiso();
    QCOMPARE(e.mensajes->vistos.size(), 1);
    QCOMPARE(e.mensajes->vistos[0].titulo, QStringLiteral("Error de permiso"));
    QCOMPARE(e.mensajes->vistos[0].icono, plataforma::Icono::Exclamacion);
    QCOMPARE(e.mensajes->vistos[0].texto,
             QStringLiteral("Para modificar el archivo necesita permiso de Administrador.\r\nCierre el programa y "
                            "ejecútelo en modo Administrador y repita la operación.\r\n(Encima del icono, botón "
                            "derecho y elija \"Ejecutar como administrador\")"));
  }
};

QTEST_GUILESS_MAIN(TestOperaciones)
#include "test_operaciones.moc"
