// Tax numbers: the three real forms with their control characters, and a refusal that
// names what is wrong.
#include <QtTest>

#include "base/nif.h"

using namespace sortilan;

class TestNif : public QObject {
  Q_OBJECT
 private slots:
  void validos_data() {
    QTest::addColumn<QString>("nif");
    QTest::addColumn<QString>("normal");
    const auto fila = [](const char* t, const char* n) {
      QTest::newRow(t) << QString::fromUtf8(t) << QString::fromUtf8(n);
    };
    fila("12345678Z", "12345678Z");
    fila("00000000T", "00000000T");
    fila("99999999R", "99999999R");
    fila("12.345.678-z", "12345678Z");
    fila(" 87654321 x ", "87654321X");
    fila("X1234567L", "X1234567L");
    fila("Y1234567X", "Y1234567X");
    fila("z-1234567-r", "Z1234567R");
    fila("K1111111G", "K1111111G");
    fila("A58818501", "A58818501");  // a company: control digit
    fila("B12345674", "B12345674");  // ditto
    fila("P1234567D", "P1234567D");  // a public body: control letter
    fila("Q0000000J", "Q0000000J");  // ditto
    fila("G40136525", "G40136525");  // an association: digit or letter
    fila("G4013652E", "G4013652E");
  }
  void validos() {
    QFETCH(QString, nif);
    QFETCH(QString, normal);
    const Resultado r = comprobarNif(nif);
    QVERIFY2(r, qPrintable(r.error));
    QCOMPARE(normalizarNif(nif), normal);
  }

  void invalidos_data() {
    QTest::addColumn<QString>("nif");
    QTest::addColumn<QString>("motivo");
    const auto fila = [](const char* t, const char* m) {
      QTest::newRow(t) << QString::fromUtf8(t) << QString::fromUtf8(m);
    };
    fila("12345678A", "El NIF 12345678A no es válido: la letra de control es Z, no A.");
    fila("1234567Z", "El NIF 1234567Z no es válido: un DNI lleva 8 cifras y la letra de control (8 caracteres dados).");
    fila("123456789", "El NIF 123456789 no es válido: termina en 9 y no en una letra.");
    fila("12345678", "El NIF 12345678 no es válido: un DNI lleva 8 cifras y la letra de control (8 caracteres dados).");
    fila("1234A678Z",
         "El NIF 1234A678Z no es válido: un DNI lleva 8 cifras y la letra de control (9 caracteres dados).");
    fila("X1234567A", "El NIF X1234567A no es válido: la letra de control es L, no A.");
    fila("X123456L", "El NIF X123456L no es válido: un NIE lleva X, Y o Z, 7 cifras y la letra de control.");
    fila("Y1234567L", "El NIF Y1234567L no es válido: la letra de control es X, no L.");
    fila("A58818502", "El NIF A58818502 no es válido: el carácter de control es 1, no 2.");
    fila("A5881850A", "El NIF A5881850A no es válido: el carácter de control es 1, no A.");
    fila("P12345674", "El NIF P12345674 no es válido: el carácter de control es D, no 4.");
    fila("G40136524", "El NIF G40136524 no es válido: el carácter de control es 5 o E, no 4.");
    fila("B123456", "El NIF B123456 no es válido: un CIF lleva una letra, 7 cifras y el carácter de control.");
    fila("I1234567A", "El NIF I1234567A no es válido: ningún NIF empieza por I.");
    fila("ÑANDÚ", "El NIF ÑANDÚ no es válido: ningún NIF empieza por Ñ.");
    fila("", "El NIF «» no es válido: está vacío.");
  }
  void invalidos() {
    QFETCH(QString, nif);
    QFETCH(QString, motivo);
    const Resultado r = comprobarNif(nif);
    QVERIFY(!r);
    QCOMPARE(r.error, motivo);
    QCOMPARE(r.clase, Resultado::Clase::Entrada);
  }
};

QTEST_GUILESS_MAIN(TestNif)
#include "test_nif.moc"
