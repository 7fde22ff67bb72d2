// Every draw counted once and only once, apart from what the window shows: the counting
// rule on its own, and the operations that change the draws, each step checked against a
// plain reference count over the draws stored since each peña's creation.
#include <QtTest>
#include <map>

#include "base/fechas.h"
#include "checking/comprobacion.h"
#include "checking/cuenta.h"
#include "checking/nucleo.h"
#include "operations/penas.h"
#include "operations/sorteos.h"
#include "session/sesion.h"
#include "support/dobles.h"
#include "support/referencia.h"

using namespace Qt::StringLiterals;

using namespace sortilan;

namespace {

QByteArray archivo(const std::vector<Sorteo>& s) { return ArchivoDe<Sorteo>::codificar(s); }

// A data folder with the first `inicial` real draws and peñas of every kind, nothing counted.
struct Carpeta {
  explicit Carpeta(int inicial) : e(QDate(2026, 12, 8)), todos(prueba::historiaReal()) {
    QRandomGenerator g(10);
    penas = prueba::penasAlAzar(g, todos, 12);
    e.escribir(QStringLiteral("numeros.dat"), archivo(primeros(inicial)));
    e.escribir(QStringLiteral("apuestas.dat"), ArchivoDe<Pena>::codificar(penas));
    prueba::exigir(a.abrir(e.carpeta.path()));
  }
  std::vector<Sorteo> primeros(int n) const { return {todos.begin(), todos.begin() + n}; }
  std::vector<Sorteo> guardados() { return a.sorteos().leerTodos(); }

  // The reference count of peña i over the stored draws, from the prizes of each draw of
  // the history worked out once (every stored draw is one of them).
  std::array<int16_t, 8> referencia(size_t i, const Pena& p, const std::vector<Sorteo>& s) {
    if (premios.empty())
      for (const Pena& q : penas) {
        premios.emplace_back();
        for (const Sorteo& x : todos) premios.back()[x.fecha] = prueba::cuentaReferencia(q, {x});
      }
    std::array<int, 8> suma{};
    for (const Sorteo& x : s)
      if (x.fecha >= p.creacion)
        for (size_t k = 0; k < 8; ++k) suma[k] += premios[i].at(x.fecha)[k];
    std::array<int16_t, 8> r{};
    for (size_t k = 0; k < 8; ++k) r[k] = static_cast<int16_t>(std::min(suma[k], 32767));
    return r;
  }

  // Each peña holds the reference count of what is stored, and ultimacuenta is the newest
  // draw it counted.
  void comprobar(const char* paso) {
    const std::vector<Sorteo> s = guardados();
    const std::vector<Pena> leidas = a.penas().leerTodos();
    QCOMPARE(leidas.size(), penas.size());
    for (size_t i = 0; i < leidas.size(); ++i) {
      QVERIFY2(leidas[i].aciertos == referencia(i, leidas[i], s), paso);
      double ultima = 0;
      for (const Sorteo& x : s)
        if (x.fecha >= leidas[i].creacion) ultima = x.fecha;
      if (ultima != 0) QVERIFY2(leidas[i].ultimacuenta == ultima, paso);
    }
  }

  prueba::Entorno e;
  Almacen a;
  std::vector<Sorteo> todos;
  std::vector<Pena> penas;
  std::vector<std::map<double, std::array<int16_t, 8>>> premios;
};

}  // namespace

