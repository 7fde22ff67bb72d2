#include <QtTest>

#include "base/fechas.h"
#include "checking/altapena.h"
#include "support/dobles.h"

using namespace Qt::StringLiterals;
using namespace sortilan;

using Apuestas = std::vector<std::vector<int>>;

class TestAltaPena : public QObject {
  Q_OBJECT

 private slots:
  void repetidas_data() {
    QTest::addColumn<Apuestas>("sencillas");  // of the new peña
    QTest::addColumn<Apuestas>("multiples");
    QTest::addColumn<Apuestas>("otrasSencillas");  // one stored peña "Pn" per bet
    QTest::addColumn<Apuestas>("otrasMultiples");  // one stored multiple "Mn" per bet
    QTest::addColumn<QStringList>("vistas");       // "numbers@other peña", empty name inside the new one
    const Apuestas ninguna;
    QTest::newRow("ninguna") << Apuestas{{1, 2, 3, 4, 5}} << ninguna << Apuestas{{1, 2, 3, 4, 6}} << ninguna
                             << QStringList{};
    QTest::newRow("otra peña, otro orden")
        << Apuestas{{9, 8, 7, 6, 5}} << ninguna << Apuestas{{1, 2, 3, 4, 6}, {5, 6, 7, 8, 9}} << ninguna
        << QStringList{u"5-6-7-8-9@P2"_s};
    QTest::newRow("dos veces en la nueva, una vez nombrada")
        << Apuestas{{1, 2, 3, 4, 5}, {10, 11, 12, 13, 14}, {5, 4, 3, 2, 1}, {1, 2, 3, 4, 5}} << ninguna << ninguna
        << ninguna << QStringList{u"1-2-3-4-5@"_s};
    QTest::newRow("en dos peñas") << Apuestas{{1, 2, 3, 4, 5}} << ninguna << Apuestas{{1, 2, 3, 4, 5}, {1, 2, 3, 4, 5}}
                                  << ninguna << QStringList{u"1-2-3-4-5@P1"_s, u"1-2-3-4-5@P2"_s};
    QTest::newRow("múltiple igual") << ninguna << Apuestas{{1, 2, 3, 4, 5, 6}} << ninguna
                                    << Apuestas{{6, 5, 4, 3, 2, 1}} << QStringList{u"1-2-3-4-5-6@M1"_s};
    // A multiple stands for its simple bets, but it is not the same ticket as one of them.
    QTest::newRow("sencilla dentro de una múltiple")
        << Apuestas{{1, 2, 3, 4, 5}} << ninguna << ninguna << Apuestas{{1, 2, 3, 4, 5, 6}} << QStringList{};
    QTest::newRow("múltiple con una más")
        << ninguna << Apuestas{{1, 2, 3, 4, 5, 6}} << ninguna << Apuestas{{1, 2, 3, 4, 5, 6, 7}} << QStringList{};
  }
  void repetidas() {
    QFETCH(Apuestas, sencillas);
    QFETCH(Apuestas, multiples);
    QFETCH(Apuestas, otrasSencillas);
    QFETCH(Apuestas, otrasMultiples);
    QFETCH(QStringList, vistas);
    const QDate hoy(2021, 3, 10);
    const Pena nueva = registroPenaNueva({u"NUEVA"_s, 3, sencillas, multiples}, hoy);
    std::vector<Pena> otras;
    for (size_t i = 0; i < otrasSencillas.size(); ++i)
      otras.push_back(registroPenaNueva({QStringLiteral("P%1").arg(i + 1), 1, {otrasSencillas[i]}, {}}, hoy));
    for (size_t i = 0; i < otrasMultiples.size(); ++i)
      otras.push_back(registroPenaNueva({QStringLiteral("M%1").arg(i + 1), 1, {}, {otrasMultiples[i]}}, hoy));
    // A damaged record with no known tipo is passed over.
    Pena rara;
    rara.tipo = 77;
    otras.push_back(rara);
    QStringList r;
    for (const ApuestaRepetida& x : apuestasRepetidas(nueva, otras)) {
      QStringList n;
      for (int v : x.numeros) n << QString::number(v);
      r << n.join(u'-') + u'@' + x.otraPena;
    }
    QCOMPARE(r, vistas);
  }
  void preguntaDeRepetidas() {
    std::vector<ApuestaRepetida> v = {{{1, 2, 3, 4, 5}, u"AMIGOS"_s}, {{6, 7, 8, 9, 10}, QString()}};
    QCOMPARE(preguntaRepetidas(v), QStringLiteral("La apuesta 1-2-3-4-5 ya la juega la peña «AMIGOS».\n"
                                                  "La apuesta 6-7-8-9-10 está dos veces en esta peña.\n\n"
                                                  "¿Grabar la peña de todos modos?"));
    // A long list is cut, and says how much was left out.
    v = std::vector<ApuestaRepetida>(9, {{1, 2, 3, 4, 5}, u"X"_s});
    QVERIFY(preguntaRepetidas(v).contains(QStringLiteral("\nY 3 más.\n")));
  }
  void rechazos_data() {
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<int>("clave");
    QTest::addColumn<Apuestas>("sencillas");
    QTest::addColumn<Apuestas>("multiples");
    QTest::addColumn<QString>("error");  // empty: accepted
    const Apuestas una = {{1, 2, 3, 4, 5}};
    const Apuestas ninguna;
    Apuestas veinticinco(25, std::vector<int>{1, 2, 3, 4, 5});
    QTest::newRow("buena") << "AMIGOS" << 7 << una << ninguna << "";
    QTest::newRow("24 apuestas") << "AMIGOS" << 0 << Apuestas(24, {1, 2, 3, 4, 5}) << ninguna << "";
    QTest::newRow("múltiple de 11") << "M" << 9 << ninguna << Apuestas{{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}} << "";
    QTest::newRow("20 letras") << "ABCDEFGHIJKLMNOPQRST" << 1 << una << ninguna << "";
    QTest::newRow("21 letras") << "ABCDEFGHIJKLMNOPQRSTU" << 1 << una << ninguna
                               << "¡¡¡El nombre no puede tener más de 20 letras!!!";
    QTest::newRow("sin nombre") << "" << 1 << una << ninguna << "¡¡¡No ha escrito el nombre de la peña!!!";
    QTest::newRow("sólo blancos") << "   " << 1 << una << ninguna << "¡¡¡No ha escrito el nombre de la peña!!!";
    QTest::newRow("letra imposible") << "PEÑA ☃" << 1 << una << ninguna
                                     << "El nombre lleva letras que no se pueden guardar en el fichero de peñas.";
    QTest::newRow("55") << "A" << 1 << Apuestas{{1, 2, 3, 4, 55}} << ninguna << "El número 55 no está entre 1 y 54.";
    QTest::newRow("0") << "A" << 1 << Apuestas{{0, 2, 3, 4, 5}} << ninguna << "El número 0 no está entre 1 y 54.";
    QTest::newRow("repetido") << "A" << 1 << Apuestas{{1, 2, 3, 4, 5}, {7, 8, 7, 9, 10}} << ninguna
                              << "El número 7 está repetido en la apuesta 2.";
    QTest::newRow("cuatro números") << "A" << 1 << Apuestas{{1, 2, 3, 4}} << ninguna
                                    << "La apuesta 1 tiene 4 números; una apuesta sencilla lleva 5.";
    QTest::newRow("múltiple de 12") << "A" << 1 << ninguna << Apuestas{{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}}
                                    << "La apuesta múltiple tiene 12 números; una múltiple lleva de 6 a 11.";
    QTest::newRow("múltiple de 5") << "A" << 1 << ninguna << Apuestas{{1, 2, 3, 4, 5}}
                                   << "La apuesta múltiple tiene 5 números; una múltiple lleva de 6 a 11.";
    QTest::newRow("clave 10") << "A" << 10 << una << ninguna << "El número clave tiene que estar entre 0 y 9.";
    QTest::newRow("clave -1") << "A" << -1 << una << ninguna << "El número clave tiene que estar entre 0 y 9.";
    QTest::newRow("25 apuestas") << "A" << 1 << veinticinco << ninguna << "Máximo de apuestas sencillas por peña : 24.";
    QTest::newRow("mezcla") << "A" << 1 << una << Apuestas{{1, 2, 3, 4, 5, 6}}
                            << "Una peña juega apuestas sencillas o una múltiple, no las dos a la vez.";
    QTest::newRow("dos múltiples") << "A" << 1 << ninguna << Apuestas{{1, 2, 3, 4, 5, 6}, {1, 2, 3, 4, 5, 7}}
                                   << "¡¡ Oficialmente sólo se admite una combinación por boleto cuando juegas a "
                                      "múltiples !! ";
    QTest::newRow("sin apuestas") << "A" << 1 << ninguna << ninguna << "La peña no tiene ninguna apuesta.";
  }
  void rechazos() {
    QFETCH(QString, nombre);
    QFETCH(int, clave);
    QFETCH(Apuestas, sencillas);
    QFETCH(Apuestas, multiples);
    QFETCH(QString, error);
    const Resultado r = validarPenaNueva({nombre, clave, sencillas, multiples});
    QCOMPARE(r.ok, error.isEmpty());
    QCOMPARE(r.error, error);
  }

