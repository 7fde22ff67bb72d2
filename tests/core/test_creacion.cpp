#include <QDir>
#include <QRegularExpression>
#include <QtTest>
#include <set>

#include "base/fechas.h"
#include "checking/altapena.h"
#include "creation/creacion.h"
#include "operations/penas.h"
#include "session/errorpermiso.h"
#include "support/dobles.h"

using namespace sortilan;
using prueba::Entorno;

namespace {

int celda(int numero) { return numero - 1; }
int celdaClave(int clave) { return Creacion::kCeldasNumero + clave; }

void apostar(Creacion& c, std::initializer_list<int> numeros) {
  for (int n : numeros) c.pulsar(celda(n));
}

QByteArray desdeHex(const QString& nombre) {
  QFile f(prueba::datoPrueba(QStringLiteral("creacion/") + nombre));
  if (!f.open(QIODevice::ReadOnly)) return {};
  return QByteArray::fromHex(f.readAll().simplified().replace(' ', ""));
}

Sorteo sorteoDel(QDate d) {
  Sorteo s;
  s.numeros = {3, 12, 25, 40, 54, 7, 0, 0};
  s.fecha = oleDesdeFecha(d);
  return s;
}

}  // namespace

namespace {
// The window stores a peña through the creation operation.
Creacion::GuardarPena guardarEn(Sesion& s) {
  return [&s](const Pena& p) {
    const operaciones::Alta a = operaciones::crearPena(s.almacen(), p, plataforma::hoy());
    return std::pair{a.resultado, a.registro};
  };
}
}  // namespace

class PruebaCreacion : public QObject {
  Q_OBJECT

 private slots:
  void estadoInicial_data();
  void estadoInicial();
  void claveYPrimeraApuesta();
  void marcarYDesmarcar();
  void limiteDeApuestas_data();
  void limiteDeApuestas();
  void borrarVuelveAtras();
  void grabarRechazado_data();
  void grabarRechazado();
  void soloNombre();
  void registroGrabado_data();
  void registroGrabado();
  void grabarLimpiaYAnade();
  void grabarSinPermiso();
  void aleatorioSinRepetidos_data();
  void aleatorioSinRepetidos();
  void aleatorioClave();
  void nombre_data();
  void nombre();
};

void PruebaCreacion::estadoInicial_data() {
  QTest::addColumn<int>("tipo");
  QTest::addColumn<int>("numeros");
  QTest::addColumn<QString>("banner");
  QTest::newRow("sencilla") << 0 << 5 << "INTRODUZCA EL NOMBRE Y 5 NÚMEROS:";
  QTest::newRow("multiple 6") << 1 << 6 << "INTRODUZCA EL NOMBRE Y 6 NÚMEROS:";
  QTest::newRow("multiple 11") << 6 << 11 << "INTRODUZCA EL NOMBRE Y 11 NÚMEROS:";
}

void PruebaCreacion::estadoInicial() {
  QFETCH(int, tipo);
  QFETCH(int, numeros);
  QFETCH(QString, banner);
  Creacion c(tipo);
  QCOMPARE(c.numerosapuesta(), numeros);
  QCOMPARE(c.indicacion(), banner);
  QCOMPARE(c.numeroApuesta(), QStringLiteral("1"));
  QVERIFY(c.panelClave());
  QVERIFY(!c.grabarActivo());
  QVERIFY(!c.borrarActivo());
  QVERIFY(c.lineas().isEmpty());
  // A number cannot be marked before the key is chosen.
  c.pulsar(celda(10));
  QVERIFY(!c.marcada(celda(10)));
}

void PruebaCreacion::claveYPrimeraApuesta() {
  Entorno e;
  Creacion c(0);
  c.activar();
  c.pulsar(celdaClave(7));
  QVERIFY(!c.panelClave());
  QCOMPARE(c.lineas(), QStringList{QStringLiteral("Número clave:   7")});
  QCOMPARE(c.trabajo().apuesta(6, 1), 7);
  // A second key click is not a second key.
  c.pulsar(celdaClave(3));
  QCOMPARE(c.lineas().size(), 1);
  QVERIFY(!c.grabarActivo());  // key chosen, no complete bet yet

  apostar(c, {40, 3, 25, 7, 12});  // any order: the line is ascending
  QCOMPARE(c.lineas().last(), QStringLiteral(" 3- 7-12-25-40"));
  QCOMPARE(c.lineas().last().size(), 14);
  QCOMPARE(c.napuestas(), 1);
  QCOMPARE(c.marcados(), 0);
  QCOMPARE(c.numeroApuesta(), QStringLiteral("2"));
  QVERIFY(c.grabarActivo());
  QVERIFY(c.borrarActivo());
  for (int n : {3, 7, 12, 25, 40}) QVERIFY(!c.marcada(celda(n)));
  QCOMPARE(c.trabajo().apuestas[0][0], 3);
  QCOMPARE(c.trabajo().apuestas[0][4], 40);
  QVERIFY(e.mensajes->vistos.isEmpty());
}

