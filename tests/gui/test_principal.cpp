// The main window on a data folder: start-up, status labels and the draw list.
#include <QAbstractItemModelTester>
#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>

#include "app/presentacion.h"
#include "app/principal.h"
#include "base/programa.h"
#include "store/almacen.h"
#include "store/cerrojodatos.h"
#include "support/dobles.h"

using namespace Qt::StringLiterals;

using namespace sortilan;

class TestPrincipal : public QObject {
  Q_OBJECT
 private slots:
  void historiaReal() {
    prueba::Entorno e(QDate(2026, 12, 8));
    e.copiar(QStringLiteral("numeros.dat"));
    ui::Principal w;
    w.cargar(e.carpeta.path());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.windowTitle(), QStringLiteral("Sortilan - Para El Gordo de la Primitiva. v.") + versionPrograma());
    QCOMPARE(w.findChild<QLabel*>(QStringLiteral("Label9_3"))->text(),
             QStringLiteral("Domingo, 16 de agosto del 2026"));
    QCOMPARE(w.findChild<QLabel*>(QStringLiteral("Label9_5"))->text(),
             QStringLiteral("Domingo, 13 de diciembre del 2026"));
    QCOMPARE(w.findChild<QLabel*>(QStringLiteral("Label9_6"))->text(),
             QStringLiteral("Faltan 16 sorteos por actualizar"));
    QCOMPARE(w.findChild<QLabel*>(QStringLiteral("Label7"))->text(), QStringLiteral("TOTAL: 1114 sorteos."));
    auto* lista = w.findChild<QTableView*>(QStringLiteral("ListView3"));
    QAbstractItemModelTester tester(lista->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(lista->model()->rowCount(), 1114);
    QCOMPARE(lista->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Números ganadores"));
    QCOMPARE(lista->model()->index(0, 0).data().toString(), QStringLiteral(" 7- 8-11-31-35  NÚM.CLAVE: 1"));
    QCOMPARE(lista->model()->index(0, 1).data().toString(), QStringLiteral("16/08/2026  Domingo"));
    QCOMPARE(lista->model()->index(1113, 1).data().toString(), QStringLiteral("06/02/2005  Domingo"));
    QVERIFY(lista->model()->index(0, 0).data(Qt::FontRole).value<QFont>().bold());
    auto* tabs = w.findChild<QTabWidget*>(QStringLiteral("SSTab1"));
    QCOMPARE(tabs->count(), 6);
    QStringList titulos;
    for (int i = 0; i < 6; ++i) titulos << tabs->tabText(i);
    QCOMPARE(titulos, (QStringList{u"General"_s, u"Último sorteo"_s, u"Gestor de peñas"_s, u"Estadísticas"_s,
                                   u"Cuentas"_s, u"Socios"_s}));
  }

  void primerArranqueEnCarpetaVacia() {
    prueba::Entorno e(QDate(2021, 3, 10));
    ui::Principal w;
    w.cargar(e.carpeta.path());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTRY_COMPARE(e.mensajes->vistos.size(), 1);
    QCOMPARE(e.mensajes->vistos[0].titulo, QStringLiteral("Fichero de peñas vacío"));
    QVERIFY(e.mensajes->vistos[0].texto.startsWith(QStringLiteral("Bienvenido a Sortilan.")));
    w.update();
    QTest::qWait(50);
    QCOMPARE(e.mensajes->vistos.size(), 1);  // once per run
    QCOMPARE(w.findChild<QLabel*>(QStringLiteral("Label9_3"))->text(), QStringLiteral("Fichero de datos vacío."));
    QCOMPARE(w.findChild<QLabel*>(QStringLiteral("Label9_6"))->text(), QStringLiteral("No se ha actualizado nunca"));
    QCOMPARE(w.findChild<QLabel*>(QStringLiteral("Label7"))->text(), QStringLiteral("TOTAL: 0 sorteos."));
    // Looking creates nothing: the files appear with the first change.
    QVERIFY(QDir(e.carpeta.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
  }

  // Another program (a scheduled command line) changed the data while the window was in
  // the background: coming back to the front shows what is stored.
  void otroProgramaCambiaLosDatos() {
    prueba::Entorno e(QDate(2026, 12, 8));
    e.copiar(QStringLiteral("numeros.dat"));
    ui::Principal w;
    w.cargar(e.carpeta.path());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.findChild<QLabel*>(QStringLiteral("Label9_2"))->text(), QStringLiteral("0"));
    QWidget otra;
    otra.show();
    otra.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&otra));
    Pena p = nuevaPena(QStringLiteral("DE FUERA"), 1, QDate(2026, 1, 1));
    for (int i = 1; i <= 6; ++i) p.ponerApuesta(i, 1, static_cast<int16_t>(i));
    e.escribir(QStringLiteral("apuestas.dat"), p.codificar());
    QByteArray sorteos = e.leer(QStringLiteral("numeros.dat"));
    sorteos.chop(24);
    e.escribir(QStringLiteral("numeros.dat"), sorteos);
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTRY_COMPARE(w.findChild<QLabel*>(QStringLiteral("Label9_2"))->text(), QStringLiteral("1"));
    QCOMPARE(w.findChild<QLabel*>(QStringLiteral("Label7"))->text(), QStringLiteral("TOTAL: 1113 sorteos."));
    QCOMPARE(w.findChild<QTableView*>(QStringLiteral("ListView3"))->model()->rowCount(), 1113);
  }

