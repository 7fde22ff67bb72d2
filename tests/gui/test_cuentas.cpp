// "Cuentas", sortilan-cli balance and cobros against a plain reference worked out here
// from the sample answer's tables, bet by bet.
#include <QAbstractItemModelTester>
#include <QAction>
#include <QDateEdit>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>

#include "app/principal.h"
#include "base/fechas.h"
#include "gui/money/modeloscuentas.h"
#include "gui/money/tabcuentas.h"
#include "gui/ui/avisoguardado.h"
#include "operations/dinero.h"
#include "operations/penas.h"
#include "operations/transaccion.h"
#include "store/almacen.h"
#include "store/basedatos.h"
#include "support/dobles.h"
#include "support/servicioprueba.h"

using namespace Qt::StringLiterals;

using namespace sortilan;

namespace {

const QDate kHoy(2021, 3, 10);

// A draw of the answer: its numbers, key and prizes as the answer writes them.
struct SorteoRef {
  QDate fecha;
  QList<int> numeros;
  int clave = 0;
  QMap<int, qint64> premio;  // categoria 1..9 -> cents
};

struct PenaRef {
  QString nombre;
  QDate creacion;
  QList<QList<int>> apuestas;  // simple bets; a multiple is every 5 of its numbers
  int clave;
  bool multiple;
  QList<int> elegidos;
};

QList<SorteoRef> sorteosDeLaMuestra() {
  QList<SorteoRef> r;
  const QJsonArray a =
      QJsonDocument::fromJson(prueba::leerDatoPrueba(QStringLiteral("respuesta_ejemplo.json"))).array();
  for (const QJsonValue& v : a) {
    SorteoRef s;
    s.fecha = QDate::fromString(v[QStringLiteral("fecha_sorteo")].toString().left(10), Qt::ISODate);
    QStringList n = v[QStringLiteral("combinacion")].toString().split(QRegularExpression(QStringLiteral("\\D+")),
                                                                      Qt::SkipEmptyParts);
    for (int i = 0; i < 5; ++i) s.numeros << n[i].toInt();
    s.clave = n[5].toInt();
    for (const QJsonValue& f : v[QStringLiteral("escrutinio")].toArray())
      s.premio[f[QStringLiteral("categoria")].toInt()] =
          f[QStringLiteral("premio")].toString().remove(QLatin1Char('.')).toLongLong();
    r.prepend(s);  // oldest first
  }
  return r;
}

QList<QList<int>> combinaciones(const QList<int>& n) {
  QList<QList<int>> r;
  for (int m = 0; m < (1 << n.size()); ++m) {
    if (__builtin_popcount(static_cast<unsigned>(m)) != 5) continue;
    QList<int> c;
    for (int i = 0; i < n.size(); ++i)
      if ((m >> i) & 1) c << n[i];
    r << c;
  }
  return r;
}

// Created after 8 October 2020, so every draw they play is in the sample answer.
QList<PenaRef> penas() {
  QList<PenaRef> p;
  p << PenaRef{QStringLiteral("PRIMERA"),
               QDate(2020, 10, 10),
               {{15, 24, 40, 42, 48}, {15, 24, 40, 42, 1}, {8, 16, 37, 40, 2}, {2, 20, 33, 50, 51}, {1, 2, 3, 4, 5}},
               9,
               false,
               {}};
  const QList<int> ocho = {5, 6, 26, 27, 35, 16, 24, 40};
  p << PenaRef{QStringLiteral("MÚLTIPLE"), QDate(2020, 11, 1), combinaciones(ocho), 6, true, ocho};
  p << PenaRef{QStringLiteral("TARDÍA"), QDate(2021, 1, 5), {{2, 19, 20, 30, 31}}, 0, false, {}};
  return p;
}

Pena registro(const PenaRef& r) {
  const int tipo = r.multiple ? 95 + static_cast<int>(r.elegidos.size()) : static_cast<int>(r.apuestas.size());
  Pena p = nuevaPena(r.nombre, tipo, r.creacion);
  if (r.multiple) {
    for (int i = 0; i < r.elegidos.size(); ++i) p.ponerApuesta(i + 1, 1, static_cast<int16_t>(r.elegidos[i]));
    p.ponerApuesta(static_cast<int>(r.elegidos.size()) + 1, 1, static_cast<int16_t>(r.clave));
  } else {
    for (int b = 0; b < r.apuestas.size(); ++b)
      for (int i = 0; i < 5; ++i) p.ponerApuesta(i + 1, b + 1, static_cast<int16_t>(r.apuestas[b][i]));
    p.ponerApuesta(6, 1, static_cast<int16_t>(r.clave));
  }
  return p;
}

// One played draw of one peña, bet by bet.
struct CuentaRef {
  QDate fecha;
  qint64 coste = 0;
  QMap<int, int> apuestas;  // categoria (9: reintegro) -> bets
  QMap<int, qint64> premio;
  qint64 conocido = 0;
  int sinImporte = 0;
  qint64 retencion = 0;
  qint64 mayor = 0;
  bool hayPremio() const { return !apuestas.isEmpty(); }
};

QList<CuentaRef> cuentasRef(const PenaRef& p, const QList<SorteoRef>& sorteos) {
  QList<CuentaRef> r;
  for (const SorteoRef& s : sorteos) {
    if (s.fecha < p.creacion) continue;
    CuentaRef c;
    c.fecha = s.fecha;
    c.coste = 150 * p.apuestas.size();
    for (const QList<int>& a : p.apuestas) {
      int aciertos = 0;
      for (int n : a) aciertos += s.numeros.contains(n) ? 1 : 0;
      const bool clave = p.clave == s.clave;
      const int cat = aciertos >= 2 ? 9 - (2 * (aciertos - 2) + 1 + (clave ? 1 : 0)) : (clave ? 9 : 0);
      if (cat == 0) continue;
      ++c.apuestas[cat];
      const qint64 premio = s.premio.value(cat);
      c.premio[cat] = premio;
      if (premio == 0) {
        ++c.sinImporte;
        continue;
      }
      c.conocido += premio;
      c.retencion += premio > 4'000'000 ? ((premio - 4'000'000) * 20 + 50) / 100 : 0;
      c.mayor = std::max(c.mayor, premio);
    }
    r << c;
  }
  return r;
}

QJsonValue nuloO(bool hay, qint64 v) { return hay ? QJsonValue(v) : QJsonValue(); }

QString estadoRef(QDate sorteo, QDate hoy, QDate cobrado) {
  if (cobrado.isValid()) return QStringLiteral("cobrado");
  return hoy > sorteo.addMonths(3) ? QStringLiteral("caducado") : QStringLiteral("pendiente");
}

using Cobrados = QMap<QPair<int, QDate>, QDate>;

// Whether the prize of peña k (from 1) in that draw was lost: past its last day, not collected.
bool perdidoRef(int k, const CuentaRef& c, QDate hoy, const Cobrados& cobrados) {
  return c.hayPremio() && estadoRef(c.fecha, hoy, cobrados.value({k, c.fecha})) == QStringLiteral("caducado");
}

QJsonObject balanceRef(const QList<PenaRef>& ps, const QList<SorteoRef>& sorteos, QDate hoy,
                       const Cobrados& cobrados = {}) {
  QJsonArray lista;
  qint64 coste = 0, ganado = 0, caducado = 0;
  for (int i = 0; i < ps.size(); ++i) {
    qint64 c = 0, g = 0, perdido = 0;
    int sin = 0;
    const QList<CuentaRef> cs = cuentasRef(ps[i], sorteos);
    for (const CuentaRef& k : cs) {
      c += k.coste;
      if (perdidoRef(i + 1, k, hoy, cobrados)) {
        perdido += k.conocido;
      } else {
        g += k.conocido;
        sin += k.sinImporte;
      }
    }
    coste += c;
    ganado += g;
    caducado += perdido;
    lista.append(QJsonObject{{u"registro"_s, i + 1},
                             {u"nombre"_s, ps[i].nombre},
                             {u"sorteos"_s, static_cast<int>(cs.size())},
                             {u"coste_centimos"_s, c},
                             {u"ganado_centimos"_s, g},
                             {u"caducado_centimos"_s, perdido},
                             {u"neto_centimos"_s, g - c},
                             {u"premios_sin_importe"_s, sin}});
  }
  return {{u"precio_apuesta_centimos"_s, 150},
          {u"penas"_s, lista},
          {u"total"_s, QJsonObject{{u"coste_centimos"_s, coste},
                                   {u"ganado_centimos"_s, ganado},
                                   {u"caducado_centimos"_s, caducado},
                                   {u"neto_centimos"_s, ganado - coste}}}};
}

QJsonObject balancePenaRef(int k, const PenaRef& p, const QList<SorteoRef>& sorteos, QDate hoy,
                           const Cobrados& cobrados = {}) {
  QJsonArray lista;
  qint64 coste = 0, ganado = 0, caducado = 0;
  for (const CuentaRef& c : cuentasRef(p, sorteos)) {
    QJsonArray premios;
    for (int cat = 1; cat <= 8; ++cat)
      if (c.apuestas.contains(cat))
        premios.append(QJsonObject{{u"categoria"_s, cat},
                                   {u"apuestas"_s, c.apuestas[cat]},
                                   {u"importe_centimos"_s, nuloO(c.premio[cat] > 0, c.premio[cat] * c.apuestas[cat])}});
    const QJsonValue reintegro =
        c.apuestas.contains(9)
            ? QJsonValue(QJsonObject{{u"apuestas"_s, c.apuestas[9]},
                                     {u"importe_centimos"_s, nuloO(c.premio[9] > 0, 150 * c.apuestas[9])}})
            : QJsonValue();
    const bool perdido = perdidoRef(k, c, hoy, cobrados);
    const QJsonValue premio = nuloO(c.sinImporte == 0, c.conocido);
    coste += c.coste;
    (perdido ? caducado : ganado) += c.conocido;
    lista.append(QJsonObject{{u"fecha"_s, c.fecha.toString(Qt::ISODate)},
                             {u"coste_centimos"_s, c.coste},
                             {u"premios"_s, premios},
                             {u"reintegro"_s, reintegro},
                             {u"ganado_centimos"_s, perdido ? QJsonValue(0) : premio},
                             {u"caducado_centimos"_s, perdido ? premio : QJsonValue(0)}});
  }
  return {{u"registro"_s, k},
          {u"nombre"_s, p.nombre},
          {u"sorteos"_s, lista},
          {u"coste_centimos"_s, coste},
          {u"ganado_centimos"_s, ganado},
          {u"caducado_centimos"_s, caducado},
          {u"neto_centimos"_s, ganado - coste}};
}

QJsonArray cobrosRef(const QList<PenaRef>& ps, const QList<SorteoRef>& sorteos, QDate hoy, const Cobrados& cobrados) {
  QList<QPair<QDate, QJsonObject>> todos;
  for (int i = 0; i < ps.size(); ++i)
    for (const CuentaRef& c : cuentasRef(ps[i], sorteos)) {
      if (!c.hayPremio()) continue;
      const bool sabido = c.sinImporte == 0;
      const QDate cobrado = cobrados.value({i + 1, c.fecha});
      const QJsonValue lugar = c.mayor >= 200'000 ? QJsonValue(u"banco"_s)
                               : sabido           ? QJsonValue(u"punto de venta"_s)
                                                  : QJsonValue();
      todos.append({c.fecha, QJsonObject{{u"registro"_s, i + 1},
                                         {u"nombre"_s, ps[i].nombre},
                                         {u"fecha"_s, c.fecha.toString(Qt::ISODate)},
                                         {u"bruto_centimos"_s, nuloO(sabido, c.conocido)},
                                         {u"retencion_centimos"_s, nuloO(sabido, c.retencion)},
                                         {u"neto_centimos"_s, nuloO(sabido, c.conocido - c.retencion)},
                                         {u"lugar"_s, lugar},
                                         {u"limite"_s, c.fecha.addMonths(3).toString(Qt::ISODate)},
                                         {u"estado"_s, estadoRef(c.fecha, hoy, cobrado)},
                                         {u"cobrado"_s, cobrado.isValid() ? QJsonValue(cobrado.toString(Qt::ISODate))
                                                                          : QJsonValue()}}});
    }
  std::stable_sort(todos.begin(), todos.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  QJsonArray r;
  for (const auto& t : todos) r.append(t.second);
  return r;
}

QJsonDocument cli(const QString& carpeta, const QStringList& args) {
  QProcess p;
  p.start(QStringLiteral(SORTILAN_CLI), QStringList{QStringLiteral("--datos"), carpeta} + args);
  if (!p.waitForFinished(30000) || p.exitCode() != 0) qWarning() << args << p.readAllStandardError();
  return QJsonDocument::fromJson(p.readAllStandardOutput());
}

qint64 importe(const QString& celda) {
  if (celda == QStringLiteral("pendiente")) return 0;
  return leerImporte(QString(celda).remove(QStringLiteral(" + pendiente"))).value_or(-999999);
}

}  // namespace

class TestCuentas : public QObject {
  Q_OBJECT