void PruebaCreacion::marcarYDesmarcar() {
  Entorno e;
  Creacion c(1);  // 6 numbers
  c.pulsar(celdaClave(0));
  apostar(c, {1, 2, 3});
  QCOMPARE(c.marcados(), 3);
  c.pulsar(celda(2));
  QVERIFY(!c.marcada(celda(2)));
  QCOMPARE(c.marcados(), 2);
  apostar(c, {54, 50, 10, 9});
  QCOMPARE(c.lineas().last(), QStringLiteral(" 1- 3- 9-10-50-54"));
  QCOMPARE(c.trabajo().apuesta(7, 1), 0);  // key at position 7 of a 6-number multiple
}

void PruebaCreacion::limiteDeApuestas_data() {
  QTest::addColumn<int>("tipo");
  QTest::addColumn<int>("limite");
  QTest::addColumn<QString>("mensaje");
  QTest::newRow("sencillas") << 0 << 24 << Creacion::kLimiteSencillas;
  QTest::newRow("multiple 6") << 1 << 1 << Creacion::kLimiteMultiple;
  QTest::newRow("multiple 11") << 6 << 1 << Creacion::kLimiteMultiple;
}

void PruebaCreacion::limiteDeApuestas() {
  QFETCH(int, tipo);
  QFETCH(int, limite);
  QFETCH(QString, mensaje);
  Entorno e;
  Creacion c(tipo);
  c.pulsar(celdaClave(5));
  for (int i = 0; i < limite; ++i) c.aleatorio();
  QCOMPARE(c.napuestas(), limite);
  QCOMPARE(c.lineas().size(), limite + 1);
  QVERIFY(e.mensajes->vistos.isEmpty());

  c.pulsar(celda(30));  // one click beyond the limit
  c.aleatorio();        // and one random bet
  QCOMPARE(e.mensajes->vistos.size(), 2);
  for (const auto& m : e.mensajes->vistos) {
    QCOMPARE(m.texto, mensaje);
    QCOMPARE(m.titulo, QStringLiteral("Error"));
    QCOMPARE(m.icono, plataforma::Icono::Informacion);
  }
  QVERIFY(!c.marcada(celda(30)));
  QCOMPARE(c.napuestas(), limite);
  QCOMPARE(c.lineas().size(), limite + 1);
}

void PruebaCreacion::borrarVuelveAtras() {
  Entorno e;
  Creacion c(0);
  c.pulsar(celdaClave(2));
  apostar(c, {1, 2, 3, 4, 5});
  apostar(c, {6, 7, 8, 9, 10});
  QCOMPARE(c.lineas().size(), 3);

  c.borrar();
  QCOMPARE(c.lineas().size(), 2);
  QCOMPARE(c.napuestas(), 1);
  QCOMPARE(c.numeroApuesta(), QStringLiteral("2"));
  QVERIFY(c.grabarActivo());
  // The next bet takes the row of the removed one.
  apostar(c, {11, 12, 13, 14, 15});
  QCOMPARE(c.trabajo().apuestas[1][0], 11);

  c.borrar();
  c.borrar();
  QCOMPARE(c.napuestas(), 0);
  QCOMPARE(c.lineas(), QStringList{QStringLiteral("Número clave:   2")});
  QVERIFY(!c.grabarActivo());
  QVERIFY(!c.panelClave());
  QVERIFY(c.borrarActivo());

  c.borrar();  // the key line: back to the key panel
  QVERIFY(c.lineas().isEmpty());
  QVERIFY(c.panelClave());
  QVERIFY(!c.grabarActivo());
  QVERIFY(!c.borrarActivo());
  QCOMPARE(c.numeroApuesta(), QStringLiteral("1"));
  c.borrar();  // nothing left: harmless
  QVERIFY(c.lineas().isEmpty());

  c.pulsar(celdaClave(9));
  QCOMPARE(c.lineas(), QStringList{QStringLiteral("Número clave:   9")});
  QCOMPARE(c.trabajo().apuesta(6, 1), 9);
}

