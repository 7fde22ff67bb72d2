// Members of a peña: splits in whole cents, who pays and wins each draw, balances,
// prize splits and their refusals, and a split cut short leaving nothing behind.
#include <QSqlQuery>
#include <QtTest>
#include <map>
#include <numeric>

#include "base/fechas.h"
#include "members/papeles.h"
#include "members/registrosocios.h"
#include "money/registrodinero.h"
#include "operations/dinero.h"
#include "operations/socios.h"
#include "store/almacen.h"
#include "support/dobles.h"

using namespace sortilan;
using operaciones::DatosSocio;
using operaciones::guardarPremiosRespuesta;
using operaciones::marcarCobro;

namespace {

Socio socio(qint64 id, std::vector<Periodo> periodos) {
  Socio s;
  s.id = id;
  s.numero = static_cast<int>(id);
  s.nombre = QStringLiteral("S%1").arg(id);
  s.periodos = std::move(periodos);
  return s;
}

// A peña that plays from 1 January 2021 with one bet that wins 47.445,95 € (3ª) on
// 7 March 2021, with the history up to that draw and the sample's prize tables.
struct Pena2021 {
  prueba::Entorno e{QDate(2021, 3, 20)};
  Almacen almacen;
  QString carpeta() const { return e.carpeta.path(); }

  Pena2021() {
    e.escribir(QStringLiteral("numeros.dat"), prueba::leerDatoPrueba(QStringLiteral("numeros.dat")).left(830 * 24));
    Pena p = nuevaPena(QStringLiteral("PREMIADA"), 1, QDate(2021, 1, 1));
    const int numeros[5] = {15, 24, 40, 42, 1};
    for (int i = 0; i < 5; ++i) p.ponerApuesta(i + 1, 1, static_cast<int16_t>(numeros[i]));
    p.ponerApuesta(6, 1, 9);
    e.escribir(QStringLiteral("apuestas.dat"), p.codificar());
    prueba::exigir(almacen.abrir(carpeta()));
    prueba::exigir(
        guardarPremiosRespuesta(carpeta(), prueba::leerDatoPrueba(QStringLiteral("respuesta_ejemplo.json"))));
  }

  int alta(const char* nombre, int participaciones, QDate desde) {
    int n = 0;
    prueba::exigir(
        operaciones::altaSocio(almacen, 1, DatosSocio{QString::fromUtf8(nombre), {}, {}}, participaciones, desde, &n));
    return n;
  }

  SociosPena leer() {
    SociosPena p;
    prueba::exigir(leerSociosPena(carpeta(), almacen.penas().leerTodos(), almacen.sorteos().leerTodos(), 1, p));
    return p;
  }

  int filas(const char* tabla) {
    BaseDatos b;
    prueba::exigir(b.abrir(carpeta(), BaseDatos::Modo::Lectura));
    QSqlQuery q(b.conexion());
    prueba::exigir(b.ejecutar(q, QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(tabla))));
    return q.next() ? q.value(0).toInt() : -1;
  }

  void sql(const QString& sentencia) {
    BaseDatos b;
    prueba::exigir(b.abrir(carpeta(), BaseDatos::Modo::Escritura));
    prueba::exigir(b.ejecutar(sentencia));
  }
};

const QDate k7Marzo(2021, 3, 7);

}  // namespace

class TestSocios : public QObject {
  Q_OBJECT
 private slots:
  void repartir_data() {
    QTest::addColumn<qint64>("total");
    QTest::addColumn<QList<qint64>>("pesos");
    QTest::addColumn<QList<qint64>>("partes");
    QTest::newRow("1 céntimo entre 3") << qint64{1} << QList<qint64>{1, 1, 1} << QList<qint64>{1, 0, 0};
    QTest::newRow("10,00 € entre 1/1/1") << qint64{1000} << QList<qint64>{1, 1, 1} << QList<qint64>{334, 333, 333};
    QTest::newRow("empates al primero") << qint64{5} << QList<qint64>{1, 1, 1, 1} << QList<qint64>{2, 1, 1, 1};
    QTest::newRow("mayor resto") << qint64{10} << QList<qint64>{1, 2} << QList<qint64>{3, 7};
    QTest::newRow("mayor resto ante el primero") << qint64{7} << QList<qint64>{1, 1, 1, 3} << QList<qint64>{1, 1, 1, 4};
    QTest::newRow("1.234.567,89 € entre 7")
        << qint64{123456789} << QList<qint64>{1, 2, 3, 5, 7, 11, 13}
        << QList<qint64>{2939447, 5878895, 8818342, 14697237, 20576131, 32333921, 38212816};
    QTest::newRow("cero") << qint64{0} << QList<qint64>{2, 3} << QList<qint64>{0, 0};
    QTest::newRow("negativo") << qint64{-10} << QList<qint64>{1, 2} << QList<qint64>{-3, -7};
    QTest::newRow("nadie") << qint64{100} << QList<qint64>{} << QList<qint64>{};
    QTest::newRow("enorme") << kMaximoCentimos << QList<qint64>{99999, 1, 1}
                            << QList<qint64>{999980000200, 9999900, 9999900};
  }
  void repartir() {
    QFETCH(qint64, total);
    QFETCH(QList<qint64>, pesos);
    QFETCH(QList<qint64>, partes);
    const std::vector<Centimos> r = sortilan::repartir(total, std::vector<qint64>(pesos.begin(), pesos.end()));
    QCOMPARE(QList<qint64>(r.begin(), r.end()), partes);
    if (!pesos.isEmpty()) QCOMPARE(std::accumulate(r.begin(), r.end(), Centimos{0}), total);
  }

