#include "printing/gui/pintor.h"

#include <QFont>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>

namespace sortilan::ui {

bool pintarImpresion(const Impresion& impresion, QPagedPaintDevice& dispositivo) {
  if (impresion.paginas.empty()) return false;
  QPainter p;
  if (!p.begin(&dispositivo)) return false;
  // Positions are converted by hand rather than by scaling the painter, so font sizes
  // stay true points on the device.
  const double mx = dispositivo.logicalDpiX() / 25.4;
  const double my = dispositivo.logicalDpiY() / 25.4;
  QFont fuente(QString::fromLatin1(kFuenteImpresion));
  fuente.setStyleHint(QFont::SansSerif);
  fuente.setBold(true);
  p.setPen(QPen(Qt::black, 0.25 * mx));
  p.setBrush(Qt::NoBrush);

  bool primera = true;
  for (const PaginaImpresion& pagina : impresion.paginas) {
    if (!primera && !dispositivo.newPage()) {
      p.end();
      return false;
    }
    primera = false;
    for (const OperacionDibujo& o : pagina.operaciones) {
      const QRectF r(o.x * mx, o.y * my, o.ancho * mx, o.alto * my);
      switch (o.tipo) {
        case OperacionDibujo::Tipo::Texto:
          fuente.setPointSizeF(o.tamano);
          p.setFont(fuente);
          p.drawText(QRectF(r.topLeft(), QSizeF(1, 1)), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, o.texto);
          break;
        case OperacionDibujo::Tipo::Rectangulo: p.drawRect(r); break;
        case OperacionDibujo::Tipo::Relleno: p.fillRect(r, Qt::black); break;
      }
    }
  }
  return p.end();
}

}  // namespace sortilan::ui
