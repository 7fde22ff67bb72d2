#include "gui/ui/campofecha.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSignalBlocker>

namespace sortilan::ui {

namespace {
bool esDeFecha(QChar c) {
  return c.isDigit() || c == QLatin1Char('/') || c == QLatin1Char('-') || c == QLatin1Char('.');
}
}  // namespace

CampoFecha::CampoFecha(QWidget* padre) : QDateEdit(padre) { preparar(); }

CampoFecha::CampoFecha(const QDate& fecha, QWidget* padre) : QDateEdit(fecha, padre) { preparar(); }

void CampoFecha::preparar() {
  setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
  setCalendarPopup(true);
  setToolTip(QStringLiteral("Escriba la fecha como dd/mm/aaaa o elíjala en el calendario"));
}

QDate CampoFecha::leer(const QString& texto) {
  static const QRegularExpression forma(QStringLiteral(R"(^\s*(\d{1,2})[/.-](\d{1,2})[/.-](\d{4})\s*$)"));
  const QRegularExpressionMatch m = forma.match(texto);
  if (!m.hasMatch()) return {};
  return QDate(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
}

void CampoFecha::mostrarEscrito() {
  // The box's own section logic must not see the half-typed text.
  const QSignalBlocker b(lineEdit());
  lineEdit()->setText(escrito_);
  lineEdit()->setCursorPosition(static_cast<int>(escrito_.size()));
}

void CampoFecha::terminar() {
  if (!escribiendo_) return;
  escribiendo_ = false;
  const QString texto = escrito_;
  escrito_.clear();
  const QDate d = leer(texto);
  const bool vale = d.isValid() && d >= minimumDate() && d <= maximumDate();
  if (vale) setDate(d);
  {
    // Shown again in the box's own form, also when the date did not change.
    const QSignalBlocker b(lineEdit());
    lineEdit()->setText(textFromDateTime(dateTime()));
  }
  if (!vale) {
    QApplication::beep();
    emit fechaRechazada(texto);
  }
}

void CampoFecha::keyPressEvent(QKeyEvent* e) {
  const Qt::KeyboardModifiers mandos = e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
  const QString t = e->text();
  if (mandos == Qt::NoModifier && t.size() == 1 && esDeFecha(t[0])) {
    if (!escribiendo_) {
      escribiendo_ = true;
      escrito_.clear();
    }
    if (escrito_.size() < 10) escrito_ += t;
    mostrarEscrito();
    e->accept();
    return;
  }
  if (escribiendo_) {
    switch (e->key()) {
      case Qt::Key_Backspace:
        escrito_.chop(1);
        mostrarEscrito();
        e->accept();
        return;
      case Qt::Key_Escape: {
        // Takes back the typing, keeps the date.
        escribiendo_ = false;
        escrito_.clear();
        const QSignalBlocker b(lineEdit());
        lineEdit()->setText(textFromDateTime(dateTime()));
        e->accept();
        return;
      }
      default:
        // Return, Tab, arrows...: the typed date counts first, then the key does its work
        // (Return reaches the window's main button with the new date in place).
        terminar();
        break;
    }
  }
  QDateEdit::keyPressEvent(e);
}

bool CampoFecha::focusNextPrevChild(bool siguiente) {
  terminar();
  return QWidget::focusNextPrevChild(siguiente);
}

void CampoFecha::focusOutEvent(QFocusEvent* e) {
  terminar();
  QDateEdit::focusOutEvent(e);
}

}  // namespace sortilan::ui
