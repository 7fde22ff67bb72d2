#include "painters/pdfsocios.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <functional>

#include "base/fechas.h"

namespace sortilan::ui {

namespace {

constexpr double kMargen = 15;     // mm
constexpr double kAncho = 180;     // mm of text width on A4
constexpr double kInferior = 280;  // mm: below this a new page starts

struct Columna {
  QString titulo;
  double ancho;  // mm
  Qt::Alignment alineacion;
};

// A page of text in millimetres. Positions are converted by hand rather than by scaling
// the painter, so font sizes stay true points.
class Hoja {
 public:
  Hoja(QPdfWriter& pdf, QPainter& p) : pdf_(pdf), p_(p), mm_(pdf.resolution() / 25.4) {}

  double y = kMargen;
  int paginas = 1;
  bool bien = true;
  // Painted at the top of each new page (a table's header).
  std::function<void()> alCambiarPagina;

  // A table's header in bold under its column titles, now and at the top of every new page.
  void empezarTabla(const std::vector<Columna>& columnas, double puntos, double alto) {
    alCambiarPagina = [this, columnas, puntos, alto] {
      fuente(puntos, true);
      QStringList titulos;
      for (const Columna& c : columnas) titulos << c.titulo;
      fila(columnas, titulos, alto);
      rayaEntera();
      fuente(puntos);
    };
    alCambiarPagina();
  }

  void fuente(double puntos, bool negrita = false) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(puntos);
    f.setBold(negrita);
    p_.setFont(f);
  }
  double altoLinea() const { return QFontMetricsF(p_.font(), &pdf_).height() / mm_ + 1; }

  void sitio(double alto) {
    if (y + alto <= kInferior) return;
    pie();
    if (!pdf_.newPage()) bien = false;
    ++paginas;
    y = kMargen;
    if (alCambiarPagina) alCambiarPagina();
  }

  // A paragraph across the page, wrapped.
  void parrafo(const QString& texto) {
    const QRectF caja(0, 0, kAncho * mm_, 1000 * mm_);
    const QRectF medida = p_.boundingRect(caja, Qt::TextWordWrap, texto);
    const double alto = medida.height() / mm_ + 1;
    sitio(alto);
    p_.drawText(QRectF(kMargen * mm_, y * mm_, kAncho * mm_, alto * mm_), Qt::TextWordWrap, texto);
    y += alto;
  }

  void fila(const std::vector<Columna>& columnas, const QStringList& celdas, double alto) {
    sitio(alto);
    double x = kMargen;
    for (size_t i = 0; i < columnas.size(); ++i) {
      const QRectF r((x + 1) * mm_, y * mm_, (columnas[i].ancho - 2) * mm_, alto * mm_);
      p_.drawText(r, columnas[i].alineacion | Qt::AlignVCenter | Qt::TextWordWrap,
                  i < static_cast<size_t>(celdas.size()) ? celdas[static_cast<int>(i)] : QString());
      x += columnas[i].ancho;
    }
    y += alto;
  }

  void raya(double x1, double x2, double grosor = 0.2) {
    p_.save();
    p_.setPen(QPen(Qt::black, grosor * mm_));
    p_.drawLine(QPointF(x1 * mm_, y * mm_), QPointF(x2 * mm_, y * mm_));
    p_.restore();
  }
  void rayaEntera(double grosor = 0.2) { raya(kMargen, kMargen + kAncho, grosor); }
  void espacio(double mm) { y += mm; }

  void pie() {
    p_.save();
    fuente(7);
    p_.drawText(QRectF(kMargen * mm_, 287 * mm_, kAncho * mm_, 6 * mm_), Qt::AlignRight,
                QStringLiteral("Página %1").arg(paginas));
    p_.restore();
  }

 private:
  QPdfWriter& pdf_;
  QPainter& p_;
  double mm_;
};

// Paints with `pintar` on an A4 PDF held in memory.
QByteArray pintarPdf(const QString& titulo, int* paginas, const std::function<void(Hoja&)>& pintar) {
  QByteArray datos;
  QBuffer buffer(&datos);
  if (!buffer.open(QIODevice::WriteOnly)) return {};
  bool bien = false;
  int n = 0;
  {
    QPdfWriter pdf(&buffer);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setResolution(300);
    pdf.setTitle(titulo);
    pdf.setCreator(QStringLiteral("Sortilan"));
    QPainter p;
    if (!p.begin(&pdf)) return {};
    Hoja hoja(pdf, p);
    pintar(hoja);
    hoja.pie();
    n = hoja.paginas;
    bien = p.end() && hoja.bien;
  }
  if (paginas) *paginas = n;
  return bien ? datos : QByteArray();
}

}  // namespace

