// Amounts in words, read back to the user before a large amount is booked.
#include <QtTest>

#include "base/letras.h"

using namespace sortilan;

class TestLetras : public QObject {
  Q_OBJECT
 private slots:
  void importes_data() {
    QTest::addColumn<qint64>("centimos");
    QTest::addColumn<QString>("letras");
    const auto fila = [](const char* nombre, qint64 c, const char* t) {
      QTest::newRow(nombre) << c << QString::fromUtf8(t);
    };
    fila("cero", 0, "cero euros");
    fila("un céntimo", 1, "cero euros con un céntimo");
    fila("un euro", 100, "un euro");
    fila("veintiún", 2100, "veintiún euros");
    fila("treinta y un", 3121, "treinta y un euros con veintiún céntimos");
    fila("once", 1100, "once euros");
    fila("dieciséis y veintidós", 1622, "dieciséis euros con veintidós céntimos");
    fila("cien", 10000, "cien euros");
    fila("ciento uno", 10100, "ciento un euros");
    fila("quinientos", 50000, "quinientos euros");
    fila("mil", 100000, "mil euros");
    fila("mil con decimales", 125050, "mil doscientos cincuenta euros con cincuenta céntimos");
    fila("veintiún mil", 2100000, "veintiún mil euros");
    fila("ciento un mil uno", 10100100, "ciento un mil un euros");
    fila("novecientos noventa y nueve mil", 99999900,
         "novecientos noventa y nueve mil novecientos noventa y nueve euros");
    fila("un millón", 100000000, "un millón de euros");
    fila("un millón y uno", 100000100, "un millón un euros");
    fila("dos millones", 200000000, "dos millones de euros");
    fila("casi cien millones", 9999999999,
         "noventa y nueve millones novecientos noventa y nueve mil novecientos noventa y nueve euros con noventa y "
         "nueve céntimos");
    fila("mil millones", 100000000000, "mil millones de euros");
    fila("veintiún mil millones", 2100000000000, "veintiún mil millones de euros");
    fila("negativo", -1550, "menos quince euros con cincuenta céntimos");
  }
  void importes() {
    QFETCH(qint64, centimos);
    QFETCH(QString, letras);
    QCOMPARE(importeEnLetras(centimos), letras);
  }
};

QTEST_GUILESS_MAIN(TestLetras)
#include "test_letras.moc"
