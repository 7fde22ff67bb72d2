// Prize tables read from the results service's answers and kept in sortilan.db, the
// catch-up of missing tables, and collections marked by the user.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>
#include <algorithm>
#include <iterator>

#include "base/fechas.h"
#include "money/balance.h"
#include "operations/completarpremios.h"
#include "operations/dinero.h"
#include "operations/penas.h"
#include "operations/transaccion.h"
#include "store/cerrojodatos.h"
#include "support/dobles.h"
#include "support/servicioprueba.h"

using namespace Qt::StringLiterals;

using namespace sortilan;

namespace {

const QByteArray& muestra() {
  static const QByteArray m = prueba::leerDatoPrueba(QStringLiteral("respuesta_ejemplo.json"));
  return m;
}

// The sample answer with each draw object passed through `cambiar`.
QByteArray muestraCambiada(const std::function<void(QJsonObject&)>& cambiar) {
  QJsonArray a = QJsonDocument::fromJson(muestra()).array();
  for (qsizetype i = 0; i < a.size(); ++i) {
    QJsonObject o = a[i].toObject();
    cambiar(o);
    a[i] = o;
  }
  return QJsonDocument(a).toJson(QJsonDocument::Compact);
}

// The sample answer without the draws after `hasta`.
QByteArray muestraHasta(QDate hasta) {
  QJsonArray a;
  for (const QJsonValue& v : QJsonDocument::fromJson(muestra()).array())
    if (QDate::fromString(v[QStringLiteral("fecha_sorteo")].toString().left(10), Qt::ISODate) <= hasta) a.append(v);
  return QJsonDocument(a).toJson(QJsonDocument::Compact);
}

TablasPremios guardadas(const QString& carpeta) {
  BaseDatos b;
  TablasPremios t;
  prueba::exigir(b.abrir(carpeta, BaseDatos::Modo::Lectura));
  prueba::exigir(leerTablas(b, t));
  return t;
}

// The history up to 7 March 2021, the last draw of the sample answer.
void historia(const prueba::Entorno& e) {
  e.escribir(QStringLiteral("numeros.dat"), prueba::leerDatoPrueba(QStringLiteral("numeros.dat")).left(830 * 24));
}

Pena penaDe(const char* nombre, QDate creacion, std::array<int, 5> numeros, int clave) {
  Pena p = nuevaPena(QString::fromUtf8(nombre), 1, creacion);
  for (int i = 0; i < 5; ++i) p.ponerApuesta(i + 1, 1, static_cast<int16_t>(numeros[static_cast<size_t>(i)]));
  p.ponerApuesta(6, 1, static_cast<int16_t>(clave));
  return p;
}

}  // namespace

class TestPremiosGuardados : public QObject {
  Q_OBJECT
 private slots:
  // Every draw of the sample, every row of its table, against the answer read plainly.
  void muestraEntera() {
    prueba::Entorno e;
    int n = 0;
    prueba::exigir(operaciones::guardarPremiosRespuesta(e.carpeta.path(), muestra(), &n));
    QCOMPARE(n, 22);
    const TablasPremios t = guardadas(e.carpeta.path());
    QCOMPARE(t.size(), size_t{22});
    for (const QJsonValue& v : QJsonDocument::fromJson(muestra()).array()) {
      const QJsonObject o = v.toObject();
      const QDate fecha = QDate::fromString(o[QStringLiteral("fecha_sorteo")].toString().left(10), Qt::ISODate);
      QVERIFY(t.count(fecha));
      const TablaPremios& tabla = t.at(fecha);
      for (const QJsonValue& f : o[QStringLiteral("escrutinio")].toArray()) {
        const QJsonObject fila = f.toObject();
        const int c = fila[QStringLiteral("categoria")].toInt();
        const auto& guardada = c == 9 ? tabla.reintegro : tabla.categorias[static_cast<size_t>(c - 1)];
        QVERIFY(guardada);
        QCOMPARE(guardada->centimos, fila[QStringLiteral("premio")].toString().remove(QLatin1Char('.')).toLongLong());
        QCOMPARE(guardada->ganadores.value_or(-1), fila[QStringLiteral("ganadores")].toString().toLongLong());
      }
      QCOMPARE(
          tabla.documento,
          QStringLiteral("/documents/d/loterias/acta-el-gordo-%1.pdf").arg(fecha.toString(QStringLiteral("yyyyMMdd"))));
    }
  }

