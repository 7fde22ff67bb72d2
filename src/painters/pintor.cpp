#include "painters/pintor.h"

#include <QFont>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <QSaveFile>

#include "base/programa.h"

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

bool escribirPdf(const Impresion& impresion, const QString& ruta, const QString& titulo) {
  QSaveFile archivo(ruta);
  if (!archivo.open(QIODevice::WriteOnly)) return false;
  {
    QPdfWriter escritor(&archivo);
    escritor.setPageSize(QPageSize(QPageSize::A4));
    // A PDF has no unprintable border: positions count from the sheet's corner.
    escritor.setPageMargins(QMarginsF(0, 0, 0, 0));
    escritor.setResolution(300);
    escritor.setTitle(titulo);
    escritor.setCreator(QStringLiteral("Sortilan ") + versionPrograma());
    if (!pintarImpresion(impresion, escritor)) {
      archivo.cancelWriting();
      return false;
    }
  }
  return archivo.commit();
}

}  // namespace sortilan::ui
