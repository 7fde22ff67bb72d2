// Draw status, draw list texts and the damaged draw file.
#include <QDir>
#include <QFile>
#include <QtTest>
#include <limits>

#include "base/fechas.h"
#include "session/sesion.h"
#include "support/dobles.h"

using namespace sortilan;

namespace {
Sorteo sorteo(QDate d, std::array<int16_t, 6> n) {
  Sorteo s;
  for (size_t i = 0; i < 6; ++i) s.numeros[i] = n[i];
  s.fecha = oleDesdeFecha(d);
  return s;
}

QByteArray archivo(const std::vector<Sorteo>& v) {
  QByteArray b;
  for (const Sorteo& s : v) b += s.codificar();
  return b;
}
}  // namespace

class TestEstado : public QObject {
  Q_OBJECT
 private slots:
  void faltan_data() {
    QTest::addColumn<int>("dias");
    QTest::addColumn<QString>("texto");
    QTest::newRow("0") << 0 << QString();
    QTest::newRow("7") << 7 << QString();
    QTest::newRow("8") << 8 << QStringLiteral("Falta 1 sorteo por actualizar");
    QTest::newRow("14") << 14 << QStringLiteral("Falta 1 sorteo por actualizar");
    QTest::newRow("15") << 15 << QStringLiteral("Faltan 2 sorteos por actualizar");
    QTest::newRow("20") << 20 << QStringLiteral("Faltan 2 sorteos por actualizar");
    QTest::newRow("21") << 21 << QStringLiteral("Faltan 3 sorteos por actualizar");
    QTest::newRow("28") << 28 << QStringLiteral("Faltan 4 sorteos por actualizar");
    QTest::newRow("fecha futura") << -3 << QString();
  }
  void faltan() {
    QFETCH(int, dias);
    QFETCH(QString, texto);
    const QDate ultimo(2021, 3, 7);
    QCOMPARE(sorteosQueFaltan(oleDesdeFecha(ultimo), ultimo.addDays(dias)), texto);
  }

  void nuncaActualizado() {
    QCOMPARE(sorteosQueFaltan(0, QDate(2021, 3, 10)), QStringLiteral("No se ha actualizado nunca"));
  }

  void proximo_data() {
    QTest::addColumn<QDate>("ultimo");
    QTest::addColumn<QDate>("hoy");
    QTest::addColumn<QString>("proximo");
    QTest::newRow("domingo con el sorteo de hoy")
        << QDate(2021, 3, 7) << QDate(2021, 3, 7) << QStringLiteral("Domingo, 14 de marzo del 2021");
    QTest::newRow("domingo sin el sorteo de hoy")
        << QDate(2021, 2, 28) << QDate(2021, 3, 7) << QStringLiteral("Domingo, 7 de marzo del 2021");
    QTest::newRow("miércoles") << QDate(2021, 3, 7) << QDate(2021, 3, 10)
                               << QStringLiteral("Domingo, 14 de marzo del 2021");
    QTest::newRow("fin de año") << QDate(2020, 12, 27) << QDate(2020, 12, 29)
                                << QStringLiteral("Domingo, 3 de enero del 2021");
  }
  void proximo() {
    QFETCH(QDate, ultimo);
    QFETCH(QDate, hoy);
    QFETCH(QString, proximo);
    QCOMPARE(proximoSorteo(oleDesdeFecha(ultimo), hoy), proximo);
  }

  void textoDeFila_data() {
    QTest::addColumn<QList<int>>("numeros");
    QTest::addColumn<QString>("texto");
    QTest::newRow("ejemplo") << QList<int>{3, 12, 25, 40, 54, 7} << QStringLiteral(" 3-12-25-40-54  NÚM.CLAVE: 7");
    QTest::newRow("quinto sin relleno") << QList<int>{1, 2, 3, 4, 5, 0}
                                        << QStringLiteral(" 1- 2- 3- 4-5  NÚM.CLAVE: 0");
    QTest::newRow("sin relleno") << QList<int>{10, 20, 30, 40, 50, 9} << QStringLiteral("10-20-30-40-50  NÚM.CLAVE: 9");
  }
  void textoDeFila() {
    QFETCH(QList<int>, numeros);
    QFETCH(QString, texto);
    Sorteo s;
    for (int i = 0; i < 6; ++i) s.numeros[static_cast<size_t>(i)] = static_cast<int16_t>(numeros[i]);
    s.fecha = oleDesdeFecha(QDate(2021, 3, 7));
    QCOMPARE(textoSorteo(s), texto);
    QCOMPARE(textoFechaSorteo(s), QStringLiteral("07/03/2021  Domingo"));
  }

