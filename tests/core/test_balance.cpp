// The money worked out in part (one peña, only what may still be collected, one
// collection at a time) and looked up by index agrees with the money worked out whole
// in the plainest way, on random seasons of the real history.
#include <QtTest>
#include <algorithm>
#include <functional>

#include "base/fechas.h"
#include "money/balance.h"
#include "support/referencia.h"

using namespace sortilan;

namespace {

struct Temporada {
  std::vector<Sorteo> sorteos = prueba::historiaReal();
  std::vector<Pena> penas;
  TablasPremios tablas;
  CobrosMarcados marcados;
  std::vector<std::optional<qint64>> ids;
  QDate hoy;

  Temporada(quint32 semilla, int diaHoy) {
    QRandomGenerator g(semilla);
    penas = prueba::penasAlAzar(g, sorteos, 25);
    penas[3].tipo = 999;  // a corrupt kind of bet plays nothing
    for (size_t i = 0; i < penas.size(); ++i)
      ids.push_back(i % 6 == 5 ? std::nullopt : std::optional<qint64>(static_cast<qint64>(100 + i)));
    for (const Sorteo& s : sorteos) {
      const int caso = g.bounded(10);
      if (caso == 0) continue;  // no table yet
      TablaPremios t;
      t.fecha = fechaDesdeOle(s.fecha);
      for (size_t c = 0; c < 8; ++c) t.categorias[c] = PremioCategoria{caso == 1 ? 0 : g.bounded(300, 500'000'000), 1};
      if (caso != 2) t.reintegro = PremioCategoria{150, 1};
      tablas[t.fecha] = t;
    }
    hoy = fechaDesdeOle(sorteos[static_cast<size_t>(diaHoy)].fecha).addDays(3);
    for (size_t i = 0; i < penas.size(); ++i)
      for (const Sorteo& s : sorteos)
        if (g.bounded(5) == 0) marcados[{static_cast<qint64>(100 + i), fechaDesdeOle(s.fecha)}] = hoy;
  }

  Cuentas calcular(const AlcanceCuentas& a = {}) const {
    return calcularCuentas(penas, sorteos, tablas, marcados, ids, 150, hoy, a);
  }
};

// Every peña, every draw, then sorted: nothing skipped, nothing looked up.
std::vector<Cobro> referencia(const Temporada& t) {
  std::vector<Cobro> r;
  for (size_t i = 0; i < t.penas.size(); ++i) {
    const CuentaPena p = cuentaPena(t.penas[i], static_cast<int>(i) + 1, t.sorteos, t.tablas, 150);
    for (const CuentaSorteo& s : p.sorteos) {
      QDate dia;
      if (t.ids[i])
        if (const auto m = t.marcados.find({*t.ids[i], s.fecha}); m != t.marcados.end()) dia = m->second;
      if (auto c = cobroDe(p, s, dia, t.hoy)) r.push_back(*c);
    }
  }
  std::stable_sort(r.begin(), r.end(), [](const Cobro& a, const Cobro& b) { return a.fecha < b.fecha; });
  return r;
}

QString texto(const Cobro& c) {
  return QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8")
      .arg(c.registro)
      .arg(c.fecha.toString(Qt::ISODate), c.nombre)
      .arg(c.neto.value_or(-1))
      .arg(c.retencion.value_or(-1))
      .arg(c.lugar ? static_cast<int>(*c.lugar) : -1)
      .arg(textoCobro(c))
      .arg(c.limite.toString(Qt::ISODate));
}

QStringList textos(std::span<const Cobro> cobros) {
  QStringList l;
  for (const Cobro& c : cobros) l << texto(c);
  return l;
}

// Everything the window shows of the money, as text, to compare two ways of working it out.
QStringList volcado(const Cuentas& c) {
  QStringList l{QString::number(c.precio), QString::number(c.primerVigente)};
  for (const CuentaPena& p : c.penas) {
    const PorCobrar pc = c.porCobrar(p.registro);
    l << QStringLiteral("peña %1 %2 %3 %4 %5 ganado %6 caducado %7 sin importe %8")
             .arg(p.registro)
             .arg(p.nombre)
             .arg(pc.cobros)
             .arg(pc.neto)
             .arg(pc.pendiente)
             .arg(c.ganado(p.registro))
             .arg(c.caducado(p.registro).importe)
             .arg(c.premiosSinImporte(p.registro));
    for (const CuentaSorteo& s : p.sorteos)
      l << QStringLiteral("%1 %2 %3 %4")
               .arg(s.fecha.toString(Qt::ISODate))
               .arg(s.apuestas)
               .arg(s.coste)
               .arg(textoPremios(s));
  }
  return l + textos(c.cobros);
}

}  // namespace