void PruebaCreacion::grabarRechazado_data() {
  QTest::addColumn<QString>("nombre");
  QTest::addColumn<int>("diasPena");    // creation of peña 1 relative to today; 0 = no peña
  QTest::addColumn<int>("diasSorteo");  // newest draw relative to today; 0 = no draw
  QTest::addColumn<QString>("mensaje");
  QTest::newRow("sin nombre") << "" << 0 << 0 << Creacion::kSinNombre;
  QTest::newRow("nombre en blanco") << "   " << 0 << 0 << Creacion::kSinNombre;
  QTest::newRow("peña de mañana") << "X" << 1 << 0 << QString::fromUtf8(kPenaPosterior);
  QTest::newRow("sorteo de mañana") << "X" << -30 << 4 << QString::fromUtf8(kSorteoPosterior);
}

void PruebaCreacion::grabarRechazado() {
  QFETCH(QString, nombre);
  QFETCH(int, diasPena);
  QFETCH(int, diasSorteo);
  QFETCH(QString, mensaje);
  Entorno e;
  const QDate hoy = e.reloj->dia;
  if (diasPena != 0)
    e.escribir(QStringLiteral("apuestas.dat"),
               prueba::penaConApuestas(QStringLiteral("OTRA"), 1, hoy.addDays(diasPena)).codificar());
  if (diasSorteo != 0) e.escribir(QStringLiteral("numeros.dat"), sorteoDel(hoy.addDays(diasSorteo)).codificar());
  const QByteArray antes = e.leer(QStringLiteral("apuestas.dat"));
  Sesion s;
  sortilan::prueba::exigir(s.abrir(e.carpeta.path()));
  s.cargasorteos(hoy);

  Creacion c(0);
  c.pulsar(celdaClave(1));
  apostar(c, {1, 2, 3, 4, 5});
  c.cambiarNombre(nombre);
  QVERIFY(!c.grabar(s, guardarEn(s)));
  QCOMPARE(e.mensajes->vistos.size(), 1);
  QCOMPARE(e.mensajes->vistos[0].texto, mensaje);
  QCOMPARE(e.mensajes->vistos[0].titulo, QStringLiteral("Error"));
  QCOMPARE(e.mensajes->vistos[0].icono, plataforma::Icono::Exclamacion);
  QCOMPARE(c.lineas().size(), 2);  // the entry is kept
  QCOMPARE(e.leer(QStringLiteral("apuestas.dat")), antes);
}

void PruebaCreacion::soloNombre() {
  Entorno e;
  Sesion s;
  sortilan::prueba::exigir(s.abrir(e.carpeta.path()));
  s.cargasorteos(e.reloj->dia);
  Creacion c(0);
  c.activar();
  c.pulsar(celdaClave(1));
  apostar(c, {1, 2, 3, 4, 5});
  QVERIFY(!c.grabar(s, guardarEn(s)));
  QVERIFY(c.solonombre());
  QVERIFY(!c.borrarActivo());
  QVERIFY(!c.aleatorioActivo());

  c.pulsar(celda(20));
  QCOMPARE(e.mensajes->vistos.last().texto, Creacion::kSoloNombre);
  QCOMPARE(e.mensajes->vistos.last().icono, plataforma::Icono::Informacion);
  QVERIFY(!c.marcada(celda(20)));
  c.aleatorio();
  QCOMPARE(c.napuestas(), 1);

  c.cambiarNombre(QStringLiteral("peña"));
  QVERIFY(c.grabar(s, guardarEn(s)));
  QVERIFY(c.aleatorioActivo());
  QVERIFY(!c.solonombre());
}

void PruebaCreacion::registroGrabado_data() {
  QTest::addColumn<int>("tipo");
  QTest::addColumn<int>("clave");
  QTest::addColumn<QString>("nombre");
  QTest::addColumn<QList<QList<int>>>("apuestas");
  QTest::addColumn<QString>("golden");
  QTest::newRow("sencilla de 3 apuestas, clave 7")
      << 0 << 7 << "los amigos" << QList<QList<int>>{{25, 3, 40, 7, 12}, {5, 4, 3, 2, 1}, {50, 51, 52, 53, 54}}
      << "sencilla_3_clave_7.hex";
  QTest::newRow("múltiple de 8, clave 0")
      << 3 << 0 << "Multiple ocho" << QList<QList<int>>{{54, 5, 10, 48, 15, 20, 33, 41}} << "multiple_8_clave_0.hex";
}