  prueba::Entorno* e_ = nullptr;
  QList<PenaRef> penas_;
  QList<SorteoRef> sorteos_;

 private slots:
  void init() {
    e_ = new prueba::Entorno(kHoy);
    // The history up to 7 March 2021, the sample's last draw, and the sample's tables.
    e_->escribir(QStringLiteral("numeros.dat"), prueba::leerDatoPrueba(QStringLiteral("numeros.dat")).left(830 * 24));
    prueba::exigir(
        operaciones::guardarPremiosRespuesta(e_->carpeta.path(), prueba::leerDatoPrueba(u"respuesta_ejemplo.json"_s)));
    penas_ = penas();
    sorteos_ = sorteosDeLaMuestra();
    Almacen a;
    prueba::exigir(a.abrir(e_->carpeta.path()));
    for (int i = 0; i < penas_.size(); ++i)
      prueba::exigir(operaciones::crearPena(a, registro(penas_[i]), kHoy).resultado);
  }
  void cleanup() { delete e_; }

  void lineaDeOrdenesComoLaReferencia() {
    const QString carpeta = e_->carpeta.path();
    // The command line keeps the computer's own date.
    const QDate hoy = QDate::currentDate();
    QCOMPARE(cli(carpeta, {u"balance"_s, u"--json"_s}).object(), balanceRef(penas_, sorteos_, hoy));
    for (int k = 1; k <= penas_.size(); ++k)
      QCOMPARE(cli(carpeta, {u"balance"_s, QString::number(k), u"--json"_s}).object(),
               balancePenaRef(k, penas_[k - 1], sorteos_, hoy));
    QCOMPARE(cli(carpeta, {u"cobros"_s, u"--json"_s}).array(), cobrosRef(penas_, sorteos_, hoy, {}));

    QProcess p;
    p.start(QStringLiteral(SORTILAN_CLI),
            {u"--datos"_s, carpeta, u"cobrar"_s, u"2"_s, u"2020-11-29"_s, u"--fecha"_s, u"2020-12-01"_s});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 0);
    const Cobrados cobrado{{{2, QDate(2020, 11, 29)}, QDate(2020, 12, 1)}};
    QCOMPARE(cli(carpeta, {u"cobros"_s, u"--json"_s}).array(), cobrosRef(penas_, sorteos_, hoy, cobrado));
    // Collected in time, that prize is money won again, no longer lost.
    QCOMPARE(cli(carpeta, {u"balance"_s, u"--json"_s}).object(), balanceRef(penas_, sorteos_, hoy, cobrado));
    QCOMPARE(cli(carpeta, {u"balance"_s, u"2"_s, u"--json"_s}).object(),
             balancePenaRef(2, penas_[1], sorteos_, hoy, cobrado));
  }

