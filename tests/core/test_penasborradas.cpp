// A deleted peña keeps its members, movements, collections and splits, reachable as
// "B1"...: unchanged by the deletion, never mixed with the peñas that stay.
#include <QtTest>
#include <numeric>

#include "members/papeles.h"
#include "members/registrosocios.h"
#include "money/balance.h"
#include "operations/dinero.h"
#include "operations/penas.h"
#include "operations/socios.h"
#include "store/almacen.h"
#include "support/dobles.h"

using namespace sortilan;
using namespace Qt::StringLiterals;
using operaciones::DatosSocio;

namespace {

const QDate kHoy(2021, 3, 20);
const QDate k7Marzo(2021, 3, 7);

// What one peña shows: its money, its members and every member's statement, as bytes.
struct Vista {
  QString nombre;
  Centimos coste = 0;
  Centimos ganado = 0;
  QStringList socios;
  QList<Centimos> saldos;
  QList<QByteArray> extractos;
  QByteArray reparto;  // the split document of 7 March, when there is one
  bool operator==(const Vista&) const = default;
};

// Four peñas from 1 January 2021: PREMIADA wins 47.445,95 € on 7 March (collected and
// split); GEMELA twice with the same name and bets, so nothing but their place tells them
// apart; CUARTA. Each has members and contributions of its own.
struct Temporada {
  prueba::Entorno e{kHoy};
  Almacen almacen;
  QString carpeta() const { return e.carpeta.path(); }

  Temporada() {
    e.escribir(QStringLiteral("numeros.dat"), prueba::leerDatoPrueba(QStringLiteral("numeros.dat")).left(830 * 24));
    Pena premiada = nuevaPena(QStringLiteral("PREMIADA"), 1, QDate(2021, 1, 1));
    const int numeros[5] = {15, 24, 40, 42, 1};
    for (int i = 0; i < 5; ++i) premiada.ponerApuesta(i + 1, 1, static_cast<int16_t>(numeros[i]));
    premiada.ponerApuesta(6, 1, 9);
    const Pena gemela = prueba::penaConApuestas(QStringLiteral("GEMELA"), 1, QDate(2021, 1, 1));
    const Pena cuarta = prueba::penaConApuestas(QStringLiteral("CUARTA"), 2, QDate(2021, 1, 1));
    e.escribir(QStringLiteral("apuestas.dat"),
               premiada.codificar() + gemela.codificar() + gemela.codificar() + cuarta.codificar());
    prueba::exigir(almacen.abrir(carpeta()));
    prueba::exigir(operaciones::guardarPremiosRespuesta(
        carpeta(), prueba::leerDatoPrueba(QStringLiteral("respuesta_ejemplo.json"))));
    const char* nombres[4][2] = {{"ANA", "LUIS"}, {"EVA", "PEPE"}, {"RAÚL", "SARA"}, {"TERE", "UXÍA"}};
    for (int k = 1; k <= 4; ++k)
      for (int i = 0; i < 2; ++i) {
        int n = 0;
        prueba::exigir(operaciones::altaSocio(almacen, k, DatosSocio{QString::fromUtf8(nombres[k - 1][i]), {}, {}},
                                              i + k, QDate(2021, 1, 1), &n));
        prueba::exigir(operaciones::anotarMovimiento(almacen, k, n, Concepto::Aportacion, 1000 * k + 50 * i,
                                                     QDate(2021, 1, 2 + i), kHoy));
      }
    prueba::exigir(operaciones::marcarCobro(almacen, 1, k7Marzo, QDate(2021, 3, 9), kHoy));
    prueba::exigir(operaciones::repartirPremio(almacen, 1, k7Marzo, true, kHoy));
  }

  Vista vista(const SociosPena& p, const Cuentas& c, int registro, const std::optional<DocumentoReparto>& d) {
    Vista v;
    v.nombre = p.nombre;
    if (const CuentaPena* cp = c.pena(registro)) {
      v.coste = cp->coste();
      v.ganado = cp->ganadoConocido();
    }
    for (const Socio& s : p.socios) {
      v.socios << s.nombre;
      v.extractos << csvExtracto(*extracto(p, s.numero, QDate(2021, 1, 1), kHoy), true);
    }
    for (const Centimos s : p.saldos()) v.saldos << s;
    if (d) v.reparto = csvReparto(*d, true);
    return v;
  }

