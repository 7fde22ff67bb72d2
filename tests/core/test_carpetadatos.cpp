// Which folder holds the data: --datos, a portable or build copy, or the user's folder.
#include <QDir>
#include <QFile>
#include <QtTest>

#include "platform/plataforma.h"
#include "session/carpetadatos.h"
#include "support/dobles.h"

using namespace sortilan;

Q_DECLARE_METATYPE(sortilan::OrigenDatos)

namespace {
void crearArchivo(const QString& ruta) {
  QFile f(ruta);
  QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable(ruta));
}
}  // namespace

class TestCarpetaDatos : public QObject {
  Q_OBJECT
 private slots:
  void eleccion_data() {
    QTest::addColumn<QStringList>("archivos");  // beside the executable
    QTest::addColumn<bool>("conOpcion");
    QTest::addColumn<OrigenDatos>("origen");
    QTest::newRow("instalado") << QStringList() << false << OrigenDatos::Usuario;
    QTest::newRow("instalado con otros archivos")
        << QStringList{QStringLiteral("LEEME.txt"), QStringLiteral("libx.so")} << false << OrigenDatos::Usuario;
    QTest::newRow("marca portable") << QStringList{QStringLiteral("portable")} << false << OrigenDatos::Portable;
    QTest::newRow("carpeta de compilación")
        << QStringList{QStringLiteral("CMakeCache.txt")} << false << OrigenDatos::Portable;
    for (const char* dato : {"numeros.dat", "apuestas.dat", "www.txt", "nums.ini", "sortilan.ini", "sortilan.db"})
      QTest::newRow(dato) << QStringList{QString::fromLatin1(dato)} << false << OrigenDatos::Portable;
    QTest::newRow("--datos en una copia portable")
        << QStringList{QStringLiteral("numeros.dat")} << true << OrigenDatos::Opcion;
    QTest::newRow("--datos en un programa instalado") << QStringList() << true << OrigenDatos::Opcion;
  }

  void eleccion() {
    QFETCH(QStringList, archivos);
    QFETCH(bool, conOpcion);
    QFETCH(OrigenDatos, origen);
    QTemporaryDir raiz;
    const QString programa = raiz.filePath(QStringLiteral("bin"));
    const QString usuario = raiz.filePath(QStringLiteral("usuario/sortilan"));
    const QString opcion = raiz.filePath(QStringLiteral("otra"));
    QVERIFY(QDir().mkpath(programa));
    for (const QString& a : archivos) crearArchivo(QDir(programa).filePath(a));

    const CarpetaDatos c = elegirCarpetaDatos(conOpcion ? opcion : QString(), programa, usuario);
    QCOMPARE(c.origen, origen);
    const QString esperada = origen == OrigenDatos::Opcion     ? opcion
                             : origen == OrigenDatos::Portable ? programa
                                                               : usuario;
    QCOMPARE(c.ruta, esperada);
  }

  // The user's folder is made on first start, for the user alone, and is the one in use.
  void primerArranqueInstalado() {
    prueba::Entorno e;
    QTemporaryDir raiz;
    const QString programa = raiz.filePath(QStringLiteral("bin"));
    const QString usuario = raiz.filePath(QStringLiteral("share/sortilan"));
    QVERIFY(QDir().mkpath(programa));

    prueba::exigir(usarCarpetaDatos(QString(), programa, usuario));
    QCOMPARE(plataforma::carpetaPrograma(), usuario);
    QVERIFY(QFileInfo(usuario).isDir());
    QCOMPARE(QFile::permissions(usuario) & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteOther),
             QFile::Permissions());

    // A later start finds it with its data untouched and keeps using it.
    crearArchivo(QDir(usuario).filePath(QStringLiteral("numeros.dat")));
    prueba::exigir(usarCarpetaDatos(QString(), programa, usuario));
    QCOMPARE(plataforma::carpetaPrograma(), usuario);
    QVERIFY(QFile::exists(QDir(usuario).filePath(QStringLiteral("numeros.dat"))));
  }

  void copiaPortableNoCreaLaDelUsuario() {
    prueba::Entorno e;
    QTemporaryDir raiz;
    const QString usuario = raiz.filePath(QStringLiteral("share/sortilan"));
    crearArchivo(raiz.filePath(QStringLiteral("portable")));
    prueba::exigir(usarCarpetaDatos(QString(), raiz.path(), usuario));
    QCOMPARE(plataforma::carpetaPrograma(), raiz.path());
    QVERIFY(!QFileInfo::exists(usuario));
  }

  void opcionRelativaEsAbsoluta() {
    prueba::Entorno e;
    QTemporaryDir raiz;
    QVERIFY(QDir(raiz.path()).mkdir(QStringLiteral("datos")));
    const QString antes = QDir::currentPath();
    QDir::setCurrent(raiz.path());
    const Resultado r = usarCarpetaDatos(QStringLiteral("datos/../datos"), QString(), QString());
    const QString enUso = plataforma::carpetaPrograma();
    QDir::setCurrent(antes);
    prueba::exigir(r);
    QCOMPARE(enUso, QDir(raiz.path()).filePath(QStringLiteral("datos")));
  }

  // A folder that cannot be used is refused with its reason, and the one in use stays.
  void fallos_data() {
    QTest::addColumn<QString>("caso");
    QTest::addColumn<QString>("error");
    QTest::addColumn<bool>("permiso");
    QTest::newRow("--datos inexistente") << QStringLiteral("opcion")
                                         << QStringLiteral("La carpeta de datos no existe: ") << false;
    QTest::newRow("--datos es un archivo")
        << QStringLiteral("archivo") << QStringLiteral("La carpeta de datos no existe: ") << false;
    QTest::newRow("sin carpeta del usuario")
        << QStringLiteral("sinusuario") << QStringLiteral("No se encuentra la carpeta de datos del usuario.") << false;
    QTest::newRow("carpeta del usuario imposible")
        << QStringLiteral("bloqueada") << QStringLiteral("No se pudo crear la carpeta de datos: ") << true;
  }

  void fallos() {
    QFETCH(QString, caso);
    QFETCH(QString, error);
    QFETCH(bool, permiso);
    prueba::Entorno e;
    QTemporaryDir raiz;
    const QString programa = raiz.filePath(QStringLiteral("bin"));
    QVERIFY(QDir().mkpath(programa));
    crearArchivo(raiz.filePath(QStringLiteral("archivo")));
    QString opcion, usuario = raiz.filePath(QStringLiteral("share/sortilan"));
    if (caso == QStringLiteral("opcion")) opcion = raiz.filePath(QStringLiteral("no/existe"));
    if (caso == QStringLiteral("archivo")) opcion = raiz.filePath(QStringLiteral("archivo"));
    if (caso == QStringLiteral("sinusuario")) usuario.clear();
    // A file where a parent folder should be: no permission bits to rely on when run as root.
    if (caso == QStringLiteral("bloqueada")) usuario = raiz.filePath(QStringLiteral("archivo/sortilan"));

    const Resultado r = usarCarpetaDatos(opcion, programa, usuario);
    QVERIFY(!r);
    QVERIFY2(r.error.startsWith(error), qPrintable(r.error));
    QCOMPARE(r.permiso, permiso);
    QCOMPARE(plataforma::carpetaPrograma(), e.carpeta.path());
  }
};

QTEST_GUILESS_MAIN(TestCarpetaDatos)
#include "test_carpetadatos.moc"
