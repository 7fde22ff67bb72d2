#include "gui/creation/panelboleto.h"

#include <QKeyEvent>
#include <QPainter>

#include "creation/creacion.h"
#include "gui/creation/casillaboleto.h"

namespace sortilan::ui {

namespace {
constexpr int px(int twips) { return (twips + PanelBoleto::kTwipsPorPixel / 2) / PanelBoleto::kTwipsPorPixel; }

const QColor kRojo(200, 30, 45);
const QColor kFondo(253, 236, 230);
const QColor kFondoClave(255, 246, 214);
}  // namespace

QPoint PanelBoleto::esquinaTwips(int indice) {
  if (indice >= Creacion::kCeldasNumero) {
    const int k = indice - Creacion::kCeldasNumero;
    return {157, 150 + 593 * k};
  }
  const int n = indice + 1;
  return {120 + 450 * (n / 10), 135 + 595 * (n % 10)};
}

PanelBoleto::PanelBoleto(Clase clase, QWidget* padre) : QWidget(padre), clase_(clase) {
  const int primera = clase == Clase::Numeros ? 0 : Creacion::kCeldasNumero;
  const int ultima = clase == Clase::Numeros ? Creacion::kCeldasNumero : Creacion::kCeldas;
  for (int i = primera; i < ultima; ++i) {
    auto* c = new CasillaBoleto(i, this);
    c->setGeometry(rectCelda(i));
    connect(c, &CasillaBoleto::pulsada, this, &PanelBoleto::pulsada);
    casillas_.push_back(c);
  }
  actual_ = primera;
  setFocusPolicy(Qt::StrongFocus);
  setAccessibleName(clase == Clase::Numeros ? QStringLiteral("Números del boleto") : QStringLiteral("Número clave"));
  if (clase == Clase::Numeros)
    setFixedSize(px(2370 + kAnchoCelda + 120), px(135 + 595 * 9 + kAltoCelda + 135));
  else
    setFixedSize(px(157 + kAnchoCelda + 157), px(150 + 593 * 9 + kAltoCelda + 150));
}

CasillaBoleto* PanelBoleto::casilla(int indice) const {
  for (CasillaBoleto* c : casillas_)
    if (c->indice() == indice) return c;
  return nullptr;
}

int PanelBoleto::vecina(int indice, int columnas, int filas) const {
  if (clase_ == Clase::Clave) {
    const int k = indice - Creacion::kCeldasNumero + filas;
    return k >= 0 && k <= 9 ? k + Creacion::kCeldasNumero : indice;
  }
  // Number n sits in column n div 10 and row n mod 10.
  const int n = indice + 1 + filas + 10 * columnas;
  const bool mismaColumna = columnas != 0 || (n / 10 == (indice + 1) / 10);
  return n >= 1 && n <= Creacion::kCeldasNumero && mismaColumna ? n - 1 : indice;
}

void PanelBoleto::keyPressEvent(QKeyEvent* e) {
  int nueva = actual_;
  switch (e->key()) {
    case Qt::Key_Up: nueva = vecina(actual_, 0, -1); break;
    case Qt::Key_Down: nueva = vecina(actual_, 0, 1); break;
    case Qt::Key_Left: nueva = vecina(actual_, -1, 0); break;
    case Qt::Key_Right: nueva = vecina(actual_, 1, 0); break;
    // Return is left to the window: it saves, as in every form.
    case Qt::Key_Space:
      if (!e->isAutoRepeat()) emit pulsada(actual_);
      return;
    default: QWidget::keyPressEvent(e); return;
  }
  if (nueva != actual_) {
    actual_ = nueva;
    update();
  }
}

void PanelBoleto::focusInEvent(QFocusEvent* e) {
  QWidget::focusInEvent(e);
  update();
}

void PanelBoleto::focusOutEvent(QFocusEvent* e) {
  QWidget::focusOutEvent(e);
  update();
}

QRect PanelBoleto::rectCelda(int indice) const {
  const QPoint t = esquinaTwips(indice);
  return {px(t.x()), px(t.y()), px(kAnchoCelda), px(kAltoCelda)};
}

void PanelBoleto::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const bool clave = clase_ == Clase::Clave;
  p.fillRect(rect(), clave ? kFondoClave : kFondo);
  p.setPen(QPen(kRojo, 2));
  p.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 4, 4);

  // Light bands every other row help the eye along the grid, as on the paper.
  p.setPen(Qt::NoPen);
  for (int fila = 1; fila < 10; fila += 2) {
    const int y = px((clave ? 150 + 593 * fila : 135 + 595 * fila) - 60);
    p.fillRect(QRect(3, y, width() - 6, px(kAltoCelda + 120)), QColor(250, 214, 205, clave ? 90 : 140));
  }

  QFont f = font();
  f.setPixelSize(px(kAltoCelda) / 2);
  f.setBold(true);
  p.setFont(f);
  for (const CasillaBoleto* c : casillas_) {
    const QRect r = c->geometry();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(r);
    p.setPen(QPen(kRojo, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5));
    const int valor = c->indice() < Creacion::kCeldasNumero ? c->indice() + 1 : c->indice() - Creacion::kCeldasNumero;
    p.drawText(r, Qt::AlignCenter, QString::number(valor));
  }
  if (hasFocus()) {
    // Where Space will mark: a frame around the cell, wider than the cell's own.
    p.setPen(QPen(QColor(20, 30, 110), 2, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(rectCelda(actual_)).adjusted(-3, -3, 3, 3));
  }
}

}  // namespace sortilan::ui