  void respuestasRaras_data() {
    QTest::addColumn<QByteArray>("respuesta");
    QTest::addColumn<int>("tablas");
    QTest::newRow("texto delante y espacios") << "callback( \r\n " + muestra() + " \n" << 22;
    QTest::newRow("basura detrás") << muestra() + "<!-- fin -->" << 22;
    QTest::newRow("sin registros") << QByteArray(
                                          "\"No se ha encontrado ningún registro para los parámetros introducidos.\"")
                                   << 0;
    QTest::newRow("cortada") << muestra().left(5000) << 0;
    QTest::newRow("vacía") << QByteArray("[]") << 0;
    QTest::newRow("sin fecha") << muestraCambiada([](QJsonObject& o) { o.remove(QStringLiteral("fecha_sorteo")); })
                               << 0;
    // One draw whose text is broken loses its own table only.
    QByteArray rota = muestra();
    rota.insert(rota.indexOf("\"escrutinio\""), "\"roto\" ");
    QTest::newRow("un sorteo roto") << rota << 21;
    QByteArray muchos = "[";
    for (int i = 0; i < Sorteo::kMaximo; ++i) muchos += "1,";
    QTest::newRow("más sorteos de los que caben") << muchos + "1]" << 0;
    QTest::newRow("números sueltos") << QByteArray("[1,2,3]") << 0;
  }
  void respuestasRaras() {
    QFETCH(QByteArray, respuesta);
    QFETCH(int, tablas);
    QCOMPARE(static_cast<int>(leerTablasRespuesta(respuesta).size()), tablas);
  }

  // The service lists a new draw with zeros (or nothing) until its prizes are counted;
  // a later answer completes the table, and a later zero never erases a known prize.
  void completadaPorUnaRespuestaPosterior() {
    prueba::Entorno e;
    const QDate d7(2021, 3, 7), d28(2021, 2, 28);
    const QByteArray incompleta = muestraCambiada([](QJsonObject& o) {
      const QString fecha = o[QStringLiteral("fecha_sorteo")].toString();
      if (fecha.startsWith(QStringLiteral("2021-02-28"))) o[QStringLiteral("escrutinio")] = QJsonArray();
      if (!fecha.startsWith(QStringLiteral("2021-03-07"))) return;
      QJsonArray filas = o[QStringLiteral("escrutinio")].toArray();
      for (qsizetype i = 0; i < filas.size(); ++i) {
        QJsonObject f = filas[i].toObject();
        f[QStringLiteral("premio")] = QStringLiteral("0.00");
        f[QStringLiteral("ganadores")] = QStringLiteral("0");
        filas[i] = f;
      }
      o[QStringLiteral("escrutinio")] = filas;
    });
    int n = 0;
    prueba::exigir(operaciones::guardarPremiosRespuesta(e.carpeta.path(), incompleta, &n));
    QCOMPARE(n, 22);
    QVERIFY(!guardadas(e.carpeta.path()).at(d7).publicada());
    QVERIFY(!guardadas(e.carpeta.path()).at(d28).publicada());

    prueba::exigir(operaciones::guardarPremiosRespuesta(e.carpeta.path(), muestra(), &n));
    QCOMPARE(n, 2);
    const TablasPremios completas = guardadas(e.carpeta.path());
    QCOMPARE(completas.at(d7).premio(3).value_or(-1), 4744595);
    QCOMPARE(completas.at(d28).premio(3).value_or(-1), 7911512);

    // An answer that changes nothing touches neither the file nor the lock: it is stored
    // while another program holds the folder. One that changes a table waits for it.
    const QByteArray antes = e.leer(QStringLiteral("sortilan.db"));
    const auto espera = CerrojoDatos::espera();
    CerrojoDatos::ponerEspera(std::chrono::milliseconds(10));
    CerrojoDatos otro(e.carpeta.path());
    prueba::exigir(otro.tomar());
    prueba::exigir(operaciones::guardarPremiosRespuesta(e.carpeta.path(), incompleta, &n));
    QCOMPARE(n, 0);
    QCOMPARE(e.leer(QStringLiteral("sortilan.db")), antes);
    const QByteArray corregida = QByteArray(muestra()).replace("\"47445.95\"", "\"47445.96\"");
    const Resultado ocupado = operaciones::guardarPremiosRespuesta(e.carpeta.path(), corregida, &n);
    QCOMPARE(ocupado.error, CerrojoDatos::textoOcupado());
    QCOMPARE(guardadas(e.carpeta.path()), completas);
    otro.soltar();
    CerrojoDatos::ponerEspera(espera);

    prueba::exigir(operaciones::guardarPremiosRespuesta(e.carpeta.path(), corregida, &n));
    QCOMPARE(n, 1);
    QCOMPARE(guardadas(e.carpeta.path()).at(d7).premio(3).value_or(-1), 4744596);
  }

