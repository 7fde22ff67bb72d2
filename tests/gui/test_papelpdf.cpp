// The participation paper's PDF says what the stored paper says, with its code.
#include <QPdfDocument>
#include <QTemporaryDir>
#include <QtTest>

#include "painters/pdfsocios.h"
#include "papers/participacion.h"

using namespace sortilan;

namespace {

PapelGuardado guardado(int socio, const QString& nombre, bool anulado) {
  PapelParticipacion p;
  p.numero = socio;
  p.pena = QStringLiteral("PREMIADA");
  p.organizador = {QStringLiteral("Juan Pérez"), QStringLiteral("11111111H")};
  p.socio = socio;
  p.nombre = nombre;
  p.desde = QDate(2021, 3, 7);
  p.hasta = QDate(2021, 3, 14);
  p.sorteos = {{QDate(2021, 3, 7), 2, 7, 85}, {QDate(2021, 3, 14), 2, 7, 85}};
  p.pagado = 170;
  p.apuestas = {QStringLiteral("Múltiple de 8 números: 01 05 15 24 33 40 42 50 (56 apuestas)"),
                QStringLiteral("Número clave: 9")};
  p.emitido = QDateTime(QDate(2021, 3, 5), QTime(18, 30, 12));
  PapelGuardado g;
  g.numero = p.numero;
  g.socio = socio;
  g.nombre = nombre;
  g.participaciones = 2;
  g.total = 7;
  g.pagado = 170;
  g.texto = textoPapel(p);
  g.codigo = codigoDe(g.texto);
  g.anulado = anulado;
  return g;
}

// Every page's text, blanks made single: line breaks of the PDF are not the paper's.
QString textoPdf(const QByteArray& datos, int* paginas = nullptr) {
  QTemporaryDir dir;
  const QString ruta = dir.filePath(QStringLiteral("p.pdf"));
  QFile f(ruta);
  if (!f.open(QIODevice::WriteOnly) || f.write(datos) != datos.size()) return {};
  f.close();
  QPdfDocument doc;
  if (doc.load(ruta) != QPdfDocument::Error::None) return {};
  if (paginas) *paginas = doc.pageCount();
  QString t;
  for (int i = 0; i < doc.pageCount(); ++i) t += doc.getAllText(i).text() + QLatin1Char(' ');
  return t.simplified();
}

}  // namespace

class TestPapelPdf : public QObject {
  Q_OBJECT
 private slots:
  void diceLoGuardado_data() {
    QTest::addColumn<bool>("anulado");
    QTest::newRow("vigente") << false;
    QTest::newRow("anulado") << true;
  }
  void diceLoGuardado() {
    QFETCH(bool, anulado);
    const PapelGuardado g = guardado(1, QStringLiteral("Ana García"), anulado);
    int paginas = 0;
    const QByteArray pdf = ui::pdfPapel(g, &paginas);
    QVERIFY(!pdf.isEmpty());
    QCOMPARE(paginas, 1);
    const QString leido = textoPdf(pdf);
    for (const QString& linea : g.texto.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
      QVERIFY2(leido.contains(linea.simplified()), qPrintable(linea + QStringLiteral(" | ") + leido));
    QVERIFY(leido.contains(codigoAgrupado(g.codigo)));
    QVERIFY(leido.contains(codigoCorto(g.codigo)));
    QCOMPARE(leido.contains(QStringLiteral("ANULADO")), anulado);
  }

  void resumenDeCinco() {
    ui::ResumenPapeles r{
        QStringLiteral("PREMIADA"), QStringLiteral("Juan Pérez"), QDate(2021, 3, 7), QDate(2021, 3, 14), {}};
    const char* nombres[] = {"Ana García", "Luis", "Marta", "Pedro", "Sofía"};
    for (int i = 0; i < 5; ++i) r.papeles.push_back(guardado(i + 1, QString::fromUtf8(nombres[i]), false));
    const QString leido = textoPdf(ui::pdfResumenPapeles(r));
    for (const PapelGuardado& g : r.papeles) {
      QVERIFY2(leido.contains(g.nombre), qPrintable(leido));
      QVERIFY(leido.contains(codigoCorto(g.codigo)));
    }
    QVERIFY2(leido.contains(QStringLiteral("Total: 5 socios 10 8,50")), qPrintable(leido));
  }
};

QTEST_MAIN(TestPapelPdf)
#include "test_papelpdf.moc"