class TestCuenta : public QObject {
  Q_OBJECT
 private slots:
  // The rule itself: a draw counts when it is later than ultimacuenta and not before the
  // creation; counting again counts nothing.
  void regla_data() {
    QTest::addColumn<QDate>("creacion");
    QTest::addColumn<QDate>("ultimacuenta");
    QTest::addColumn<int>("contados");
    const QDate d1(2021, 2, 21), d2(2021, 2, 28), d3(2021, 3, 7);
    QTest::newRow("nada contado") << d1 << QDate() << 3;
    QTest::newRow("creada tras el primero") << d2 << QDate() << 2;
    QTest::newRow("creada el domingo por la tarde") << d3 << QDate() << 1;
    QTest::newRow("creada después de todos") << d3.addDays(1) << QDate() << 0;
    QTest::newRow("ya contado el segundo") << d1 << d2 << 1;
    QTest::newRow("ya contado todo") << d1 << d3 << 0;
  }
  void regla() {
    QFETCH(QDate, creacion);
    QFETCH(QDate, ultimacuenta);
    QFETCH(int, contados);
    std::vector<Sorteo> s;
    for (const QDate d : {QDate(2021, 2, 21), QDate(2021, 2, 28), QDate(2021, 3, 7)}) {
      Sorteo x;
      x.numeros = {1, 2, 3, 4, 5, 6, 0, 0};
      x.fecha = oleDesdeFecha(d);
      s.push_back(x);
    }
    Pena p = nuevaPena(QStringLiteral("P"), 1, creacion);
    for (int i = 1; i <= 5; ++i) p.ponerApuesta(i, 1, static_cast<int16_t>(i));  // 5 hits every draw
    p.ponerApuesta(6, 1, 6);
    p.ultimacuenta = ultimacuenta.isValid() ? oleDesdeFecha(ultimacuenta) : 0;
    std::vector<Pena> ps = {p};
    QCOMPARE(contarPremios(ps, s), contados > 0);
    QCOMPARE(ps[0].aciertos[7], int16_t(contados));
    if (contados > 0) QCOMPARE(ps[0].ultimacuenta, s.back().fecha);
    QVERIFY(!contarPremios(ps, s));
  }

  // The cases where the counting used to follow the range on screen, through the
  // operations that the window and the command line share.
  // The masks give the hits that counting position by position gives, for odd records too.
  void nucleo_data() {
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QList<int>>("numeros");  // the first row; the other rows are random
    QTest::newRow("sencilla limpia") << 24 << QList<int>{3, 9, 20, 41, 50};
    QTest::newRow("numero repetido") << 24 << QList<int>{7, 7, 7, 20, 41};
    QTest::newRow("fuera de rango") << 3 << QList<int>{0, 55, -1, 54, 1};
    QTest::newRow("todo ceros") << 1 << QList<int>{0, 0, 0, 0, 0};
    QTest::newRow("multiple limpia") << 106 << QList<int>{1, 5, 9, 13, 20, 27, 33, 41, 48, 52, 54};
    QTest::newRow("multiple repetida") << 101 << QList<int>{4, 4, 18, 30, 30, 47};
  }
  void nucleo() {
    QFETCH(int, tipo);
    QFETCH(QList<int>, numeros);
    QRandomGenerator g(7);
    Pena p = nuevaPena(u"NÚCLEO"_s, tipo, QDate(2000, 1, 1));
    const int filas = p.esSencilla() ? tipo : 1;
    for (int f = 1; f <= filas; ++f)
      for (int i = 1; i <= p.numerosPorApuesta(); ++i)
        p.ponerApuesta(i, f, static_cast<int16_t>(f == 1 ? numeros[i - 1] : g.bounded(0, 56)));
    const MascarasPena m = mascarasPena(p);
    QCOMPARE(m.filas, filas);
    for (const Sorteo& s : prueba::historiaReal()) {
      AciertosFilas h;
      aciertosPena(m, p, s, h);
      for (int f = 1; f <= filas; ++f)
        QCOMPARE(int(h[static_cast<size_t>(f - 1)]), aciertosApuesta(p, f, p.numerosPorApuesta(), s));
    }
  }