QByteArray pdfExtracto(const Extracto& e, bool conNif, int* paginas) {
  return pintarPdf(tituloExtracto(e), paginas, [&](Hoja& h) {
    h.fuente(14, true);
    h.parrafo(QStringLiteral("Extracto de socio"));
    h.espacio(2);
    h.fuente(10);
    h.parrafo(QStringLiteral("Peña: %1").arg(e.pena));
    h.parrafo(QStringLiteral("Socio %1: %2").arg(e.numero).arg(e.nombre));
    if (conNif && !e.nif.isEmpty()) h.parrafo(QStringLiteral("NIF: %1").arg(e.nif));
    h.parrafo(QStringLiteral("Periodo: %1").arg(textoPeriodoExtracto(e)));
    h.parrafo(QStringLiteral("Participaciones: %1").arg(textoParticipaciones(e)));
    h.espacio(4);
    const std::vector<Columna> columnas = {{QStringLiteral("Fecha"), 30, Qt::AlignLeft},
                                           {QStringLiteral("Concepto"), 70, Qt::AlignLeft},
                                           {QStringLiteral("Importe"), 40, Qt::AlignRight},
                                           {QStringLiteral("Saldo"), 40, Qt::AlignRight}};
    h.empezarTabla(columnas, 9, 6);
    h.fila(columnas, {QString(), QStringLiteral("saldo anterior"), QString(), textoSaldo(e.saldoAnterior)}, 5.5);
    for (const Movimiento& m : e.movimientos)
      h.fila(columnas, {fechaCorta(m.fecha), textoLinea(m), textoEuros(m.importe), textoSaldo(m.saldo)}, 5.5);
    h.alCambiarPagina = nullptr;
    h.sitio(8);
    h.rayaEntera();
    h.fuente(10, true);
    h.fila(columnas, {QString(), QStringLiteral("Total"), QString(), textoSaldo(e.saldo)}, 7);
  });
}

QByteArray pdfReparto(const DocumentoReparto& d, bool conNif, int* paginas) {
  return pintarPdf(tituloReparto(d), paginas, [&](Hoja& h) {
    h.fuente(14, true);
    h.parrafo(QStringLiteral("Reparto de premio entre los socios"));
    h.espacio(2);
    h.fuente(10);
    h.parrafo(QStringLiteral("Peña: %1").arg(d.pena));
    h.parrafo(
        QStringLiteral("Sorteo del %1%2")
            .arg(fechaCorta(d.sorteo), d.combinacion.isEmpty() ? QString() : QStringLiteral(": ") + d.combinacion));
    h.espacio(1);
    h.fuente(10, true);
    h.parrafo(QStringLiteral("Apuestas premiadas"));
    h.fuente(9);
    for (const QString& a : d.apuestas) h.parrafo(a);
    h.espacio(2);
    h.fuente(10);
    h.parrafo(QStringLiteral("Premio bruto: %1").arg(textoEuros(d.bruto)));
    h.parrafo(QStringLiteral("Retención: %1").arg(textoEuros(d.retencion)));
    h.fuente(10, true);
    h.parrafo(QStringLiteral("Premio neto: %1").arg(textoEuros(d.neto)));
    h.fuente(10);
    h.parrafo(
        QStringLiteral("Cobrado el %1. %2")
            .arg(fechaCorta(d.cobrado), d.pagado ? QStringLiteral("Pagado a los socios el %1.").arg(fechaCorta(d.hecho))
                                                 : QStringLiteral("Se queda en la peña.")));
    h.espacio(4);
    const std::vector<Columna> columnas = {
        {QStringLiteral("Nº"), 8, Qt::AlignRight},         {QStringLiteral("Nombre"), 40, Qt::AlignLeft},
        {QStringLiteral("NIF"), 22, Qt::AlignLeft},        {QStringLiteral("Partic."), 13, Qt::AlignRight},
        {QStringLiteral("Bruto (€)"), 24, Qt::AlignRight}, {QStringLiteral("Retención (€)"), 24, Qt::AlignRight},
        {QStringLiteral("Neto (€)"), 23, Qt::AlignRight},  {QStringLiteral("Firma"), 26, Qt::AlignLeft}};
    h.empezarTabla(columnas, 8, 7);
    for (const LineaReparto& l : d.lineas) {
      h.fila(columnas,
             {QString::number(l.numero), l.nombre, conNif ? l.nif : QString(), QString::number(l.participaciones),
              textoImporte(l.bruto), textoImporte(l.retencion), textoImporte(l.neto)},
             12);
      // The signature line of the member, at the foot of their row.
      h.espacio(-2);
      h.raya(kMargen + kAncho - 25, kMargen + kAncho - 1, 0.15);
      h.espacio(2);
    }
    h.alCambiarPagina = nullptr;
    h.sitio(8);
    h.rayaEntera();
    h.fuente(8, true);
    h.fila(columnas,
           {QString(), QStringLiteral("Total"), QString(), QString::number(d.participaciones), textoImporte(d.bruto),
            textoImporte(d.retencion), textoImporte(d.neto)},
           7);
  });
}

