#include "report/ultimosorteo.h"

#include <cmath>

#include "answer/analisis.h"
#include "base/fechas.h"

namespace sortilan {

namespace {
const QByteArray kClave = QByteArrayLiteral("fecha_sorteo");

// The date written after the key at `desde`: the first "yyyy-MM-dd" within a few bytes.
QDate fechaTras(const QByteArray& buffer, qsizetype desde) {
  qsizetype i = desde + kClave.size();
  const qsizetype tope = std::min(buffer.size(), i + 16);
  while (i < tope && !std::isdigit(static_cast<unsigned char>(buffer[i]))) ++i;
  return QDate::fromString(QString::fromLatin1(buffer.mid(i, 10)), QStringLiteral("yyyy-MM-dd"));
}

// A table the service has listed but not filled yet reads 0 in every category.
bool hayPremios(const Escrutinio& e) {
  for (const auto& p : e.premios)
    if (p)
      for (QChar c : *p)
        if (c >= QLatin1Char('1') && c <= QLatin1Char('9')) return true;
  return false;
}
}  // namespace

QByteArray tramoDelSorteo(const QByteArray& buffer, double fecha) {
  if (fecha == 0 || !std::isfinite(fecha) || buffer.size() > kMaximoBuffer) return {};
  const QDate buscada = fechaDesdeOle(std::floor(fecha));
  for (qsizetype i = buffer.indexOf(kClave); i >= 0;) {
    const qsizetype siguiente = buffer.indexOf(kClave, i + kClave.size());
    if (fechaTras(buffer, i) == buscada) return buffer.mid(i, siguiente < 0 ? -1 : siguiente - i);
    i = siguiente;
  }
  return {};
}

UltimoSorteo ultimoSorteo(const QByteArray& buffer, const Sorteo& ultimo, const QUrl& operador) {
  UltimoSorteo u;
  u.sorteo = ultimo;
  if (ultimo.fecha == 0) {
    u.informe = escrutinio({}, 0, operador);
    return u;
  }
  const QByteArray tramo = tramoDelSorteo(buffer, ultimo.fecha);
  u.informe = escrutinio(tramo, ultimo.fecha, operador);
  if (tramo.isEmpty())
    u.premios = UltimoSorteo::Premios::SinDatos;
  else if (u.informe.hayTabla && hayPremios(u.informe))
    u.premios = UltimoSorteo::Premios::Tabla;
  else
    u.premios = UltimoSorteo::Premios::AunNo;
  if (u.premios != UltimoSorteo::Premios::Tabla) {
    // Figures of another draw, or zeros of a table not yet filled, are not this draw's prizes.
    u.informe.premios = {};
    u.informe.documento.clear();
  }
  return u;
}

QString avisoSinSorteos() { return QStringLiteral("\r\nFichero de datos vacío."); }

QString avisoSinPremios() {
  return QStringLiteral("\r\nLos premios de este sorteo no están en la última descarga de resultados.");
}

}  // namespace sortilan