  Vista viva(int registro) {
    const std::vector<Pena> penas = almacen.penas().leerTodos();
    const std::vector<Sorteo> sorteos = almacen.sorteos().leerTodos();
    SociosPena p;
    prueba::exigir(leerSociosPena(carpeta(), penas, sorteos, registro, p));
    Cuentas c;
    prueba::exigir(leerCuentas(carpeta(), penas, sorteos, kHoy, c));
    DocumentoReparto d;
    const bool hay = leerDocumentoReparto(carpeta(), penas, sorteos, registro, k7Marzo, d).ok;
    return vista(p, c, registro, hay ? std::optional(d) : std::nullopt);
  }

  Vista borrada(int numero) {
    const std::vector<Sorteo> sorteos = almacen.sorteos().leerTodos();
    SociosPena p;
    prueba::exigir(leerSociosPenaBorrada(carpeta(), sorteos, numero, p));
    Cuentas c;
    prueba::exigir(leerCuentasBorrada(carpeta(), numero, sorteos, kHoy, c));
    DocumentoReparto d;
    const bool hay = leerDocumentoRepartoBorrada(carpeta(), sorteos, numero, k7Marzo, d).ok;
    return vista(p, c, 1, hay ? std::optional(d) : std::nullopt);
  }

  operaciones::PenaConservada borrar(int registro) {
    operaciones::PenaConservada b;
    prueba::exigir(operaciones::borrarPena(almacen, registro,
                                           almacen.penas().leerTodos()[static_cast<size_t>(registro - 1)], kHoy, &b));
    return b;
  }
};

}  // namespace

Q_DECLARE_METATYPE(sortilan::operaciones::ConservaPena)

class TestPenasBorradas : public QObject {
  Q_OBJECT
 private slots:
  void borrarConserva_data() {
    QTest::addColumn<int>("registro");
    QTest::newRow("la premiada, con su reparto") << 1;
    QTest::newRow("la primera gemela") << 2;
    QTest::newRow("la segunda gemela") << 3;
    QTest::newRow("la última") << 4;
  }
  // Each peña that stays shows what it showed before, moved up a record; the deleted one
  // shows, byte for byte, what it showed as a live peña.
  void borrarConserva() {
    QFETCH(int, registro);
    Temporada t;
    QList<Vista> antes;
    for (int k = 1; k <= 4; ++k) antes << t.viva(k);
    QCOMPARE(antes[1].socios, (QStringList{u"EVA"_s, u"PEPE"_s}));
    QVERIFY(!antes[0].reparto.isEmpty());

    const operaciones::ConservaPena previsto =
        operaciones::conservaPena(t.carpeta(), t.almacen.penas().leerTodos(), registro);
    QCOMPARE(previsto.socios, 2);
    const operaciones::PenaConservada b = t.borrar(registro);
    QCOMPARE(b.numero, 1);
    QCOMPARE(b.conserva.socios, previsto.socios);
    QCOMPARE(b.conserva.movimientos, previsto.movimientos);
    QCOMPARE(b.conserva.repartos, registro == 1 ? 1 : 0);

    const Vista vista = antes.takeAt(registro - 1);
    QCOMPARE(t.almacen.penas().leerTodos().size(), size_t{3});
    for (int k = 1; k <= 3; ++k) QCOMPARE(t.viva(k), antes[k - 1]);
    QCOMPARE(t.borrada(1), vista);

    std::vector<ResumenBorrada> lista;
    prueba::exigir(leerPenasBorradas(t.carpeta(), t.almacen.sorteos().leerTodos(), lista));
    QCOMPARE(lista.size(), size_t{1});
    QCOMPARE(lista[0].pena.codigo(), u"B1"_s);
    QCOMPARE(lista[0].pena.nombre, vista.nombre);
    QCOMPARE(lista[0].pena.borrada, kHoy);
    QCOMPARE(lista[0].socios, 2);
    QCOMPARE(lista[0].saldo, std::accumulate(vista.saldos.begin(), vista.saldos.end(), Centimos{0}));
  }

