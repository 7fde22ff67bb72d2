#include <QDir>
#include <QtTest>
#include <cmath>
#include <limits>

#include "base/fechas.h"
#include "main/mantenimiento.h"
#include "session/errorpermiso.h"
#include "support/dobles.h"

using namespace sortilan;
using plataforma::Respuesta;
using prueba::Entorno;

namespace {

QByteArray sorteoDia(double fecha) {
  Sorteo s;
  s.numeros = {1, 2, 3, 4, 5, 6, 0, 0};
  s.fecha = fecha;
  return s.codificar();
}

QByteArray sorteo(QDate d) { return sorteoDia(oleDesdeFecha(d)); }

QByteArray tresSorteos() { return sorteo(QDate(2021, 2, 21)) + sorteo(QDate(2021, 2, 28)) + sorteo(QDate(2021, 3, 7)); }

// A data folder with three draws and one peña, open in a session, and a Mantenimiento
// that counts the refresh steps the window would run.
struct Banco {
  Entorno e;
  Sesion s;
  Mantenimiento m{s};
  int cargas = 0, refrescos = 0;
  QList<int> filasQuitadas;

  Banco() {
    e.escribir(QStringLiteral("numeros.dat"), tresSorteos());
    Pena p = nuevaPena(QStringLiteral("UNA"), 1, QDate(2020, 1, 1));
    p.aciertos = {1, 2, 3, 4, 5, 6, 7, 8};
    p.ultimacuenta = oleDesdeFecha(QDate(2021, 3, 7));
    e.escribir(QStringLiteral("apuestas.dat"), p.codificar());
    sortilan::prueba::exigir(s.abrir(e.carpeta.path()));
    s.cargasorteos(e.reloj->dia);
    m.cargasorteos = [this] {
      ++cargas;
      s.cargasorteos(e.reloj->dia);
    };
    m.refresca = [this] { ++refrescos; };
    m.quitarFila = [this](int f) { filasQuitadas.append(f); };
  }
  QByteArray leer(const char* n) { return e.leer(QString::fromLatin1(n)); }
  QStringList textos() const {
    QStringList t;
    for (const auto& v : e.mensajes->vistos) t.append(v.texto);
    return t;
  }
};

}  // namespace

class PruebaMantenimiento : public QObject {
  Q_OBJECT

 private slots:
  void importar_data();
  void importar();
  void importarSustituyeCopiaAntigua();
  void importarSinEscrituraNoCambiaNada_data();
  void importarSinEscrituraNoCambiaNada();
  void dialogo();
  void interruptorDeFilas();
  void borrarSorteoMasReciente();
  void borrarSorteoSinPermiso();
  void borrarTodos_data();
  void borrarTodos();
  void textoErrorPermiso();
};

void PruebaMantenimiento::importar_data() {
  QTest::addColumn<QByteArray>("contenido");
  QTest::addColumn<bool>("existe");
  QTest::addColumn<int>("esperado");
  QTest::addColumn<QString>("mensaje");
  QFile real(prueba::datoPrueba(QStringLiteral("numeros.dat")));
  QVERIFY(real.open(QIODevice::ReadOnly));
  const QByteArray todos = real.readAll();
  const auto bien = static_cast<int>(Mantenimiento::Importe::Importado);
  const auto mal = static_cast<int>(Mantenimiento::Importe::NoValido);
  const auto fallo = static_cast<int>(Mantenimiento::Importe::Fallo);
  const QString noValido = Mantenimiento::kNoValido;
  QTest::newRow("1114 sorteos reales") << todos << true << bien << Mantenimiento::kImportado;
  QTest::newRow("primer domingo posible") << sorteoDia(8) << true << bien << Mantenimiento::kImportado;
  QTest::newRow("registro 2 dañado") << sorteo(QDate(2021, 3, 7)) + QByteArray(24, '\x7f') << true << bien
                                     << Mantenimiento::kImportado;
  QTest::newRow("vacío") << QByteArray() << true << mal << noValido;
  QTest::newRow("menos de un registro") << sorteo(QDate(2021, 3, 7)).left(23) << true << mal << noValido;
  QTest::newRow("sábado") << sorteo(QDate(2021, 3, 6)) << true << mal << noValido;
  QTest::newRow("31 dic 1899") << sorteoDia(1) << true << mal << noValido;
  QTest::newRow("fecha NaN") << sorteoDia(std::numeric_limits<double>::quiet_NaN()) << true << mal << noValido;
  QTest::newRow("no es de sorteos") << QByteArray("Esto es un texto cualquiera, no un archivo de sorteos.\n") << true
                                    << mal << noValido;
  QTest::newRow("no existe") << QByteArray() << false << fallo << noValido + QStringLiteral(" Error 53");
}

