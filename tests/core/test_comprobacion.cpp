#include <QDir>
#include <QRandomGenerator>
#include <QtTest>

#include "base/fechas.h"
#include "checking/comprobacion.h"
#include "checking/cuenta.h"
#include "checking/premios.h"
#include "support/dobles.h"
#include "support/referencia.h"

using namespace Qt::StringLiterals;

using namespace sortilan;

namespace {

Sorteo sorteo(QDate fecha, std::array<int, 5> n, int clave) {
  Sorteo s;
  for (int i = 0; i < 5; ++i) s.numeros[static_cast<size_t>(i)] = static_cast<int16_t>(n[static_cast<size_t>(i)]);
  s.numeros[5] = static_cast<int16_t>(clave);
  s.fecha = oleDesdeFecha(fecha);
  return s;
}

Pena pena(const QString& nombre, QDate creacion, const std::vector<std::vector<int>>& apuestas, int clave) {
  Pena p;
  p.ponerNombre(nombre);
  p.ponerDias(QStringLiteral("Domingo"));
  const bool multiple = apuestas.size() == 1 && apuestas[0].size() > 5;
  p.tipo =
      static_cast<int16_t>(multiple ? 95 + static_cast<int>(apuestas[0].size()) : static_cast<int>(apuestas.size()));
  for (size_t f = 0; f < apuestas.size(); ++f)
    for (size_t i = 0; i < apuestas[f].size(); ++i)
      p.ponerApuesta(static_cast<int>(i) + 1, static_cast<int>(f) + 1, static_cast<int16_t>(apuestas[f][i]));
  p.ponerApuesta(multiple ? static_cast<int>(apuestas[0].size()) + 1 : 6, 1, static_cast<int16_t>(clave));
  p.creacion = oleDesdeFecha(creacion);
  return p;
}

// A row as text: cells joined by "|", a cell in colour followed by its colour.
QString fila(const ListaResultados& l, int i) {
  QStringList celdas;
  for (int k = 0; k < l.columnas(); ++k) {
    QString t = l.texto(i, k);
    if (const auto c = l.color(i, k)) t += QStringLiteral("#%1").arg(*c, 6, 16, QLatin1Char('0'));
    celdas << t;
  }
  return celdas.join(QLatin1Char('|'));
}

QStringList filas(const ListaResultados& l) {
  QStringList r;
  for (int i = 0; i < l.filas(); ++i) r << fila(l, i);
  return r;
}

// The list as the historic code builds it with "Ver sólo si hay premio": rows are added
// and taken away again one by one at position `fila`.
struct Token {
  ClaseFila clase;
  int sorteo, pena, indice;
  bool operator==(const Token&) const = default;
};

std::vector<Token> quitarSobreLaMarcha(const std::vector<Sorteo>& sorteos, const std::vector<Pena>& penas, int n,
                                       bool historico, bool multiples) {
  std::vector<Token> filas;
  int fila = 0;
  auto quitar = [&](int f) { filas.erase(filas.begin() + (f - 1)); };
  const int total = static_cast<int>(sorteos.size());
  for (int r = total - 1; r >= total - n; --r) {
    const Sorteo& s = sorteos[static_cast<size_t>(r)];
    for (int p = 0; p < static_cast<int>(penas.size()); ++p) {
      const Pena& pe = penas[static_cast<size_t>(p)];
      const bool multiple = pe.tipo >= 101 && pe.tipo <= 106;
      if (multiple != multiples || !(pe.creacion <= s.fecha || historico)) continue;
      if (pe.tipo < 1 || (pe.tipo > 24 && !multiple)) continue;
      fila += 2;
      filas.push_back({ClaseFila::Separador, r, p, 0});
      filas.push_back({ClaseFila::Cabecera, r, p, 0});
      fila += 1;
      filas.push_back({ClaseFila::Fecha, r, p, 0});
      bool premioPena = false;
      const int apuestas = multiple ? 1 : pe.tipo;
      const int numeros = multiple ? pe.tipo - 95 : 5;
      int anterior = 0;
      for (int b = 1; b <= apuestas; ++b) {
        fila += 1;
        if (!multiple && b != 1 && anterior < 2) {
          fila -= 1;
          quitar(fila);
        }
        int h = 0;
        for (int i = 1; i <= numeros; ++i)
          for (int j = 1; j <= 5; ++j)
            if (pe.apuesta(i, b) == s.numero(j)) ++h;
        filas.push_back({ClaseFila::Apuesta, r, p, b - 1});
        if (h >= 2) {
          premioPena = true;
          if (multiple) {
            const auto lineas = desglose(numeros, h);
            for (size_t j = 1; j < lineas.size(); ++j) {
              fila += 1;
              filas.push_back({ClaseFila::Continuacion, r, p, static_cast<int>(j)});
            }
          }
        }
        if (b == apuestas) {
          if (h < 2) {
            quitar(fila);
            fila -= 1;
          }
          if (!premioPena) {
            quitar(fila);
            quitar(fila - 1);
            quitar(fila - 2);
            fila -= 3;
          }
        }
        anterior = h;
      }
    }
  }
  return filas;
}

std::vector<Token> tokens(const ListaResultados& l) {
  std::vector<Token> t;
  for (int i = 0; i < l.filas(); ++i) {
    const FilaResultado& f = l.fila(i);
    t.push_back({f.clase, f.sorteo, f.pena, f.indice});
  }
  return t;
}

const QDate kDia1(2021, 2, 28);
const QDate kDia2(2021, 3, 7);

}  // namespace

