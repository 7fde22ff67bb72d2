#include "report/gui/tabultimo.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPdfDocument>
#include <QPdfView>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "report/escrutinio.h"
#include "ui/controles.h"

namespace sortilan::ui {

TabUltimo::TabUltimo(QWidget* padre) : QWidget(padre) {
  setObjectName(QStringLiteral("TabUltimo"));
  auto* capa = new QHBoxLayout(this);
  auto* izquierda = new QVBoxLayout;
  capa->addLayout(izquierda, 0);
  Label8 = etiqueta(this, QStringLiteral("Label8"), QStringLiteral("Informe"));
  Label8->setAutoFillBackground(true);
  Label8->setStyleSheet(QStringLiteral("background-color: rgb(224,224,224); padding: 4px; font-weight: bold;"));
  izquierda->addWidget(Label8);
  Frame2 = new QGroupBox(QStringLiteral("Premios en Euros €:"), this);
  Frame2->setObjectName(QStringLiteral("Frame2"));
  auto* rejilla = new QGridLayout(Frame2);
  for (int i = 0; i < 8; ++i) {
    const auto k = static_cast<size_t>(i);
    Label11[k] = etiqueta(Frame2, nombreIndice("Label11", i), categoria(i));
    Label10[k] = etiqueta(Frame2, nombreIndice("Label10", i), QStringLiteral("0"));
    Label10[k]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label10[k]->setMinimumWidth(90);
    rejilla->addWidget(Label11[k], i, 0);
    rejilla->addWidget(Label10[k], i, 1);
  }
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

void TabUltimo::poner(const Escrutinio& e) {
  Label8->setText(e.titulo);
  for (size_t i = 0; i < 8; ++i)
    if (e.premios[i]) Label10[i]->setText(*e.premios[i]);
}

void TabUltimo::mostrarAviso(const QString& texto) {
  WebBrowser1->hide();
  Text1->setPlainText(texto);
  Text1->show();
}

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