class TestBalance : public QObject {
  Q_OBJECT
 private slots:
  void partes_data() {
    QTest::addColumn<quint32>("semilla");
    QTest::addColumn<int>("hoy");  // index of the draw a few days before today
    QTest::newRow("hoy al final") << 1u << 1113;
    QTest::newRow("hoy en medio") << 2u << 600;
    QTest::newRow("hoy al principio") << 3u << 2;
  }
  void partes() {
    QFETCH(quint32, semilla);
    QFETCH(int, hoy);
    const Temporada t(semilla, hoy);
    const std::vector<Cobro> ref = referencia(t);
    const Cuentas todas = t.calcular();
    QCOMPARE(textos(todas.cobros), textos(ref));
    QVERIFY(ref.size() > 100);

    // The expired ones come first and none is pending.
    for (size_t i = 0; i < todas.primerVigente; ++i) QVERIFY(todas.cobros[i].estado != EstadoCobro::Pendiente);
    QStringList pendientes;
    for (const Cobro& c : ref)
      if (c.estado == EstadoCobro::Pendiente) pendientes << texto(c);
    QStringList vigentes;
    for (const Cobro& c : todas.vigentes())
      if (c.estado == EstadoCobro::Pendiente) vigentes << texto(c);
    QCOMPARE(vigentes, pendientes);
    QCOMPARE(textoPorCobrar(todas.vigentes()), textoPorCobrar(ref));

    // Only what may still be collected.
    const Cuentas soloVigentes = t.calcular({0, true});
    QStringList parte;
    for (const Cobro& c : soloVigentes.cobros)
      if (c.estado == EstadoCobro::Pendiente) parte << texto(c);
    QCOMPARE(parte, pendientes);

    // One at a time, whole and in part.
    const DatosDinero datos{t.tablas, t.marcados, t.ids, 150, {}};
    for (const bool vig : {false, true}) {
      QStringList uno;
      recorrerCobros(t.penas, t.sorteos, datos, t.hoy, {0, vig}, [&](const Cobro& c) { uno << texto(c); });
      QCOMPARE(uno, textos(vig ? soloVigentes.cobros : todas.cobros));
    }

    // Each peña alone, its collections looked up by index, what it has to collect.
    for (size_t i = 0; i < t.penas.size(); ++i) {
      const int registro = static_cast<int>(i) + 1;
      const Cuentas una = t.calcular({registro});
      const CuentaPena* p = todas.pena(registro);
      QCOMPARE(una.pena(registro) != nullptr, p != nullptr);
      PorCobrar esperado;
      for (const Cobro& c : ref)
        if (c.registro == registro && c.estado == EstadoCobro::Pendiente) {
          ++esperado.cobros;
          esperado.neto += c.neto.value_or(0);
          esperado.pendiente = esperado.pendiente || !c.neto;
        }
      const PorCobrar pc = todas.porCobrar(registro);
      QCOMPARE(pc.cobros, esperado.cobros);
      QCOMPARE(pc.neto, esperado.neto);
      QCOMPARE(pc.pendiente, esperado.pendiente);
      if (!p) continue;
      QCOMPARE(una.penas.size(), size_t{1});
      QCOMPARE(una.penas[0].coste(), p->coste());
      QCOMPARE(una.penas[0].ganadoConocido(), p->ganadoConocido());
      QStringList suyos;
      for (const Cobro& c : ref)
        if (c.registro == registro) suyos << texto(c);
      QCOMPARE(textos(una.cobros), suyos);
      for (const CuentaSorteo& s : p->sorteos) {
        const auto lineal = std::find_if(ref.begin(), ref.end(),
                                         [&](const Cobro& c) { return c.registro == registro && c.fecha == s.fecha; });
        const Cobro* k = todas.cobro(registro, s.fecha);
        QCOMPARE(k != nullptr, lineal != ref.end());
        if (k) QCOMPARE(texto(*k), texto(*lineal));
      }
    }
    QVERIFY(!todas.cobro(1, QDate(1980, 1, 1)));
    QVERIFY(!todas.pena(999));
  }