void PruebaCreacion::registroGrabado() {
  QFETCH(int, tipo);
  QFETCH(int, clave);
  QFETCH(QString, nombre);
  QFETCH(QList<QList<int>>, apuestas);
  QFETCH(QString, golden);
  Entorno e;
  Sesion s;
  sortilan::prueba::exigir(s.abrir(e.carpeta.path()));
  s.cargasorteos(e.reloj->dia);
  Creacion c(tipo);
  c.activar();
  c.pulsar(celdaClave(clave));
  for (const auto& a : apuestas)
    for (int n : a) c.pulsar(celda(n));
  c.cambiarNombre(nombre);
  QVERIFY(c.grabar(s, guardarEn(s)));
  const QByteArray esperado = desdeHex(golden);
  QCOMPARE(esperado.size(), Pena::kTamano);
  QCOMPARE(e.leer(QStringLiteral("apuestas.dat")).toHex(' '), esperado.toHex(' '));
  QVERIFY(e.mensajes->vistos.isEmpty());
}

void PruebaCreacion::grabarLimpiaYAnade() {
  Entorno e;
  e.escribir(QStringLiteral("numeros.dat"), sorteoDel(e.reloj->dia.addDays(-3)).codificar());
  Sesion s;
  sortilan::prueba::exigir(s.abrir(e.carpeta.path()));
  s.cargasorteos(e.reloj->dia);
  QCOMPARE(s.proximapena, 0);
  Creacion c(0);
  c.pulsar(celdaClave(4));
  for (int i = 0; i < 3; ++i) c.aleatorio();
  c.cambiarNombre(QStringLiteral("PRIMERA"));
  apostar(c, {1, 2});  // a half-entered bet is not part of the peña
  QVERIFY(c.grabar(s, guardarEn(s)));
  QCOMPARE(s.proximapena, 2);
  // Cleared for the next peña of the same type.
  QVERIFY(c.panelClave());
  QVERIFY(c.lineas().isEmpty());
  QVERIFY(c.nombre().isEmpty());
  QVERIFY(!c.grabarActivo());
  QVERIFY(!c.marcada(celda(1)));
  QCOMPARE(c.marcados(), 0);

  c.pulsar(celdaClave(8));
  apostar(c, {10, 20, 30, 40, 50});
  c.cambiarNombre(QStringLiteral("SEGUNDA"));
  QVERIFY(c.grabar(s, guardarEn(s)));
  QCOMPARE(s.proximapena, 3);
  const std::vector<Pena> penas = s.almacen().penas().leerTodos();
  QCOMPARE(penas.size(), size_t{2});
  QCOMPARE(penas[0].nombreRecortado(), QStringLiteral("PRIMERA"));
  QCOMPARE(penas[0].tipo, 3);
  QCOMPARE(penas[1].nombreRecortado(), QStringLiteral("SEGUNDA"));
  QCOMPARE(penas[1].tipo, 1);
  QCOMPARE(penas[1].clave(), 8);
  QCOMPARE(penas[1].apuesta(1, 2), 0);  // nothing left over from the first peña
  QCOMPARE(penas[1].creacion, oleDesdeFecha(e.reloj->dia));
}

void PruebaCreacion::grabarSinPermiso() {
  Entorno e;
  // A folder where the peña file should be: it cannot be read, nor written over.
  QVERIFY(QDir(e.carpeta.path()).mkdir(QStringLiteral("apuestas.dat")));
  Sesion s;
  sortilan::prueba::exigir(s.abrir(e.carpeta.path()));
  s.cargasorteos(e.reloj->dia);
  Creacion c(0);
  c.pulsar(celdaClave(4));
  apostar(c, {1, 2, 3, 4, 5});
  c.cambiarNombre(QStringLiteral("NADA"));
  QVERIFY(!c.grabar(s, guardarEn(s)));
  // A folder is no peña file: said as it is, not as a permission problem.
  QCOMPARE(e.mensajes->vistos.size(), 1);
  QCOMPARE(e.mensajes->vistos[0].titulo, QStringLiteral("Error"));
  QVERIFY2(e.mensajes->vistos[0].texto.contains(QStringLiteral("apuestas.dat no es un fichero normal")),
           qPrintable(e.mensajes->vistos[0].texto));
  QCOMPARE(c.lineas().size(), 2);
  QCOMPARE(c.nombre(), QStringLiteral("NADA"));
}