class TestComprobacion : public QObject {
  Q_OBJECT

 private slots:
  void ejemploSencilla() {
    Comprobacion c({sorteo(kDia2, {12, 25, 33, 40, 54}, 7)},
                   {pena(QStringLiteral("AMIGOS"), kDia1, {{3, 12, 25, 40, 54}, {1, 2, 3, 4, 5}}, 7)});
    AvisoPremio aviso;
    const auto l = c.compruebapenas(1, {}, aviso);
    QCOMPARE(
        filas(*l),
        QStringList({
            u"|||||||"_s,
            u"|||||||PEÑA AMIGOS              #800000"_s,
            u"|||||||07/03/2021 Domingo#008000"_s,
            u"|3|12#ff0000|25#ff0000|40#ff0000|54#ff0000|7#ff0000|¡¡ Premio !! Has acertado 4 + Nº.Clave.#400040"_s,
            u"|1|2|3|4|5||"_s,
        }));
    QVERIFY(!c.hayMultiples());
    QCOMPARE(aviso.avisopremio, 0);  // not after a download: no banner
  }

  void ejemploMultiple() {
    Comprobacion c({sorteo(kDia2, {3, 9, 20, 41, 50}, 4)},
                   {pena(QStringLiteral("MULTI"), kDia1, {{3, 9, 11, 20, 33, 41, 50, 52}}, 4)});
    AvisoPremio aviso;
    c.compruebapenas(1, {}, aviso);
    QVERIFY(c.hayMultiples());
    const auto l = c.compruebamultiple(1, {}, aviso);
    QCOMPARE(filas(*l), QStringList({
                            u"|||||||||||||"_s,
                            u"|||||||||||||PEÑA MULTI               #800000"_s,
                            u"|||||||||||||07/03/2021 Domingo#008000"_s,
                            u"|3#ff0000|9#ff0000|11|20#ff0000|33|41#ff0000|50#ff0000|52|.|.|.|4#ff0000|"_s
                            u"¡¡ Premio !! Hay 10 apuestas de 2 + Clave.#00c000"_s,
                            u"|||||||||||||¡¡ Premio !! Hay 30 apuestas de 3 + Clave.#0000ff"_s,
                            u"|||||||||||||¡¡ Premio !! Hay 15 apuestas de 4 + Clave.#400040"_s,
                            u"|||||||||||||¡¡ Premio !! Hay 1 apuesta de 5 + Clave.#ff0000"_s,
                        }));
    const auto a = premiosDelSorteo(c.penas()[0], sorteo(kDia2, {3, 9, 20, 41, 50}, 4));
    QCOMPARE(QList<int>(a.begin(), a.end()), QList<int>({0, 10, 0, 30, 0, 15, 0, 1}));
  }