  // What each peña won (collected or still collectable) and lost (expired, never
  // collected), summed draw by draw from the plain list of collections.
  void ganadoYCaducado_data() { partes_data(); }
  void ganadoYCaducado() {
    QFETCH(quint32, semilla);
    QFETCH(int, hoy);
    const Temporada t(semilla, hoy);
    const std::vector<Cobro> ref = referencia(t);
    const Cuentas c = t.calcular();
    Centimos ganadoTotal = 0, caducadoTotal = 0;
    int estados[3] = {};
    for (size_t i = 0; i < t.penas.size(); ++i) {
      const int registro = static_cast<int>(i) + 1;
      const CuentaPena p = cuentaPena(t.penas[i], registro, t.sorteos, t.tablas, 150);
      Centimos cobrado = 0, porCobrar = 0, perdido = 0;
      int sinImporte = 0;
      for (const CuentaSorteo& s : p.sorteos) {
        const auto k = std::find_if(ref.begin(), ref.end(),
                                    [&](const Cobro& x) { return x.registro == registro && x.fecha == s.fecha; });
        if (k == ref.end()) continue;
        ++estados[static_cast<int>(k->estado)];
        switch (k->estado) {
          case EstadoCobro::Cobrado: cobrado += s.ganadoConocido(); break;
          case EstadoCobro::Pendiente: porCobrar += s.ganadoConocido(); break;
          case EstadoCobro::Caducado: perdido += s.ganadoConocido(); continue;
        }
        sinImporte += s.apuestasSinImporte();
      }
      if (!c.pena(registro)) continue;
      QCOMPARE(c.ganado(registro), cobrado + porCobrar);
      QCOMPARE(c.caducado(registro).importe, perdido);
      QCOMPARE(c.premiosSinImporte(registro), sinImporte);
      for (const CuentaSorteo& s : p.sorteos) {
        const Cobro* k = c.cobro(registro, s.fecha);
        QCOMPARE(c.caducado(registro, s.fecha), k && k->estado == EstadoCobro::Caducado);
      }
      ganadoTotal += cobrado + porCobrar;
      caducadoTotal += perdido;
    }
    QCOMPARE(c.ganado(), ganadoTotal);
    QCOMPARE(c.caducado(), caducadoTotal);
    // The season has prizes of every kind, unless today is before any could expire.
    QVERIFY(estados[0] > 0 && estados[1] > 0);
    if (hoy > 100) QVERIFY(estados[2] > 0 && caducadoTotal > 0);
  }

  // The status bar's count: what is known, and "importe pendiente" only for what is not.
  void porCobrarEnTexto_data() {
    QTest::addColumn<QList<int>>("netos");  // -1: amount unknown; -2: collected
    QTest::addColumn<QString>("texto");
    QTest::newRow("nada") << QList<int>{} << u8"Premios por cobrar: 0 (0,00 €)";
    QTest::newRow("conocidos") << QList<int>{150, 123456, -2} << u8"Premios por cobrar: 2 (1.236,06 €)";
    QTest::newRow("sin importe") << QList<int>{-1} << u8"Premios por cobrar: 1 (importe pendiente)";
    QTest::newRow("cobrado y sin importe") << QList<int>{-2, -1, -1} << u8"Premios por cobrar: 2 (importe pendiente)";
    QTest::newRow("de los dos") << QList<int>{-1, 123456} << u8"Premios por cobrar: 2 (1.234,56 € + importe pendiente)";
  }
  void porCobrarEnTexto() {
    QFETCH(QList<int>, netos);
    QFETCH(QString, texto);
    std::vector<Cobro> cobros;
    for (const int n : netos) {
      Cobro c;
      if (n >= 0) c.neto = n;
      if (n == -2) {
        c.neto = 999;
        c.estado = EstadoCobro::Cobrado;
      }
      cobros.push_back(c);
    }
    QCOMPARE(textoPorCobrar(cobros), texto);
  }