void PruebaCreacion::aleatorioSinRepetidos_data() {
  QTest::addColumn<int>("tipo");
  for (int t = 0; t <= 6; ++t) QTest::newRow(qPrintable(QString::number(t))) << t;
}

void PruebaCreacion::aleatorioSinRepetidos() {
  QFETCH(int, tipo);
  Entorno e;
  Creacion c(tipo);
  const QRegularExpression forma(QStringLiteral("^( \\d|\\d\\d)(-( \\d|\\d\\d))*$"));
  std::set<int> vistos;
  for (int vuelta = 0; vuelta < 300; ++vuelta) {
    while (!c.lineas().isEmpty()) c.borrar();
    c.pulsar(celdaClave(0));
    c.aleatorio();
    QCOMPARE(c.napuestas(), 1);
    const QString linea = c.lineas().last();
    QVERIFY2(forma.match(linea).hasMatch(), qPrintable(linea));
    const QStringList partes = linea.split(QLatin1Char('-'));
    QCOMPARE(partes.size(), c.numerosapuesta());
    int anterior = 0;
    for (int i = 0; i < partes.size(); ++i) {
      const int n = partes[i].trimmed().toInt();
      QVERIFY2(n > anterior && n <= 54, qPrintable(linea));  // ascending, so no repeats
      QCOMPARE(c.trabajo().apuesta(i + 1, 1), n);
      anterior = n;
      vistos.insert(n);
    }
  }
  QCOMPARE(vistos.size(), size_t{54});  // every number can come out
  QVERIFY(e.mensajes->vistos.isEmpty());
}

void PruebaCreacion::aleatorioClave() {
  Entorno e;
  std::set<int> claves;
  for (int i = 0; i < 200; ++i) {
    Creacion c(2);
    c.aleatorio();
    QVERIFY(!c.panelClave());
    QCOMPARE(c.lineas().size(), 1);
    const int k = c.trabajo().apuesta(8, 1);
    QCOMPARE(c.lineas().first(), QStringLiteral("Número clave:   %1").arg(k));
    claves.insert(k);
  }
  QCOMPARE(claves.size(), size_t{10});
  QCOMPARE(*claves.begin(), 0);
  QCOMPARE(*claves.rbegin(), 9);
}

void PruebaCreacion::nombre_data() {
  QTest::addColumn<QString>("tecleado");
  QTest::addColumn<QString>("queda");
  QTest::addColumn<bool>("aviso");
  QTest::newRow("minúsculas") << "la peña de josé"
                              << "LA PEÑA DE JOSÉ" << false;
  QTest::newRow("20 letras") << QString(20, QLatin1Char('a')) << QString(20, QLatin1Char('A')) << false;
  QTest::newRow("21 letras") << QString(21, QLatin1Char('b')) << "AYYYYYY!!" << true;
  QTest::newRow("ß no crece") << "straße"
                              << "STRAßE" << false;
  QTest::newRow("ÿ y µ") << QStringLiteral("ÿµ?") << QStringLiteral("Ÿµ?") << false;
  QTest::newRow("sin caracteres imposibles") << QStringLiteral("a\U0001F600b\tc€") << "ABC€" << false;
}

void PruebaCreacion::nombre() {
  QFETCH(QString, tecleado);
  QFETCH(QString, queda);
  QFETCH(bool, aviso);
  Entorno e;
  Creacion c(0);
  QCOMPARE(c.cambiarNombre(tecleado), queda);
  QCOMPARE(c.nombre(), queda);
  QCOMPARE(e.mensajes->vistos.size(), aviso ? 1 : 0);
  if (aviso) {
    QCOMPARE(e.mensajes->vistos[0].texto, Creacion::kNombreLargo);
    QCOMPARE(e.mensajes->vistos[0].icono, plataforma::Icono::Exclamacion);
    QCOMPARE(e.mensajes->vistos[0].titulo, QStringLiteral("Error"));
  }
}

QTEST_GUILESS_MAIN(PruebaCreacion)
#include "test_creacion.moc"