  void registroSencillo() {
    const QDate hoy(2021, 3, 10);
    const Pena p = registroPenaNueva(
        {QStringLiteral("los de siempre"), 7, {{40, 3, 12, 54, 25}, {1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}}, {}}, hoy);
    QCOMPARE(p.tipo, int16_t{3});
    QCOMPARE(p.nombreTexto(), QStringLiteral("LOS DE SIEMPRE      "));
    QCOMPARE(p.apuesta(6, 1), int16_t{7});
    QCOMPARE(p.apuesta(1, 1), int16_t{3});
    QCOMPARE(p.apuesta(5, 1), int16_t{54});
    QCOMPARE(p.apuesta(5, 3), int16_t{10});
    QCOMPARE(p.diasTexto(), QStringLiteral("Domingo        "));
    QCOMPARE(p.creacion, oleDesdeFecha(hoy));
    QCOMPARE(p.ultimacuenta, 0.0);
    QCOMPARE(p.aciertos, (std::array<int16_t, 8>{}));
  }

  void registroMultiple() {
    const Pena p = registroPenaNueva({QStringLiteral("M"), 0, {}, {{8, 7, 6, 5, 4, 3, 2, 1}}}, QDate(2021, 3, 10));
    QCOMPARE(p.tipo, int16_t{103});
    for (int i = 1; i <= 8; ++i) QCOMPARE(p.apuesta(i, 1), static_cast<int16_t>(i));
    QCOMPARE(p.apuesta(9, 1), int16_t{0});
    const Pena once =
        registroPenaNueva({QStringLiteral("M"), 4, {}, {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}}}, QDate(2021, 3, 10));
    QCOMPARE(once.tipo, int16_t{106});
    QCOMPARE(once.apuesta(12, 1), int16_t{4});
  }

  void fechasDeCreacion_data() {
    QTest::addColumn<int>("diasPena");    // creation of peña 1 relative to today, or 99 for none
    QTest::addColumn<int>("diasSorteo");  // newest draw relative to today, or 99 for none
    QTest::addColumn<bool>("aceptada");
    QTest::newRow("ficheros vacíos") << 99 << 99 << true;
    QTest::newRow("hoy") << 0 << 0 << true;
    QTest::newRow("peña de mañana") << 1 << 99 << false;
    QTest::newRow("sorteo de mañana") << 99 << 1 << false;
    QTest::newRow("pasado") << -30 << -3 << true;
  }
  void fechasDeCreacion() {
    QFETCH(int, diasPena);
    QFETCH(int, diasSorteo);
    QFETCH(bool, aceptada);
    const QDate hoy(2021, 3, 10);
    std::vector<Pena> penas;
    std::vector<Sorteo> sorteos;
    if (diasPena != 99) penas.push_back(nuevaPena(QStringLiteral("X"), 1, hoy.addDays(diasPena)));
    if (diasSorteo != 99) {
      Sorteo s;
      s.fecha = oleDesdeFecha(hoy.addDays(diasSorteo));
      sorteos.push_back(s);
    }
    QCOMPARE(comprobarFechasCreacion(penas, sorteos, hoy).ok, aceptada);
  }
};

QTEST_GUILESS_MAIN(TestAltaPena)
#include "test_altapena.moc"
