// The prize report from the download buffer and the checks on its document.
#include <QFile>
#include <QRegularExpression>
#include <QtTest>

#include "answer/analisis.h"
#include "base/fechas.h"
#include "report/escrutinio.h"
#include "report/ultimosorteo.h"
#include "support/dobles.h"
#include "support/servicioprueba.h"

using namespace Qt::StringLiterals;

using namespace sortilan;

namespace {
QByteArray bufferEjemplo() {
  return registroCitado(QString::fromUtf8(prueba::leerDatoPrueba(QStringLiteral("respuesta_ejemplo.json"))));
}
const QUrl kOperador(QStringLiteral("https://operador.example"));
double fecha() { return oleDesdeFecha(QDate(2021, 3, 7)); }

Sorteo sorteoDel(const QDate& dia) {
  Sorteo s;
  s.numeros = {1, 2, 3, 4, 5, 6, 0, 0};
  s.fecha = oleDesdeFecha(dia);
  return s;
}

// Two draws, 7 and 28 February 2021; `retoque` edits the answer's text before it is quoted.
QByteArray dosSorteos(const std::function<QString(QString)>& retoque = {}) {
  QString r = QString::fromUtf8(prueba::respuestaSintetica(
      {{QDate(2021, 3, 7), "01 - 02 - 03 - 04 - 05", 1}, {QDate(2021, 2, 28), "01 - 02 - 03 - 04 - 06", 1}}));
  return registroCitado(retoque ? retoque(r) : r);
}
}  // namespace

Q_DECLARE_METATYPE(sortilan::UltimoSorteo::Premios)

class TestEscrutinio : public QObject {
  Q_OBJECT
 private slots:
  void conTabla() {
    const Escrutinio e = escrutinio(bufferEjemplo(), fecha(), kOperador);
    QCOMPARE(e.titulo, QStringLiteral("-Informe del Domingo, 7 de marzo del 2021"));
    QVERIFY(e.hayTabla);
    QStringList premios;
    for (const auto& p : e.premios) premios << p.value_or(QStringLiteral("?"));
    QCOMPARE(premios, (QStringList{u"0.00"_s, u"0.00"_s, u"47445.95"_s, u"504.65"_s, u"24.82"_s, u"9.37"_s, u"4.91"_s,
                                   u"3.00"_s}));
    QCOMPARE(e.ruta, QStringLiteral("/documents/d/loterias/acta-el-gordo-20210307.pdf"));
    QCOMPARE(e.documento.toString(),
             QStringLiteral("https://operador.example/documents/d/loterias/acta-el-gordo-20210307.pdf"));
  }

  void sinTabla_data() {
    QTest::addColumn<QByteArray>("buffer");
    QTest::newRow("sin sorteos") << registroCitado(QStringLiteral("[]"));
    QTest::newRow("búsqueda vacía") << registroCitado(
        QStringLiteral("\"No se ha encontrado ningún registro para los parámetros introducidos.\""));
    QTest::newRow("buffer vacío") << QByteArray();
    QTest::newRow("tabla lejos de su clave")
        << registroCitado(QStringLiteral("[{\"escrutinio\":[],\"x\":\"%1\",\"categoria\":1,\"premio\":\"5\"}]")
                              .arg(QString(400, QLatin1Char('x'))));
  }
  void sinTabla() {
    QFETCH(QByteArray, buffer);
    const Escrutinio e = escrutinio(buffer, fecha(), kOperador);
    QVERIFY(!e.hayTabla);
    for (const auto& p : e.premios) QVERIFY(!p);
    QVERIFY(e.documento.isEmpty());
    QCOMPARE(e.titulo, QStringLiteral("-Informe del Domingo, 7 de marzo del 2021"));
  }

  void sintetica() {
    // Prizes of the first (newest) draw only; " (k)" keys do not matter here.
    const QByteArray r = prueba::respuestaSintetica(
        {{QDate(2021, 3, 7), "01 - 02 - 03 - 04 - 05", 1}, {QDate(2021, 2, 28), "01 - 02 - 03 - 04 - 06", 1}});
    const Escrutinio e = escrutinio(registroCitado(QString::fromUtf8(r)), fecha(), kOperador);
    QCOMPARE(e.premios[0].value_or(QString()), QStringLiteral("9000.50"));
    QCOMPARE(e.premios[7].value_or(QString()), QStringLiteral("2000.50"));
    QCOMPARE(e.documento.path(), QStringLiteral("/documentos/acta-2021-03-07.pdf"));
  }