  void casosDeUnaPena_data() {
    QTest::addColumn<QDate>("creacion");
    QTest::addColumn<bool>("historico");
    QTest::addColumn<bool>("soloPremios");
    QTest::addColumn<std::vector<std::vector<int>>>("apuestas");
    QTest::addColumn<int>("clave");
    QTest::addColumn<QStringList>("comentarios");  // column "Comentario" of each row
    QTest::addColumn<QList<int16_t>>("aciertos");
    const std::vector<std::vector<int>> tres = {{1, 2, 3, 4, 5}, {12, 25, 1, 2, 3}, {1, 2, 3, 4, 6}};
    const QList<int16_t> ninguno(8, 0);
    const QList<int16_t> uno8 = {1, 0, 0, 0, 0, 0, 0, 0};
    const QString cab = QStringLiteral("PEÑA ") + QStringLiteral("P").leftJustified(20);
    const QString fec = QStringLiteral("07/03/2021 Domingo");
    const QString dos = QStringLiteral("¡¡ Premio !! Has acertado 2 números.");
    QTest::newRow("creada después") << kDia2.addDays(1) << false << false << tres << 0 << QStringList() << ninguno;
    QTest::newRow("creada después, histórico") << kDia2.addDays(1) << true << false << tres << 0
                                               << QStringList({u""_s, cab, fec, u""_s, dos, u""_s}) << ninguno;
    QTest::newRow("creada el mismo día") << kDia2 << false << false << tres << 0
                                         << QStringList({u""_s, cab, fec, u""_s, dos, u""_s}) << uno8;
    QTest::newRow("sólo premios: la segunda de tres")
        << kDia1 << false << true << tres << 0 << QStringList({u""_s, cab, fec, dos}) << uno8;
    QTest::newRow("sólo premios, sin premio")
        << kDia1 << false << true << std::vector<std::vector<int>>{{1, 2, 3, 4, 12}} << 7 << QStringList() << ninguno;
    QTest::newRow("un acierto y la clave: nada")
        << kDia1 << false << false << std::vector<std::vector<int>>{{1, 2, 3, 4, 12}} << 7
        << QStringList({u""_s, cab, fec, u""_s}) << ninguno;
    QTest::newRow("clave en todas las premiadas")
        << kDia1 << false << false << std::vector<std::vector<int>>{{12, 25, 1, 2, 3}, {12, 25, 33, 2, 3}} << 7
        << QStringList({u""_s, cab, fec, u"¡¡ Premio !! Has acertado 2 + Nº.Clave."_s,
                        u"¡¡ Premio !! Has acertado 3 + Nº.Clave."_s})
        << QList<int16_t>({0, 1, 0, 1, 0, 0, 0, 0});
    QTest::newRow("múltiple sin premio, sólo premios")
        << kDia1 << false << true << std::vector<std::vector<int>>{{1, 2, 3, 4, 5, 12}} << 7 << QStringList()
        << ninguno;
    QTest::newRow("múltiple de 6, 2 aciertos")
        << kDia1 << false << false << std::vector<std::vector<int>>{{1, 2, 3, 4, 12, 25}} << 0
        << QStringList({u""_s, cab, fec, u"¡¡ Premio !! Hay 4 apuestas de 2 aciertos."_s})
        << QList<int16_t>({4, 0, 0, 0, 0, 0, 0, 0});
    QTest::newRow("múltiple de 6, 4 aciertos")
        << kDia1 << false << false << std::vector<std::vector<int>>{{1, 12, 25, 33, 40, 50}} << 0
        << QStringList({u""_s, cab, fec, u"¡¡ Premio !! Hay 4 apuestas de 3 aciertos."_s,
                        u"¡¡ Premio !! Hay 2 apuestas de 4 aciertos."_s})
        << QList<int16_t>({0, 0, 4, 0, 2, 0, 0, 0});
    QTest::newRow("múltiple de 7, 5 aciertos")
        << kDia1 << false << false << std::vector<std::vector<int>>{{1, 2, 12, 25, 33, 40, 54}} << 0
        << QStringList({u""_s, cab, fec, u"¡¡ Premio !! Hay 10 apuestas de 3 aciertos."_s,
                        u"¡¡ Premio !! Hay 10 apuestas de 4 aciertos."_s,
                        u"¡¡ Premio !! Hay 1 apuesta de 5 aciertos."_s})
        << QList<int16_t>({0, 0, 10, 0, 10, 0, 1, 0});
    QTest::newRow("múltiple de 11, 3 aciertos y clave")
        << kDia1 << false << false << std::vector<std::vector<int>>{{1, 2, 3, 4, 5, 6, 7, 8, 12, 25, 33}} << 7
        << QStringList({u""_s, cab, fec, u"¡¡ Premio !! Hay 168 apuestas de 2 + Clave."_s,
                        u"¡¡ Premio !! Hay 28 apuestas de 3 + Clave."_s})
        << QList<int16_t>({0, 168, 0, 28, 0, 0, 0, 0});
  }
  void casosDeUnaPena() {
    QFETCH(QDate, creacion);
    QFETCH(bool, historico);
    QFETCH(bool, soloPremios);
    QFETCH(std::vector<std::vector<int>>, apuestas);
    QFETCH(int, clave);
    QFETCH(QStringList, comentarios);
    QFETCH(QList<int16_t>, aciertos);
    Comprobacion c({sorteo(kDia2, {12, 25, 33, 40, 54}, 7)}, {pena(QStringLiteral("P"), creacion, apuestas, clave)});
    AvisoPremio aviso;
    const Casillas casillas{historico, soloPremios};
    auto l = c.compruebapenas(1, casillas, aviso);
    if (c.hayMultiples()) l = c.compruebamultiple(1, casillas, aviso);
    QStringList obtenidos;
    for (int i = 0; i < l->filas(); ++i) obtenidos << l->texto(i, l->columnas() - 1);
    QCOMPARE(obtenidos, comentarios);
    // The counting of the same draw, whatever the view shows.
    std::vector<Pena> ps = c.penas();
    contarPremios(ps, {sorteo(kDia2, {12, 25, 33, 40, 54}, 7)});
    const auto& a = ps[0].aciertos;
    QCOMPARE(QList<int16_t>(a.begin(), a.end()), aciertos);
    QCOMPARE(ps[0].ultimacuenta, creacion <= kDia2 ? oleDesdeFecha(kDia2) : 0.0);
  }

