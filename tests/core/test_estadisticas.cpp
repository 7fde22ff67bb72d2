#include <QtTest>
#include <numeric>

#include "base/fechas.h"
#include "session/sesion.h"
#include "stats/buscarsorteos.h"
#include "stats/tablasgrafico.h"
#include "support/dobles.h"

using namespace sortilan;
using namespace sortilan::prueba;

namespace {
Sorteo sorteo(std::array<int16_t, 5> n, int16_t clave, QDate fecha) {
  Sorteo s;
  for (size_t i = 0; i < 5; ++i) s.numeros[i] = n[i];
  s.numeros[5] = clave;
  s.fecha = oleDesdeFecha(fecha);
  return s;
}

Frecuencias contar(Entorno& e, Sesion& s) {
  sortilan::prueba::exigir(s.abrir(e.carpeta.path()));
  s.cargasorteos(e.reloj->dia);
  return s.listasorteos().frecuencias;
}

int suma(const std::vector<int>& v) { return std::accumulate(v.begin(), v.end(), 0); }
}  // namespace

class TestEstadisticas : public QObject {
  Q_OBJECT
 private slots:
  void tablasVacias() {
    const Frecuencias f;
    for (const TablaGrafico& t : {graficobajos(f), graficoaltos(f), graficoclave(f)})
      for (const auto& serie : t.series)
        for (const auto& celda : serie) QVERIFY(!celda.has_value());
    QCOMPARE(graficoclave(f).series.size(), size_t(2));
  }

  void etiquetas() {
    const Frecuencias f;
    const TablaGrafico b = graficobajos(f), a = graficoaltos(f), c = graficoclave(f);
    QCOMPARE(b.filas(), 27);
    QCOMPARE(a.filas(), 27);
    QCOMPARE(c.filas(), 10);
    QCOMPARE(b.etiquetas.front(), QStringLiteral("1"));
    QCOMPARE(b.etiquetas.back(), QStringLiteral("27"));
    QCOMPARE(a.etiquetas.front(), QStringLiteral("28"));
    QCOMPARE(a.etiquetas.back(), QStringLiteral("54"));
    QCOMPARE(c.etiquetas.front(), QStringLiteral("0"));
    QCOMPARE(c.etiquetas.back(), QStringLiteral("9"));
  }

  void pocosSorteos() {
    Entorno e;
    QByteArray datos;
    datos += sorteo({3, 27, 28, 40, 54}, 0, QDate(2021, 2, 21)).codificar();
    datos += sorteo({1, 3, 28, 33, 54}, 9, QDate(2021, 2, 28)).codificar();
    datos += sorteo({3, 5, 27, 28, 54}, 9, QDate(2021, 3, 7)).codificar();
    e.escribir(QStringLiteral("numeros.dat"), datos);
    Sesion s;
    const Frecuencias f = contar(e, s);
    const TablaGrafico bajos = graficobajos(f), altos = graficoaltos(f), clave = graficoclave(f);
    QCOMPARE(bajos.series[0][2], std::optional<int>(3));   // 3 in every draw
    QCOMPARE(bajos.series[0][26], std::optional<int>(2));  // 27
    QCOMPARE(bajos.series[0][0], std::optional<int>(1));   // 1
    QVERIFY(!bajos.series[0][1].has_value());              // 2 never drawn: no bar
    QCOMPARE(altos.series[0][0], std::optional<int>(3));   // 28
    QCOMPARE(altos.series[0][26], std::optional<int>(3));  // 54
    QCOMPARE(altos.series[0][5], std::optional<int>(1));   // 33
    QCOMPARE(clave.series[1][0], std::optional<int>(1));
    QCOMPARE(clave.series[1][9], std::optional<int>(2));
    QCOMPARE(suma(cuentas(bajos)) + suma(cuentas(altos)), 15);
    QCOMPARE(suma(cuentas(clave)), 3);

    // A second count starts from empty.
    QCOMPARE(graficobajos(s.listasorteos().frecuencias).series[0][2], std::optional<int>(3));
  }

  void historiaReal() {
    Entorno e(QDate(2026, 12, 8));
    e.copiar(QStringLiteral("numeros.dat"));
    Sesion s;
    const Frecuencias f = contar(e, s);
    const int n = s.proximoreg - 1;
    QCOMPARE(n, 1114);
    const std::vector<int> bajos = cuentas(graficobajos(f)), altos = cuentas(graficoaltos(f)),
                           clave = cuentas(graficoclave(f));
    QCOMPARE(suma(bajos) + suma(altos), 5 * n);
    QCOMPARE(suma(clave), n);
    // Each number can come out at most once per draw.
    for (int c : bajos) QVERIFY(c > 0 && c <= n);
    for (int c : altos) QVERIFY(c > 0 && c <= n);
  }

  // The draw list's search: dates whole or in part, numbers all present, anything else none.
  void buscarSorteos_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<bool>("hallado");
    QTest::newRow("vacío") << QString() << true;
    QTest::newRow("blancos") << QStringLiteral("  ") << true;
    QTest::newRow("fecha") << QStringLiteral("16/08/2026") << true;
    QTest::newRow("fecha sin ceros") << QStringLiteral("16/8/2026") << true;
    QTest::newRow("otra fecha") << QStringLiteral("09/08/2026") << false;
    QTest::newRow("mes") << QStringLiteral("08/2026") << true;
    QTest::newRow("otro mes") << QStringLiteral("07/2026") << false;
    QTest::newRow("año") << QStringLiteral("2026") << true;
    QTest::newRow("otro año") << QStringLiteral("2025") << false;
    QTest::newRow("un número") << QStringLiteral("31") << true;
    QTest::newRow("números con coma") << QStringLiteral("7, 35") << true;
    QTest::newRow("uno falta") << QStringLiteral("7 36") << false;
    QTest::newRow("la clave no es un número ganador") << QStringLiteral("1") << false;
    QTest::newRow("fuera de 1..54") << QStringLiteral("55") << false;
    QTest::newRow("fecha imposible") << QStringLiteral("31/02/2026") << false;
    QTest::newRow("texto") << QStringLiteral("domingo") << false;
    QTest::newRow("barras de más") << QStringLiteral("1/2/3/4") << false;
  }
  void buscarSorteos() {
    QFETCH(QString, texto);
    QFETCH(bool, hallado);
    Sorteo s;
    s.numeros = {7, 8, 11, 31, 35, 1, 0, 0};
    s.fecha = oleDesdeFecha(QDate(2026, 8, 16));
    QCOMPARE(sorteoBuscado(s, texto), hallado);
  }
};

QTEST_GUILESS_MAIN(TestEstadisticas)
#include "test_estadisticas.moc"
