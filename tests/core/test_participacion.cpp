// Participation papers: the code follows the text byte for byte, codes as typed, the
// refusals, and a paper that stays as issued whatever changes afterwards.
#include <QtTest>
#include <functional>

#include "operations/papeles.h"
#include "operations/socios.h"
#include "papers/registropapeles.h"
#include "store/almacen.h"
#include "support/dobles.h"

using namespace sortilan;

namespace {

PapelParticipacion ejemplo() {
  PapelParticipacion p;
  p.numero = 3;
  p.pena = QStringLiteral("PREMIADA");
  p.organizador = {QStringLiteral("Juan Pérez"), QStringLiteral("11111111H")};
  p.socio = 1;
  p.nombre = QStringLiteral("Ana García");
  p.desde = QDate(2021, 3, 7);
  p.hasta = QDate(2021, 3, 14);
  p.sorteos = {{QDate(2021, 3, 7), 2, 7, 85}, {QDate(2021, 3, 14), 2, 7, 85}};
  p.pagado = 170;
  p.apuestas = {QStringLiteral("Apuesta 1: 01 15 24 40 42"), QStringLiteral("Número clave: 9")};
  p.emitido = QDateTime(QDate(2021, 3, 5), QTime(18, 30, 12));
  return p;
}

using Cambio = std::function<void(PapelParticipacion&)>;

}  // namespace

Q_DECLARE_METATYPE(Cambio)

class TestParticipacion : public QObject {
  Q_OBJECT
 private slots:
  void codigoSigueAlTexto_data() {
    QTest::addColumn<Cambio>("cambio");
    QTest::addColumn<bool>("cambia");
    QTest::newRow("nada") << Cambio([](PapelParticipacion&) {}) << false;
    QTest::newRow("misma hora, otros milisegundos")
        << Cambio([](PapelParticipacion& p) { p.emitido = p.emitido.addMSecs(0); }) << false;
    QTest::newRow("número del papel") << Cambio([](PapelParticipacion& p) { p.numero = 4; }) << true;
    QTest::newRow("una letra del nombre")
        << Cambio([](PapelParticipacion& p) { p.nombre = QStringLiteral("Ana Garcia"); }) << true;
    QTest::newRow("participaciones") << Cambio([](PapelParticipacion& p) { p.sorteos[1].participaciones = 3; }) << true;
    QTest::newRow("total") << Cambio([](PapelParticipacion& p) { p.sorteos[0].total = 8; }) << true;
    QTest::newRow("un céntimo") << Cambio([](PapelParticipacion& p) { p.pagado = 171; }) << true;
    QTest::newRow("un número de una apuesta")
        << Cambio([](PapelParticipacion& p) { p.apuestas[0] = QStringLiteral("Apuesta 1: 01 15 24 40 43"); }) << true;
    QTest::newRow("NIF del organizador") << Cambio([](PapelParticipacion& p) {
      p.organizador.nif = QStringLiteral("11111112H");
    }) << true;
    QTest::newRow("un segundo") << Cambio([](PapelParticipacion& p) { p.emitido = p.emitido.addSecs(1); }) << true;
    QTest::newRow("otro sorteo") << Cambio([](PapelParticipacion& p) { p.sorteos.pop_back(); }) << true;
  }
  void codigoSigueAlTexto() {
    QFETCH(Cambio, cambio);
    QFETCH(bool, cambia);
    const PapelParticipacion a = ejemplo();
    PapelParticipacion b = ejemplo();
    cambio(b);
    const QString ca = codigoDe(textoPapel(a));
    QCOMPARE(ca.size(), kLargoCodigo);
    QCOMPARE(codigoDe(textoPapel(b)) != ca, cambia);
    QCOMPARE(textoPapel(b) != textoPapel(a), cambia);
  }

  void cadaByteCuenta() {
    const QByteArray texto = textoPapel(ejemplo()).toUtf8();
    const QString c = codigoDe(QString::fromUtf8(texto));
    for (qsizetype i = 0; i < texto.size(); ++i) {
      QByteArray otro = texto;
      otro[i] = static_cast<char>(otro[i] ^ 1);
      QVERIFY2(codigoDe(QString::fromUtf8(otro)) != c, qPrintable(QString::number(i)));
    }
  }

  void codigoTecleado_data() {
    QTest::addColumn<QString>("entrada");
    QTest::addColumn<QString>("normal");
    QTest::newRow("agrupado") << u"ABCD-EFGH-JK01"_qs << u"ABCDEFGHJK01"_qs;
    QTest::newRow("minúsculas y espacios") << u" abcd efgh\tjk01 "_qs << u"ABCDEFGHJK01"_qs;
    QTest::newRow("O, I y L") << u"abcd-efgh-jkoi-l"_qs << u"ABCDEFGHJK011"_qs;
    QTest::newRow("U no está") << u"ABCD-UUUU"_qs << QString();
    QTest::newRow("signos") << u"ABCD;EFGH"_qs << QString();
    QTest::newRow("no ASCII") << u"ABCDÉ"_qs << QString();
  }
  void codigoTecleado() {
    QFETCH(QString, entrada);
    QFETCH(QString, normal);
    QCOMPARE(normalizarCodigo(entrada), normal);
    const QString c = codigoDe(u"x"_qs);
    QCOMPARE(normalizarCodigo(codigoAgrupado(c)), c);
    QCOMPARE(normalizarCodigo(codigoCorto(c)), c.left(kLargoCorto));
  }