  void ventanas_data() {
    QTest::addColumn<QList<QDate>>("faltan");
    QTest::addColumn<QStringList>("ventanas");
    const QDate d(2020, 6, 7);
    QTest::newRow("ninguna") << QList<QDate>{} << QStringList{};
    QTest::newRow("una") << QList<QDate>{d} << QStringList{u"20200607-20200607"_s};
    QTest::newRow("150 días justos") << QList<QDate>{d, d.addDays(149)} << QStringList{u"20200607-20201103"_s};
    QTest::newRow("151 días") << QList<QDate>{d, d.addDays(150)}
                              << QStringList{u"20200607-20200607"_s, u"20201104-20201104"_s};
    QTest::newRow("huecos") << QList<QDate>{d, d.addDays(7), d.addDays(700), d.addDays(707)}
                            << QStringList{u"20200607-20200614"_s, u"20220508-20220515"_s};
  }
  void ventanas() {
    QFETCH(QList<QDate>, faltan);
    QFETCH(QStringList, ventanas);
    QStringList obtenidas;
    for (const VentanaPeticion& v : ventanasPeticion({faltan.begin(), faltan.end()})) {
      QVERIFY(v.desde.daysTo(v.hasta) < kDiasVentana);
      obtenidas << v.desde.toString(QStringLiteral("yyyyMMdd")) + QLatin1Char('-') +
                       v.hasta.toString(QStringLiteral("yyyyMMdd"));
    }
    QCOMPARE(obtenidas, ventanas);
  }