  void unDecimal_data() {
    QTest::addColumn<double>("valor");
    QTest::addColumn<QString>("texto");
    QTest::newRow("tercio") << 100.0 / 3 << QStringLiteral("33,3");
    QTest::newRow("entero") << 50.0 << QStringLiteral("50");
    QTest::newRow("medio") << 12.5 << QStringLiteral("12,5");
    QTest::newRow("empate a par abajo") << 0.25 << QStringLiteral("0,2");
    QTest::newRow("empate a par arriba") << 0.75 << QStringLiteral("0,8");
    QTest::newRow("cero") << 0.0 << QStringLiteral("0");
    QTest::newRow("más de cien") << 200.0 << QStringLiteral("200");
  }
  void unDecimal() {
    QFETCH(double, valor);
    QFETCH(QString, texto);
    QCOMPARE(sortilan::unDecimal(valor), texto);
  }

  void archivoVacio() {
    prueba::Entorno e;
    Sesion s;
    sortilan::prueba::exigir(s.abrir(e.carpeta.path()));
    const EstadoSorteos est = s.cargasorteos(QDate(2021, 3, 10));
    QCOMPARE(s.proximoreg, 1);
    QCOMPARE(est.ultimo, QStringLiteral("Fichero de datos vacío."));
    QVERIFY(!est.casillasActivas);
    QVERIFY(!est.desplazamientoActivo);
    QVERIFY(est.faltanVisible);
    QCOMPARE(est.faltan, QStringLiteral("No se ha actualizado nunca"));
    const ListaSorteos l = s.listasorteos();
    QCOMPARE(l.filas(), 0);
    QCOMPARE(l.total(), QStringLiteral("TOTAL: 0 sorteos."));
  }

  void tresSorteosElMasRecientePrimero() {
    prueba::Entorno e;
    e.escribir(QStringLiteral("numeros.dat"),
               archivo({sorteo(QDate(2021, 2, 21), {1, 2, 3, 4, 5, 0}), sorteo(QDate(2021, 2, 28), {6, 7, 8, 9, 10, 1}),
                        sorteo(QDate(2021, 3, 7), {11, 12, 13, 14, 15, 2})}));
    Sesion s;
    sortilan::prueba::exigir(s.abrir(e.carpeta.path()));
    const EstadoSorteos est = s.cargasorteos(QDate(2021, 3, 10));
    QCOMPARE(s.proximoreg, 4);
    QCOMPARE(s.sorteo.numero(1), int16_t{11});
    QCOMPARE(est.ultimo, QStringLiteral("Domingo, 7 de marzo del 2021"));
    QVERIFY(est.casillasActivas);
    QVERIFY(est.desplazamientoActivo);
    QCOMPARE(est.desplazamientoMaximo, 3);
    QVERIFY(!est.faltanVisible);
    const ListaSorteos l = s.listasorteos();
    QCOMPARE(l.total(), QStringLiteral("TOTAL: 3 sorteos."));
    QCOMPARE(l.fila(1).numero(1), int16_t{11});
    QCOMPARE(l.fila(3).numero(1), int16_t{1});
    QCOMPARE(l.frecuencias.numero(1), 1);
    QCOMPARE(l.frecuencias.clave[2], 1);
    QCOMPARE(l.frecuencias.clave[5], 0);
    // A record cut short at the end is a damaged file, never a shorter list.
    e.escribir(QStringLiteral("numeros.dat"), e.leer(QStringLiteral("numeros.dat")) + QByteArray(10, '\x07'));
    QVERIFY(s.listasorteos().danado);
  }

  void sorteosJugados() {
    prueba::Entorno e;
    std::vector<Sorteo> v;
    for (int i = 0; i < 10; ++i) v.push_back(sorteo(QDate(2021, 1, 3).addDays(7 * i), {1, 2, 3, 4, 5, 0}));
    e.escribir(QStringLiteral("numeros.dat"), archivo(v));
    Pena tarde = prueba::penaConApuestas(QStringLiteral("TARDE"), 1, QDate(2021, 2, 28));  // 2 draws on or after
    Pena antes = prueba::penaConApuestas(QStringLiteral("ANTES"), 1, QDate(2021, 2, 14));  // 4 draws on or after
    e.escribir(QStringLiteral("apuestas.dat"), tarde.codificar() + antes.codificar());
    Sesion s;
    sortilan::prueba::exigir(s.abrir(e.carpeta.path()));
    s.cargasorteos(QDate(2021, 3, 10));
    QCOMPARE(s.sorteosjugados, 4);
    QCOMPARE(s.proximapena, 3);
  }

