// The participation papers from the window: the period dialog, a member's paper saved as
// PDF, the batch beside its summary sheet, and checking a code.
#include <QApplication>
#include <QDateEdit>
#include <QLineEdit>
#include <QTimer>
#include <QtTest>

#include "gui/papers/papeles.h"
#include "operations/socios.h"
#include "papers/registropapeles.h"
#include "support/controles.h"
#include "support/dobles.h"

using namespace sortilan;
using ui::DialogoPapel;
using ui::Papeles;

namespace {

// Accepts the period dialog once it is open, after `ajustar` has filled it.
void aceptarDialogo(std::function<void(DialogoPapel&)> ajustar = {}) {
  QTimer::singleShot(0, [ajustar] {
    auto* d = qobject_cast<DialogoPapel*>(QApplication::activeModalWidget());
    if (!d) return;
    if (ajustar) ajustar(*d);
    d->accept();
  });
}

void preparar(prueba::Entorno& e, Almacen& almacen) {
  e.escribir(QStringLiteral("apuestas.dat"),
             prueba::penaConApuestas(QStringLiteral("PREMIADA"), 2, QDate(2021, 1, 1)).codificar());
  e.escribir(QStringLiteral("sortilan.ini"), "[pena]\norganizador=Juan P\xc3\xa9rez\norganizador_nif=11111111h\n");
  prueba::exigir(almacen.abrir(e.carpeta.path()));
  for (const char* n : {"Ana", "Luis", "Marta", "Pedro", "Sofía"})
    prueba::exigir(operaciones::altaSocio(almacen, 1, {QString::fromUtf8(n), {}, {}}, 1, QDate(2021, 1, 1)));
}

}  // namespace

class TestPapelesVentana : public QObject {
  Q_OBJECT
 private slots:
  void dialogoPropone() {
    prueba::Entorno e(QDate(2021, 3, 5));
    DialogoPapel d(QStringLiteral("x"), {QStringLiteral("Juan"), QStringLiteral("1H")}, QDate(2021, 3, 5));
    // A Friday: the next draw is on Sunday.
    QCOMPARE(prueba::control<QDateEdit>(&d, "FechaDesde")->date(), QDate(2021, 3, 7));
    QCOMPARE(prueba::control<QDateEdit>(&d, "FechaHasta")->date(), QDate(2021, 3, 7));
    prueba::control<QLineEdit>(&d, "EditOrganizadorNif")->setText(QStringLiteral(" 12 h "));
    const operaciones::PeticionPapel p = d.peticion();
    QCOMPARE(p.organizador.nombre, QStringLiteral("Juan"));
    QCOMPARE(p.organizador.nif, QStringLiteral("12H"));
    QVERIFY(!p.conNif);
  }

  void papelDelSocioYComprobacion() {
    prueba::Entorno e(QDate(2021, 3, 5));
    Almacen almacen;
    preparar(e, almacen);
    QWidget ventana;
    Papeles papeles(
        almacen,
        [] {
          return std::pair{1, 2};
        },
        &ventana);
    const QString ruta = e.ruta(QStringLiteral("luis.pdf"));
    e.dialogo->siguiente = ruta;
    aceptarDialogo();
    QSignalSpy guardados(&papeles, &Papeles::archivoGuardado);
    papeles.emitirDelSocio();
    QCOMPARE(guardados, QList<QVariantList>{{ruta}});
    QCOMPARE(e.mensajes->vistos.size(), 1);
    const QString dicho = e.mensajes->vistos.last().texto;
    QVERIFY2(dicho.startsWith(u"Papel nº 1 emitido. Código: "_qs), qPrintable(dicho));
    QVERIFY(QFile::exists(ruta));
    const QString codigo = dicho.mid(dicho.indexOf(u"Código: "_qs) + 8);

    bool valido = false;
    QString texto = Papeles::textoComprobacion(e.carpeta.path(), codigo.left(14).toLower(), &valido);
    QVERIFY(valido);
    QVERIFY2(texto.contains(u"Socio 2: Luis"_qs) && texto.contains(u"Juan Pérez, NIF 11111111H"_qs), qPrintable(texto));
    PapelGuardado anulado;
    prueba::exigir(operaciones::anularPapel(almacen, codigo, anulado));
    texto = Papeles::textoComprobacion(e.carpeta.path(), codigo, &valido);
    QVERIFY(!valido);
    QVERIFY(texto.contains(u"ANULADO"_qs));
    texto = Papeles::textoComprobacion(e.carpeta.path(), u"ZZZZ-ZZZZ-ZZZZ"_qs, &valido);
    QCOMPARE(texto, u"Ningún papel de esta carpeta tiene ese código."_qs);
  }

  void sinSocioElegido() {
    prueba::Entorno e(QDate(2021, 3, 5));
    Almacen almacen;
    preparar(e, almacen);
    QWidget ventana;
    Papeles papeles(
        almacen,
        [] {
          return std::pair{1, 0};
        },
        &ventana);
    papeles.emitirDelSocio();
    QCOMPARE(e.mensajes->vistos.size(), 1);
    QVERIFY(e.mensajes->vistos.last().texto.contains(u"Elija antes"_qs));
    std::vector<PapelGuardado> lista;
    prueba::exigir(leerPapelesPena(e.carpeta.path(), almacen.penas().leerTodos(), 1, lista));
    QVERIFY(lista.empty());
  }

  void loteJuntoAlResumen() {
    prueba::Entorno e(QDate(2021, 3, 5));
    Almacen almacen;
    preparar(e, almacen);
    QWidget ventana;
    Papeles papeles(
        almacen,
        [] {
          return std::pair{1, 0};
        },
        &ventana);
    QDir(e.carpeta.path()).mkdir(QStringLiteral("lote"));
    e.dialogo->siguiente = e.ruta(QStringLiteral("lote/resumen.pdf"));
    aceptarDialogo([](DialogoPapel& d) { prueba::control<QDateEdit>(&d, "FechaHasta")->setDate(QDate(2021, 3, 14)); });
    QSignalSpy guardados(&papeles, &Papeles::archivoGuardado);
    papeles.emitirDeTodos();
    QCOMPARE(guardados, QList<QVariantList>{{e.ruta(QStringLiteral("lote/resumen.pdf"))}});
    QVERIFY2(e.mensajes->vistos.last().texto.startsWith(u"5 papeles emitidos"_qs),
             qPrintable(e.mensajes->vistos.last().texto));
    const QStringList archivos = QDir(e.ruta(QStringLiteral("lote"))).entryList(QDir::Files, QDir::Name);
    QCOMPARE(archivos.size(), 6);
    QVERIFY(archivos.contains(u"resumen.pdf"_qs));
    QVERIFY(archivos.contains(u"papel_5_socio_5.pdf"_qs));
  }
};

QTEST_MAIN(TestPapelesVentana)
#include "test_papelesventana.moc"