  // Exactly the draws whose prizes read "importe pendiente", window by window, pausing
  // between requests; the draws the service does not list stay missing, the ones it lists
  // without the amount are named, and a refusal ends it keeping the rest.
  void completarPremios() {
    prueba::Entorno e(QDate(2021, 3, 10));
    historia(e);
    Almacen a;
    prueba::exigir(a.abrir(e.carpeta.path()));
    const QDate creacion(2020, 6, 1);
    prueba::exigir(
        operaciones::crearPena(a, penaDe("UNA", creacion, {1, 2, 3, 4, 5}, 0), QDate(2021, 3, 10)).resultado);
    // The draws it won something in, counted plainly: two numbers or the key.
    std::vector<QDate> premiados, conNumeros;  // the second: a prize by numbers, not the key alone
    for (const Sorteo& s : a.sorteos().leerTodos()) {
      int aciertos = 0;
      for (int i = 1; i <= 5; ++i) aciertos += s.numero(i) >= 1 && s.numero(i) <= 5 ? 1 : 0;
      if (fechaDesdeOle(s.fecha) < creacion) continue;
      if (aciertos >= 2 || s.clave() == 0) premiados.push_back(fechaDesdeOle(s.fecha));
      if (aciertos >= 2) conNumeros.push_back(fechaDesdeOle(s.fecha));
    }
    const QDate primeraMuestra(2020, 10, 11);
    const auto antesDeLaMuestra =
        std::count_if(premiados.begin(), premiados.end(), [&](const QDate& f) { return f < primeraMuestra; });
    QVERIFY(antesDeLaMuestra > 0 && antesDeLaMuestra < static_cast<qsizetype>(premiados.size()));

    prueba::ServicioPrueba servicio;
    servicio.configurar(e.carpeta.path());
    prueba::CanalGuionado canal;
    operaciones::CompletarPremios c(a, canal);
    // Every request answered alike, as it comes after its pause.
    const auto responderTodo = [&](const QByteArray& respuesta) {
      for (qsizetype respondidas = canal.pedidas.size() - 1; c.enCurso(); ++respondidas) {
        QTRY_VERIFY(canal.pedidas.size() > respondidas || !c.enCurso());
        if (c.enCurso()) canal.responder(respuesta);
      }
    };

    c.iniciar();
    QCOMPARE(c.ventanas(), ventanasPeticion(premiados));
    QVERIFY(c.ventanas().size() >= 2);
    QCOMPARE(canal.pedidas.size(), 1);
    QCOMPARE(canal.pedidas[0].query().section(QLatin1Char('&'), 2, 2),
             QStringLiteral("fechaInicioInclusiva=%1").arg(premiados.front().toString(QStringLiteral("yyyyMMdd"))));
    // The first answer brings only its own window; the next request waits its pause.
    canal.responder(muestraHasta(c.ventanas()[0].hasta));
    QCOMPARE(e.pausas->vistas, QList<int>{operaciones::CompletarPremios::kPausaMs});
    QTRY_COMPARE(canal.pedidas.size(), 2);
    QCOMPARE(canal.pedidas[1].query().section(QLatin1Char('&'), 2, 2),
             QStringLiteral("fechaInicioInclusiva=%1").arg(c.ventanas()[1].desde.toString(QStringLiteral("yyyyMMdd"))));
    responderTodo(muestra());
    QVERIFY(c.resumen().resultado.ok);
    QCOMPARE(c.resumen().guardadas, 22);
    QCOMPARE(c.resumen().faltan, antesDeLaMuestra);  // not in the sample
    QVERIFY(c.resumen().sinImporte.empty());

    // Listed without the amounts the peña won: said draw by draw, not as a failure.
    prueba::exigir(operaciones::cambiarBase(
        e.carpeta.path(), [](BaseDatos& b) { return b.ejecutar(QStringLiteral("DELETE FROM tablas_premios")); }));
    const qsizetype antes = canal.pedidas.size();
    c.iniciar();
    QVERIFY(c.ventanas().size() >= 2);
    responderTodo(muestraCambiada([](QJsonObject& o) { o.remove(QStringLiteral("escrutinio")); }));
    QVERIFY2(c.resumen().resultado.ok, qPrintable(c.resumen().resultado.error));
    // The first answer brought the later window too: it was not asked for.
    QCOMPARE(canal.pedidas.size(), antes + 1);
    // A table listed without its rows has no reintegro: the key alone wins nothing there.
    std::vector<QDate> enMuestra;
    std::copy_if(conNumeros.begin(), conNumeros.end(), std::back_inserter(enMuestra),
                 [&](const QDate& f) { return f >= primeraMuestra; });
    QVERIFY(!enMuestra.empty());
    QCOMPARE(c.resumen().faltan, static_cast<int>(antesDeLaMuestra + std::ssize(enMuestra)));
    QCOMPARE(c.resumen().sinImporte, enMuestra);
    QCOMPARE(operaciones::textosSinImporte(c.resumen()).first(),
             QStringLiteral("El servicio de resultados no da el importe de algún premio del sorteo del %1.")
                 .arg(fechaCorta(enMuestra.front())));

    const qsizetype pedidas = canal.pedidas.size();
    c.iniciar();
    QCOMPARE(canal.pedidas.size(), pedidas + 1);
    plataforma::Traida rechazo;
    rechazo.estadoHttp = 403;
    emit canal.terminado(rechazo);
    QVERIFY(!c.enCurso());
    QVERIFY(c.resumen().resultado.error.contains(QStringLiteral("HTTP 403")));
    QCOMPARE(c.resumen().faltan, static_cast<int>(antesDeLaMuestra + std::ssize(enMuestra)));
  }