  // After each kind of change, in a row, the money brought up to date equals the money
  // worked out whole from the data as they are then.
  void alDia_data() { partes_data(); }
  void alDia() {
    QFETCH(quint32, semilla);
    QFETCH(int, hoy);
    Temporada t(semilla, hoy);
    QRandomGenerator g(semilla + 7);
    // The season before a download of its last 40 draws.
    const std::vector<Sorteo> todos = t.sorteos;
    const TablasPremios tablas = t.tablas;
    t.sorteos.resize(todos.size() - 40);
    for (auto i = t.tablas.begin(); i != t.tablas.end();)
      i = i->first > fechaDesdeOle(t.sorteos.back().fecha) ? t.tablas.erase(i) : std::next(i);
    Cuentas c = t.calcular();

    const auto fecha = [&](size_t i) { return fechaDesdeOle(t.sorteos[i].fecha); };
    const std::vector<std::pair<const char*, std::function<void()>>> cambios = {
        {"nada", [] {}},
        {"una ventana de la descarga", [&] { t.sorteos.assign(todos.begin(), todos.end() - 25); }},
        {"otra ventana con sus tablas y una corregida",
         [&] {
           t.sorteos = todos;
           t.tablas = tablas;
           t.tablas[fecha(100)].categorias[6] = PremioCategoria{999, 1};
           t.tablas.erase(fecha(200));
         }},
        {"premios contados", [&] { t.penas[0].aciertos[1] += 1, t.penas[0].ultimacuenta = todos.back().fecha; }},
        {"peña borrada",
         [&] {
           t.penas.erase(t.penas.begin() + 2);
           t.ids.erase(t.ids.begin() + 2);
         }},
        {"peña nueva, sin id",
         [&] {
           t.penas.push_back(prueba::penasAlAzar(g, todos, 1)[0]);
           t.penas.back().creacion = todos[todos.size() - 300].fecha;
           t.ids.push_back(std::nullopt);
         }},
        {"un socio de alta da id a la peña", [&] { t.ids.back() = 900; }},
        {"el socio de baja", [] {}},
        {"cobro marcado y otro desmarcado",
         [&] {
           t.marcados[{900, fechaDesdeOle(todos.back().fecha)}] = t.hoy;
           t.marcados.erase(t.marcados.begin());
           t.marcados.begin()->second = t.hoy.addDays(-1);
         }},
        {"contadores reiniciados", [&] { t.penas[1].creacion = todos[todos.size() - 10].fecha; }},
        {"peña borrada en medio y otra al final",
         [&] {
           t.penas.erase(t.penas.begin() + 10);
           t.ids.erase(t.ids.begin() + 10);
           t.penas.pop_back();
           t.ids.pop_back();
         }},
        {"sorteo borrado", [&] { t.sorteos.erase(t.sorteos.end() - 5); }},
        {"otro día", [&] { t.hoy = t.hoy.addDays(1); }},
    };
    for (const auto& [nombre, cambiar] : cambios) {
      cambiar();
      c = actualizarCuentas(std::move(c), t.penas, t.sorteos, t.tablas, t.marcados, t.ids, 150, t.hoy);
      const QStringList entera = volcado(t.calcular());
      const QStringList alDia = volcado(c);
      if (alDia != entera) qWarning() << nombre;
      QCOMPARE(alDia, entera);
    }
  }
};

QTEST_GUILESS_MAIN(TestBalance)
#include "test_balance.moc"