  void rechazos_data() {
    QTest::addColumn<int>("socio");
    QTest::addColumn<QDate>("desde");
    QTest::addColumn<QDate>("hasta");
    QTest::addColumn<QString>("organizador");
    QTest::addColumn<QString>("motivo");
    const QDate d7(2021, 3, 7);
    const QString juan = QStringLiteral("Juan");
    QTest::newRow("sin organizador") << 1 << d7 << d7 << QString() << u"Falta el nombre del organizador"_qs;
    QTest::newRow("al revés") << 1 << d7 << d7.addDays(-7) << juan << u"como mucho un año"_qs;
    QTest::newRow("más de un año") << 1 << d7 << d7.addDays(366) << juan << u"como mucho un año"_qs;
    QTest::newRow("antes de la creación") << 1 << QDate(2020, 12, 27) << d7 << juan << u"antes de la creación"_qs;
    QTest::newRow("sin sorteo") << 1 << d7.addDays(1) << d7.addDays(6) << juan << u"No hay ningún sorteo"_qs;
    QTest::newRow("socio que no existe") << 9 << d7 << d7 << juan << u"ningún socio 9"_qs;
    QTest::newRow("sin participaciones") << 2 << QDate(2021, 1, 3) << QDate(2021, 1, 31) << juan
                                         << u"no tiene participaciones"_qs;
    QTest::newRow("de baja") << 3 << d7 << d7 << juan << u"se dio de baja el 01/03/2021"_qs;
  }
  void rechazos() {
    QFETCH(int, socio);
    QFETCH(QDate, desde);
    QFETCH(QDate, hasta);
    QFETCH(QString, organizador);
    QFETCH(QString, motivo);
    const Pena pena = prueba::penaConApuestas(QStringLiteral("PREMIADA"), 1, QDate(2021, 1, 1));
    SociosPena sp;
    sp.nombre = QStringLiteral("PREMIADA");
    sp.socios = {{1, 1, u"Ana"_qs, {}, {}, {{QDate(2021, 1, 1), {}, 2}}},
                 {2, 2, u"Luis"_qs, {}, {}, {{QDate(2021, 2, 1), {}, 1}}},
                 {3, 3, u"Marta"_qs, {}, {}, {{QDate(2021, 1, 1), QDate(2021, 3, 1), 1}}}};
    PapelParticipacion p;
    const Resultado r = prepararPapel(pena, sp, socio, desde, hasta, false, {organizador, {}}, 150,
                                      QDateTime(QDate(2021, 3, 5), QTime(10, 0)), p);
    QVERIFY(!r);
    QVERIFY2(r.error.contains(motivo), qPrintable(r.error));
  }

  // Issued, then the shares change: the stored paper and its code stay, and issuing again
  // gives a new paper beside it.
  void congelado() {
    prueba::Entorno e(QDate(2021, 3, 5));
    e.escribir(QStringLiteral("apuestas.dat"),
               prueba::penaConApuestas(QStringLiteral("PREMIADA"), 1, QDate(2021, 1, 1)).codificar());
    Almacen almacen;
    prueba::exigir(almacen.abrir(e.carpeta.path()));
    for (const char* n : {"Ana", "Luis", "Marta", "Pedro", "Sofía"})
      prueba::exigir(operaciones::altaSocio(almacen, 1, {QString::fromUtf8(n), {}, {}}, 1, QDate(2021, 1, 1)));
    operaciones::PeticionPapel pet{
        QDate(2021, 3, 7), QDate(2021, 3, 7), false, {u"Juan"_qs, {}}, QDateTime(QDate(2021, 3, 5), QTime(9, 0))};
    PapelGuardado primero;
    prueba::exigir(operaciones::emitirPapel(almacen, 1, 1, pet, primero));
    QVERIFY(primero.integro());
    QVERIFY(primero.texto.contains(u"Sorteo del 07/03/2021: 1 de 5 participaciones, 0,30 €"_qs));

    prueba::exigir(operaciones::cambiarParticipaciones(almacen, 1, 1, 4, QDate(2021, 3, 1)));

    std::optional<PapelGuardado> visto;
    prueba::exigir(verificarCodigo(e.carpeta.path(), codigoCorto(primero.codigo), visto));
    QVERIFY(visto);
    QCOMPARE(visto->texto, primero.texto);
    QCOMPARE(visto->participaciones, 1);
    QVERIFY(visto->integro());

    std::vector<PapelGuardado> lote;
    QStringList omitidos;
    prueba::exigir(operaciones::emitirPapelesSorteo(almacen, 1, pet, lote, &omitidos));
    QCOMPARE(lote.size(), size_t{5});
    QVERIFY(omitidos.isEmpty());
    QCOMPARE(lote[0].numero, qint64{2});
    QVERIFY(lote[0].codigo != primero.codigo);
    QVERIFY(lote[0].texto.contains(u"4 de 8 participaciones"_qs));
    std::vector<PapelGuardado> todos;
    prueba::exigir(leerPapelesPena(e.carpeta.path(), almacen.penas().leerTodos(), 1, todos));
    QCOMPARE(todos.size(), size_t{6});
    QCOMPARE(todos[0].texto, primero.texto);

    PapelGuardado anulado;
    prueba::exigir(operaciones::anularPapel(almacen, primero.codigo, anulado));
    QVERIFY(!operaciones::anularPapel(almacen, primero.codigo, anulado));
    prueba::exigir(verificarCodigo(e.carpeta.path(), primero.codigo, visto));
    QVERIFY(visto && visto->anulado && visto->texto == primero.texto);
  }
};

QTEST_GUILESS_MAIN(TestParticipacion)
#include "test_participacion.moc"