  // The tab shows the prizes of the newest stored draw, and only that draw's.
  void ultimoSorteo_data() {
    using P = UltimoSorteo::Premios;
    QTest::addColumn<QByteArray>("buffer");
    QTest::addColumn<QDate>("ultimo");
    QTest::addColumn<P>("premios");
    QTest::addColumn<QString>("primero");  // 1ª category, "" when none may be shown
    QTest::addColumn<QString>("documento");
    const QString acta = QStringLiteral("https://operador.example/documentos/acta-%1.pdf");
    QTest::newRow("el más nuevo de la respuesta")
        << dosSorteos() << QDate(2021, 3, 7) << P::Tabla << "9000.50" << acta.arg(QLatin1String("2021-03-07"));
    QTest::newRow("otro de la respuesta")
        << dosSorteos() << QDate(2021, 2, 28) << P::Tabla << "9001.50" << acta.arg(QLatin1String("2021-02-28"));
    QTest::newRow("reindentada") << dosSorteos([](QString r) {
      return r.replace(QStringLiteral("\":"), QStringLiteral("\" :  "))
          .replace(QStringLiteral(",\""), QStringLiteral(" ,\n    \""));
    }) << QDate(2021, 3, 7) << P::Tabla
                                 << "9000.50" << acta.arg(QLatin1String("2021-03-07"));
    // An answer newer than the stored draws holds no table of the newest stored one.
    QTest::newRow("respuesta más nueva") << dosSorteos() << QDate(2021, 2, 21) << P::SinDatos << ""
                                         << "";
    QTest::newRow("respuesta antigua") << dosSorteos() << QDate(2026, 8, 16) << P::SinDatos << ""
                                       << "";
    QTest::newRow("sin respuesta") << QByteArray() << QDate(2026, 8, 16) << P::SinDatos << ""
                                   << "";
    QTest::newRow("sin sorteos guardados") << dosSorteos() << QDate() << P::SinSorteo << ""
                                           << "";
    QTest::newRow("tabla aún a cero") << dosSorteos([](QString r) {
      return r.replace(QRegularExpression(QStringLiteral("\"premio\":\"[0-9.]+\"")),
                       QStringLiteral("\"premio\":\"0.00\""));
    }) << QDate(2021, 3, 7) << P::AunNo
                                      << ""
                                      << "";
    QTest::newRow("sin tabla todavía") << dosSorteos([](QString r) {
      const qsizetype desde = r.indexOf(QStringLiteral("\"escrutinio\":["));
      const qsizetype hasta = r.indexOf(QLatin1Char(']'), desde);
      return r.replace(desde, hasta - desde + 1, QStringLiteral("\"escrutinio\":[]"));
    }) << QDate(2021, 3, 7) << P::AunNo << ""
                                       << "";
  }
  void ultimoSorteo() {
    QFETCH(QByteArray, buffer);
    QFETCH(QDate, ultimo);
    const Sorteo s = ultimo.isValid() ? sorteoDel(ultimo) : Sorteo{};
    const UltimoSorteo u = sortilan::ultimoSorteo(buffer, s, kOperador);
    QTEST(u.premios, "premios");
    QCOMPARE(u.sorteo, s);
    QTEST(u.informe.premios[0].value_or(QString()), "primero");
    if (u.premios != UltimoSorteo::Premios::Tabla)
      for (const auto& p : u.informe.premios) QVERIFY(!p);
    QTEST(u.informe.documento.toString(), "documento");
    QCOMPARE(u.informe.titulo,
             ultimo.isValid() ? QStringLiteral("-Informe del ") + fechaLarga(s.fecha) : QStringLiteral("Informe"));
  }

  void raros_data() {
    QTest::addColumn<QString>("carla");
    QTest::addColumn<QString>("limpio");
    QTest::newRow("euro") << "1.234,56 €"
                          << "1.234,56";
    QTest::newRow("blancos") << " 12 "
                             << "12";
    QTest::newRow("vacío") << ""
                           << "";
    QTest::newRow("llaves, barra, tilde, acentos") << "a{b|c}~d é\t\r\n"
                                                   << "abcd";
  }
  void raros() {
    QFETCH(QString, carla);
    QTEST(sortilan::raros(carla), "limpio");
  }