void PruebaMantenimiento::importar() {
  QFETCH(QByteArray, contenido);
  QFETCH(bool, existe);
  QFETCH(int, esperado);
  QFETCH(QString, mensaje);
  Banco b;
  const QString elegido = QDir(b.e.carpeta.path()).filePath(QStringLiteral("otro/numeros.dat"));
  QDir(b.e.carpeta.path()).mkdir(QStringLiteral("otro"));
  if (existe) {
    QFile f(elegido);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(contenido);
  }
  const QByteArray antes = b.leer("numeros.dat");

  QCOMPARE(static_cast<int>(b.m.importar(elegido)), esperado);
  QCOMPARE(b.textos(), QStringList{mensaje});
  const bool importado = esperado == static_cast<int>(Mantenimiento::Importe::Importado);
  QCOMPARE(b.e.mensajes->vistos[0].icono, importado ? plataforma::Icono::Informacion : plataforma::Icono::Exclamacion);
  QCOMPARE(b.e.mensajes->vistos[0].titulo,
           importado ? QStringLiteral("Todos los sorteos") : QStringLiteral("¡Vaya hombre!"));
  if (importado) {
    QCOMPARE(b.leer("numeros.dat"), contenido);
    QCOMPARE(b.leer("numeros.bak"), antes);
    QCOMPARE(b.cargas, 1);
    QCOMPARE(b.refrescos, 1);
    QCOMPARE(b.s.proximoreg - 1, static_cast<int>(contenido.size() / 24));
  } else {
    QCOMPARE(b.leer("numeros.dat"), antes);
    QVERIFY(!QFile::exists(b.e.ruta(QStringLiteral("numeros.bak"))));
    QCOMPARE(b.cargas + b.refrescos, 0);
  }
  // The draw file is open and usable whatever happened.
  QCOMPARE(b.s.almacen().sorteos().cuenta(), static_cast<int>(b.leer("numeros.dat").size() / 24));
  QVERIFY(!QFile::exists(b.e.ruta(QStringLiteral("numeros.tmp"))));
}

void PruebaMantenimiento::importarSustituyeCopiaAntigua() {
  Banco b;
  b.e.escribir(QStringLiteral("numeros.bak"), "copia vieja");
  b.e.copiar(QStringLiteral("numeros.dat"), QStringLiteral("nuevo.dat"));
  const QByteArray antes = b.leer("numeros.dat");
  QCOMPARE(b.m.importar(b.e.ruta(QStringLiteral("nuevo.dat"))), Mantenimiento::Importe::Importado);
  QCOMPARE(b.leer("numeros.bak"), antes);
  QCOMPARE(b.s.proximoreg, 1115);
}

void PruebaMantenimiento::importarSinEscrituraNoCambiaNada_data() {
  QTest::addColumn<QString>("estorbo");
  QTest::newRow("sin copia numeros.bak") << "numeros.bak";
  QTest::newRow("sin temporal numeros.tmp") << "numeros.tmp";
}

void PruebaMantenimiento::importarSinEscrituraNoCambiaNada() {
  QFETCH(QString, estorbo);
  Banco b;
  // A folder with something in it stands where a file must be written.
  QDir(b.e.carpeta.path()).mkpath(estorbo + QStringLiteral("/dentro"));
  b.e.copiar(QStringLiteral("numeros.dat"), QStringLiteral("nuevo.dat"));
  const QByteArray antes = b.leer("numeros.dat");
  QCOMPARE(b.m.importar(b.e.ruta(QStringLiteral("nuevo.dat"))), Mantenimiento::Importe::Fallo);
  QCOMPARE(b.leer("numeros.dat"), antes);
  QCOMPARE(b.textos(), QStringList{sortilan::textoErrorPermiso()});
  QCOMPARE(b.cargas, 0);
  QCOMPARE(b.s.almacen().sorteos().cuenta(), 3);  // the draw file is open again
}