  void casos_data() {
    QTest::addColumn<int>("inicial");
    QTest::addColumn<QStringList>("pasos");
    QTest::newRow("1 descarga de más sorteos de los que muestra la lista")
        << 900 << QStringList{u"contar"_s, u"anadir 12"_s, u"anadir 1"_s, u"anadir 30"_s};
    QTest::newRow("2 importación de la historia") << 0 << QStringList{u"contar"_s, u"importar"_s};
    QTest::newRow("3 sorteos sin contar al arrancar con el rango en 1")
        << 700 << QStringList{u"crecer 40"_s, u"vista 1"_s, u"contar"_s, u"crecer 1"_s, u"contar"_s};
    QTest::newRow("4 borrar el más reciente y volver a bajarlo")
        << 1114
        << QStringList{u"contar"_s, u"borrar 1113"_s, u"anadir 1"_s, u"borrar 1113"_s, u"borrar 1112"_s, u"anadir 2"_s};
    QTest::newRow("5 borrar un sorteo ya contado del medio")
        << 1114 << QStringList{u"contar"_s, u"borrar 600"_s, u"contar"_s};
    QTest::newRow("6 comprobar otra vez no cuenta nada")
        << 1000 << QStringList{u"contar"_s, u"vista 1"_s, u"vista 300"_s, u"contar"_s, u"contar"_s};
    QTest::newRow("7 borrar todos y volver a importar")
        << 1114 << QStringList{u"contar"_s, u"borrar-todos"_s, u"importar"_s};
    QTest::newRow("contadores a cero: sólo cuenta lo que llegue desde hoy")
        << 1114 << QStringList{u"contar"_s, u"reiniciar"_s, u"borrar 1113"_s, u"importar"_s};
    QTest::newRow("corte tras apartar los premios de un sorteo borrado")
        << 1114 << QStringList{u"contar"_s, u"corte 1000"_s, u"contar"_s};
  }
  void casos() {
    QFETCH(int, inicial);
    QFETCH(QStringList, pasos);
    Carpeta c(inicial);
    c.e.copiar(QStringLiteral("numeros.dat"), QStringLiteral("historia.dat"));
    for (const QString& paso : pasos) {
      const QStringList p = paso.split(QLatin1Char(' '));
      const int n = p.size() > 1 ? p[1].toInt() : 0;
      const std::vector<Sorteo> antes = c.guardados();
      if (p[0] == QLatin1String("contar")) {
        QVERIFY(operaciones::contarPremios(c.a));
      } else if (p[0] == QLatin1String("anadir")) {
        const auto desde = c.todos.begin() + static_cast<qsizetype>(antes.size());
        const operaciones::Anadidos r = operaciones::anadirSorteos(c.a, {desde, desde + n}, c.e.reloj->dia);
        QVERIFY(r.resultado);
        QCOMPARE(r.anadidos, n);
      } else if (p[0] == QLatin1String("importar")) {
        QCOMPARE(operaciones::importarSorteos(c.a, c.e.ruta(QStringLiteral("historia.dat"))),
                 operaciones::Importe::Importado);
      } else if (p[0] == QLatin1String("borrar")) {
        QVERIFY(operaciones::borrarSorteo(c.a, antes[static_cast<size_t>(n)]));
      } else if (p[0] == QLatin1String("borrar-todos")) {
        QVERIFY(operaciones::borrarSorteos(c.a));
      } else if (p[0] == QLatin1String("reiniciar")) {
        QVERIFY(operaciones::reiniciarContadores(c.a, c.e.reloj->dia));
      } else if (p[0] == QLatin1String("crecer")) {
        // Draws that reached the file while no count ran (an older version, a crash).
        c.e.escribir(QStringLiteral("numeros.dat"), archivo(c.primeros(static_cast<int>(antes.size()) + n)));
        continue;
      } else if (p[0] == QLatin1String("vista")) {
        // Showing a range writes nothing and counts nothing.
        const QByteArray penas = c.e.leer(QStringLiteral("apuestas.dat"));
        AvisoPremio aviso;
        const ResultadoComprobacion r = compruebapenas(c.a, n, {}, aviso);
        QVERIFY(r.sencillas);
        QCOMPARE(c.e.leer(QStringLiteral("apuestas.dat")), penas);
        continue;
      } else if (p[0] == QLatin1String("corte")) {
        // A deletion stopped after the counters were taken back and before the draw went.
        std::vector<Sorteo> sin = antes;
        sin.erase(sin.begin() + n);
        const Recuento r = recontar(c.a.penas().leerTodos(), antes, sin);
        QVERIFY(r.retrocede);
        c.e.escribir(QStringLiteral("apuestas.dat"), ArchivoDe<Pena>::codificar(r.retrocedidas));
        continue;
      }
      c.comprobar(qPrintable(paso));
    }
    int total = 0;
    for (const Pena& p : c.a.penas().leerTodos())
      for (int16_t x : p.aciertos) total += x;
    QCOMPARE(total > 100, !pasos.contains(QStringLiteral("reiniciar")));  // the peñas did win something
  }
};

QTEST_GUILESS_MAIN(TestCuenta)
#include "test_cuenta.moc"
