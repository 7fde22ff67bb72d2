// Byte layouts of the record files and the end-of-file rules.
#include <QDir>
#include <QFile>
#include <QtTest>

#include "base/fechas.h"
#include "store/almacen.h"
#include "store/codec.h"
#include "support/dobles.h"

using namespace sortilan;

class TestRegistros : public QObject {
  Q_OBJECT
 private slots:
  void sorteoBytes() {
    Sorteo s;
    s.numeros = {3, 12, 25, 40, 54, 7, -2, 300};
    s.fecha = 44262.0;
    const QByteArray b = s.codificar();
    QCOMPARE(b.size(), 24);
    QCOMPARE(b.toHex(' '), QByteArray("03 00 0c 00 19 00 28 00 36 00 07 00 fe ff 2c 01 00 00 00 00 c0 9c e5 40"));
    QCOMPARE(Sorteo::decodificar(b.constData()), s);
    QCOMPARE(fechaDesdeOle(s.fecha), QDate(2021, 3, 7));
    QCOMPARE(diasemana(s.fecha), QStringLiteral("Domingo"));
    QCOMPARE(fechaLarga(s.fecha), QStringLiteral("Domingo, 7 de marzo del 2021"));
  }

  void penaBytes() {
    Pena p = nuevaPena(QStringLiteral("PEÑA"), 3, QDate(2021, 3, 7));
    p.ponerApuesta(1, 1, 3);
    p.ponerApuesta(6, 1, 7);
    p.ponerApuesta(5, 3, 54);
    p.aciertos[7] = 2;
    p.ultimacuenta = 44262.0;
    const QByteArray b = p.codificar();
    QCOMPARE(b.size(), 645);
    QCOMPARE(b.left(20), QByteArray("PE\xd1"
                                    "A                "));
    QCOMPARE(b.mid(20, 2).toHex(), QByteArray("0300"));
    QCOMPARE(b.mid(20 + 10, 2).toHex(), QByteArray("0700"));      // key at row 1 position 6
    QCOMPARE(b.mid(20 + 48 + 8, 2).toHex(), QByteArray("3600"));  // row 3 position 5
    QCOMPARE(b.mid(596 + 14, 2).toHex(), QByteArray("0200"));     // aciertos(8)
    QCOMPARE(b.mid(612, 15), QByteArray("Domingo        "));
    QCOMPARE(b.mid(627, 2).toHex(), QByteArray("0300"));
    QCOMPARE(b.mid(629, 8).toHex(' '), QByteArray("00 00 00 00 c0 9c e5 40"));  // odd offsets
    QCOMPARE(b.mid(637, 8).toHex(' '), QByteArray("00 00 00 00 c0 9c e5 40"));
    const Pena q = Pena::decodificar(b.constData());
    QCOMPARE(q, p);
    QCOMPARE(q.nombreRecortado(), QStringLiteral("PEÑA"));
    QCOMPARE(q.nombreTexto().size(), 20);
  }

  // Any 645 bytes read and written back are the same bytes, texts included.
  void penaIdaYVuelta() {
    QByteArray b(645, '\0');
    for (int i = 0; i < b.size(); ++i) b[i] = static_cast<char>((i * 37 + 11) & 0xFF);
    QCOMPARE(Pena::decodificar(b.constData()).codificar(), b);
    QByteArray s(24, '\0');
    for (int i = 0; i < s.size(); ++i) s[i] = static_cast<char>(0xF0 - i * 7);
    QCOMPARE(Sorteo::decodificar(s.constData()).codificar(), s);
  }

  void windows1252() {
    const QString texto = QStringLiteral("ÁÉÍÓÚÑñüº€‰");
    QCOMPARE(desdeWindows1252(aWindows1252(texto)), texto);
    QCOMPARE(aWindows1252(QStringLiteral("€")), QByteArray("\x80"));
    QCOMPARE(campoTexto(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), 20), QByteArray("ABCDEFGHIJKLMNOPQRST"));
  }

  void finDeArchivo_data() {
    QTest::addColumn<int>("bytes");
    QTest::addColumn<int>("registros");
    QTest::newRow("vacío") << 0 << 0;
    QTest::newRow("menos de uno") << 23 << 0;
    QTest::newRow("uno") << 24 << 1;
    QTest::newRow("uno y resto") << 30 << 1;
    QTest::newRow("tres") << 72 << 3;
  }
  void finDeArchivo() {
    QFETCH(int, bytes);
    QFETCH(int, registros);
    prueba::Entorno e;
    QByteArray datos(bytes, '\0');
    for (int i = 0; i < bytes; i += 2) datos[i] = 5;
    e.escribir(QStringLiteral("numeros.dat"), datos);
    ArchivoDe<Sorteo> f;
    f.abrir(e.ruta(QStringLiteral("numeros.dat")));
    QCOMPARE(f.cuenta(), registros);
    Sorteo s;
    for (int k = 1; k <= registros; ++k) QVERIFY(f.leer(k, s));
    s.fecha = 99;
    QVERIFY(!f.leer(registros + 1, s));
    QCOMPARE(s, Sorteo{});  // the buffer reads as zeros
    QCOMPARE(static_cast<int>(f.leerTodos().size()), registros);
  }

  // Nothing is kept open: a file replaced by another program is read as it is now, an
  // absent one as empty, and one that cannot be read is told apart from empty.
  void leerPorNombre() {
    prueba::Entorno e;
    ArchivoDe<Sorteo> f;
    f.abrir(e.ruta(QStringLiteral("numeros.dat")));
    bool ok = false;
    QVERIFY(f.leerTodos(&ok).empty());
    QVERIFY(ok);
    QVERIFY(!QFile::exists(e.ruta(QStringLiteral("numeros.dat"))));
    Sorteo s;
    s.numeros = {1, 2, 3, 4, 5, 6, 7, 8};
    s.fecha = 44262;
    QVERIFY(reemplazarArchivo(f.ruta(), ArchivoDe<Sorteo>::codificar({s, s})).ok);
    QCOMPARE(f.cuenta(), 2);
    e.escribir(QStringLiteral("numeros.dat"), s.codificar());
    QCOMPARE(f.cuenta(), 1);
    QCOMPARE(f.ultimo(), s);

    QVERIFY(QFile::remove(e.ruta(QStringLiteral("numeros.dat"))));
    QVERIFY(QDir(e.carpeta.path()).mkdir(QStringLiteral("numeros.dat")));
    QVERIFY(f.leerTodos(&ok).empty());
    QVERIFY(!ok);
  }
};

QTEST_GUILESS_MAIN(TestRegistros)
#include "test_registros.moc"
