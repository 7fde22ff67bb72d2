#include "gui/report/tabultimo.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPdfDocument>
#include <QPdfView>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "gui/ui/controles.h"
#include "report/escrutinio.h"
#include "report/ultimosorteo.h"

namespace sortilan::ui {

namespace {
const QString kBandaGris = QStringLiteral("background-color: rgb(224,224,224); padding: 4px; font-weight: bold;");
const QString kBandaNaranja = QStringLiteral("background-color: rgb(255,128,0); padding: 4px; font-weight: bold;");

// A ball of the draw: the number in large type inside a circle.
QLabel* bola(QWidget* padre, const QString& nombre, const QColor& fondo) {
  QLabel* l = etiqueta(padre, nombre, QStringLiteral("-"));
  l->setAlignment(Qt::AlignCenter);
  l->setFixedSize(44, 44);
  l->setStyleSheet(QStringLiteral("QLabel { background: %1; color: rgb(128,0,0); border: 2px solid rgb(200,30,45);"
                                  " border-radius: 22px; font-size: 16pt; font-weight: bold; }")
                       .arg(fondo.name()));
  return l;
}
}  // namespace

TabUltimo::TabUltimo(QWidget* padre) : QWidget(padre) {
  setObjectName(QStringLiteral("TabUltimo"));
  auto* capa = new QHBoxLayout(this);
  // The left column is as wide as its longest texts, whatever it shows now, so a new title
  // or a long prize never pushes the document aside.
  auto* columna = new QWidget(this);
  auto* izquierda = new QVBoxLayout(columna);
  izquierda->setContentsMargins(0, 0, 0, 0);
  capa->addWidget(columna, 0);
  Label8 = etiqueta(columna, QStringLiteral("Label8"), QStringLiteral("Informe"));
  Label8->setAutoFillBackground(true);
  Label8->setStyleSheet(kBandaGris);
  QFont negrita = Label8->font();
  negrita.setBold(true);
  Label8->setMinimumWidth(
      QFontMetrics(negrita).horizontalAdvance(QStringLiteral("-Informe del Miércoles, 30 de septiembre del 2026")) +
      12);
  Label8->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  izquierda->addWidget(Label8);

  auto* combinacion = new QHBoxLayout;
  combinacion->setSpacing(6);
  for (size_t i = 0; i < Numero.size(); ++i) {
    Numero[i] = bola(columna, nombreIndice("Numero", static_cast<int>(i)), Qt::white);
    combinacion->addWidget(Numero[i]);
  }
  combinacion->addSpacing(8);
  QLabel* rotuloClave = etiqueta(columna, QStringLiteral("LabelClave"), QStringLiteral("Clave"));
  rotuloClave->setStyleSheet(QStringLiteral("font-weight: bold; color: rgb(128,0,0);"));
  combinacion->addWidget(rotuloClave);
  Clave = bola(columna, QStringLiteral("Clave"), QColor(255, 236, 160));
  combinacion->addWidget(Clave);
  combinacion->addStretch();
  izquierda->addSpacing(4);
  izquierda->addLayout(combinacion);
  izquierda->addSpacing(4);

  Frame2 = new QGroupBox(QStringLiteral("Premios en Euros €:"), columna);
  Frame2->setObjectName(QStringLiteral("Frame2"));
  auto* rejilla = new QGridLayout(Frame2);
  for (int i = 0; i < 8; ++i) {
    const auto k = static_cast<size_t>(i);
    Label11[k] = etiqueta(Frame2, nombreIndice("Label11", i), categoria(i));
    Label10[k] = etiqueta(Frame2, nombreIndice("Label10", i), QStringLiteral("0"));
    Label10[k]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label10[k]->setMinimumWidth(Label10[k]->fontMetrics().horizontalAdvance(QStringLiteral("99.999.999,99 €")) + 4);
    Label10[k]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    rejilla->addWidget(Label11[k], i, 0);
    rejilla->addWidget(Label10[k], i, 1);
  }
  rejilla->setColumnStretch(1, 1);
  izquierda->addWidget(Frame2);
  izquierda->addStretch();

  auto* derecha = new QVBoxLayout;
  capa->addLayout(derecha, 1);
  Text1 = new QPlainTextEdit(this);
  Text1->setObjectName(QStringLiteral("Text1"));
  Text1->setReadOnly(true);
  Text1->viewport()->installEventFilter(this);
  derecha->addWidget(Text1, 1);
  WebBrowser1 = new QWidget(this);
  WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
  capaDocumento = new QVBoxLayout(WebBrowser1);
  capaDocumento->setContentsMargins(0, 0, 0, 0);
  documento = new QPdfDocument(this);
  visor = new QPdfView(WebBrowser1);
  visor->setObjectName(QStringLiteral("visor"));
  visor->setDocument(documento);
  visor->setPageMode(QPdfView::PageMode::MultiPage);
  visor->setZoomMode(QPdfView::ZoomMode::FitToWidth);
  capaDocumento->addWidget(visor);
  derecha->addWidget(WebBrowser1, 1);
  WebBrowser1->hide();
}

void TabUltimo::poner(const UltimoSorteo& u) {
  Label8->setText(u.informe.titulo);
  const bool haySorteo = u.premios != UltimoSorteo::Premios::SinSorteo;
  for (size_t i = 0; i < Numero.size(); ++i)
    Numero[i]->setText(haySorteo ? QString::number(u.sorteo.numeros[i]) : QStringLiteral("-"));
  Clave->setText(haySorteo ? QString::number(u.sorteo.clave()) : QStringLiteral("-"));
  for (size_t i = 0; i < 8; ++i) Label10[i]->setText(textoPremio(u.informe.premios[i]));
}

void TabUltimo::mostrarAviso(const QString& texto) {
  WebBrowser1->hide();
  Text1->setPlainText(texto);
  Text1->show();
}

void TabUltimo::cerrarDocumento() { documento->close(); }

void TabUltimo::mostrarActualizando(bool si) {
  if (si) Label8->setText(QStringLiteral("Un momento. Actualizando información..."));
  Label8->setStyleSheet(si ? kBandaNaranja : kBandaGris);
}

bool TabUltimo::muestraAviso() const { return Text1->isVisibleTo(this); }

void TabUltimo::mostrarDocumento(const QString& archivo) {
  documento->close();
  if (documento->load(archivo) != QPdfDocument::Error::None) {
    mostrarAviso(avisoSinConexion());
    return;
  }
  Text1->hide();
  WebBrowser1->show();
}

// The built-in viewer never lacks a PDF reader, so the notice never links to one.
void TabUltimo::Text1_Click() {}

bool TabUltimo::eventFilter(QObject* objeto, QEvent* evento) {
  if (objeto == Text1->viewport() && evento->type() == QEvent::MouseButtonRelease) Text1_Click();
  return QWidget::eventFilter(objeto, evento);
}

}  // namespace sortilan::ui
