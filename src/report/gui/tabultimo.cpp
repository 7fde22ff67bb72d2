#include "report/gui/tabultimo.h"

#include "main/gui/controles.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace sortilan::ui {

TabUltimo::TabUltimo(QWidget* padre) : QWidget(padre) {
  setObjectName(QStringLiteral("TabUltimo"));
  auto* capa = new QHBoxLayout(this);
  auto* izquierda = new QVBoxLayout;
  capa->addLayout(izquierda, 0);
  Label8 = etiqueta(this, QStringLiteral("Label8"), QStringLiteral("Informe"));
  Label8->setAutoFillBackground(true);
  Label8->setStyleSheet(QStringLiteral("background-color: rgb(224,224,224); padding: 4px;"));
  izquierda->addWidget(Label8);
  Frame2 = new QGroupBox(QStringLiteral("Premios en Euros"), this);
  Frame2->setObjectName(QStringLiteral("Frame2"));
  auto* rejilla = new QGridLayout(Frame2);
  const char* categorias[8] = {"1ª Categoría (5+1)", "2ª Categoría (5+0)", "3ª Categoría (4+1)",
                               "4ª Categoría (4+0)", "5ª Categoría (3+1)", "6ª Categoría (3+0)",
                               "7ª Categoría (2+1)", "8ª Categoría (2+0)"};
  for (int i = 0; i < 8; ++i) {
    Label11[static_cast<size_t>(i)] =
        etiqueta(Frame2, nombreIndice("Label11", i), QString::fromUtf8(categorias[i]));
    Label10[static_cast<size_t>(i)] = etiqueta(Frame2, nombreIndice("Label10", i));
    rejilla->addWidget(Label11[static_cast<size_t>(i)], i, 0);
    rejilla->addWidget(Label10[static_cast<size_t>(i)], i, 1);
  }
  izquierda->addWidget(Frame2);
  izquierda->addStretch();

  auto* derecha = new QVBoxLayout;
  capa->addLayout(derecha, 1);
  Text1 = new QLineEdit(this);
  Text1->setObjectName(QStringLiteral("Text1"));
  Text1->setReadOnly(true);
  Text1->hide();
  derecha->addWidget(Text1);
  WebBrowser1 = new QWidget(this);
  WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
  capaDocumento = new QVBoxLayout(WebBrowser1);
  capaDocumento->setContentsMargins(0, 0, 0, 0);
  derecha->addWidget(WebBrowser1, 1);
}

}  // namespace sortilan::ui
