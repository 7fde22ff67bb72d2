// Fault injection over every change of the data folder. Each operation runs as its own
// program (the command line, or averia_operar for the two without an order) with a
// preloaded library that, step by step, fails the n-th write, sync or rename of a file
// of the folder, or kills the program right before its n-th step. After each run:
// - a failure is reported (exit status 1) and the folder is exactly as before;
// - a killed program is followed by a start (sortilan-cli comprobar) that works, after
//   which the folder holds the old or the new state, with nothing left behind;
// - the prize counters equal a plain reference count over the stored draws;
// - marking a collection in sortilan.db is judged the same way, the database included.
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

#include "base/fechas.h"
#include "checking/cuenta.h"
#include "store/almacen.h"
#include "support/dobles.h"
#include "support/referencia.h"

using namespace Qt::StringLiterals;

using namespace sortilan;

namespace {

using Estado = QMap<QString, QByteArray>;

const QString kBase = QStringLiteral("sortilan.db");

// The files whose state is the data; the download buffer is not (see AVERIA_IGNORAR).
Estado foto(const QString& carpeta) {
  Estado e;
  for (const QFileInfo& i : QDir(carpeta).entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
    if (i.fileName() == QLatin1String(Almacen::kBuffer)) continue;
    QFile f(i.filePath());
    if (!f.open(QIODevice::ReadOnly)) continue;
    const QByteArray datos = f.readAll();
    // A journal cut before its header was written holds nothing to roll back: SQLite
    // ignores it and removes it at the next change of the database.
    if (i.fileName() == kBase + QStringLiteral("-journal") && (datos.isEmpty() || datos.at(0) == '\0')) continue;
    e.insert(i.fileName(), datos);
  }
  return e;
}

void escribirEstado(const QString& carpeta, const Estado& e) {
  for (auto it = e.begin(); it != e.end(); ++it) {
    QFile f(QDir(carpeta).filePath(it.key()));
    if (!f.open(QIODevice::WriteOnly) || f.write(it.value()) != it.value().size()) qFatal("no se pudo preparar");
  }
}

QStringList restos(const Estado& e) {
  QStringList r;
  for (const QString& n : e.keys())
    if (n.contains(QLatin1String(".tmp")) || n == QLatin1String("sortilan.lock")) r << n;
  return r;
}

template <class T>
std::vector<T> registros(const QByteArray& b) {
  std::vector<T> v;
  for (qsizetype off = 0; off + T::kTamano <= b.size(); off += T::kTamano)
    v.push_back(T::decodificar(b.constData() + off));
  return v;
}

// The counters of every peña against the plain reference; empty when they agree.
QString cuadra(const Estado& e) {
  const std::vector<Sorteo> s = registros<Sorteo>(e.value(QLatin1String(Almacen::kSorteos)));
  const std::vector<Pena> p = registros<Pena>(e.value(QLatin1String(Almacen::kPenas)));
  for (const Pena& x : p)
    if (x.aciertos != prueba::cuentaReferencia(x, s))
      return QStringLiteral("contadores de %1").arg(x.nombreRecortado());
  return {};
}

// Draws, peñas, calibration and news together are one state; the backup and the copies of
// a damaged file are judged one by one.
const QStringList kDatos = {QLatin1String(Almacen::kSorteos), QLatin1String(Almacen::kPenas),
                            QLatin1String(Almacen::kAjustes), QStringLiteral("informe.dat"), kBase};

bool mismoDato(const Estado& a, const Estado& b) {
  for (const QString& n : kDatos)
    if (a.value(n) != b.value(n) || a.contains(n) != b.contains(n)) return false;
  return true;
}

QString viejoONuevo(const Estado& e, const Estado& viejo, const Estado& nuevo) {
  if (!mismoDato(e, viejo) && !mismoDato(e, nuevo)) {
    QStringList distintos;
    for (const QString& n : kDatos)
      if (e.value(n) != viejo.value(n) || e.contains(n) != viejo.contains(n)) distintos << n;
    return QStringLiteral("ni el estado viejo ni el nuevo (%1 no es el viejo)").arg(distintos.join(QLatin1Char(' ')));
  }
  for (auto it = e.begin(); it != e.end(); ++it) {
    if (kDatos.contains(it.key())) continue;
    QList<QByteArray> validos;
    for (const Estado* x : {&viejo, &nuevo})
      for (auto y = x->begin(); y != x->end(); ++y)
        if (y.key() == it.key() ||
            (it.key().endsWith(QLatin1String(".err")) && y.key().endsWith(QLatin1String(".err"))))
          validos << y.value();
    if (!validos.contains(it.value())) return it.key() + QStringLiteral(" no es de ninguno de los dos estados");
  }
  for (const Estado* x : {&viejo, &nuevo})
    for (auto y = x->begin(); y != x->end(); ++y)
      if (y.key() == QLatin1String(Almacen::kSorteosBak) && !e.contains(y.key()) && viejo.contains(y.key()))
        return QStringLiteral("se perdió numeros.bak");
  return {};
}

struct Corrida {
  int salida = -1;
  bool muerto = false;
  QString error;
  QByteArray impreso;  // its standard output
};

struct Escenario {
  QString nombre;
  QStringList orden;  // program and arguments; %C is the data folder
  Estado inicial;
};

// Fills a scenario the way a row of test data is filled.
struct Fila {
  Escenario& e;
  Fila& operator<<(const QStringList& orden) {
    e.orden = orden;
    return *this;
  }
  Fila& operator<<(const Estado& inicial) {
    e.inicial = inicial;
    return *this;
  }
};

}  // namespace

