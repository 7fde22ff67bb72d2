#include "gui/ui/secundaria.h"

#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QWidget>

namespace sortilan::ui {

namespace {
// Sees the Return that no control of the window took for itself.
class FiltroIntro : public QObject {
 public:
  FiltroIntro(QWidget& ventana, QPushButton* boton) : QObject(&ventana), ventana_(ventana), boton_(boton) {}

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override {
    if (objeto != &ventana_ || evento->type() != QEvent::KeyPress) return false;
    auto* tecla = static_cast<QKeyEvent*>(evento);
    if (tecla->key() != Qt::Key_Return && tecla->key() != Qt::Key_Enter) return false;
    if ((tecla->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
    // A held key repeats: one press, one action.
    if (tecla->isAutoRepeat()) return true;
    if (!boton_ || !boton_->isEnabled() || !boton_->isVisible()) return true;
    // The focus moves first, as a click would move it, so a box being left is read.
    boton_->setFocus(Qt::OtherFocusReason);
    boton_->click();
    return true;
  }

 private:
  QWidget& ventana_;
  QPointer<QPushButton> boton_;
};
}  // namespace

void botonPrincipal(QWidget& ventana, QPushButton* boton) {
  // A button with the focus presses itself on Return instead of handing it to the window.
  for (QPushButton* b : ventana.findChildren<QPushButton*>()) b->setAutoDefault(true);
  boton->setDefault(true);
  ventana.installEventFilter(new FiltroIntro(ventana, boton));
}

void cerrarConEscape(QWidget& ventana) {
  auto* atajo = new QShortcut(QKeySequence(Qt::Key_Escape), &ventana);
  atajo->setObjectName(QStringLiteral("cerrarConEscape"));
  atajo->setContext(Qt::WindowShortcut);
  QObject::connect(atajo, &QShortcut::activated, &ventana, &QWidget::close);
}

QPushButton* botonAceptar(QWidget& ventana, const QString& nombre) {
  auto* b = new QPushButton(QStringLiteral("Aceptar"), &ventana);
  b->setObjectName(nombre);
  // Outside a dialog a button answers Return only when it has the focus and is an auto-default.
  b->setAutoDefault(true);
  b->setDefault(true);
  QObject::connect(b, &QPushButton::clicked, &ventana, &QWidget::close);
  return b;
}

}  // namespace sortilan::ui