  void direccionDelDocumento_data() {
    QTest::addColumn<QString>("operador");
    QTest::addColumn<QString>("ruta");
    QTest::addColumn<QString>("direccion");
    QTest::newRow("normal") << "https://operador.example"
                            << "/d/acta.pdf"
                            << "https://operador.example/d/acta.pdf";
    QTest::newRow("http pasa a https") << "http://operador.example"
                                       << "/d/acta.pdf"
                                       << "https://operador.example/d/acta.pdf";
    QTest::newRow("servicio local") << "http://127.0.0.1:8080"
                                    << "/d/acta.pdf"
                                    << "http://127.0.0.1:8080/d/acta.pdf";
    QTest::newRow("otro sitio") << "https://operador.example"
                                << "//otro.example/x.pdf"
                                << "";
    QTest::newRow("dirección entera") << "https://operador.example"
                                      << "https://otro.example/x.pdf"
                                      << "";
    QTest::newRow("arroba") << "https://operador.example"
                            << "@otro.example/x.pdf"
                            << "";
    QTest::newRow("subir") << "https://operador.example"
                           << "/d/../../x.pdf"
                           << "";
    QTest::newRow("blanco") << "https://operador.example"
                            << "/d/a b.pdf"
                            << "";
    QTest::newRow("barra invertida") << "https://operador.example"
                                     << "/\\otro.example/x.pdf"
                                     << "";
    QTest::newRow("vacía") << "https://operador.example"
                           << ""
                           << "";
  }
  void direccionDelDocumento() {
    QFETCH(QString, operador);
    QFETCH(QString, ruta);
    QTEST(direccionDocumento(QUrl(operador), ruta).toString(), "direccion");
  }

  void muestraONoDisponible_data() {
    QTest::addColumn<QByteArray>("cabecera");
    QTest::addColumn<bool>("pdfbajado");
    QTest::addColumn<bool>("direccion");
    QTest::addColumn<bool>("muestra");
    QTest::newRow("PDF guardado") << QByteArray("%PDF") << false << true << true;
    QTest::newRow("%pdf en minúsculas") << QByteArray("%pdf") << false << true << true;
    QTest::newRow("tres bytes") << QByteArray("%PD") << false << true << false;
    QTest::newRow("no es PDF") << QByteArray("<htm") << false << true << false;
    QTest::newRow("sin dirección") << QByteArray("%PDF") << false << false << false;
    QTest::newRow("recién bajado") << QByteArray() << true << true << true;
  }
  void muestraONoDisponible() {
    QFETCH(QByteArray, cabecera);
    QFETCH(bool, pdfbajado);
    QFETCH(bool, direccion);
    const QUrl u = direccion ? QUrl(QStringLiteral("https://operador.example/a.pdf")) : QUrl();
    QTEST(muestrapdf(cabecera, pdfbajado, u) == VistaDocumento::Documento, "muestra");
  }

  void guardar() {
    prueba::Entorno e;
    const QString ruta = e.ruta(QStringLiteral("vix.pdf"));
    QVERIFY(guardarDocumento("%PDF-1.4 ...", ruta));
    QCOMPARE(e.leer(QStringLiteral("vix.pdf")), QByteArray("%PDF-1.4 ..."));
    // Only an upper-case signature is taken from the network; a refused body keeps the
    // good copy already there.
    QVERIFY(!guardarDocumento("%pdf-1.4 ...", ruta));
    QCOMPARE(e.leer(QStringLiteral("vix.pdf")), QByteArray("%PDF-1.4 ..."));
    QVERIFY(!guardarDocumento("<html>error</html>", ruta));
    QCOMPARE(e.leer(QStringLiteral("vix.pdf")), QByteArray("%PDF-1.4 ..."));
  }
  // The tab shows the service's amounts in the program's money format, and no other text changes.
  void textoPremio_data() {
    QTest::addColumn<bool>("hay");  // whether the answer gave one
    QTest::addColumn<QString>("premio");
    QTest::addColumn<QString>("texto");
    QTest::newRow("sin premio") << false << QString() << u"-"_s;
    QTest::newRow("miles") << true << u"47445.95"_s << u"47.445,95 €"_s;
    QTest::newRow("millones") << true << u"12345678.90"_s << u"12.345.678,90 €"_s;
    QTest::newRow("cero") << true << u"0.00"_s << u"0,00 €"_s;
    QTest::newRow("entero") << true << u"3"_s << u"3,00 €"_s;
    QTest::newRow("un decimal") << true << u"1.5"_s << u"1,50 €"_s;
    QTest::newRow("vacío") << true << QString() << QString();
    QTest::newRow("otro texto") << true << u"Bote"_s << u"Bote"_s;
    QTest::newRow("negativo") << true << u"-5.00"_s << u"-5.00"_s;
  }
  void textoPremio() {
    QFETCH(bool, hay);
    QFETCH(QString, premio);
    QTEST(sortilan::textoPremio(hay ? std::optional(premio) : std::nullopt), "texto");
  }
};

QTEST_GUILESS_MAIN(TestEscrutinio)
#include "test_escrutinio.moc"