QByteArray pdfPapel(const PapelGuardado& papel, int* paginas) {
  const QStringList lineas = papel.texto.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  return pintarPdf(lineas.value(0), paginas, [&](Hoja& h) {
    h.fuente(14, true);
    h.parrafo(lineas.value(0));
    if (papel.anulado) {
      h.fuente(12, true);
      h.parrafo(QStringLiteral("ANULADO"));
    }
    h.espacio(2);
    h.fuente(10);
    for (qsizetype i = 1; i < lineas.size(); ++i) {
      // The bets stand apart from the shares, as on the ticket.
      if (lineas[i].startsWith(QLatin1String("Apuestas de la peña"))) {
        h.espacio(2);
        h.fuente(10, true);
        h.parrafo(lineas[i]);
        h.fuente(10);
        continue;
      }
      if (lineas[i].startsWith(QLatin1String("Emitido el"))) h.espacio(2);
      h.parrafo(lineas[i]);
    }
    h.espacio(6);
    h.rayaEntera();
    h.espacio(2);
    h.fuente(10, true);
    h.parrafo(QStringLiteral("Código de verificación"));
    h.fuente(12);
    h.parrafo(codigoAgrupado(papel.codigo));
    h.fuente(10);
    h.parrafo(QStringLiteral("Forma corta: %1").arg(codigoCorto(papel.codigo)));
    h.fuente(8);
    h.parrafo(
        QStringLiteral("El organizador comprueba este papel con «sortilan-cli verificar CÓDIGO» o desde Socios, "
                       "Comprobar un papel…; el código cambia si se cambia cualquier dato del papel."));
  });
}

QByteArray pdfResumenPapeles(const ResumenPapeles& r, int* paginas) {
  const QString titulo = QStringLiteral("Papeles de participación de la peña %1").arg(r.pena);
  return pintarPdf(titulo, paginas, [&](Hoja& h) {
    h.fuente(14, true);
    h.parrafo(titulo);
    h.espacio(2);
    h.fuente(10);
    h.parrafo(QStringLiteral("Organizador: %1").arg(r.organizador));
    h.parrafo(QStringLiteral("Periodo: del %1 al %2").arg(fechaCorta(r.desde), fechaCorta(r.hasta)));
    h.espacio(4);
    const std::vector<Columna> columnas = {
        {QStringLiteral("Papel"), 14, Qt::AlignRight},      {QStringLiteral("Socio"), 12, Qt::AlignRight},
        {QStringLiteral("Nombre"), 52, Qt::AlignLeft},      {QStringLiteral("Partic."), 18, Qt::AlignRight},
        {QStringLiteral("Pagado (€)"), 26, Qt::AlignRight}, {QStringLiteral("Código"), 58, Qt::AlignLeft}};
    h.empezarTabla(columnas, 8, 7);
    Centimos pagado = 0;
    int participaciones = 0;
    for (const PapelGuardado& p : r.papeles) {
      h.fila(columnas,
             {QString::number(p.numero), QString::number(p.socio), p.nombre,
              QStringLiteral("%1 de %2").arg(p.participaciones).arg(p.total), textoImporte(p.pagado),
              codigoCorto(p.codigo)},
             6);
      pagado += p.pagado;
      participaciones += p.participaciones;
    }
    h.alCambiarPagina = nullptr;
    h.sitio(8);
    h.rayaEntera();
    h.fuente(8, true);
    h.fila(columnas,
           {QString(), QString(), QStringLiteral("Total: %1 socios").arg(r.papeles.size()),
            QString::number(participaciones), textoImporte(pagado), QString()},
           7);
  });
}

}  // namespace sortilan::ui