  void ventanaComoLaReferencia() {
    ui::Principal w;
    w.cargar(e_->carpeta.path());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // The collections that end within 14 days of today are named in a warning at start.
    const QJsonArray cobros = cobrosRef(penas_, sorteos_, kHoy, {});
    QStringList urgentes;
    for (const QJsonValue& c : cobros) {
      const QDate limite = QDate::fromString(c[u"limite"_s].toString(), Qt::ISODate);
      if (c[u"estado"_s].toString() == QStringLiteral("pendiente") && kHoy.daysTo(limite) <= 14)
        urgentes << QStringLiteral("- Peña %1, sorteo del %2: ")
                        .arg(c[u"nombre"_s].toString(), QDate::fromString(c[u"fecha"_s].toString(), Qt::ISODate)
                                                            .toString(QStringLiteral("dd/MM/yyyy")));
    }
    QVERIFY(!urgentes.isEmpty());
    QTRY_VERIFY(!e_->mensajes->vistos.isEmpty());
    QCOMPARE(e_->mensajes->vistos.last().titulo, QStringLiteral("Premios por cobrar"));
    const QStringList lineas = e_->mensajes->vistos.last().texto.split(QLatin1Char('\n')).mid(1);
    QCOMPARE(lineas.size(), urgentes.size());
    for (int i = 0; i < lineas.size(); ++i) QVERIFY2(lineas[i].startsWith(urgentes[i]), qPrintable(lineas[i]));

    auto* tabs = w.findChild<QTabWidget*>(QStringLiteral("SSTab1"));
    tabs->setCurrentWidget(w.cuentas());
    auto* lista = w.findChild<QTableView*>(QStringLiteral("ListaPenasCuentas"));
    auto* sorteos = w.findChild<QTableView*>(QStringLiteral("ListaSorteosCuentas"));
    QAbstractItemModelTester t1(lista->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    QAbstractItemModelTester t2(sorteos->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(lista->model()->rowCount(), penas_.size());

    qint64 porCobrarTotal = 0;
    int pendientes = 0;
    for (int i = 0; i < penas_.size(); ++i) {
      const QList<CuentaRef> ref = cuentasRef(penas_[i], sorteos_);
      qint64 coste = 0, ganado = 0, caducado = 0, porCobrar = 0;
      QSet<QDate> perdidos;  // expired, never collected: apart from what was won
      for (const QJsonValue& c : cobros) {
        if (c[u"registro"_s].toInt() != i + 1) continue;
        if (c[u"estado"_s].toString() == QStringLiteral("caducado"))
          perdidos.insert(QDate::fromString(c[u"fecha"_s].toString(), Qt::ISODate));
        if (c[u"estado"_s].toString() == QStringLiteral("pendiente")) {
          porCobrar += c[u"neto_centimos"_s].toInteger();
          ++pendientes;
        }
      }
      for (const CuentaRef& c : ref) {
        coste += c.coste;
        (perdidos.contains(c.fecha) ? caducado : ganado) += c.conocido;
      }
      porCobrarTotal += porCobrar;
      const auto celda = [&](int col) { return lista->model()->index(i, col).data().toString(); };
      QCOMPARE(celda(0), penas_[i].nombre);
      QCOMPARE(celda(1).toInt(), ref.size());
      QCOMPARE(importe(celda(2)), coste);
      QCOMPARE(importe(celda(3)), ganado);
      QCOMPARE(importe(celda(4)), caducado);
      QCOMPARE(importe(celda(5)), ganado - coste);
      QCOMPARE(importe(celda(6)), porCobrar);

      lista->setCurrentIndex(lista->model()->index(i, 0));
      QCOMPARE(sorteos->model()->rowCount(), ref.size());
      for (int f = 0; f < ref.size(); ++f) {
        const CuentaRef& c = ref[ref.size() - 1 - f];  // newest first
        const auto fila = [&](int col) { return sorteos->model()->index(f, col).data().toString(); };
        QCOMPARE(fila(0), c.fecha.toString(QStringLiteral("dd/MM/yyyy")));
        QCOMPARE(importe(fila(2)), c.coste);
        if (!c.hayPremio()) {
          QVERIFY(fila(4).isEmpty() && fila(5).isEmpty() && fila(8).isEmpty());
          continue;
        }
        const QString premio = c.sinImporte ? QStringLiteral("importe pendiente") : textoImporte(c.conocido);
        const bool perdido = perdidos.contains(c.fecha);
        QCOMPARE(fila(4), perdido ? QString() : premio);
        QCOMPARE(fila(5), perdido ? premio : QString());
        QVERIFY(fila(8).startsWith(estadoRef(c.fecha, kHoy, QDate())));
      }
    }
    auto* estado = w.findChild<QLabel*>(QStringLiteral("LabelPorCobrar"));
    QVERIFY(estado->text().startsWith(
        QStringLiteral("Premios por cobrar: %1 (%2").arg(pendientes).arg(textoEuros(porCobrarTotal))));

    // Marking a collection from the window: the multiple's newest pending one.
    QString marcada;
    for (const QJsonValue& c : cobros)
      if (c[u"registro"_s].toInt() == 2 && c[u"estado"_s].toString() == QStringLiteral("pendiente"))
        marcada = QDate::fromString(c[u"fecha"_s].toString(), Qt::ISODate).toString(QStringLiteral("dd/MM/yyyy"));
    QVERIFY(!marcada.isEmpty());
    lista->setCurrentIndex(lista->model()->index(1, 0));
    for (int f = 0; f < sorteos->model()->rowCount(); ++f)
      if (sorteos->model()->index(f, 0).data().toString() == marcada)
        sorteos->setCurrentIndex(sorteos->model()->index(f, 0));
    QCOMPARE(sorteos->currentIndex().data().toString(), marcada);
    w.findChild<QDateEdit*>(QStringLiteral("FechaCobro"))->setDate(kHoy.addDays(-1));
    auto* cobrar = w.findChild<QPushButton*>(QStringLiteral("CommandCobrar"));
    QVERIFY(cobrar->isEnabled());
    QTest::mouseClick(cobrar, Qt::LeftButton);
    QCOMPARE(sorteos->currentIndex().siblingAtColumn(8).data().toString(), QStringLiteral("cobrado el 09/03/2021"));
    QVERIFY(!cobrar->isEnabled());
    QVERIFY(estado->text().startsWith(QStringLiteral("Premios por cobrar: %1 ").arg(pendientes - 1)));

    // The table as CSV, where the user says.
    e_->dialogo->siguiente = e_->ruta(QStringLiteral("exportado.csv"));
    QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("CommandCsv")), Qt::LeftButton);
    const QStringList csv = QString::fromUtf8(e_->leer(QStringLiteral("exportado.csv"))).split(QStringLiteral("\r\n"));
    QCOMPARE(csv.size(), sorteos->model()->rowCount() + 2);  // header, rows, final line end
    QVERIFY(csv.filter(marcada + QLatin1Char(';')).value(0).endsWith(QStringLiteral(";cobrado el 09/03/2021")));
    QCOMPARE(w.findChild<ui::AvisoGuardado*>()->ruta(), e_->ruta(QStringLiteral("exportado.csv")));
  }

