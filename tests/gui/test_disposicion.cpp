// Every tab and window at its minimum size (and the main window on a large screen) shows
// each widget whole: inside its parent, no smaller than it needs, not over a neighbour,
// with table columns and chart labels uncut. Texts that change while the program runs
// leave the other widgets where they are.
#include <QAbstractScrollArea>
#include <QApplication>
#include <QChartView>
#include <QCheckBox>
#include <QGraphicsTextItem>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

#include "answer/analisis.h"
#include "app/principal.h"
#include "base/fechas.h"
#include "gui/auxiliary/acercade.h"
#include "gui/auxiliary/infor.h"
#include "gui/checking/tabgestor.h"
#include "gui/creation/crea.h"
#include "gui/creation/creamenu.h"
#include "gui/download/entradasorteo.h"
#include "gui/main/tabgeneral.h"
#include "gui/printing/imprimir.h"
#include "gui/report/tabultimo.h"
#include "store/almacen.h"
#include "support/controles.h"
#include "support/dobles.h"
#include "support/ventana.h"

using namespace Qt::StringLiterals;

using namespace sortilan;
using namespace sortilan::ui;

namespace {

// Widgets whose insides Qt lays out on its own terms.
bool compuesto(const QWidget* w) {
  return (qobject_cast<const QAbstractScrollArea*>(w) && !qobject_cast<const QScrollArea*>(w)) ||
         qobject_cast<const QTabBar*>(w) || w->inherits("QAbstractSpinBox") || w->inherits("QComboBox") ||
         w->inherits("QMenuBar");
}

bool dentroDeCompuesto(const QWidget* w, const QWidget* raiz) {
  for (const QWidget* p = w->parentWidget(); p && p != raiz; p = p->parentWidget())
    if (compuesto(p)) return true;
  return false;
}

bool enCapa(const QLayout* capa, const QWidget* w) {
  if (!capa) return false;
  for (int i = 0; i < capa->count(); ++i) {
    QLayoutItem* it = capa->itemAt(i);
    if (it->widget() == w || enCapa(it->layout(), w)) return true;
  }
  return false;
}

QString nombre(const QWidget* w) {
  const QString n = w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
  const QWidget* p = w->parentWidget();
  return p && !p->objectName().isEmpty() ? p->objectName() + QLatin1Char('/') + n : n;
}

QString texto(const QWidget* w) {
  if (auto* l = qobject_cast<const QLabel*>(w)) return l->text();
  if (auto* b = qobject_cast<const QAbstractButton*>(w)) return b->text();
  return {};
}

// Every reason `raiz`, as it is laid out now, does not show its widgets whole.
QStringList defectos(QWidget* raiz) {
  QStringList d;
  const QList<QWidget*> todos = raiz->findChildren<QWidget*>();
  QList<QWidget*> vistos;
  for (QWidget* w : todos)
    if (w->isVisible() && !w->isWindow() && !dentroDeCompuesto(w, raiz)) vistos << w;

  for (QWidget* w : vistos) {
    // A scrolled area has room for what it shows by scrolling; its contents are checked below.
    const QSize min = qobject_cast<QAbstractScrollArea*>(w) ? QSize() : w->minimumSizeHint();
    if (min.isValid() && (w->width() < min.width() || w->height() < min.height()))
      d << QStringLiteral("%1 «%2» recortado: %3x%4 < %5x%6")
               .arg(nombre(w), texto(w))
               .arg(w->width())
               .arg(w->height())
               .arg(min.width())
               .arg(min.height());
    if (auto* l = qobject_cast<QLabel*>(w); l && l->wordWrap() && l->heightForWidth(l->width()) > l->height())
      d << QStringLiteral("%1: faltan líneas de «%2»").arg(nombre(w), l->text().left(30));
    if (!QRect(QPoint(), w->parentWidget()->size()).contains(w->geometry()))
      d << QStringLiteral("%1 se sale de su sitio").arg(nombre(w));
    if (auto* t = qobject_cast<QTableView*>(w)) {
      const QHeaderView* h = t->horizontalHeader();
      if (h->length() > t->viewport()->width())
        d << QStringLiteral("%1: columnas más anchas que la lista").arg(nombre(w));
      for (int c = 0; c < h->count(); ++c) {
        if (h->isSectionHidden(c)) continue;
        if (h->sectionSizeHint(c) > h->sectionSize(c) ||
            static_cast<QAbstractItemView*>(t)->sizeHintForColumn(c) > h->sectionSize(c))
          d << QStringLiteral("%1: columna %2 cortada").arg(nombre(w)).arg(c);
      }
    }
    if (auto* l = qobject_cast<QListWidget*>(w);
        l && l->count() > 0 && l->sizeHintForColumn(0) > l->viewport()->width())
      d << QStringLiteral("%1: líneas cortadas").arg(nombre(w));
    if (auto* e = qobject_cast<QLineEdit*>(w); e && e->fontMetrics().horizontalAdvance(e->text()) + 10 > e->width())
      d << QStringLiteral("%1 «%2» no cabe").arg(nombre(w), e->text());
    if (auto* g = qobject_cast<QChartView*>(w))
      for (QGraphicsItem* i : g->scene()->items())
        if (auto* ti = dynamic_cast<QGraphicsTextItem*>(i);
            ti && ti->isVisible() && ti->toPlainText().contains(u"..."_s))
          d << QStringLiteral("%1: rótulo «%2» abreviado %3 %4x%5 en %6x%7")
                   .arg(nombre(w), ti->toPlainText())
                   .arg(ti->pos().x())
                   .arg(ti->boundingRect().width())
                   .arg(ti->boundingRect().height())
                   .arg(g->width())
                   .arg(g->height());
  }

  // Neighbours placed by the same layout or splitter never cover each other.
  for (QWidget* w : vistos) {
    QWidget* p = w->parentWidget();
    const bool colocado = qobject_cast<QSplitter*>(p) || enCapa(p->layout(), w);
    if (!colocado) continue;
    for (QWidget* o : vistos) {
      if (o == w || o->parentWidget() != p || o < w) continue;
      if (!(qobject_cast<QSplitter*>(p) || enCapa(p->layout(), o))) continue;
      if (w->geometry().intersects(o->geometry())) d << QStringLiteral("%1 encima de %2").arg(nombre(w), nombre(o));
    }
  }
  return d;
}

void asentar(QWidget* w) {
  for (int i = 0; i < 3; ++i) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QTest::qWait(20);
  }
  (void)w;
}