  // Later draws are not charged to a deleted peña; a second deletion is B2; a new peña
  // with the name and bets of a deleted one starts with nothing of it.
  void despuesDeBorrar() {
    Temporada t;
    const Vista gemela = t.viva(2);
    const Vista cuarta = t.viva(4);
    QCOMPARE(t.borrar(2).numero, 1);
    QCOMPARE(t.borrar(3).numero, 2);  // CUARTA, now at 3
    QCOMPARE(t.borrada(2), cuarta);

    // A draw stored afterwards.
    const QByteArray numeros = prueba::leerDatoPrueba(QStringLiteral("numeros.dat"));
    t.e.escribir(QStringLiteral("numeros.dat"), numeros.left(831 * 24));
    QCOMPARE(t.borrada(1), gemela);

    const Pena nueva = prueba::penaConApuestas(QStringLiteral("GEMELA"), 1, QDate(2021, 1, 1));
    t.e.escribir(QStringLiteral("apuestas.dat"), t.e.leer(QStringLiteral("apuestas.dat")) + nueva.codificar());
    const Vista otra = t.viva(3);
    QCOMPARE(otra.nombre, u"GEMELA"_s);
    QVERIFY(otra.socios.isEmpty());
    QCOMPARE(t.viva(2).socios, (QStringList{u"RAÚL"_s, u"SARA"_s}));
  }

  void sinNadaQueConservar() {
    prueba::Entorno e{kHoy};
    e.escribir(QStringLiteral("apuestas.dat"),
               prueba::penaConApuestas(QStringLiteral("SOLA"), 1, QDate(2021, 1, 1)).codificar());
    Almacen a;
    prueba::exigir(a.abrir(e.carpeta.path()));
    const Pena sola = a.penas().leerTodos().front();
    QCOMPARE(operaciones::preguntaBorrarPena(sola, operaciones::conservaPena(e.carpeta.path(), {sola}, 1)),
             u"¿Seguro que quieres eliminar la Peña SOLA?"_s);
    operaciones::PenaConservada b;
    prueba::exigir(operaciones::borrarPena(a, 1, sola, kHoy, &b));
    QCOMPARE(b.numero, 0);
    QVERIFY(!QFile::exists(e.ruta(QStringLiteral("sortilan.db"))));  // none was made for it
  }

  void textos_data() {
    QTest::addColumn<operaciones::ConservaPena>("conserva");
    QTest::addColumn<QString>("linea");
    QTest::newRow("nada") << operaciones::ConservaPena{} << QString();
    QTest::newRow("un socio") << operaciones::ConservaPena{1, 0, 0, 0, 0}
                              << u"Tiene 1 socio; sus saldos y extractos se conservan."_s;
    QTest::newRow("de todo") << operaciones::ConservaPena{4, 12, 1, 1, 3}
                             << u"Tiene 4 socios, 12 movimientos, 1 cobro anotado, 1 reparto y 3 papeles; sus saldos "
                                u"y extractos se conservan."_s;
    QTest::newRow("sin socios") << operaciones::ConservaPena{0, 0, 2, 0, 0}
                                << u"Tiene 2 cobros anotados; se conservan."_s;
  }
  void textos() {
    QFETCH(operaciones::ConservaPena, conserva);
    QFETCH(QString, linea);
    QCOMPARE(operaciones::lineaConservaPena(conserva), linea);
  }

  void identificadores_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<int>("numero");
    for (const auto& [t, n] : std::initializer_list<std::pair<const char*, int>>{
             {"B1", 1}, {"b12", 12}, {"B0", 0}, {"B", 0}, {"1", 0}, {"B-1", 0}, {"B1x", 0}, {" B1", 0}, {"B٣", 0}})
      QTest::newRow(t) << QString::fromUtf8(t) << n;
  }
  void identificadores() {
    QFETCH(QString, texto);
    QFETCH(int, numero);
    QCOMPARE(numeroPenaBorrada(texto), numero);
  }
};

QTEST_GUILESS_MAIN(TestPenasBorradas)
#include "test_penasborradas.moc"