  // A collection belongs to its peña even after an earlier peña is deleted and the
  // record numbers move up.
  void cobroSigueASuPena() {
    prueba::Entorno e(QDate(2021, 3, 10));
    historia(e);
    prueba::exigir(operaciones::guardarPremiosRespuesta(e.carpeta.path(), muestra()));
    Almacen a;
    prueba::exigir(a.abrir(e.carpeta.path()));
    // 2021-01-03: 11 16 33 35 46, key 9. Both win the 7ª there; the key also the 28 Feb.
    prueba::exigir(
        operaciones::crearPena(a, penaDe("UNA", QDate(2020, 12, 1), {11, 16, 1, 2, 3}, 9), QDate(2021, 3, 10))
            .resultado);
    prueba::exigir(
        operaciones::crearPena(a, penaDe("DOS", QDate(2020, 12, 1), {33, 35, 1, 2, 3}, 9), QDate(2021, 3, 10))
            .resultado);
    const QDate sorteo(2021, 1, 3);
    prueba::exigir(operaciones::marcarCobro(a, 2, sorteo, QDate(2021, 1, 5), QDate(2021, 3, 10)));
    prueba::exigir(operaciones::borrarPena(a, 1, a.penas().leerTodos().front(), QDate(2021, 3, 10)));

    Cuentas c;
    prueba::exigir(
        leerCuentas(e.carpeta.path(), a.penas().leerTodos(), a.sorteos().leerTodos(), QDate(2021, 3, 10), c));
    QCOMPARE(c.penas.size(), size_t{1});
    QCOMPARE(c.penas[0].nombre, QStringLiteral("DOS"));
    const Cobro* cobro = c.cobro(1, sorteo);
    QVERIFY(cobro);
    QCOMPARE(textoCobro(*cobro), QStringLiteral("cobrado el 05/01/2021"));
    QCOMPARE(cobro->neto.value_or(-1), 712);

    // The same peña entered again is a new one: nothing of the old marks shows on it.
    prueba::exigir(
        operaciones::crearPena(a, penaDe("UNA", QDate(2020, 12, 1), {11, 16, 1, 2, 3}, 9), QDate(2021, 3, 10))
            .resultado);
    prueba::exigir(
        leerCuentas(e.carpeta.path(), a.penas().leerTodos(), a.sorteos().leerTodos(), QDate(2021, 3, 10), c));
    QCOMPARE(c.cobro(2, sorteo)->estado, EstadoCobro::Pendiente);

    prueba::exigir(operaciones::marcarCobro(a, 1, sorteo, std::nullopt, QDate(2021, 3, 10)));
    prueba::exigir(
        leerCuentas(e.carpeta.path(), a.penas().leerTodos(), a.sorteos().leerTodos(), QDate(2021, 3, 10), c));
    QCOMPARE(c.cobro(1, sorteo)->estado, EstadoCobro::Pendiente);
  }

  void cobrosRechazados_data() {
    QTest::addColumn<int>("registro");
    QTest::addColumn<QDate>("sorteo");
    QTest::addColumn<QDate>("dia");
    QTest::addColumn<QString>("error");
    const QDate s(2021, 1, 3);
    QTest::newRow("sin peña") << 3 << s << s << "No hay ninguna peña en el registro 3.";
    QTest::newRow("no jugado") << 1 << QDate(2021, 1, 4) << s << "La peña UNA no jugó ningún sorteo del 04/01/2021.";
    QTest::newRow("sin premio") << 1 << QDate(2021, 1, 10) << QDate(2021, 1, 10)
                                << "La peña UNA no tiene premio en el sorteo del 10/01/2021.";
    QTest::newRow("antes del sorteo") << 1 << s << s.addDays(-1)
                                      << "La fecha de cobro no puede ser anterior al sorteo.";
    QTest::newRow("mañana") << 1 << s << QDate(2021, 3, 11) << "La fecha de cobro no puede ser posterior a hoy.";
    QTest::newRow("caducado") << 1 << QDate(2020, 11, 15) << QDate(2021, 2, 16)
                              << "El premio caducó el 15/02/2021: no se pudo cobrar después.";
  }
  void cobrosRechazados() {
    QFETCH(int, registro);
    QFETCH(QDate, sorteo);
    QFETCH(QDate, dia);
    QFETCH(QString, error);
    prueba::Entorno e(QDate(2021, 3, 10));
    historia(e);
    Almacen a;
    prueba::exigir(a.abrir(e.carpeta.path()));
    // Wins 2 numbers on 15 November 2020 (02 03 07 16 21) and on 3 January 2021.
    prueba::exigir(
        operaciones::crearPena(a, penaDe("UNA", QDate(2020, 11, 1), {11, 16, 2, 3, 50}, 9), QDate(2021, 3, 10))
            .resultado);
    const Resultado r = operaciones::marcarCobro(a, registro, sorteo, dia, QDate(2021, 3, 10));
    QVERIFY(!r);
    QCOMPARE(r.error, error);
    QVERIFY(!QFile::exists(e.ruta(QStringLiteral("sortilan.db"))) || guardadas(e.carpeta.path()).empty());
  }
};

QTEST_GUILESS_MAIN(TestPremiosGuardados)
#include "test_premiosguardados.moc"
