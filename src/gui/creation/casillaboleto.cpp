#include "gui/creation/casillaboleto.h"

#include <QMouseEvent>
#include <QPainter>

#include "gui/ui/controles.h"

namespace sortilan::ui {

CasillaBoleto::CasillaBoleto(int indice, QWidget* padre) : QWidget(padre), indice_(indice) {
  setObjectName(nombreIndice("Image1", indice));
  setCursor(Qt::PointingHandCursor);
}

void CasillaBoleto::marcar(bool si) {
  if (si == marcada_) return;
  marcada_ = si;
  update();
}

void CasillaBoleto::paintEvent(QPaintEvent*) {
  if (!marcada_) return;
  // The mark: two strokes of a dark pen across the box, as a player marks the ticket.
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  QPen pluma(QColor(20, 30, 110, 220), std::max(2.0, width() / 9.0), Qt::SolidLine, Qt::RoundCap);
  p.setPen(pluma);
  const QRectF r = QRectF(rect()).adjusted(3, 3, -3, -3);
  p.drawLine(r.topLeft(), r.bottomRight());
  p.drawLine(r.topRight(), r.bottomLeft());
}

void CasillaBoleto::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) emit pulsada(indice_);
}

void CasillaBoleto::mouseDoubleClickEvent(QMouseEvent* e) {
  // Widgets get a double click as press, release, double click, release: the second
  // half is not a second click.
  e->accept();
}

}  // namespace sortilan::ui
