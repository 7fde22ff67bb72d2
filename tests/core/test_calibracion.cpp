#include <QtTest>

#include "operations/ajustes.h"
#include "printing/ajustecalibracion.h"
#include "store/almacen.h"
#include "support/dobles.h"

using namespace sortilan;
using namespace sortilan::prueba;

namespace {
AjusteCalibracion::Guardar guardar(Almacen& a) {
  return [&a](const Calibracion& c) { return operaciones::guardarCalibracion(a, c); };
}
}  // namespace

class TestCalibracion : public QObject {
  Q_OBJECT
 private slots:
  void registroDeDoceBytes() {
    const Calibracion c{-2, 1.5f, -0.25f, 0x1234};
    const QByteArray b = c.codificar();
    QCOMPARE(b, QByteArray::fromHex("feff"
                                    "0000c03f"
                                    "000080be"
                                    "3412"));
    QCOMPARE(Calibracion::decodificar(b.constData()), c);
  }

  // Opening never writes; the first stored change writes record 1 and keeps whatever
  // else the file held.
  void guardarNumsIni_data() {
    QTest::addColumn<QByteArray>("antes");
    QTest::addColumn<QByteArray>("despues");
    const QByteArray x2 = Calibracion{0, 2, 0, 0}.codificar();
    const QByteArray propio = Calibracion{7, 3.5f, -1, 9}.codificar();
    QTest::newRow("no existe") << QByteArray() << x2;
    QTest::newRow("vacío") << QByteArray("") << x2;
    QTest::newRow("registro partido") << QByteArray("\x01\x02\x03", 3) << x2;
    QTest::newRow("existente") << propio << Calibracion{7, 2, -1, 9}.codificar();
    QTest::newRow("existente con cola") << propio + "xy" << Calibracion{7, 2, -1, 9}.codificar() + "xy";
  }
  void guardarNumsIni() {
    QFETCH(QByteArray, antes);
    QFETCH(QByteArray, despues);
    Entorno e;
    if (!antes.isNull()) e.escribir(QStringLiteral("nums.ini"), antes);
    Almacen a;
    QVERIFY(a.abrir(e.carpeta.path()));
    AjusteCalibracion ajuste(a.ajustes(), guardar(a));
    QCOMPARE(QFile::exists(e.ruta(QStringLiteral("nums.ini"))), !antes.isNull());
    if (!antes.isNull()) QCOMPARE(e.leer(QStringLiteral("nums.ini")), antes);
    QVERIFY(!ajuste.cambiar(0, QStringLiteral("2")));
    QVERIFY(ajuste.escritura());
    QCOMPARE(e.leer(QStringLiteral("nums.ini")), despues);
  }

  void textoDeLasCajas_data() {
    QTest::addColumn<float>("valor");
    QTest::addColumn<QString>("texto");
    QTest::newRow("cero") << 0.0f << "0";
    QTest::newRow("fracción") << 2.5f << "2,5";
    QTest::newRow("negativo") << -0.1f << "-0,1";
    QTest::newRow("miles sin separador") << 1234.5f << "1234,5";
  }
  void textoDeLasCajas() {
    QFETCH(float, valor);
    QFETCH(QString, texto);
    QCOMPARE(textoCoordenada(valor), texto);
    QCOMPARE(leerCoordenada(texto), std::optional<float>(valor));
  }

  // One keystroke at a time in box x, starting from x = 4, y = 6.
  void tecleo_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<bool>("restaura");
    QTest::addColumn<float>("x");
    QTest::newRow("número") << "12" << false << 12.0f;
    QTest::newRow("coma decimal") << "2,75" << false << 2.75f;
    QTest::newRow("negativo") << "-3,5" << false << -3.5f;
    QTest::newRow("coma al final") << "3," << false << 3.0f;
    QTest::newRow("letra") << "2a" << true << 4.0f;
    QTest::newRow("punto") << "1.5" << true << 4.0f;
    QTest::newRow("infinito") << "1e99" << true << 4.0f;
    QTest::newRow("vacía") << "" << false << 4.0f;
    QTest::newRow("signo solo") << "-" << false << 4.0f;
  }
  void tecleo() {
    QFETCH(QString, texto);
    QFETCH(bool, restaura);
    QFETCH(float, x);
    Entorno e;
    e.escribir(QStringLiteral("nums.ini"), Calibracion{5, 4, 6, -5}.codificar());
    Almacen a;
    sortilan::prueba::exigir(a.abrir(e.carpeta.path()));
    AjusteCalibracion ajuste(a.ajustes(), guardar(a));
    QCOMPARE(ajuste.cambiar(0, texto), restaura);
    QCOMPARE(ajuste.valor().x, x);
    QCOMPARE(ajuste.valor().y, 6.0f);
    QVERIFY(ajuste.escritura());
    // The record is on disk at once, reserved fields as they were.
    QCOMPARE(e.leer(QStringLiteral("nums.ini")), (Calibracion{5, x, 6, -5}.codificar()));
    QVERIFY(e.mensajes->vistos.isEmpty());
  }

  void valorGuardadoSeVeAlReabrir() {
    Entorno e;
    Almacen a;
    sortilan::prueba::exigir(a.abrir(e.carpeta.path()));
    {
      AjusteCalibracion ajuste(a.ajustes(), guardar(a));
      ajuste.cambiar(1, QStringLiteral("-7,25"));
    }
    sortilan::prueba::exigir(a.abrir(e.carpeta.path()));
    AjusteCalibracion otra(a.ajustes(), guardar(a));
    QCOMPARE(otra.texto(0), QStringLiteral("0"));
    QCOMPARE(otra.texto(1), QStringLiteral("-7,25"));
  }

  void cajaEnBlancoAlSalir() {
    Entorno e;
    Almacen a;
    sortilan::prueba::exigir(a.abrir(e.carpeta.path()));
    AjusteCalibracion ajuste(a.ajustes(), guardar(a));
    ajuste.perderFoco(0, QStringLiteral("3"));
    QVERIFY(e.mensajes->vistos.isEmpty());
    ajuste.perderFoco(1, QString());
    QCOMPARE(e.mensajes->vistos.size(), 1);
    const MensajeVisto& m = e.mensajes->vistos.first();
    QCOMPARE(m.titulo, QStringLiteral("EHEHEHH"));
    QCOMPARE(m.texto, QStringLiteral("Te has dejado una coordenada en blanco. Introduce un número válido."));
    QCOMPARE(m.icono, plataforma::Icono::Critico);
  }
};

QTEST_GUILESS_MAIN(TestCalibracion)
#include "test_calibracion.moc"
