#include "gui/main/botondescarga.h"

#include <QEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

namespace sortilan::ui {

namespace {
constexpr int kTwipsPorPixel = 15;
const QSize kTamano(96, 60);
}  // namespace

BotonDescarga::BotonDescarga(QToolButton* Picture2) : QObject(Picture2), boton_(Picture2) {
  imagenes_[0] = dibujar(1);
  imagenes_[1] = dibujar(2);
  boton_->setIconSize(kTamano);
  boton_->setMouseTracking(true);
  boton_->installEventFilter(this);
  poner(2);
}

void BotonDescarga::poner(int imagen) {
  if (imagen == imagen_) return;
  imagen_ = imagen;
  boton_->setIcon(QIcon(imagenes_[imagen == 1 ? 0 : 1]));
}

bool BotonDescarga::dentro(QPoint t) { return t.x() > 240 && t.x() < 1600 && t.y() > 240 && t.y() < 1080; }

bool BotonDescarga::eventFilter(QObject* objeto, QEvent* e) {
  if (objeto != boton_) return false;
  switch (e->type()) {
    case QEvent::MouseButtonPress: poner(2); break;
    case QEvent::MouseButtonRelease: poner(1); break;
    case QEvent::MouseMove: {
      const QPoint p = static_cast<QMouseEvent*>(e)->position().toPoint();
      poner(dentro(p * kTwipsPorPixel) ? 1 : 2);
      break;
    }
    // Leaving fast skips the edge band; the button must not stay lit.
    case QEvent::Leave: poner(2); break;
    default: break;
  }
  return false;
}

QPixmap BotonDescarga::dibujar(int imagen) {
  // Image 1 is the lit button, image 2 the resting/pressed one: a draw ball over a
  // downward arrow, brighter and with a glow when lit.
  const bool encendida = imagen == 1;
  QPixmap px(kTamano);
  px.fill(Qt::transparent);
  QPainter p(&px);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF caja = QRectF(px.rect()).adjusted(2, 2, -2, -2);
  QLinearGradient fondo(caja.topLeft(), caja.bottomLeft());
  fondo.setColorAt(0, encendida ? QColor(120, 200, 110) : QColor(150, 170, 150));
  fondo.setColorAt(1, encendida ? QColor(30, 120, 40) : QColor(70, 95, 75));
  p.setPen(QPen(encendida ? QColor(255, 215, 0) : QColor(60, 70, 60), encendida ? 3 : 1.5));
  p.setBrush(fondo);
  p.drawRoundedRect(caja, 10, 10);

  // The ball.
  const QPointF centro(caja.left() + caja.width() * 0.32, caja.center().y());
  const double radio = caja.height() * 0.32;
  QRadialGradient bola(centro - QPointF(radio / 3, radio / 3), radio * 1.3);
  bola.setColorAt(0, Qt::white);
  bola.setColorAt(1, encendida ? QColor(255, 200, 60) : QColor(200, 190, 160));
  p.setPen(QPen(QColor(90, 60, 0), 1));
  p.setBrush(bola);
  p.drawEllipse(centro, radio, radio);
  QFont f;
  f.setPixelSize(static_cast<int>(radio));
  f.setBold(true);
  p.setFont(f);
  p.setPen(QColor(150, 20, 30));
  p.drawText(QRectF(centro.x() - radio, centro.y() - radio, 2 * radio, 2 * radio), Qt::AlignCenter,
             QStringLiteral("54"));

  // The arrow.
  const double x = caja.left() + caja.width() * 0.72;
  const double arriba = caja.top() + caja.height() * 0.18;
  const double abajo = caja.bottom() - caja.height() * 0.15;
  const double ancho = caja.width() * 0.13;
  QPainterPath flecha;
  flecha.moveTo(x - ancho / 2.5, arriba);
  flecha.lineTo(x + ancho / 2.5, arriba);
  flecha.lineTo(x + ancho / 2.5, abajo - ancho);
  flecha.lineTo(x + ancho, abajo - ancho);
  flecha.lineTo(x, abajo);
  flecha.lineTo(x - ancho, abajo - ancho);
  flecha.lineTo(x - ancho / 2.5, abajo - ancho);
  flecha.closeSubpath();
  p.setPen(QPen(QColor(0, 40, 0), 1));
  p.setBrush(encendida ? QColor(255, 255, 255) : QColor(215, 220, 215));
  p.drawPath(flecha);
  return px;
}

}  // namespace sortilan::ui