  // Any record out of the rule makes the file damaged; finding it changes nothing (the
  // operation that puts it aside is a change of the data, tested with the operations).
  void danado_data() {
    QTest::addColumn<int>("posicion");  // 0..5 a number, 8 the date
    QTest::addColumn<double>("valor");
    QTest::newRow("número 0") << 0 << 0.0;
    QTest::newRow("número 55") << 3 << 55.0;
    QTest::newRow("número repetido") << 4 << 1.0;
    QTest::newRow("clave 10") << 5 << 10.0;
    QTest::newRow("clave negativa") << 5 << -1.0;
    QTest::newRow("fecha 0") << 8 << 0.0;
    QTest::newRow("fecha negativa") << 8 << -44262.0;
    QTest::newRow("fecha NaN") << 8 << std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("fecha infinita") << 8 << std::numeric_limits<double>::infinity();
    QTest::newRow("fecha enorme") << 8 << 1e300;
    QTest::newRow("fecha con hora") << 8 << oleDesdeFecha(QDate(2021, 5, 2)) + 0.5;
    QTest::newRow("antes de 1990") << 8 << oleDesdeFecha(QDate(1989, 12, 31));
    QTest::newRow("fecha repetida") << 8 << oleDesdeFecha(QDate(2021, 1, 3).addDays(7 * 15));
    QTest::newRow("fuera de orden") << 8 << oleDesdeFecha(QDate(2020, 12, 27));
  }
  void danado() {
    QFETCH(int, posicion);
    QFETCH(double, valor);
    prueba::Entorno e;
    std::vector<Sorteo> v;
    for (int i = 0; i < 20; ++i) v.push_back(sorteo(QDate(2021, 1, 3).addDays(7 * i), {1, 2, 3, 4, 5, 0}));
    if (posicion == 8)
      v[16].fecha = valor;
    else
      v[16].numeros[static_cast<size_t>(posicion)] = static_cast<int16_t>(valor);
    QCOMPARE(primerSorteoDanado(v), 16);
    const QByteArray original = archivo(v);
    e.escribir(QStringLiteral("numeros.dat"), original);
    Sesion s;
    sortilan::prueba::exigir(s.abrir(e.carpeta.path()));
    s.cargasorteos(QDate(2021, 6, 1));
    const ListaSorteos l = s.listasorteos();
    QVERIFY(l.danado);
    QCOMPARE(l.filas(), 0);
    QVERIFY(e.mensajes->vistos.isEmpty());
    QCOMPARE(e.leer(QStringLiteral("numeros.dat")), original);
    QCOMPARE(QDir(e.carpeta.path()).entryList(QDir::Files), QStringList{QStringLiteral("numeros.dat")});
  }

  // Future dates are not damage: the clock of the computer may be wrong.
  void fechaFuturaNoDana() {
    std::vector<Sorteo> v = {sorteo(QDate(2021, 1, 3), {1, 2, 3, 4, 5, 0}),
                             sorteo(QDate(2090, 1, 1), {1, 2, 3, 4, 5, 0})};
    QCOMPARE(primerSorteoDanado(v), -1);
  }

  void historiaReal() {
    prueba::Entorno e;
    e.copiar(QStringLiteral("numeros.dat"));
    Sesion s;
    sortilan::prueba::exigir(s.abrir(e.carpeta.path()));
    const EstadoSorteos est = s.cargasorteos(QDate(2026, 12, 8));
    QCOMPARE(s.proximoreg, 1115);
    QCOMPARE(est.ultimo, QStringLiteral("Domingo, 16 de agosto del 2026"));
    QCOMPARE(est.proximo, QStringLiteral("Domingo, 13 de diciembre del 2026"));
    QCOMPARE(est.faltan, QStringLiteral("Faltan 16 sorteos por actualizar"));
    const ListaSorteos l = s.listasorteos();
    QVERIFY(!l.danado);
    QCOMPARE(l.total(), QStringLiteral("TOTAL: 1114 sorteos."));
    QCOMPARE(textoSorteo(l.fila(1)), QStringLiteral(" 7- 8-11-31-35  NÚM.CLAVE: 1"));
    int numeros = 0, claves = 0;
    for (int n = 1; n <= 54; ++n) numeros += l.frecuencias.numero(n);
    for (int c : l.frecuencias.clave) claves += c;
    QCOMPARE(numeros, 5 * 1114);
    QCOMPARE(claves, 1114);
  }
};

QTEST_GUILESS_MAIN(TestEstado)
#include "test_estado.moc"