void PruebaMantenimiento::dialogo() {
  Banco b;
  // No file chosen, No to the shop: nothing else happens.
  b.e.mensajes->respuestas = {Respuesta::No};
  QCOMPARE(b.m.importarConDialogo(), Mantenimiento::Importe::Cancelado);
  QCOMPARE(b.e.dialogo->titulos, QStringList{QStringLiteral("Seleccione el archivo NUMEROS.DAT")});
  QCOMPARE(b.e.dialogo->filtros, QStringList{QStringLiteral("Archivos de sorteos (numeros.dat)")});
  QCOMPARE(b.e.dialogo->carpetas, QStringList{plataforma::carpetaInicialDialogo()});
  QCOMPARE(b.e.mensajes->vistos[0].titulo, QStringLiteral("Sortilan"));
  QCOMPARE(b.e.mensajes->vistos[0].texto, Mantenimiento::kPreguntaTienda);
  QCOMPARE(b.e.mensajes->vistos[0].botones, plataforma::Botones::SiNo);
  // Going to the shop destroys nothing: Return may still say yes.
  QCOMPARE(b.e.mensajes->vistos[0].predeterminada, Respuesta::Si);
  QVERIFY(b.e.navegador->abiertas.isEmpty());

  // Yes: the maker's shop page.
  b.e.escribir(QStringLiteral("sortilan.ini"), "[servicios]\nfabricante=http://fabricante.example\n");
  b.e.mensajes->respuestas = {Respuesta::Si};
  QCOMPARE(b.m.importarConDialogo(), Mantenimiento::Importe::Cancelado);
  QCOMPARE(b.e.navegador->abiertas, QList<QUrl>{QUrl(QStringLiteral("http://fabricante.example/tienda.html#Sorteos"))});

  // A chosen file is imported.
  b.e.copiar(QStringLiteral("numeros.dat"), QStringLiteral("elegido.dat"));
  b.e.dialogo->siguiente = b.e.ruta(QStringLiteral("elegido.dat"));
  QCOMPARE(b.m.importarConDialogo(), Mantenimiento::Importe::Importado);
  QCOMPARE(b.s.proximoreg, 1115);
}

void PruebaMantenimiento::interruptorDeFilas() {
  Banco b;
  const QByteArray antes = b.leer("numeros.dat");
  QVERIFY(!b.m.borradoFilas());
  QVERIFY(!b.m.borrarFila(1));
  QVERIFY(b.e.mensajes->vistos.isEmpty());  // not even a question while the switch is off

  b.m.borrarTodos();  // No and No
  QVERIFY(b.m.borradoFilas());
  QCOMPARE(b.leer("numeros.dat"), antes);

  b.e.mensajes->vistos.clear();
  b.e.mensajes->respuestas = {Respuesta::No};
  QVERIFY(!b.m.borrarFila(2));
  QCOMPARE(b.textos(), QStringList{Mantenimiento::kPreguntaBorrarUno});
  QCOMPARE(b.e.mensajes->vistos[0].titulo, QStringLiteral("Borrar..."));
  QCOMPARE(b.e.mensajes->vistos[0].predeterminada, Respuesta::No);
  QCOMPARE(b.leer("numeros.dat"), antes);

  b.e.mensajes->respuestas = {Respuesta::Si};
  QVERIFY(b.m.borrarFila(2));
  QCOMPARE(b.leer("numeros.dat"), sorteo(QDate(2021, 2, 21)) + sorteo(QDate(2021, 3, 7)));
  QCOMPARE(b.filasQuitadas, QList<int>{2});
}

void PruebaMantenimiento::borrarSorteoMasReciente() {
  Banco b;
  b.m.borrarTodos();
  b.e.mensajes->respuestas = {Respuesta::Si};
  QCOMPARE(b.s.proximoreg, 4);
  QVERIFY(b.m.borrarFila(1));
  QCOMPARE(b.leer("numeros.dat"), sorteo(QDate(2021, 2, 21)) + sorteo(QDate(2021, 2, 28)));
  QCOMPARE(b.s.proximoreg, 3);
  QCOMPARE(b.cargas, 1);
  const EstadoSorteos e = b.s.cargasorteos(b.e.reloj->dia);
  QCOMPARE(e.ultimo, QStringLiteral("Domingo, 28 de febrero del 2021"));
  QCOMPARE(e.faltan, QStringLiteral("Falta 1 sorteo por actualizar"));
  QVERIFY(!QFile::exists(b.e.ruta(QStringLiteral("numeros.tmp"))));
}