  // A damaged draw file is put aside before any peña is checked against it, and
  // everything is rebuilt as for an empty file: no result row, no counted prize.
  void archivoDanadoQuedaComoVacio() {
    Pena p = nuevaPena(QStringLiteral("PRUEBA"), 1, QDate(2021, 3, 1));
    const int bet[6] = {3, 12, 25, 40, 54, 7};
    for (int i = 0; i < 6; ++i) p.ponerApuesta(i + 1, 1, static_cast<int16_t>(bet[i]));
    struct Visto {
      int filas = 0, avisos = 0, permisos = 0;
      QByteArray apartado, sorteos, penas;
      QString total;
    };
    auto arrancar = [&](const QByteArray& sorteos, bool sinApartar = false) {
      prueba::Entorno e(QDate(2021, 3, 10));
      e.escribir(QStringLiteral("apuestas.dat"), p.codificar());
      e.escribir(QStringLiteral("numeros.dat"), sorteos);
      // Another program holds the data folder: the damaged file cannot be put aside now.
      CerrojoDatos otro(e.carpeta.path());
      if (sinApartar) {
        prueba::exigir(otro.tomar());
        CerrojoDatos::ponerEspera(std::chrono::milliseconds::zero());
      }
      ui::Principal w;
      w.cargar(e.carpeta.path());
      CerrojoDatos::ponerEspera(std::chrono::milliseconds(5000));
      Visto v;
      for (const prueba::MensajeVisto& m : e.mensajes->vistos) {
        v.avisos += m.titulo == QStringLiteral("Error de lectura");
        v.permisos += m.texto == CerrojoDatos::textoOcupado();
      }
      v.apartado = e.leer(QStringLiteral("numeros.err"));
      v.sorteos = e.leer(QStringLiteral("numeros.dat"));
      v.penas = e.leer(QStringLiteral("apuestas.dat"));
      v.total = w.findChild<QLabel*>(QStringLiteral("Label7"))->text();
      v.filas = w.findChild<QTableView*>(QStringLiteral("ListView2"))->model()->rowCount();
      return v;
    };
    Sorteo danado;
    danado.numeros = {0, 12, 25, 40, 54, 7, 0, 0};
    danado.fecha = 44262.0;
    const Visto d = arrancar(danado.codificar());
    const Visto vacio = arrancar(QByteArray());
    QCOMPARE(d.avisos, 1);
    QCOMPARE(d.apartado, danado.codificar());
    QVERIFY(d.sorteos.isEmpty());
    QCOMPARE(d.total, QStringLiteral("TOTAL: 0 sorteos."));
    QCOMPARE(vacio.avisos, 0);
    QCOMPARE(d.filas, vacio.filas);
    // The bet has 4 + key against the bad draw: no prize may be counted from it.
    QCOMPARE(d.penas, p.codificar());

    // A damaged file that cannot be put aside stays as it is, warned about once with
    // the reason, neither listed nor checked, and the start-up still ends.
    const Visto queda = arrancar(danado.codificar(), true);
    QCOMPARE(queda.avisos, 1);
    QCOMPARE(queda.permisos, 1);
    QCOMPARE(queda.sorteos, danado.codificar());
    QCOMPARE(queda.penas, p.codificar());
    QCOMPARE(queda.total, QStringLiteral("TOTAL: 0 sorteos."));
  }

  void menus() {
    prueba::Entorno e;
    ui::Principal w;
    const QStringList esperados = {u"General"_s, u"Ver"_s, u"Socios"_s, u"Ayuda"_s};
    QStringList vistos;
    for (QAction* a : w.menuBar()->actions()) vistos << QString(a->text()).remove(QLatin1Char('&'));
    QCOMPARE(vistos, esperados);
    for (const char* n :
         {"Baja", "Crearp", "borrpe", "sencillas", "verpremio", "verhisto", "verprehi", "Multiples", "verpremiom",
          "verhistom", "verpreim", "salir", "gene", "ultimo", "Gestor", "esta", "Leer", "web", "acerca"})
      QVERIFY2(w.findChild<QAction*>(QLatin1String(n)) != nullptr, n);
    QCOMPARE(w.findChild<QAction*>(QStringLiteral("borrpe"))->text().remove(QLatin1Char('&')),
             QStringLiteral("Borrar sorteos almacenados/Reset aciertos peñas"));
    w.findChild<QAction*>(QStringLiteral("esta"))->trigger();
    QCOMPARE(w.SSTab1()->currentIndex(), 3);
  }

  void presentacion() {
    int entradas = 0;
    ui::Presentacion p([&] { ++entradas; });
    for (int i = 0; i < 37; ++i) p.Timer1_Timer();
    QCOMPARE(entradas, 0);
    p.Timer1_Timer();  // the 38th tick
    QCOMPARE(entradas, 1);
    p.Command1_Click();
    QCOMPARE(entradas, 1);
    QCOMPARE(p.windowTitle(), QStringLiteral("Presentación"));
  }
};

QTEST_MAIN(TestPrincipal)
#include "test_principal.moc"