Pena pena(const QString& nombre, int apuestas, int multiple) {
  Pena p = nuevaPena(nombre, multiple ? 95 + multiple : apuestas, QDate(2026, 1, 4));
  const int filas = multiple ? 1 : apuestas;
  const int numeros = multiple ? multiple : 5;
  for (int f = 1; f <= filas; ++f)
    for (int i = 1; i <= numeros; ++i) p.ponerApuesta(i, f, static_cast<int16_t>(i * 4 + f % 4 + 30));
  p.ponerApuesta(numeros + 1, 1, 9);
  return p;
}

// The real history, peñas with the widest names and longest bets, and an old answer.
void datos(const prueba::Entorno& e) {
  e.copiar(QStringLiteral("numeros.dat"));
  e.escribir(QStringLiteral("www.txt"),
             registroCitado(QString::fromUtf8(prueba::leerDatoPrueba(QStringLiteral("respuesta_ejemplo.json")))));
  e.escribir(QStringLiteral("apuestas.dat"),
             ArchivoDe<Pena>::codificar({pena(QStringLiteral("WWWWWWWWWWWWWWWWWWWW"), 24, 0),
                                         pena(QStringLiteral("MMMMMMMMMMMMMMMMMMMM"), 0, 11),
                                         pena(QStringLiteral("PEÑA"), 1, 0)}));
}

// The longest texts the labels that change can show.
void textosLargos(Principal& w) {
  using prueba::control;
  const auto rotulo = [](QWidget* en, const char* nombre, const QString& texto) {
    control<QLabel>(en, nombre)->setText(texto);
  };
  TabGeneral* g = w.general();
  rotulo(g, "Label6", QStringLiteral("TRANSFERENCIA FINALIZADA"));
  rotulo(g, "Label58", QStringLiteral("33554436"));
  rotulo(g, "Label19", QStringLiteral("50 sorteos"));
  rotulo(g, "Label9_2", QStringLiteral("32767"));
  rotulo(g, "Label9_3", QStringLiteral("Domingo, 27 de septiembre del 2026"));
  rotulo(g, "Label9_5", QStringLiteral("Domingo, 27 de septiembre del 2026"));
  rotulo(g, "Label9_6", QStringLiteral("Faltan 1100 sorteos por actualizar"));
  control<QLabel>(g, "Label9_6")->show();
  TabUltimo* u = w.ultimo();
  rotulo(u, "Label8", QStringLiteral("-Informe del Domingo, 27 de septiembre del 2026"));
  for (QLabel* l : u->findChildren<QLabel*>(QRegularExpression(QStringLiteral("^Label10_\\d$"))))
    l->setText(QStringLiteral("12345678.90"));
  TabGestor* t = w.gestor();
  for (QLabel* l : t->findChildren<QLabel*>(QRegularExpression(QStringLiteral("^Label3_\\d$"))))
    l->setText(QStringLiteral("32767"));
  rotulo(t, "Label17", QStringLiteral("32767"));
  rotulo(t, "Label16", QStringLiteral("3276,7 %"));
  rotulo(t, "Label13", QStringLiteral("262136"));
  control<QLineEdit>(t, "Text4")->setText(QStringLiteral("100% de efectividad en premios"));
  control<QLineEdit>(t, "Text5")->setText(QStringLiteral("en 32767 sorteos"));
}