  // Many totals and weights: the parts add up and none strays a cent from its exact share.
  void repartirSiempreCuadra() {
    QRandomGenerator azar(15);
    for (int vuelta = 0; vuelta < 2000; ++vuelta) {
      const Centimos total = azar.bounded(1'000'000'000);
      std::vector<qint64> pesos(static_cast<size_t>(azar.bounded(1, 12)));
      for (qint64& p : pesos) p = azar.bounded(1, 50);
      const std::vector<Centimos> r = sortilan::repartir(total, pesos);
      QCOMPARE(std::accumulate(r.begin(), r.end(), Centimos{0}), total);
      const qint64 suma = std::accumulate(pesos.begin(), pesos.end(), qint64{0});
      for (size_t i = 0; i < r.size(); ++i) {
        const Centimos abajo = total * pesos[i] / suma;
        QVERIFY2(r[i] == abajo || r[i] == abajo + 1, qPrintable(QString::number(vuelta)));
      }
    }
  }

  // Every balance at once, and each member's movements, agree with splitting each draw's
  // cost among everybody again, member by member: joins, leaves, share changes on the day
  // of a draw, costs that change.
  void saldosDeTodos() {
    QRandomGenerator azar(22);
    SociosPena p;
    const QDate inicio(2020, 1, 5);
    for (qint64 id = 1; id <= 60; ++id) {
      QDate desde = inicio.addDays(7 * azar.bounded(0, 80));
      std::vector<Periodo> periodos;
      for (int k = azar.bounded(1, 4); k > 0; --k) {
        const QDate hasta = azar.bounded(3) == 0 ? QDate() : desde.addDays(7 * azar.bounded(1, 30) - azar.bounded(2));
        periodos.push_back({desde, k == 1 ? hasta : (hasta.isValid() ? hasta : desde.addDays(7)), azar.bounded(1, 6)});
        if (!periodos.back().hasta.isValid()) break;
        desde = periodos.back().hasta.addDays(azar.bounded(2) * 7);
      }
      p.socios.push_back(socio(id, periodos));
      p.movimientos.push_back({id, inicio.addDays(azar.bounded(700)), Concepto::Aportacion, azar.bounded(1, 90000)});
      if (id % 4 == 0) p.movimientos.push_back({id, inicio.addDays(azar.bounded(700)), Concepto::Pago, 700});
    }
    for (int d = 0; d < 120; ++d) p.costes.push_back({inicio.addDays(7 * d), d < 60 ? 3600 : 2401 + d % 3});
    Reparto r;
    r.sorteo = inicio.addDays(70);
    r.cobrado = inicio.addDays(80);
    r.partes = partesReparto(p.socios, r.sorteo, 1'234'567, 12'345);
    p.repartos.push_back(r);

    const std::vector<Centimos> saldos = p.saldos();
    QCOMPARE(saldos.size(), p.socios.size());
    for (size_t i = 0; i < p.socios.size(); ++i) {
      const Socio& s = p.socios[i];
      Centimos esperado = 0;
      QList<Centimos> costes;
      for (const MovimientoGuardado& m : p.movimientos)
        if (m.socio == s.id) esperado += m.concepto == Concepto::Pago ? -m.centimos : m.centimos;
      for (const CosteSorteo& c : p.costes) {
        std::vector<qint64> pesos;
        std::optional<size_t> propio;
        for (const Socio& otro : p.socios)
          if (const int x = otro.participacionesEn(c.fecha); x > 0) {
            if (otro.id == s.id) propio = pesos.size();
            pesos.push_back(x);
          }
        if (!propio) continue;
        const Centimos parte = sortilan::repartir(c.coste, pesos)[*propio];
        esperado -= parte;
        if (parte != 0) costes << -parte;
      }
      for (const ParteReparto& x : r.partes)
        if (x.socio == s.id) esperado += x.neto();
      QCOMPARE(saldos[i], esperado);
      QCOMPARE(p.saldo(s.numero), esperado);
      QList<Centimos> suyos;
      for (const Movimiento& m : p.movimientosDe(s.numero))
        if (m.concepto == Concepto::Coste) suyos << m.importe;
      QCOMPARE(suyos, costes);
    }
    QCOMPARE(p.saldo(999), Centimos{0});
  }

  // Who holds shares on each draw's day pays for it: a member who joins between two
  // draws, one who leaves, one whose shares change.
  void costeSegunParticipaciones() {
    SociosPena p;
    p.socios = {socio(1, {{QDate(2021, 1, 1), {}, 2}}), socio(2, {{QDate(2021, 1, 12), QDate(2021, 1, 24), 1}}),
                socio(3, {{QDate(2021, 1, 1), QDate(2021, 1, 17), 3}, {QDate(2021, 1, 17), {}, 1}})};
    p.costes = {{QDate(2021, 1, 10), 150}, {QDate(2021, 1, 17), 150}, {QDate(2021, 1, 24), 150}};
    const auto costes = [&](int numero) {
      QStringList l;
      for (const Movimiento& m : p.movimientosDe(numero))
        l << QStringLiteral("%1:%2").arg(m.fecha.day()).arg(m.importe);
      return l.join(QLatin1Char(' '));
    };
    // 10 Jan: 2 + 3 shares; 17 Jan: 2 + 1 + 1 (the change counts on its day); 24 Jan: 2 + 1.
    QCOMPARE(costes(1), QStringLiteral("10:-60 17:-75 24:-100"));
    QCOMPARE(costes(2), QStringLiteral("17:-38"));
    QCOMPARE(costes(3), QStringLiteral("10:-90 17:-37 24:-50"));
    // A draw nobody held shares in costs no member anything.
    p.costes.push_back({QDate(2020, 12, 27), 150});
    QCOMPARE(costes(1), QStringLiteral("10:-60 17:-75 24:-100"));
  }

  // A season from the operations: balances equal a plain sum of what the test did.
  void temporada() {
    Pena2021 t;
    const int ana = t.alta("Ana", 2, QDate(2021, 1, 1));
    const int luis = t.alta("Luis", 1, QDate(2021, 2, 1));
    const int marta = t.alta("Marta", 3, QDate(2021, 1, 10));
    QCOMPARE((QList<int>{ana, luis, marta}), (QList<int>{1, 2, 3}));
    prueba::exigir(operaciones::cambiarParticipaciones(t.almacen, 1, marta, 1, QDate(2021, 2, 15)));
    prueba::exigir(operaciones::bajaSocio(t.almacen, 1, luis, QDate(2021, 3, 1)));
    const QDate hoy = t.e.reloj->dia;
    prueba::exigir(
        operaciones::anotarMovimiento(t.almacen, 1, ana, Concepto::Aportacion, 2000, QDate(2021, 1, 2), hoy));
    prueba::exigir(
        operaciones::anotarMovimiento(t.almacen, 1, luis, Concepto::Aportacion, 500, QDate(2021, 2, 1), hoy));
    prueba::exigir(operaciones::anotarMovimiento(t.almacen, 1, ana, Concepto::Pago, 250, QDate(2021, 1, 5), hoy));
    prueba::exigir(marcarCobro(t.almacen, 1, k7Marzo, QDate(2021, 3, 9), hoy));
    prueba::exigir(operaciones::repartirPremio(t.almacen, 1, k7Marzo, false, hoy));

    const SociosPena p = t.leer();
    // The plain reference: shares held on each played draw, the draw's 1,50 € split.
    std::map<int, Centimos> coste;
    Centimos costeTotal = 0;
    for (const CosteSorteo& c : p.costes) {
      const QDate d = c.fecha;
      const int a = 2;
      const int l = d >= QDate(2021, 2, 1) && d < QDate(2021, 3, 1) ? 1 : 0;
      const int m = d < QDate(2021, 1, 10) ? 0 : (d < QDate(2021, 2, 15) ? 3 : 1);
      const std::vector<Centimos> partes = sortilan::repartir(150, {a, l, m});
      coste[1] += partes[0];
      coste[2] += partes[1];
      coste[3] += partes[2];
      costeTotal += 150;
    }
    QCOMPARE(p.costes.size(), size_t{10});
    QCOMPARE(coste[1] + coste[2] + coste[3], costeTotal);
    // 7 March: Ana 2, Marta 1 (Luis left on 1 March).
    const Reparto* r = p.reparto(k7Marzo);
    QVERIFY(r);
    QCOMPARE(r->bruto, Centimos{4744595});
    QCOMPARE(r->retencion, Centimos{148919});
    QCOMPARE(r->partes.size(), size_t{2});
    QCOMPARE(r->partes[0].bruto, Centimos{3163063});
    QCOMPARE(r->partes[1].bruto, Centimos{1581532});
    QCOMPARE(r->partes[0].retencion, Centimos{99279});
    QCOMPARE(r->partes[1].retencion, Centimos{49640});
    QCOMPARE(r->partes[0].neto() + r->partes[1].neto(), r->neto());
    QCOMPARE(p.saldo(ana), 2000 - 250 - coste[1] + r->partes[0].neto());
    QCOMPARE(p.saldo(luis), 500 - coste[2]);
    QCOMPARE(p.saldo(marta), -coste[3] + r->partes[1].neto());
    // Kept in the peña: no payout recorded.
    QCOMPARE(t.filas("movimientos_socio"), 3);

    // The statement of a period starts from the balance before it and ends on the total.
    const std::optional<Extracto> e = extracto(p, ana, QDate(2021, 2, 1), QDate(2021, 2, 28));
    QVERIFY(e);
    QCOMPARE(e->movimientos.size(), size_t{4});
    QCOMPARE(e->saldoAnterior + std::accumulate(e->movimientos.begin(), e->movimientos.end(), Centimos{0},
                                                [](Centimos s, const Movimiento& m) { return s + m.importe; }),
             e->saldo);
    QCOMPARE(textoSaldo(-126), QStringLiteral("debe 1,26 €"));
  }

  // Paid out: one payout per member of their net, and the balances come back.
  void repartoPagado() {
    Pena2021 t;
    t.alta("Ana", 1, QDate(2021, 3, 1));
    t.alta("Luis", 1, QDate(2021, 3, 1));
    const QDate hoy = t.e.reloj->dia;
    prueba::exigir(marcarCobro(t.almacen, 1, k7Marzo, QDate(2021, 3, 9), hoy));
    prueba::exigir(operaciones::repartirPremio(t.almacen, 1, k7Marzo, true, hoy));
    const SociosPena p = t.leer();
    QCOMPARE(t.filas("movimientos_socio"), 2);
    QCOMPARE(p.saldo(1), Centimos{-75});
    QCOMPARE(p.saldo(2), Centimos{-75});
    const std::vector<Movimiento> m = p.movimientosDe(1);
    QCOMPARE(m.back().concepto, Concepto::Pago);
    QCOMPARE(m.back().fecha, hoy);
    QCOMPARE(-m.back().importe, p.reparto(k7Marzo)->partes[0].neto());
  }

  void rechazos() {
    Pena2021 t;
    const QDate hoy = t.e.reloj->dia;
    const auto falla = [](const Resultado& r, const QString& texto) {
      QVERIFY(!r);
      QCOMPARE(r.error, texto);
    };
    falla(operaciones::repartirPremio(t.almacen, 1, k7Marzo, true, hoy),
          QStringLiteral("El premio del sorteo del 07/03/2021 de la peña PREMIADA no está marcado como cobrado."));
    prueba::exigir(marcarCobro(t.almacen, 1, k7Marzo, QDate(2021, 3, 9), hoy));
    falla(operaciones::repartirPremio(t.almacen, 1, k7Marzo, true, hoy),
          QStringLiteral("Ningún socio de la peña PREMIADA tenía participaciones el día del sorteo (07/03/2021)."));
    falla(operaciones::repartirPremio(t.almacen, 1, QDate(2021, 2, 28), true, hoy),
          QStringLiteral("La peña PREMIADA no tiene premio en el sorteo del 28/02/2021."));
    falla(operaciones::repartirPremio(t.almacen, 2, k7Marzo, true, hoy),
          QStringLiteral("No hay ninguna peña en el registro 2."));
    t.alta("Ana", 2, QDate(2021, 1, 1));
    falla(operaciones::altaSocio(t.almacen, 1, DatosSocio{QStringLiteral(" ana "), {}, {}}, 1, hoy),
          QStringLiteral("Ana ya es el socio 1 de la peña PREMIADA."));
    falla(operaciones::altaSocio(t.almacen, 1, DatosSocio{QString(), {}, {}}, 1, hoy),
          QStringLiteral("Falta el nombre del socio."));
    falla(operaciones::altaSocio(t.almacen, 1, DatosSocio{QStringLiteral("Luis"), {}, {}}, 0, hoy),
          QStringLiteral("Las participaciones deben ser un número entero de 1 a 100000."));
    falla(operaciones::bajaSocio(t.almacen, 1, 1, QDate(2021, 1, 1)),
          QStringLiteral("La baja debe ser posterior al 01/01/2021, cuando empezaron sus participaciones."));
    falla(operaciones::bajaSocio(t.almacen, 1, 7, hoy), QStringLiteral("La peña PREMIADA no tiene ningún socio 7."));
    falla(operaciones::cambiarParticipaciones(t.almacen, 1, 1, 2, hoy),
          QStringLiteral("Ana ya tiene 2 participaciones."));
    falla(operaciones::anotarMovimiento(t.almacen, 1, 1, Concepto::Aportacion, 0, hoy, hoy),
          QStringLiteral("El importe debe ser mayor que 0,00 €."));
    falla(operaciones::anotarMovimiento(t.almacen, 1, 1, Concepto::Pago, 100, hoy.addDays(1), hoy),
          QStringLiteral("La fecha no puede ser posterior a hoy."));

    prueba::exigir(operaciones::repartirPremio(t.almacen, 1, k7Marzo, true, hoy));
    falla(operaciones::repartirPremio(t.almacen, 1, k7Marzo, false, hoy),
          QStringLiteral("El premio del sorteo del 07/03/2021 de la peña PREMIADA ya está repartido."));
    // Who held shares on a split draw is part of the split.
    falla(operaciones::bajaSocio(t.almacen, 1, 1, k7Marzo),
          QStringLiteral(
              "El premio del sorteo del 07/03/2021 ya está repartido: los cambios de socios deben ser de después."));
    // Nor can the collection it was split from be undone or moved.
    for (const std::optional<QDate>& dia : {std::optional<QDate>(), std::optional<QDate>(QDate(2021, 3, 10))})
      falla(
          marcarCobro(t.almacen, 1, k7Marzo, dia, hoy),
          QStringLiteral("El premio del 07/03/2021 ya está repartido entre los socios: su cobro no se puede cambiar."));
    QCOMPARE(t.filas("repartos"), 1);
    QCOMPARE(t.filas("movimientos_socio"), 1);
    prueba::exigir(operaciones::bajaSocio(t.almacen, 1, 1, QDate(2021, 3, 8)));
  }

  // Voids: a season where a contribution, a payout and a whole split are voided one after
  // another; after each step every balance equals a plain sum of what is still in force,
  // and the statement keeps the voided line and its reversal without moving the balance.
  void anulaciones() {
    Pena2021 t;
    const QDate hoy = t.e.reloj->dia;
    const int ana = t.alta("Ana", 2, QDate(2021, 1, 1));
    const int luis = t.alta("Luis", 1, QDate(2021, 2, 1));
    // Movement numbers in the order they are stored: 1 and 2 contributions, 3 a payout.
    prueba::exigir(
        operaciones::anotarMovimiento(t.almacen, 1, ana, Concepto::Aportacion, 2000, QDate(2021, 1, 2), hoy));
    prueba::exigir(
        operaciones::anotarMovimiento(t.almacen, 1, luis, Concepto::Aportacion, 1550, QDate(2021, 2, 1), hoy));
    prueba::exigir(operaciones::anotarMovimiento(t.almacen, 1, ana, Concepto::Pago, 300, QDate(2021, 2, 5), hoy));
    prueba::exigir(marcarCobro(t.almacen, 1, k7Marzo, QDate(2021, 3, 9), hoy));
    prueba::exigir(operaciones::repartirPremio(t.almacen, 1, k7Marzo, true, hoy));

    // The reference: each draw's 1,50 € by the shares held (Ana 2 throughout, Luis 1 from
    // 1 February), the net prize 2:1, and what of the typed movements is in force.
    const SociosPena antes = t.leer();
    Centimos costeAna = 0, costeLuis = 0;
    for (const CosteSorteo& c : antes.costes) {
      const std::vector<Centimos> partes = sortilan::repartir(
          c.coste, c.fecha >= QDate(2021, 2, 1) ? std::vector<qint64>{2, 1} : std::vector<qint64>{2});
      costeAna += partes[0];
      if (partes.size() > 1) costeLuis += partes[1];
    }
    const std::vector<Centimos> premio = sortilan::repartir(4744595, {2, 1});
    const std::vector<Centimos> retencion = sortilan::repartir(148919, {2, 1});
    const Centimos premioAna = premio[0] - retencion[0], premioLuis = premio[1] - retencion[1];
    struct Vigente {
      bool aportaAna = true, aportaLuis = true, pagoAna = true, reparto = true;
    } v;
    const auto comprobar = [&](const char* paso) {
      const SociosPena p = t.leer();
      // A paid-out split gives each member their part and pays it out: zero in the balance.
      const Centimos ana0 = (v.aportaAna ? 2000 : 0) - (v.pagoAna ? 300 : 0) - costeAna;
      const Centimos luis0 = (v.aportaLuis ? 1550 : 0) - costeLuis;
      QVERIFY2(p.saldo(ana) == ana0, paso);
      QVERIFY2(p.saldo(luis) == luis0, paso);
      QVERIFY2((p.reparto(k7Marzo) != nullptr) == v.reparto, paso);
      // The running balance of the statement ends on the same figure.
      QVERIFY2(p.movimientosDe(ana).back().saldo == ana0, paso);
      for (const Movimiento& m : p.movimientosDe(ana))
        QVERIFY2(m.cuenta() || m.anulado.isValid() || m.concepto == Concepto::Anulacion, paso);
      qInfo("%s: Ana %s, Luis %s", paso, qPrintable(textoSaldo(ana0)), qPrintable(textoSaldo(luis0)));
    };
    comprobar("sin anular");
    QCOMPARE(premioAna + premioLuis, Centimos{4744595 - 148919});

    const auto falla = [](const Resultado& r, const QString& texto) {
      QVERIFY(!r);
      QCOMPARE(r.error, texto);
    };
    falla(operaciones::anularMovimiento(t.almacen, 1, ana, 2, {}, hoy),
          QStringLiteral("Ana no tiene ningún movimiento 2 que anular: sólo se anulan sus aportaciones y pagos."));
    falla(operaciones::anularMovimiento(t.almacen, 1, ana, 99, {}, hoy),
          QStringLiteral("Ana no tiene ningún movimiento 99 que anular: sólo se anulan sus aportaciones y pagos."));
    // The split's payouts (4 and 5) go only with the split.
    falla(operaciones::anularMovimiento(t.almacen, 1, ana, 4, {}, hoy),
          QStringLiteral("El movimiento 4 es el pago del reparto del premio del sorteo del 07/03/2021: anule el "
                         "reparto entero."));

    prueba::exigir(operaciones::anularMovimiento(t.almacen, 1, luis, 2, QStringLiteral("  anotada   dos veces "), hoy));
    v.aportaLuis = false;
    comprobar("anulada la aportación de Luis");
    falla(operaciones::anularMovimiento(t.almacen, 1, luis, 2, {}, hoy),
          QStringLiteral("El movimiento 2 ya está anulado desde el 20/03/2021."));
    {
      const std::vector<Movimiento> m = t.leer().movimientosDe(luis);
      const auto anulado = std::find_if(m.begin(), m.end(), [](const Movimiento& x) { return x.numero == 2; });
      const auto reverso = std::find_if(m.begin(), m.end(), [](const Movimiento& x) { return x.anula == 2; });
      QVERIFY(anulado != m.end() && reverso != m.end());
      QCOMPARE(anulado->anulado, hoy);
      QCOMPARE(anulado->importe, Centimos{1550});
      QCOMPARE(reverso->fecha, hoy);
      QCOMPARE(reverso->importe, Centimos{-1550});
      QCOMPARE(reverso->concepto, Concepto::Anulacion);
      QCOMPARE(reverso->motivo, QStringLiteral("anotada dos veces"));
      // Neither moves the balance: each shows the balance of the line before it.
      QCOMPARE(anulado->saldo, anulado == m.begin() ? 0 : std::prev(anulado)->saldo);
      QCOMPARE(reverso->saldo, std::prev(reverso)->saldo);
      // The statement paper names both lines; the reason, the user's own text, goes quoted.
      prueba::exigir(operaciones::anularMovimiento(t.almacen, 1, ana, 1, QStringLiteral("=1;2"), hoy));
      const QByteArray csv = csvExtracto(*extracto(t.leer(), ana, QDate(), QDate()), false);
      QVERIFY2(csv.contains("02/01/2021;aportación nº 1, anulada el 20/03/2021;20,00;"), csv.constData());
      QVERIFY2(csv.contains("20/03/2021;\"anulación del nº 1: =1;2\";-20,00;"), csv.constData());
      v.aportaAna = false;
    }
    comprobar("anulada la aportación de Ana");

    prueba::exigir(operaciones::anularMovimiento(t.almacen, 1, ana, 3, {}, hoy));
    v.pagoAna = false;
    comprobar("anulado el pago a Ana");

    prueba::exigir(operaciones::anularReparto(t.almacen, 1, k7Marzo, QStringLiteral("faltaba un socio"), hoy));
    v.reparto = false;
    comprobar("anulado el reparto");
    falla(operaciones::anularReparto(t.almacen, 1, k7Marzo, {}, hoy),
          QStringLiteral("El premio del sorteo del 07/03/2021 de la peña PREMIADA no está repartido."));
    {
      const SociosPena p = t.leer();
      QCOMPARE(p.repartosAnulados.size(), size_t{1});
      QCOMPARE(p.repartosAnulados[0].partes.size(), size_t{2});
      QCOMPARE(p.repartosAnulados[0].motivo, QStringLiteral("faltaba un socio"));
      // Her prize part and its payout stay, voided, each with its reversal.
      const std::vector<Movimiento> m = p.movimientosDe(ana);
      QCOMPARE(std::count_if(m.begin(), m.end(),
                             [](const Movimiento& x) { return x.concepto == Concepto::Premio && x.anulado.isValid(); }),
               1);
      QCOMPARE(std::count_if(m.begin(), m.end(),
                             [](const Movimiento& x) { return x.concepto == Concepto::Pago && x.anulado.isValid(); }),
               2);
      QCOMPARE(std::count_if(m.begin(), m.end(), [](const Movimiento& x) { return x.concepto == Concepto::Anulacion; }),
               4);
    }
    QCOMPARE(t.filas("movimientos_socio"), 5);  // nothing erased
    QCOMPARE(t.filas("repartos"), 0);

    // Split again, kept in the peña this time: the parts count in full.
    prueba::exigir(operaciones::repartirPremio(t.almacen, 1, k7Marzo, false, hoy));
    const SociosPena p = t.leer();
    QCOMPARE(p.saldo(ana), -costeAna + premioAna);
    QCOMPARE(p.saldo(luis), -costeLuis + premioLuis);
    qInfo("repartido otra vez: Ana %s, Luis %s", qPrintable(textoSaldo(p.saldo(ana))),
          qPrintable(textoSaldo(p.saldo(luis))));
  }

  // A member's NIF is checked and kept in one form; a NIF already given to another
  // member of the peña is refused, however it is written.
  void nifDelSocio() {
    Pena2021 t;
    const auto alta = [&](const char* nombre, const char* nif) {
      return operaciones::altaSocio(t.almacen, 1, {QString::fromUtf8(nombre), QString::fromUtf8(nif), {}}, 1,
                                    QDate(2021, 1, 1));
    };
    prueba::exigir(alta("Ana", "12.345.678-z"));
    QCOMPARE(t.leer().socio(1)->nif, QStringLiteral("12345678Z"));
    const struct {
      const char* nombre;
      const char* nif;
      const char* motivo;
    } rechazos[] = {
        {"Luis", "12345678A", "El NIF 12345678A no es válido: la letra de control es Z, no A."},
        {"Luis", "12345678 Z", "El NIF 12345678Z ya es el de Ana, socio 1 de la peña PREMIADA."},
        {"Luis", "B1234567",
         "El NIF B1234567 no es válido: un CIF lleva una letra, 7 cifras y el carácter de control."},
    };
    for (const auto& r : rechazos) {
      const Resultado hecho = alta(r.nombre, r.nif);
      QVERIFY(!hecho);
      QCOMPARE(hecho.error, QString::fromUtf8(r.motivo));
    }
    QCOMPARE(t.leer().socios.size(), size_t{1});
    prueba::exigir(alta("Luis", "x1234567l"));
    prueba::exigir(alta("Marta", ""));  // the NIF is optional
    QCOMPARE(t.leer().socio(2)->nif, QStringLiteral("X1234567L"));
  }

  // A split that fails after its first part leaves no split, no part and no payout.
  void repartoCortadoNoDejaNada() {
    Pena2021 t;
    t.alta("Ana", 1, QDate(2021, 1, 1));
    t.alta("Luis", 1, QDate(2021, 1, 1));
    t.alta("Marta", 1, QDate(2021, 1, 1));
    const QDate hoy = t.e.reloj->dia;
    prueba::exigir(marcarCobro(t.almacen, 1, k7Marzo, QDate(2021, 3, 9), hoy));
    t.sql(
        QStringLiteral("CREATE TRIGGER averia BEFORE INSERT ON partes_reparto"
                       " WHEN (SELECT COUNT(*) FROM partes_reparto) >= 2"
                       " BEGIN SELECT RAISE(ABORT, 'avería'); END"));
    const Resultado r = operaciones::repartirPremio(t.almacen, 1, k7Marzo, true, hoy);
    QVERIFY(!r);
    QVERIFY(r.error.contains(QStringLiteral("avería")));
    QCOMPARE(t.filas("repartos"), 0);
    QCOMPARE(t.filas("partes_reparto"), 0);
    QCOMPARE(t.filas("movimientos_socio"), 0);
    t.sql(QStringLiteral("DROP TRIGGER averia"));
    prueba::exigir(operaciones::repartirPremio(t.almacen, 1, k7Marzo, true, hoy));
    QCOMPARE(t.filas("partes_reparto"), 3);
    QCOMPARE(t.filas("movimientos_socio"), 3);
  }

  // A member's history in periods: a leave and a join again, a change corrected on its day.
  void periodos() {
    Pena2021 t;
    t.alta("Ana", 2, QDate(2021, 1, 1));
    prueba::exigir(operaciones::cambiarParticipaciones(t.almacen, 1, 1, 4, QDate(2021, 2, 1)));
    prueba::exigir(operaciones::cambiarParticipaciones(t.almacen, 1, 1, 3, QDate(2021, 2, 1)));
    prueba::exigir(operaciones::bajaSocio(t.almacen, 1, 1, QDate(2021, 2, 10)));
    QVERIFY(!operaciones::bajaSocio(t.almacen, 1, 1, QDate(2021, 2, 20)));
    QVERIFY(!operaciones::cambiarParticipaciones(t.almacen, 1, 1, 1, QDate(2021, 2, 9)));
    prueba::exigir(operaciones::cambiarParticipaciones(t.almacen, 1, 1, 1, QDate(2021, 2, 20)));
    const Socio s = *t.leer().socio(1);
    QCOMPARE(s.periodos.size(), size_t{3});
    QCOMPARE(s.participacionesEn(QDate(2021, 1, 31)), 2);
    QCOMPARE(s.participacionesEn(QDate(2021, 2, 1)), 3);
    QCOMPARE(s.participacionesEn(QDate(2021, 2, 14)), 0);
    QCOMPARE(s.participacionesEn(QDate(2021, 2, 21)), 1);
    QCOMPARE(s.alta(), QDate(2021, 1, 1));
    QVERIFY(!s.baja().isValid());
    QCOMPARE(s.participacionesActuales(), 1);
  }

  void documentoReparto() {
    Pena2021 t;
    prueba::exigir(operaciones::altaSocio(
        t.almacen, 1, DatosSocio{QStringLiteral("Ana"), QStringLiteral("12345678z"), {}}, 2, QDate(2021, 1, 1)));
    t.alta("Luis; \"el de Soria\"", 1, QDate(2021, 1, 1));
    const QDate hoy = t.e.reloj->dia;
    prueba::exigir(marcarCobro(t.almacen, 1, k7Marzo, QDate(2021, 3, 9), hoy));
    DocumentoReparto d;
    QVERIFY(!leerDocumentoReparto(t.carpeta(), t.almacen.penas().leerTodos(), t.almacen.sorteos().leerTodos(), 1,
                                  k7Marzo, d));
    prueba::exigir(operaciones::repartirPremio(t.almacen, 1, k7Marzo, false, hoy));
    prueba::exigir(leerDocumentoReparto(t.carpeta(), t.almacen.penas().leerTodos(), t.almacen.sorteos().leerTodos(), 1,
                                        k7Marzo, d));
    QCOMPARE(d.apuestas, QStringList{QStringLiteral("Apuesta 1: 15 24 40 42 01 + clave 9: 3ª categoría (4 + clave)")});
    QCOMPARE(d.participaciones, 3);
    const QString conNif = QString::fromUtf8(csvReparto(d, true));
    const QString sinNif = QString::fromUtf8(csvReparto(d, false));
    QVERIFY(conNif.contains(QStringLiteral("1;\"Ana\";\"12345678Z\";2;31630,63;992,79;30637,84\r\n")));
    QVERIFY(conNif.contains(QStringLiteral("2;\"Luis; \"\"el de Soria\"\"\";\"\";1;15815,32;496,40;15318,92\r\n")));
    QVERIFY(conNif.contains(QStringLiteral(";Total;;3;47445,95;1489,19;45956,76\r\n")));
    QVERIFY(!sinNif.contains(QStringLiteral("12345678Z")));
  }
};

QTEST_GUILESS_MAIN(TestSocios)
#include "test_socios.moc"