class TestAverias : public QObject {
  Q_OBJECT

  QTemporaryDir entradas_;
  std::vector<Sorteo> historia_;
  std::vector<Pena> penas_;
  int operaciones_ = 0, pasos_ = 0, fallos_ = 0, muertes_ = 0;
  QProcess servicio_;
  quint16 puerto_ = 0;
  // A session bus of the test's own with a notification service that takes every notice,
  // so that what the desktop was told is recorded in sortilan.db.
  QProcess bus_, escritorio_;
  bool conEscritorio_ = false;
  // Left out of the steps: the download buffer is not data, and the lock file is synced by
  // the lock itself, which goes on whatever that sync says (a lock needs no durability).
  QString ignorar_ = QStringLiteral("www.txt,sortilan.lock");

  Corrida correr(const QStringList& orden, const QString& carpeta, const QString& modo = {}, long n = 0,
                 const QString& informe = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!modo.isEmpty()) {
      env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(AVERIA_BIBLIOTECA));
      env.insert(QStringLiteral("AVERIA_CARPETA"), QDir(carpeta).canonicalPath());
      env.insert(QStringLiteral("AVERIA_MODO"), modo);
      env.insert(QStringLiteral("AVERIA_N"), QString::number(n));
      env.insert(QStringLiteral("AVERIA_IGNORAR"), ignorar_);
      if (!informe.isEmpty()) env.insert(QStringLiteral("AVERIA_INFORME"), informe);
      // The sanitizers' runtime need not come first: the library only passes calls on.
      env.insert(QStringLiteral("ASAN_OPTIONS"),
                 env.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":verify_asan_link_order=0"));
    }
    QStringList args = orden.mid(1);
    for (QString& a : args) a.replace(QLatin1String("%C"), carpeta);
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(orden.first(), args);
    Corrida c;
    if (!p.waitForFinished(120000)) {
      p.kill();
      p.waitForFinished();
      c.error = QStringLiteral("no terminó");
      return c;
    }
    c.salida = p.exitCode();
    c.muerto = p.exitStatus() == QProcess::CrashExit;
    c.error = QString::fromUtf8(p.readAllStandardError());
    c.impreso = p.readAllStandardOutput();
    return c;
  }

  QStringList cli(const QStringList& resto) const {
    return QStringList{QStringLiteral(SORTILAN_CLI), u"--datos"_s, u"%C"_s} + resto;
  }

  // The start that follows a crash: counting, clearing what was left, and reading the
  // money side, which rolls back a transaction of sortilan.db cut short.
  Corrida arrancar(const QString& carpeta) {
    const Corrida c = correr(cli({u"comprobar"_s}), carpeta);
    if (c.salida != 0 || !QFile::exists(QDir(carpeta).filePath(kBase))) return c;
    return correr(cli({u"cobros"_s}), carpeta);
  }

  // A peña file counted over the first `contados` draws of the history.
  QByteArray penasContadas(size_t contados) const {
    std::vector<Pena> p = penas_;
    contarPremios(p, {historia_.begin(), historia_.begin() + static_cast<qsizetype>(contados)});
    return ArchivoDe<Pena>::codificar(p);
  }
  QByteArray sorteos(size_t n) const {
    return ArchivoDe<Sorteo>::codificar({historia_.begin(), historia_.begin() + static_cast<qsizetype>(n)});
  }
  Estado base(size_t n, size_t contados) const {
    return {{QLatin1String(Almacen::kSorteos), sorteos(n)}, {QLatin1String(Almacen::kPenas), penasContadas(contados)}};
  }
  // `e` after a clean download of the saved answer: its prize tables in sortilan.db.
  Estado conRespuesta(const Estado& e) {
    QTemporaryDir d;
    escribirEstado(d.path(), e);
    const Corrida c =
        correr(cli({u"descargar"_s, u"--respuesta"_s, prueba::datoPrueba(QStringLiteral("respuesta_ejemplo.json"))}),
               d.path());
    if (c.salida != 0 || !QFile::exists(d.filePath(kBase))) qFatal("no se pudo preparar: %s", qPrintable(c.error));
    return foto(d.path());
  }
  // `e` after a clean run of `orden`.
  Estado trasOrden(const Estado& e, const QStringList& orden, QByteArray* impreso = nullptr) {
    QTemporaryDir d;
    escribirEstado(d.path(), e);
    const Corrida c = correr(orden, d.path());
    if (c.salida != 0) qFatal("no se pudo preparar: %s", qPrintable(c.error));
    if (impreso) *impreso = c.impreso;
    return foto(d.path());
  }
  QString entrada(const char* nombre, const QByteArray& datos) {
    const QString ruta = entradas_.filePath(QLatin1String(nombre));
    QFile f(ruta);
    if (!f.open(QIODevice::WriteOnly) || f.write(datos) != datos.size()) qFatal("no se pudo preparar");
    return ruta;
  }

 private slots:
  void initTestCase() {
    // The results service for the completion of prize tables, outside this process: the
    // runs under test are waited for without an event loop.
    servicio_.start(QStringLiteral("python3"),
                    {QStringLiteral(AVERIA_SERVICIO), prueba::datoPrueba(QStringLiteral("respuesta_ejemplo.json"))});
    QVERIFY2(servicio_.waitForReadyRead(10000), "el servicio de prueba no arrancó");
    puerto_ = servicio_.readLine().trimmed().toUShort();
    QVERIFY(puerto_ > 0);
    if (!QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty()) {
      bus_.start(QStringLiteral("dbus-daemon"),
                 {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
      if (bus_.waitForReadyRead(10000)) {
        qputenv("DBUS_SESSION_BUS_ADDRESS", bus_.readLine().trimmed());
        escritorio_.start(QStringLiteral(AVERIA_ESCRITORIO), {entradas_.filePath(QStringLiteral("avisos.json"))});
        conEscritorio_ = escritorio_.waitForReadyRead(10000) && escritorio_.readAll().contains("listo");
      }
    }
    historia_ = prueba::historiaReal();
    QRandomGenerator g(5);
    // Peñas of every kind, created among the first 700 draws.
    penas_ = prueba::penasAlAzar(g, {historia_.begin(), historia_.begin() + 700}, 5);
  }

  // Every change of the folder, with the files it starts from.
  std::vector<Escenario> escenarios() {
    std::vector<Escenario> r;
    const auto fila = [&r](const char* nombre) {
      r.push_back({QString::fromUtf8(nombre), {}, {}});
      return Fila{r.back()};
    };

    fila("crear") << cli({u"crear"_s, u"--nombre"_s, u"NUEVA"_s, u"--clave"_s, u"3"_s, u"--apuesta"_s, u"1 2 3 4 5"_s,
                          u"--apuesta"_s, u"6 7 8 9 10"_s})
                  << base(900, 900);
    fila("borrar-pena") << cli({u"borrar-pena"_s, u"2"_s, u"--si"_s}) << base(900, 900);
    fila("comprobar (contar)") << cli({u"comprobar"_s}) << base(900, 880);
    fila("reiniciar-penas") << cli({u"reiniciar-penas"_s, u"--si"_s}) << base(900, 900);

    // An import that also corrects a draw already counted: its prizes leave and return.
    std::vector<Sorteo> corregida(historia_.begin(), historia_.begin() + 900);
    corregida[869].numeros[5] = static_cast<int16_t>((corregida[869].numeros[5] + 1) % 10);
    const QString importada = entrada("importada.dat", ArchivoDe<Sorteo>::codificar(corregida));
    Estado conCopia = base(880, 880);
    conCopia.insert(QLatin1String(Almacen::kSorteosBak), sorteos(500));
    fila("importar") << cli({u"importar"_s, importada}) << conCopia;

    fila("borrar-sorteo") << cli({u"borrar-sorteo"_s, fechaDesdeOle(historia_[850].fecha).toString(Qt::ISODate),
                                  u"--si"_s})
                          << base(900, 900);
    fila("borrar-sorteos") << cli({u"borrar-sorteos"_s, u"--si"_s}) << base(900, 900);
    // The prize tables of the answer are stored already, as after an earlier download of it,
    // so this is the change of the draws alone (the tables' own change is judged below).
    Estado conTablas = base(808, 808);
    conTablas.insert(kBase, conRespuesta(base(830, 830)).value(kBase));
    fila("descargar (añadir sorteos)") << cli({u"descargar"_s, u"--respuesta"_s,
                                               prueba::datoPrueba(QStringLiteral("respuesta_ejemplo.json"))})
                                       << conTablas;
    // An answer with its prize tables and no sortilan.db yet: the draws, their counts and the
    // new database are one change, whatever step fails or is cut short.
    fila("descargar (sorteos y tablas en sortilan.db)")
        << cli({u"descargar"_s, u"--respuesta"_s, prueba::datoPrueba(QStringLiteral("respuesta_ejemplo.json"))})
        << base(808, 808);
    // The ways in without the service store through the same operation.
    const Sorteo siguiente = historia_[808];
    QStringList numeros;
    for (int i = 1; i <= 5; ++i) numeros << QString::number(siguiente.numero(i));
    fila("anadir-sorteo") << cli({u"anadir-sorteo"_s, fechaDesdeOle(siguiente.fecha).toString(Qt::ISODate),
                                  numeros.join(QLatin1Char(' ')), QString::number(siguiente.clave())})
                          << base(808, 808);
    QByteArray csv = "fecha;n1;n2;n3;n4;n5;clave\n";
    for (size_t k = 808; k < 830; ++k) {
      const Sorteo& s = historia_[k];
      csv += fechaDesdeOle(s.fecha).toString(Qt::ISODate).toLatin1();
      for (int i = 1; i <= 5; ++i) csv += ';' + QByteArray::number(s.numero(i));
      csv += ';' + QByteArray::number(s.clave()) + '\n';
    }
    fila("importar-csv") << cli({u"importar-csv"_s, entrada("sorteos.csv", csv)}) << base(808, 808);

    // A damaged draw file: put aside by an import over it, and by the next check.
    // Nothing counted yet: the counters of a damaged file stay when it is put aside.
    Estado danado = base(880, 0);
    QByteArray malos = sorteos(880);
    malos.replace(24 * 100, 24, QByteArray(24, '\0'));
    danado.insert(QLatin1String(Almacen::kSorteos), malos);
    danado.insert(QLatin1String(Almacen::kSorteosErr), "una copia anterior");
    fila("importar sobre un archivo dañado") << cli({u"importar"_s, importada}) << danado;
    fila("apartar un archivo dañado") << cli({u"comprobar"_s}) << danado;

    // A collection marked in sortilan.db. The last peña wins the 7ª on 3 January 2021
    // (11 16 33 35 46, key 9).
    std::vector<Pena> conPremiada = penas_;
    Pena premiada = nuevaPena(QStringLiteral("PREMIADA"), 1, QDate(2020, 12, 1));
    const int ganadora[6] = {11, 16, 1, 2, 3, 9};
    for (int i = 0; i < 6; ++i) premiada.ponerApuesta(i + 1, 1, static_cast<int16_t>(ganadora[i]));
    conPremiada.push_back(premiada);
    contarPremios(conPremiada, {historia_.begin(), historia_.begin() + 830});
    const Estado cobro = conRespuesta({{QLatin1String(Almacen::kSorteos), sorteos(830)},
                                       {QLatin1String(Almacen::kPenas), ArchivoDe<Pena>::codificar(conPremiada)}});
    fila("cobrar") << cli({u"cobrar"_s, QString::number(conPremiada.size()), u"2021-01-03"_s, u"--fecha"_s,
                           u"2021-01-05"_s})
                   << cobro;

    // The members' orders: the first one creates sortilan.db, the next ones change it.
    const QStringList alta = cli({u"alta-socio"_s, u"1"_s, u"--nombre"_s, u"Ana"_s, u"--participaciones"_s, u"2"_s,
                                  u"--desde"_s, u"2021-03-01"_s});
    fila("alta-socio (crea sortilan.db)") << alta << base(900, 900);
    fila("aportacion") << cli({u"aportacion"_s, u"1"_s, u"1"_s, u"10,50"_s, u"--fecha"_s, u"2021-03-02"_s})
                       << trasOrden(base(900, 900), alta);
    fila("pago") << cli({u"pago"_s, u"1"_s, u"1"_s, u"5,00"_s, u"--fecha"_s, u"2021-03-02"_s})
                 << trasOrden(base(900, 900), alta);
    fila("participaciones") << cli({u"participaciones"_s, u"1"_s, u"1"_s, u"3"_s, u"--desde"_s, u"2021-03-10"_s})
                            << trasOrden(base(900, 900), alta);
    // The deleted peña's member stays in sortilan.db in the same change as apuestas.dat.
    fila("borrar-pena (con socios)") << cli({u"borrar-pena"_s, u"1"_s, u"--si"_s}) << trasOrden(base(900, 900), alta);
    fila("baja-socio") << cli({u"baja-socio"_s, u"1"_s, u"1"_s, u"--desde"_s, u"2021-03-10"_s})
                       << trasOrden(base(900, 900), alta);
    // The prize of the peña that won on 3 January 2021, split among its one member.
    const QString premiadaK = QString::number(conPremiada.size());
    const QStringList altaPremiada = cli({u"alta-socio"_s, premiadaK, u"--nombre"_s, u"Eva"_s, u"--participaciones"_s,
                                          u"1"_s, u"--desde"_s, u"2020-12-15"_s});
    const QStringList cobrado = cli({u"cobrar"_s, premiadaK, u"2021-01-03"_s, u"--fecha"_s, u"2021-01-05"_s});
    const QStringList reparto = cli({u"reparto"_s, premiadaK, u"2021-01-03"_s, u"--pagar"_s});
    fila("reparto") << reparto << trasOrden(trasOrden(cobro, altaPremiada), cobrado);
    // Voids: a contribution (movement 1 of member 1), and the split with its payouts.
    const QStringList aportacion = cli({u"aportacion"_s, u"1"_s, u"1"_s, u"10,50"_s, u"--fecha"_s, u"2021-03-02"_s});
    fila("anular") << cli({u"anular"_s, u"1"_s, u"1"_s, u"1"_s, u"--motivo"_s, u"repetida"_s})
                   << trasOrden(trasOrden(base(900, 900), alta), aportacion);
    fila("anular-reparto") << cli({u"anular-reparto"_s, premiadaK, u"2021-01-03"_s})
                           << trasOrden(trasOrden(trasOrden(cobro, altaPremiada), cobrado), reparto);

    // The prize tables of the draws whose prizes have no amount yet, asked of the service:
    // the tables and the new sortilan.db are one change.
    Estado sinTablas = base(830, 830);
    sinTablas.insert(QStringLiteral("sortilan.ini"),
                     QStringLiteral("[servicios]\nresultados=http://127.0.0.1:%1\noperador=http://127.0.0.1:%1\n")
                         .arg(puerto_)
                         .toUtf8());
    const QStringList completar = cli({u"completar-premios"_s, u"--desde"_s, u"2020-10-01"_s});
    fila("completar-premios") << completar << sinTablas;
    fila("completar-premios (con sortilan.db)")
        << completar
        << trasOrden(sinTablas, cli({u"alta-socio"_s, u"1"_s, u"--nombre"_s, u"Ana"_s, u"--participaciones"_s, u"2"_s,
                                     u"--desde"_s, u"2020-10-01"_s}));

    // The desktop told of a prize of last Sunday's draw: what was told is kept in sortilan.db.
    if (conEscritorio_) {
      QDate domingo = QDate::currentDate().addDays(-1);
      while (domingo.dayOfWeek() != Qt::Sunday) domingo = domingo.addDays(-1);
      QJsonArray sorteosRespuesta =
          QJsonDocument::fromJson(prueba::leerDatoPrueba(QStringLiteral("respuesta_ejemplo.json"))).array();
      QJsonObject ultimo = sorteosRespuesta.at(0).toObject();
      ultimo[QStringLiteral("fecha_sorteo")] = domingo.toString(Qt::ISODate) + QStringLiteral(" 00:00:00");
      const QString reciente = entrada("reciente.json", QJsonDocument(QJsonArray{ultimo}).toJson());
      std::vector<Pena> conGanadora = penas_;
      Pena reciente4 = nuevaPena(QStringLiteral("GANADORA"), 1, QDate(2020, 12, 1));
      const int apuesta[6] = {15, 24, 40, 42, 1, 9};  // 4 + key of the sample's first draw
      for (int i = 0; i < 6; ++i) reciente4.ponerApuesta(i + 1, 1, static_cast<int16_t>(apuesta[i]));
      conGanadora.push_back(reciente4);
      contarPremios(conGanadora, historia_);
      const Estado conPremio = trasOrden({{QLatin1String(Almacen::kSorteos), ArchivoDe<Sorteo>::codificar(historia_)},
                                          {QLatin1String(Almacen::kPenas), ArchivoDe<Pena>::codificar(conGanadora)}},
                                         cli({u"descargar"_s, u"--respuesta"_s, reciente, u"--si"_s}));
      fila("avisos") << cli({u"avisos"_s}) << conPremio;
    }

    // A member's paper, stored with its code in sortilan.db, and its voiding.
    const QStringList papel = cli({u"papel"_s, u"1"_s, u"1"_s, u"--desde"_s, u"2021-03-07"_s, u"--hasta"_s,
                                   u"2021-03-14"_s, u"--organizador"_s, u"JUAN ORGANIZA"_s, u"--json"_s});
    const Estado conSocio = trasOrden(base(900, 900), alta);
    fila("papel") << papel << conSocio;
    QByteArray impreso;
    const Estado conPapel = trasOrden(conSocio, papel, &impreso);
    const QString codigo = QJsonDocument::fromJson(impreso).object().value(u"codigo"_s).toString();
    if (codigo.isEmpty()) qFatal("el papel no dio su código: %s", impreso.constData());
    fila("anular-papel") << cli({u"anular-papel"_s, codigo}) << conPapel;

    Estado conAjuste = base(900, 900);
    conAjuste.insert(QLatin1String(Almacen::kAjustes), Calibracion{7, 1, 2, 9}.codificar() + "cola");
    fila("guardar la calibración") << QStringList{QStringLiteral(AVERIA_OPERAR), u"calibrar"_s, u"%C"_s, u"1.5"_s,
                                                  u"-2"_s}
                                   << conAjuste;
    Estado conNoticias = base(900, 900);
    conNoticias.insert(QStringLiteral("informe.dat"), "noticias viejas");
    const QString noticias = entrada("noticias.html", QByteArray(400, 'n'));
    fila("guardar las noticias") << QStringList{QStringLiteral(AVERIA_OPERAR), u"noticias"_s, u"%C"_s, noticias}
                                 << conNoticias;
    return r;
  }

  void operacion_data() {
    QTest::addColumn<QStringList>("orden");
    QTest::addColumn<Estado>("inicial");
    for (const Escenario& e : escenarios()) QTest::newRow(qPrintable(e.nombre)) << e.orden << e.inicial;
  }

  void operacion() {
    QFETCH(QStringList, orden);
    QFETCH(Estado, inicial);

    // The two states a run may leave: nothing done, or all done (each after a start).
    QTemporaryDir d1, d2;
    escribirEstado(d1.path(), inicial);
    QCOMPARE(arrancar(d1.path()).salida, 0);
    const Estado viejo = foto(d1.path());
    escribirEstado(d2.path(), inicial);
    const QString informe = entradas_.filePath(QStringLiteral("cuentas"));
    const Corrida limpia = correr(orden, d2.path(), QStringLiteral("contar"), 0, informe);
    QVERIFY2(limpia.salida == 0, qPrintable(limpia.error));
    QCOMPARE(arrancar(d2.path()).salida, 0);
    const Estado nuevo = foto(d2.path());
    QVERIFY(!mismoDato(nuevo, inicial));
    QVERIFY2(cuadra(viejo).isEmpty() && cuadra(nuevo).isEmpty(), "la referencia no cuadra sin averías");
    QVERIFY(restos(viejo).isEmpty() && restos(nuevo).isEmpty());

    QFile f(informe);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> cuentas = f.readAll().trimmed().split(' ');
    QCOMPARE(cuentas.size(), 3);
    const long porClase[3] = {cuentas[0].toLong(), cuentas[1].toLong(), cuentas[2].toLong()};
    const long total = porClase[0] + porClase[1] + porClase[2];
    // SQLite writes in place, through its journal: it renames nothing.
    QVERIFY(porClase[0] > 0 && porClase[1] > 0 && (porClase[2] > 0 || inicial.contains(kBase)));

    // Every write, sync and rename fails once: a failure said, and nothing changed.
    const QString modos[3] = {QStringLiteral("escritura"), QStringLiteral("sincronia"), QStringLiteral("renombre")};
    int fallos = 0;
    for (int clase = 0; clase < 3; ++clase) {
      for (long n = 1; n <= porClase[clase]; ++n) {
        QTemporaryDir d;
        escribirEstado(d.path(), inicial);
        const Corrida c = correr(orden, d.path(), modos[clase], n);
        const QString que = QStringLiteral("%1 %2: ").arg(modos[clase]).arg(n);
        QVERIFY2(!c.muerto && c.salida == 1,
                 qPrintable(que + QStringLiteral("salida %1 %2").arg(c.salida).arg(c.error)));
        // A full disk is said as such, never as a permission problem.
        if (clase == 0)
          QVERIFY2(!c.error.contains(u"Administrador"_s) && !c.error.contains(u"cannot rollback"_s),
                   qPrintable(que + c.error));
        const Estado despues = foto(d.path());
        QVERIFY2(despues == inicial,
                 qPrintable(que + QStringLiteral("cambió la carpeta ") + restos(despues).join(QLatin1Char(' '))));
        QVERIFY2(arrancar(d.path()).salida == 0, qPrintable(que + QStringLiteral("el arranque siguiente falla")));
        QVERIFY2(mismoDato(foto(d.path()), viejo), qPrintable(que + QStringLiteral("tras arrancar")));
        ++fallos;
      }
    }

    // Killed right before each step: the next start repairs what was cut short.
    for (long n = 1; n <= total; ++n) {
      QTemporaryDir d;
      escribirEstado(d.path(), inicial);
      const Corrida c = correr(orden, d.path(), QStringLiteral("matar"), n);
      const QString que = QStringLiteral("matar %1: ").arg(n);
      QVERIFY2(c.muerto, qPrintable(que + QStringLiteral("no murió")));
      const Corrida a = arrancar(d.path());
      QVERIFY2(a.salida == 0, qPrintable(que + QStringLiteral("el arranque siguiente falla: ") + a.error));
      const Estado despues = foto(d.path());
      QVERIFY2(restos(despues).isEmpty(), qPrintable(que + restos(despues).join(QLatin1Char(' '))));
      const QString estado = viejoONuevo(despues, viejo, nuevo);
      QVERIFY2(estado.isEmpty(), qPrintable(que + estado));
      const QString cuenta = cuadra(despues);
      QVERIFY2(cuenta.isEmpty(), qPrintable(que + cuenta));
    }

    // The lock file itself: when it cannot be written nothing is done and the user is told;
    // a program killed before writing its name in it leaves an empty lock file, which
    // must not block the folder for ever.
    ignorar_ = QStringLiteral("www.txt");
    {
      QTemporaryDir d;
      escribirEstado(d.path(), inicial);
      const Corrida c = correr(orden, d.path(), QStringLiteral("escritura"), 1);
      QVERIFY2(!c.muerto && c.salida == 1, qPrintable(QStringLiteral("cerrojo: salida %1").arg(c.salida)));
      QCOMPARE(foto(d.path()), inicial);
      ++fallos;
    }
    {
      QTemporaryDir d;
      escribirEstado(d.path(), inicial);
      QVERIFY(correr(orden, d.path(), QStringLiteral("matar"), 1).muerto);
      QCOMPARE(foto(d.path()).value(QStringLiteral("sortilan.lock")), QByteArray());
      QCOMPARE(arrancar(d.path()).salida, 0);
      QVERIFY(mismoDato(foto(d.path()), viejo));
      QVERIFY(restos(foto(d.path())).isEmpty());
      ++muertes_;
    }
    ignorar_ = QStringLiteral("www.txt,sortilan.lock");

    ++operaciones_;
    pasos_ += static_cast<int>(total);
    fallos_ += fallos;
    muertes_ += static_cast<int>(total);
    qInfo("%s: %ld escrituras, %ld sincronizaciones, %ld renombres; %d fallos y %ld muertes inyectados",
          QTest::currentDataTag(), porClase[0], porClase[1], porClase[2], fallos, total);
  }

  // sortilan.db held by another program all along: every change that uses it waits as
  // for the folder lock, then says that another program is using it; exit 1 and not a
  // file changed.
  void baseOcupada_data() {
    QTest::addColumn<QStringList>("orden");
    QTest::addColumn<Estado>("inicial");
    for (const Escenario& e : escenarios())
      if (e.inicial.contains(kBase)) QTest::newRow(qPrintable(e.nombre)) << e.orden << e.inicial;
  }
  void baseOcupada() {
    QFETCH(QStringList, orden);
    QFETCH(Estado, inicial);
    QTemporaryDir d;
    escribirEstado(d.path(), inicial);
    Corrida c;
    {
      QSqlDatabase otra = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"otra"_s);
      otra.setDatabaseName(d.filePath(kBase));
      QVERIFY(otra.open());
      QSqlQuery q(otra);
      QVERIFY(q.exec(u"BEGIN EXCLUSIVE"_s));
      c = correr(orden, d.path());
      QVERIFY(q.exec(u"ROLLBACK"_s));
    }
    QSqlDatabase::removeDatabase(u"otra"_s);
    QCOMPARE(c.salida, 1);
    QVERIFY2(c.error.contains(u"Otro programa está usando la base de datos"_s), qPrintable(c.error));
    QVERIFY2(!c.error.contains(u"no es una base de datos"_s), qPrintable(c.error));
    QCOMPARE(foto(d.path()), inicial);
    QVERIFY(!QFile::exists(d.filePath(u"www.txt"_s)));
  }

  void cleanupTestCase() {
    for (QProcess* p : {&servicio_, &escritorio_, &bus_}) {
      p->kill();
      p->waitForFinished();
    }
    qInfo("Total: %d operaciones, %d pasos; %d fallos inyectados y %d muertes, %d averías en total", operaciones_,
          pasos_, fallos_, muertes_, fallos_ + muertes_);
  }
};

QTEST_GUILESS_MAIN(TestAverias)
#include "test_averias.moc"