  void multipleDeSeisYDeOnceColumnas() {
    Comprobacion c({sorteo(kDia2, {12, 25, 33, 40, 54}, 7)},
                   {pena(QStringLiteral("A"), kDia1, {{1, 2, 3, 4, 5, 6}}, 3),
                    pena(QStringLiteral("B"), kDia1, {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}}, 9)});
    AvisoPremio aviso;
    const auto l = c.compruebamultiple(1, {}, aviso);
    QCOMPARE(l->columnas(), 14);
    QCOMPARE(fila(*l, 3), QStringLiteral("|1|2|3|4|5|6|.|.|.|.|.|3|"));
    QCOMPARE(fila(*l, 7), QStringLiteral("|1|2|3|4|5|6|7|8|9|10|11|9|"));
  }

  void sinSorteosNiPenas() {
    AvisoPremio aviso;
    Comprobacion sinSorteos({}, {pena(QStringLiteral("A"), kDia1, {{1, 2, 3, 4, 5, 6}}, 3)});
    QCOMPARE(sinSorteos.compruebapenas(1, {}, aviso)->filas(), 0);
    QVERIFY(!sinSorteos.hayMultiples());
    Comprobacion sinPenas({sorteo(kDia2, {12, 25, 33, 40, 54}, 7)}, {});
    QCOMPARE(sinPenas.compruebapenas(1, {}, aviso)->filas(), 0);
  }

  void ordenDeLosBloques() {
    const std::vector<Sorteo> s = {sorteo(kDia1.addDays(-7), {1, 2, 3, 4, 5}, 0), sorteo(kDia1, {1, 2, 3, 4, 5}, 0),
                                   sorteo(kDia2, {1, 2, 3, 4, 5}, 0)};
    Comprobacion c(s, {pena(QStringLiteral("A"), kDia1.addDays(-30), {{6, 7, 8, 9, 10}}, 0),
                       pena(QStringLiteral("B"), kDia1.addDays(-30), {{6, 7, 8, 9, 10}}, 0)});
    AvisoPremio aviso;
    const auto l = c.compruebapenas(3, {}, aviso);
    QStringList cabeceras;
    for (int i = 0; i < l->filas(); ++i)
      if (l->fila(i).clase != ClaseFila::Apuesta && l->fila(i).clase != ClaseFila::Separador)
        cabeceras << l->texto(i, 7).trimmed();
    QCOMPARE(cabeceras, QStringList({u"PEÑA A"_s, u"07/03/2021 Domingo"_s, u"PEÑA B"_s, u"07/03/2021 Domingo"_s,
                                     u"PEÑA A"_s, u"28/02/2021 Domingo"_s, u"PEÑA B"_s, u"28/02/2021 Domingo"_s,
                                     u"PEÑA A"_s, u"21/02/2021 Domingo"_s, u"PEÑA B"_s, u"21/02/2021 Domingo"_s}));
  }

  // The banner after a download: simple prizes first, then the multiples join in.
  void avisoDePremio_data() {
    QTest::addColumn<bool>("trasDescarga");
    QTest::addColumn<int>("antes");
    QTest::addColumn<bool>("timerAntes");
    QTest::addColumn<bool>("sencilla");
    QTest::addColumn<bool>("multiple");
    QTest::addColumn<int>("despues");
    QTest::addColumn<bool>("timerDespues");
    QTest::newRow("sin descarga") << false << 0 << false << true << true << 0 << false;
    QTest::newRow("sencilla") << true << 0 << false << true << false << 1 << true;
    QTest::newRow("múltiple") << true << 0 << false << false << true << 2 << true;
    QTest::newRow("ambas") << true << 0 << false << true << true << 3 << true;
    QTest::newRow("múltiple tras sencilla ya avisada") << true << 1 << true << false << true << 3 << true;
    QTest::newRow("sencilla con el aviso en marcha") << true << 2 << true << true << false << 2 << true;
    QTest::newRow("ninguna") << true << 0 << false << false << false << 0 << false;
  }
  void avisoDePremio() {
    QFETCH(bool, trasDescarga);
    QFETCH(int, antes);
    QFETCH(bool, timerAntes);
    QFETCH(bool, sencilla);
    QFETCH(bool, multiple);
    QFETCH(int, despues);
    QFETCH(bool, timerDespues);
    const std::vector<int> gana = {12, 25, 1, 2, 3}, pierde = {1, 2, 3, 4, 5};
    const std::vector<int> multiGana = {12, 25, 1, 2, 3, 4}, multiPierde = {1, 2, 3, 4, 5, 6};
    Comprobacion c({sorteo(kDia2, {12, 25, 33, 40, 54}, 7)},
                   {pena(QStringLiteral("S"), kDia1, {sencilla ? gana : pierde}, 0),
                    pena(QStringLiteral("M"), kDia1, {multiple ? multiGana : multiPierde}, 0)});
    AvisoPremio aviso{antes, timerAntes, trasDescarga};
    c.compruebapenas(1, {}, aviso);
    c.compruebamultiple(1, {}, aviso);
    QCOMPARE(aviso.avisopremio, despues);
    QCOMPARE(aviso.parpadeo, timerDespues);
  }

  // Damaged kinds of bet: no rows, no counting, the record is left as it was.
  void tipoCorrupto_data() {
    QTest::addColumn<int>("tipo");
    for (int t : {0, -3, 25, 99, 100, 107, 112, 32767}) QTest::addRow("%d", t) << t;
  }
  void tipoCorrupto() {
    QFETCH(int, tipo);
    Pena mala = pena(QStringLiteral("MALA"), kDia1, {{12, 25, 33, 40, 54}}, 7);
    mala.tipo = static_cast<int16_t>(tipo);
    for (int f = 1; f <= 24; ++f)
      for (int i = 1; i <= 12; ++i) mala.ponerApuesta(i, f, 12);
    const Pena buena = pena(QStringLiteral("BUENA"), kDia1, {{12, 25, 1, 2, 3}}, 0);
    Comprobacion c({sorteo(kDia2, {12, 25, 33, 40, 54}, 7)}, {mala, buena});
    AvisoPremio aviso;
    const auto s = c.compruebapenas(1, {true, false}, aviso);
    const auto m = c.compruebamultiple(1, {true, false}, aviso);
    QCOMPARE(s->filas(), 4);  // only the good peña
    QCOMPARE(m->filas(), 0);
    std::vector<Pena> ps = {mala, buena};
    QVERIFY(contarPremios(ps, {sorteo(kDia2, {12, 25, 33, 40, 54}, 7)}));
    QCOMPARE(ps[0], mala);  // never rewritten
    QCOMPARE(ps[1].aciertos[0], int16_t{1});
  }

  void contadorEnElTope() {
    Pena p = pena(QStringLiteral("LLENA"), kDia1, {{12, 25, 33, 1, 2, 3, 4, 5, 6, 7, 8}}, 0);
    p.aciertos[0] = 32700;
    std::vector<Pena> ps = {p};
    contarPremios(ps, {sorteo(kDia2, {12, 25, 33, 40, 54}, 7)});
    QCOMPARE(ps[0].aciertos[0], int16_t{32767});
    QCOMPARE(ps[0].aciertos[2], int16_t{28});
  }

  // "Ver sólo si hay premio" keeps exactly the rows that adding and removing as you go leaves.
  void soloPremiosComoAlQuitarSobreLaMarcha() {
    const std::vector<Sorteo> s = prueba::historiaReal();
    QRandomGenerator g(7);
    const std::vector<Pena> penas = prueba::penasAlAzar(g, s, 40);
    for (bool historico : {false, true})
      for (int n : {1, 30, 400}) {
        Comprobacion c(s, penas);
        AvisoPremio aviso;
        const Casillas casillas{historico, true};
        const auto sencillas = c.compruebapenas(n, casillas, aviso);
        const auto multiples = c.compruebamultiple(n, casillas, aviso);
        QVERIFY(tokens(*sencillas) == quitarSobreLaMarcha(s, penas, n, historico, false));
        QVERIFY(tokens(*multiples) == quitarSobreLaMarcha(s, penas, n, historico, true));
      }
  }

  // Through the files: the lists are built and nothing is written.
  void comprobarNoEscribe() {
    prueba::Entorno e;
    e.escribir(QStringLiteral("numeros.dat"),
               sorteo(kDia1, {1, 2, 3, 4, 5}, 0).codificar() + sorteo(kDia2, {12, 25, 33, 40, 54}, 7).codificar());
    const QByteArray penas = pena(QStringLiteral("NUEVA"), kDia1, {{12, 25, 1, 2, 3}}, 0).codificar() +
                             pena(QStringLiteral("MULTI"), kDia1, {{12, 25, 1, 2, 3, 4}}, 0).codificar();
    e.escribir(QStringLiteral("apuestas.dat"), penas);
    Almacen a;
    QVERIFY(a.abrir(e.carpeta.path()));
    AvisoPremio aviso;
    const ResultadoComprobacion r = compruebapenas(a, 2, {}, aviso);
    QVERIFY(r.sencillas && r.sencillas->filas() > 0);
    QVERIFY(r.multiples && r.multiples->filas() > 0);
    QCOMPARE(e.leer(QStringLiteral("apuestas.dat")), penas);
    QCOMPARE(QDir(e.carpeta.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
  }
};

QTEST_GUILESS_MAIN(TestComprobacion)
#include "test_comprobacion.moc"
