// The data folder: start-up files, peña deletion, resets and the damaged draw file.
#include <QDir>
#include <QFile>
#include <QtTest>

#include "base/fechas.h"
#include "session/sesion.h"
#include "store/almacen.h"
#include "store/escritura.h"
#include "support/dobles.h"

using namespace sortilan;

namespace {
Pena pena(const char* nombre, int creacionDias = 44000) {
  Pena p = nuevaPena(QString::fromUtf8(nombre), 1, QDate(2000, 1, 1));
  p.creacion = creacionDias;
  p.ponerApuesta(1, 1, 1);
  p.ponerApuesta(2, 1, 2);
  return p;
}

QByteArray registros(const std::vector<Pena>& ps) {
  QByteArray b;
  for (const Pena& p : ps) b += p.codificar();
  return b;
}
}  // namespace

class TestAlmacen : public QObject {
  Q_OBJECT
 private slots:
  void primerArranqueCreaLosArchivos() {
    prueba::Entorno e;
    Almacen a;
    QVERIFY(a.abrir(e.carpeta.path()).ok);
    for (const char* n : {"apuestas.dat", "numeros.dat", "www.txt"}) {
      QVERIFY2(QFile::exists(e.ruta(QLatin1String(n))), n);
      QCOMPARE(QFileInfo(e.ruta(QLatin1String(n))).size(), 0);
    }
  }

  void temporalSobranteSeBorra() {
    prueba::Entorno e;
    const QByteArray original = registros({pena("UNA"), pena("DOS")});
    e.escribir(QStringLiteral("apuestas.dat"), original);
    e.escribir(QStringLiteral("apuestas.tmp"), QByteArray(645, 'x'));
    Almacen a;
    sortilan::prueba::exigir(a.abrir(e.carpeta.path()));
    QVERIFY(!QFile::exists(e.ruta(QStringLiteral("apuestas.tmp"))));
    QCOMPARE(e.leer(QStringLiteral("apuestas.dat")), original);
  }

  void eliminarPena_data() {
    QTest::addColumn<int>("borrar");
    QTest::addColumn<QStringList>("quedan");
    QTest::newRow("primera") << 1 << QStringList{"DOS", "TRES"};
    QTest::newRow("segunda de tres") << 2 << QStringList{"UNA", "TRES"};
    QTest::newRow("última") << 3 << QStringList{"UNA", "DOS"};
  }
  void eliminarPena() {
    QFETCH(int, borrar);
    QFETCH(QStringList, quedan);
    prueba::Entorno e;
    const std::vector<Pena> tres = {pena("UNA"), pena("DOS"), pena("TRES")};
    e.escribir(QStringLiteral("apuestas.dat"), registros(tres));
    Almacen a;
    sortilan::prueba::exigir(a.abrir(e.carpeta.path()));
    QVERIFY(a.eliminarPena(borrar).ok);
    const std::vector<Pena> despues = a.enumerarPenas();
    QCOMPARE(static_cast<int>(despues.size()), 2);
    for (int i = 0; i < 2; ++i) QCOMPARE(despues[static_cast<size_t>(i)].nombreRecortado(), quedan[i]);
    QVERIFY(!QFile::exists(e.ruta(QStringLiteral("apuestas.tmp"))));
    // The file stays usable: appending goes to record 3.
    QVERIFY(a.anadirPena(pena("NUEVA"), 3).ok);
    QCOMPARE(a.penas().cuenta(), 3);
  }

  void eliminarLaUnicaPena() {
    prueba::Entorno e;
    e.escribir(QStringLiteral("apuestas.dat"), registros({pena("SOLA")}));
    Almacen a;
    sortilan::prueba::exigir(a.abrir(e.carpeta.path()));
    QVERIFY(a.eliminarPena(1).ok);
    QCOMPARE(QFileInfo(e.ruta(QStringLiteral("apuestas.dat"))).size(), 0);
    QVERIFY(!a.eliminarPena(1).ok);
  }