void PruebaMantenimiento::borrarSorteoSinPermiso() {
  Banco b;
  b.m.borrarTodos();
  b.e.mensajes->vistos.clear();
  // The temporary file cannot be created: the draw file must stay as it was.
  QDir(b.e.carpeta.path()).mkpath(QStringLiteral("numeros.tmp/dentro"));
  const QByteArray antes = b.leer("numeros.dat");
  b.e.mensajes->respuestas = {Respuesta::Si};
  QVERIFY(!b.m.borrarFila(1));
  QCOMPARE(b.leer("numeros.dat"), antes);
  QCOMPARE(b.s.proximoreg, 4);
  QVERIFY(b.filasQuitadas.isEmpty());
  QCOMPARE(b.textos(), (QStringList{Mantenimiento::kPreguntaBorrarUno, sortilan::textoErrorPermiso()}));
  QCOMPARE(b.e.mensajes->vistos[1].titulo, QStringLiteral("Error de permiso"));
  QCOMPARE(b.s.almacen().sorteos().cuenta(), 3);  // still open and readable
}

void PruebaMantenimiento::borrarTodos_data() {
  QTest::addColumn<bool>("sorteos");
  QTest::addColumn<bool>("penas");
  QTest::newRow("sí, sí") << true << true;
  QTest::newRow("sí, no") << true << false;
  QTest::newRow("no, sí") << false << true;
  QTest::newRow("no, no") << false << false;
}

void PruebaMantenimiento::borrarTodos() {
  QFETCH(bool, sorteos);
  QFETCH(bool, penas);
  Banco b;
  b.e.reloj->dia = QDate(2021, 3, 10);
  const QByteArray sorteosAntes = b.leer("numeros.dat");
  const QByteArray penasAntes = b.leer("apuestas.dat");
  b.e.mensajes->respuestas = {sorteos ? Respuesta::Si : Respuesta::No, penas ? Respuesta::Si : Respuesta::No};
  b.m.borrarTodos();

  QCOMPARE(b.textos(), (QStringList{Mantenimiento::kPreguntaBorrarTodos, Mantenimiento::kPreguntaAciertos}));
  for (const auto& v : b.e.mensajes->vistos) {
    QCOMPARE(v.titulo, QStringLiteral("Borrar..."));
    QCOMPARE(v.botones, plataforma::Botones::SiNo);
    QCOMPARE(v.predeterminada, Respuesta::No);  // Return alone deletes nothing
    QCOMPARE(v.icono, plataforma::Icono::Pregunta);
  }
  QCOMPARE(b.leer("numeros.dat"), sorteos ? QByteArray() : sorteosAntes);
  QCOMPARE(b.s.proximoreg, sorteos ? 1 : 4);
  QCOMPARE(b.refrescos, sorteos ? 1 : 0);
  QCOMPARE(b.cargas, (sorteos ? 1 : 0) + (penas ? 1 : 0));
  const Pena p = Pena::decodificar(b.leer("apuestas.dat").constData());
  if (penas) {
    QCOMPARE(p.aciertos, (std::array<int16_t, 8>{}));
    QCOMPARE(p.ultimacuenta, 0.0);
    QCOMPARE(p.creacion, oleDesdeFecha(QDate(2021, 3, 10)));
    QCOMPARE(p.nombreRecortado(), QStringLiteral("UNA"));
  } else {
    QCOMPARE(b.leer("apuestas.dat"), penasAntes);
  }
  QVERIFY(b.m.borradoFilas());
}

void PruebaMantenimiento::textoErrorPermiso() {
  Entorno e;
  errorpermiso();
  QCOMPARE(e.mensajes->vistos.size(), 1);
  QCOMPARE(e.mensajes->vistos[0].titulo, QStringLiteral("Error de permiso"));
  QCOMPARE(e.mensajes->vistos[0].icono, plataforma::Icono::Exclamacion);
  QCOMPARE(e.mensajes->vistos[0].texto,
           QStringLiteral("Para modificar el archivo necesita permiso de Administrador.\r\nCierre el programa y "
                          "ejecútelo en modo Administrador y repita la operación.\r\n(Encima del icono, botón "
                          "derecho y elija \"Ejecutar como administrador\")"));
}

QTEST_GUILESS_MAIN(PruebaMantenimiento)
#include "test_mantenimiento.moc"
