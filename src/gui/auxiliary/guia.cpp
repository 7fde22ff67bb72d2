#include "gui/auxiliary/guia.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "gui/ui/secundaria.h"

namespace sortilan::ui {

Guia::Guia(QWidget* padre) : QWidget(padre, Qt::Window) {
  setObjectName(QStringLiteral("Guia"));
  setWindowTitle(QStringLiteral("Guía de Sortilan"));
  setAttribute(Qt::WA_DeleteOnClose);
  auto* capa = new QVBoxLayout(this);
  texto_ = new QTextBrowser(this);
  texto_->setObjectName(QStringLiteral("texto"));
  // The guide only links within itself; nothing it shows may open a browser.
  texto_->setOpenExternalLinks(false);
  texto_->setSource(direccion());
  capa->addWidget(texto_);
  auto* pie = new QHBoxLayout;
  pie->addStretch();
  pie->addWidget(botonAceptar(*this, QStringLiteral("Command1")));
  capa->addLayout(pie);
  cerrarConEscape(*this);
  texto_->setFocus();
  resize(640, 560);
}

}  // namespace sortilan::ui