void elegirPena(Principal& w, int fila) {
  QTableView* lista = prueba::control<QTableView>(w.gestor(), "ListView1");
  QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, lista->visualRect(lista->model()->index(fila, 0)).center());
}

}  // namespace

class TestDisposicion : public QObject {
  Q_OBJECT
  std::unique_ptr<prueba::Entorno> e_;
  std::unique_ptr<Principal> w_;

  void abrir(QSize tamano) {
    e_ = std::make_unique<prueba::Entorno>(QDate(2026, 8, 20));
    datos(*e_);
    w_ = prueba::principalEnPantalla(*e_);
    w_->resize(tamano.isValid() ? tamano : w_->minimumSize());
    // The blinking of the missing-draws text is not a change of layout.
    prueba::control<QTimer>(w_->general(), "Timer2")->stop();
    // With history on, every peña has result rows to measure.
    prueba::control<QCheckBox>(w_->general(), "Check1")->setChecked(true);
    textosLargos(*w_);
  }

 private slots:
  void cleanup() {
    w_.reset();
    e_.reset();
  }

  // A laptop of 1366 x 768 holds the window, with its longest peña shown, beside a panel
  // and under the title bar.
  void cabeEnUnPortatil() {
    abrir(QSize());
    elegirPena(*w_, 0);
    asentar(w_.get());
    QVERIFY2(w_->minimumSize().width() <= 1300, qPrintable(QString::number(w_->minimumSize().width())));
    QVERIFY2(w_->minimumSize().height() <= 680, qPrintable(QString::number(w_->minimumSize().height())));
  }

  void pestanas_data() {
    QTest::addColumn<QSize>("tamano");  // invalid: the declared minimum
    QTest::addColumn<int>("pestana");
    QTest::addColumn<int>("pena");  // row of the peña list shown in the detail
    const char* nombres[6] = {"General", "Último sorteo", "Gestor de peñas", "Estadísticas", "Cuentas", "Socios"};
    for (const QSize& t : {QSize(), QSize(1920, 1080)})
      for (int i = 0; i < 6; ++i)
        for (int p = 0; p < (i == 2 ? 2 : 1); ++p) {
          const QString n =
              QStringLiteral("%1, %2%3")
                  .arg(t.isValid() ? QStringLiteral("1920x1080") : QStringLiteral("mínimo"),
                       QString::fromUtf8(nombres[i]),
                       i == 2 ? (p == 0 ? QStringLiteral(", 24 apuestas") : QStringLiteral(", múltiple")) : QString());
          QTest::newRow(qPrintable(n)) << t << i << p;
        }
  }
  void pestanas() {
    QFETCH(QSize, tamano);
    QFETCH(int, pestana);
    QFETCH(int, pena);
    abrir(tamano);
    w_->SSTab1()->setCurrentIndex(pestana);
    if (pestana == 2) elegirPena(*w_, pena);
    asentar(w_.get());
    if (tamano.isValid()) QCOMPARE(w_->size(), tamano);
    const QStringList d = defectos(w_.get());
    QVERIFY2(d.isEmpty(), qPrintable(d.join(QStringLiteral("\n"))));
  }

  // A window manager that makes the window smaller than its minimum gets scroll bars,
  // never widgets over each other.
  void menorQueElMinimo() {
    abrir(QSize());
    const QSize minimo = w_->minimumSize();
    w_->setMinimumSize(0, 0);
    w_->resize(minimo - QSize(300, 200));
    for (int i = 0; i < 4; ++i) {
      w_->SSTab1()->setCurrentIndex(i);
      asentar(w_.get());
      const QStringList d = defectos(w_->SSTab1()->currentWidget());
      QVERIFY2(d.isEmpty(), qPrintable(d.join(QStringLiteral("\n"))));
    }
    auto* area = w_->findChild<QScrollArea*>(QStringLiteral("desplazable"));
    QVERIFY(area->horizontalScrollBar()->isVisible());
    QVERIFY(area->verticalScrollBar()->isVisible());
  }

