#include "app/presentacion.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/programa.h"

namespace sortilan::ui {

Presentacion::Presentacion(std::function<void()> entrar, QWidget* padre) : QWidget(padre), entrar_(std::move(entrar)) {
  setObjectName(QStringLiteral("Presentacion"));
  setWindowTitle(QStringLiteral("Presentación"));
  auto* capa = new QVBoxLayout(this);
  auto* titulo = new QLabel(QStringLiteral("<h1 style='color:#8b0000'>Sortilan</h1>"
                                           "<p>Para El Gordo de la Primitiva</p><p>v.%1</p>")
                                .arg(versionPrograma()),
                            this);
  titulo->setAlignment(Qt::AlignCenter);
  titulo->setMinimumSize(360, 200);
  capa->addWidget(titulo);
  auto* boton = new QPushButton(QStringLiteral("Entrar"), this);
  boton->setObjectName(QStringLiteral("Command1"));
  capa->addWidget(boton, 0, Qt::AlignHCenter);
  connect(boton, &QPushButton::clicked, this, &Presentacion::Command1_Click);
  boton->setAutoDefault(true);
  boton->setDefault(true);
  boton->setFocus();
  installEventFilter(this);
  titulo->installEventFilter(this);
  boton->installEventFilter(this);

  Timer1_ = new QTimer(this);
  Timer1_->setObjectName(QStringLiteral("Timer1"));
  Timer1_->setInterval(250);
  connect(Timer1_, &QTimer::timeout, this, &Presentacion::Timer1_Timer);
  Timer1_->start();
}

bool Presentacion::eventFilter(QObject* objeto, QEvent* evento) {
  if (evento->type() == QEvent::MouseButtonPress) {
    Command1_Click();
    return true;
  }
  if (evento->type() == QEvent::KeyPress) {
    // A modifier alone is usually the start of a combination meant for another window.
    switch (static_cast<QKeyEvent*>(evento)->key()) {
      case Qt::Key_Shift:
      case Qt::Key_Control:
      case Qt::Key_Alt:
      case Qt::Key_Meta:
      case Qt::Key_AltGr: break;
      default: Command1_Click(); return true;
    }
  }
  return QWidget::eventFilter(objeto, evento);
}

void Presentacion::Timer1_Timer() {
  ++contador_;
  if (contador_ >= 40) Command1_Click();
}

void Presentacion::Command1_Click() {
  Timer1_->stop();
  if (entrado_) return;
  entrado_ = true;
  if (entrar_) entrar_();
}

}  // namespace sortilan::ui