  // When the replacement cannot be written the old peña file stays whole.
  void eliminarPenaQueFallaNoPierdeNada() {
    prueba::Entorno e;
    const QByteArray original = registros({pena("UNA"), pena("DOS")});
    e.escribir(QStringLiteral("apuestas.dat"), original);
    Almacen a;
    sortilan::prueba::exigir(a.abrir(e.carpeta.path()));
    QDir(e.carpeta.path()).mkdir(QStringLiteral("apuestas.tmp"));  // the temporary cannot be created
    const Resultado r = a.eliminarPena(1);
    QVERIFY(!r.ok);
    QVERIFY(r.permiso);
    QCOMPARE(e.leer(QStringLiteral("apuestas.dat")), original);
    QCOMPARE(a.penas().cuenta(), 2);
  }

  void sabadoPasaADomingo() {
    prueba::Entorno e;
    Pena p = pena("SABADEÑA");
    p.ponerDias(QStringLiteral("Sábado"));
    Pena q = pena("OTRA");
    e.escribir(QStringLiteral("apuestas.dat"), registros({q, p}));
    Almacen a;
    sortilan::prueba::exigir(a.abrir(e.carpeta.path()));
    const std::vector<Pena> ps = a.enumerarPenas();
    QCOMPARE(ps[1].diasTexto(), QStringLiteral("Domingo        "));
    QByteArray esperado = p.codificar();
    esperado.replace(612, 15, QByteArray("Domingo        "));
    QCOMPARE(e.leer(QStringLiteral("apuestas.dat")).mid(645), esperado);
    QCOMPARE(e.leer(QStringLiteral("apuestas.dat")).left(645), q.codificar());
  }

  void reiniciarResultados() {
    prueba::Entorno e;
    Pena p = pena("CON PREMIOS");
    p.aciertos = {1, 2, 3, 4, 5, 6, 7, 8};
    p.ultimacuenta = 44262;
    e.escribir(QStringLiteral("apuestas.dat"), registros({p, p}));
    Almacen a;
    sortilan::prueba::exigir(a.abrir(e.carpeta.path()));
    QVERIFY(a.reiniciarResultados(QDate(2021, 3, 10)).ok);
    for (const Pena& r : a.enumerarPenas()) {
      QCOMPARE(r.aciertos, (std::array<int16_t, 8>{}));
      QCOMPARE(r.ultimacuenta, 0.0);
      QCOMPARE(fechaDesdeOle(r.creacion), QDate(2021, 3, 10));
      QCOMPARE(r.apuestas, p.apuestas);
    }
  }

  void reemplazoAtomico() {
    prueba::Entorno e;
    e.escribir(QStringLiteral("f.txt"), "viejo");
    QVERIFY(reemplazarArchivo(e.ruta(QStringLiteral("f.txt")), "nuevo").ok);
    QCOMPARE(e.leer(QStringLiteral("f.txt")), QByteArray("nuevo"));
    QVERIFY(!QFile::exists(e.ruta(QStringLiteral("f.txt.tmp"))));
    QDir(e.carpeta.path()).mkdir(QStringLiteral("f.txt.tmp"));
    QVERIFY(!reemplazarArchivo(e.ruta(QStringLiteral("f.txt")), "otro").ok);
    QCOMPARE(e.leer(QStringLiteral("f.txt")), QByteArray("nuevo"));
  }

  void carpetaQueNoExiste() {
    prueba::Entorno e;
    Sesion s;
    const Resultado r = s.abrir(e.ruta(QStringLiteral("no/existe")));
    QVERIFY(!r.ok);
    const EstadoSorteos est = s.cargasorteos(QDate(2021, 3, 10));
    QCOMPARE(est.ultimo, QStringLiteral("Fichero de datos vacío."));
    QCOMPARE(s.proximoreg, 1);
    QVERIFY(!s.almacen().anadirPena(pena("X"), 0).ok);
  }
};

QTEST_GUILESS_MAIN(TestAlmacen)
#include "test_almacen.moc"