  // Texts that change while the program runs move nothing else.
  void textosQueCambian_data() {
    QTest::addColumn<int>("pestana");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QStringList>("textos");
    QTest::newRow("estado de la descarga") << 0 << u"Label6"_s
                                           << QStringList{u""_s, u"CONECTANDO AL SERVIDOR"_s, u"BUSCANDO SORTEOS"_s,
                                                          u"ANALIZANDO DATOS"_s, u"TRANSFERENCIA FINALIZADA"_s};
    QTest::newRow("datos recibidos") << 0 << u"Label58"_s << QStringList{u"0 Bytes"_s, u"34041"_s, u"33554436"_s};
    QTest::newRow("sorteos nuevos") << 0 << u"Label19"_s << QStringList{u""_s, u"1 sorteo"_s, u"50 sorteos"_s};
    QTest::newRow("sorteos que faltan") << 0 << u"Label9_6"_s
                                        << QStringList{u"Falta 1 sorteo por actualizar"_s,
                                                       u"No se ha actualizado nunca"_s,
                                                       u"Faltan 1100 sorteos por actualizar"_s};
    QTest::newRow("título del informe") << 1 << u"Label8"_s
                                        << QStringList{u"Informe"_s, u"Un momento. Actualizando información..."_s,
                                                       u"-Informe del Domingo, 27 de septiembre del 2026"_s};
    QTest::newRow("premio") << 1 << u"Label10_0"_s << QStringList{u"-"_s, u"0,00 €"_s, u"12.345.678,90 €"_s};
    QTest::newRow("efectividad de la peña") << 2 << u"Label16"_s << QStringList{u"-"_s, u"0 %"_s, u"3276,7 %"_s};
    QTest::newRow("suma de aciertos") << 2 << u"Label13"_s << QStringList{u"0"_s, u"262136"_s};
  }
  void textosQueCambian() {
    QFETCH(int, pestana);
    QFETCH(QString, control);
    QFETCH(QStringList, textos);
    abrir(QSize());
    w_->SSTab1()->setCurrentIndex(pestana);
    auto* cambia = w_->findChild<QLabel*>(control);
    QVERIFY(cambia);
    cambia->show();
    auto geometrias = [&] {
      asentar(w_.get());
      QStringList g;
      for (QWidget* o : w_->SSTab1()->currentWidget()->findChildren<QWidget*>())
        if (o != cambia && o->isVisible())
          g << QStringLiteral("%1 %2,%3 %4x%5").arg(nombre(o)).arg(o->x()).arg(o->y()).arg(o->width()).arg(o->height());
      return g;
    };
    cambia->setText(textos.first());
    const QStringList antes = geometrias();
    for (const QString& t : textos) {
      cambia->setText(t);
      QCOMPARE(geometrias(), antes);
      QVERIFY2(cambia->width() >= cambia->fontMetrics().horizontalAdvance(t), qPrintable(t));
    }
  }

  void secundarias_data() {
    QTest::addColumn<QString>("ventana");
    for (const char* n :
         {"Acercade", "Infor", "Creamenu", "Crea sencilla", "Crea múltiple", "Imprimir", "EntradaSorteo"})
      QTest::newRow(n) << QString::fromUtf8(n);
  }
  void secundarias() {
    QFETCH(QString, ventana);
    prueba::Entorno e(QDate(2026, 8, 20));
    datos(e);
    e.escribir(QStringLiteral("sortilan.ini"), "[servicios]\nfabricante=https://fabricante-con-nombre-largo.example\n");
    e.escribir(QStringLiteral("informe.dat"), QByteArray("<html><body>") + QByteArray(400, 'x') + "</body></html>");
    Sesion s;
    prueba::exigir(s.abrir(e.carpeta.path()));
    std::unique_ptr<QWidget> w;
    if (ventana == QLatin1String("Acercade")) w = std::make_unique<Acercade>();
    if (ventana == QLatin1String("Infor")) w = std::make_unique<Infor>(e.ruta(QStringLiteral("informe.dat")));
    if (ventana == QLatin1String("Creamenu")) {
      auto* m = new Creamenu;
      prueba::control<QCheckBox>(m, "Check1_0")->setChecked(true);
      m->Check1_Click(0);
      for (int i = 0; i < 18; ++i) m->Timer1_Timer();
      w.reset(m);
    }
    if (ventana.startsWith(QLatin1String("Crea "))) {
      auto* c = new Crea(s, ventana.endsWith(QLatin1String("múltiple")) ? 6 : 0);
      c->Image1_Click(54 + 9);  // the key: the number grid is shown
      w.reset(c);
    }
    if (ventana == QLatin1String("Imprimir")) w = std::make_unique<Imprimir>(s.almacen(), 1);
    if (ventana == QLatin1String("EntradaSorteo")) w = std::make_unique<EntradaSorteo>(s);
    w->setAttribute(Qt::WA_DeleteOnClose, false);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    w->resize(w->minimumSize().expandedTo(w->minimumSizeHint()));
    asentar(w.get());
    const QStringList d = defectos(w.get());
    QVERIFY2(d.isEmpty(), qPrintable(d.join(QStringLiteral("\n"))));
  }
};

QTEST_MAIN(TestDisposicion)
#include "test_disposicion.moc"