  // An expired prize is marked collected only with the day it really was, on or before
  // its last day; then it is money won, no longer lost.
  void cobrarUnCaducado_data() {
    QTest::addColumn<int>("dias");  // from the last day; 999: today, the box as it comes
    QTest::addColumn<QString>("aviso");
    QTest::newRow("sin decir el día") << 999
                                      << u"El premio caducó el %1 sin marcarse cobrado. Si se cobró a tiempo, indique "
                                         "el día en que se cobró: el %1 o antes."_s;
    QTest::newRow("después del último día") << 1 << u"El premio caducó el %1: no se pudo cobrar después."_s;
    QTest::newRow("el último día") << 0 << QString();
    QTest::newRow("antes") << -20 << QString();
  }
  void cobrarUnCaducado() {
    QFETCH(int, dias);
    QFETCH(QString, aviso);
    // PRIMERA's oldest prize with a known amount, expired by today.
    const QList<CuentaRef> ref = cuentasRef(penas_[0], sorteos_);
    const auto perdido = std::find_if(ref.begin(), ref.end(), [](const CuentaRef& c) {
      return perdidoRef(1, c, kHoy, {}) && c.sinImporte == 0 && c.conocido > 0;
    });
    QVERIFY(perdido != ref.end());
    const QDate limite = perdido->fecha.addMonths(3);
    ui::Principal w;
    w.cargar(e_->carpeta.path());
    auto* lista = w.findChild<QTableView*>(QStringLiteral("ListaPenasCuentas"));
    auto* sorteos = w.findChild<QTableView*>(QStringLiteral("ListaSorteosCuentas"));
    lista->setCurrentIndex(lista->model()->index(0, 0));
    const auto celdaPena = [&](int col) { return importe(lista->model()->index(0, col).data().toString()); };
    const qint64 ganado = celdaPena(ui::ModeloCuentasPenas::Ganado);
    const qint64 caducado = celdaPena(ui::ModeloCuentasPenas::Caducado);
    const QString fecha = perdido->fecha.toString(QStringLiteral("dd/MM/yyyy"));
    for (int f = 0; f < sorteos->model()->rowCount(); ++f)
      if (sorteos->model()->index(f, 0).data().toString() == fecha)
        sorteos->setCurrentIndex(sorteos->model()->index(f, 0));
    const auto celda = [&](int col) { return sorteos->currentIndex().siblingAtColumn(col).data().toString(); };
    QCOMPARE(celda(ui::ModeloCuentasSorteos::Fecha), fecha);
    QCOMPARE(celda(ui::ModeloCuentasSorteos::Ganado), QString());
    QCOMPARE(celda(ui::ModeloCuentasSorteos::Caducado), textoImporte(perdido->conocido));
    if (dias != 999) w.findChild<QDateEdit*>(QStringLiteral("FechaCobro"))->setDate(limite.addDays(dias));
    const qsizetype vistos = e_->mensajes->vistos.size();
    QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("CommandCobrar")), Qt::LeftButton);

    if (!aviso.isEmpty()) {
      QCOMPARE(e_->mensajes->vistos.size(), vistos + 1);
      QCOMPARE(e_->mensajes->vistos.last().texto, aviso.arg(fechaCorta(limite)));
      QVERIFY(celda(ui::ModeloCuentasSorteos::Cobro).startsWith(QStringLiteral("caducado")));
      QCOMPARE(celdaPena(ui::ModeloCuentasPenas::Ganado), ganado);
      QCOMPARE(celdaPena(ui::ModeloCuentasPenas::Caducado), caducado);
      return;
    }
    QCOMPARE(e_->mensajes->vistos.size(), vistos);
    QCOMPARE(celda(ui::ModeloCuentasSorteos::Cobro), u"cobrado el "_s + fechaCorta(limite.addDays(dias)));
    QCOMPARE(celda(ui::ModeloCuentasSorteos::Ganado), textoImporte(perdido->conocido));
    QCOMPARE(celda(ui::ModeloCuentasSorteos::Caducado), QString());
    QCOMPARE(celdaPena(ui::ModeloCuentasPenas::Ganado), ganado + perdido->conocido);
    QCOMPARE(celdaPena(ui::ModeloCuentasPenas::Caducado), caducado - perdido->conocido);
  }

  // With the tables lost, the menu item asks the service for them and the tab shows the
  // amounts again.
  void completarDesdeElMenu() {
    const QString carpeta = e_->carpeta.path();
    prueba::exigir(operaciones::cambiarBase(
        carpeta, [](BaseDatos& b) { return b.ejecutar(QStringLiteral("DELETE FROM tablas_premios")); }));
    prueba::ServicioPrueba servicio;
    servicio.defecto = {200, prueba::leerDatoPrueba(QStringLiteral("respuesta_ejemplo.json")), 0, false};
    servicio.configurar(carpeta);
    ui::Principal w;
    w.cargar(carpeta);
    auto* lista = w.findChild<QTableView*>(QStringLiteral("ListaPenasCuentas"));
    QCOMPARE(importe(lista->model()->index(0, 3).data().toString()), 0);

    QAction* completar = w.findChild<QAction*>(QStringLiteral("Completar"));
    QVERIFY(completar->isEnabled());
    completar->trigger();
    QVERIFY(!completar->isEnabled());  // one completion at a time
    const auto titulo = [this] {
      return e_->mensajes->vistos.isEmpty() ? QString() : e_->mensajes->vistos.last().titulo;
    };
    QTRY_COMPARE(titulo(), QStringLiteral("Tablas de premios"));
    QVERIFY(completar->isEnabled());
    // The draws in which the sample lists no amount for a category some peña won are
    // named one by one.
    QList<QDate> sinImporte;
    for (const PenaRef& p : penas_)
      for (const CuentaRef& c : cuentasRef(p, sorteos_))
        if (c.sinImporte > 0 && !sinImporte.contains(c.fecha)) sinImporte << c.fecha;
    std::sort(sinImporte.begin(), sinImporte.end());
    QVERIFY(!sinImporte.isEmpty());
    QStringList esperado{
        QStringLiteral("Tablas de premios guardadas: 22. Sorteos sin tabla de premios: %1.").arg(sinImporte.size())};
    for (const QDate& f : sinImporte)
      esperado << QStringLiteral("El servicio de resultados no da el importe de algún premio del sorteo del %1.")
                      .arg(fechaCorta(f));
    QCOMPARE(e_->mensajes->vistos.last().texto, esperado.join(QLatin1Char('\n')));
    // From the first draw with a prize to the last one: exactly what read "importe
    // pendiente", one request.
    QDate primero, ultimo;
    for (const PenaRef& p : penas_)
      for (const CuentaRef& c : cuentasRef(p, sorteos_)) {
        if (!c.hayPremio()) continue;
        if (!primero.isValid() || c.fecha < primero) primero = c.fecha;
        if (!ultimo.isValid() || c.fecha > ultimo) ultimo = c.fecha;
      }
    QCOMPARE(servicio.pedidas.size(), 1);
    QVERIFY2(servicio.pedidas[0].endsWith(
                 QStringLiteral("fechaInicioInclusiva=%1&fechaFinInclusiva=%2")
                     .arg(primero.toString(QStringLiteral("yyyyMMdd")), ultimo.toString(QStringLiteral("yyyyMMdd")))),
             qPrintable(servicio.pedidas[0]));
    qint64 ganado = 0;
    for (const CuentaRef& c : cuentasRef(penas_[0], sorteos_))
      if (!perdidoRef(1, c, kHoy, {})) ganado += c.conocido;
    QCOMPARE(importe(lista->model()->index(0, 3).data().toString()), ganado);
  }
};

QTEST_MAIN(TestCuentas)
#include "test_cuentas.moc"
