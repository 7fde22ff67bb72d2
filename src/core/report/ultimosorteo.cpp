#include "report/ultimosorteo.h"

#include <QJsonArray>
#include <QJsonObject>
#include <cmath>

#include "answer/analisis.h"
#include "base/dinero.h"
#include "base/fechas.h"
#include "store/codec.h"

namespace sortilan {

namespace {
// A table the service has listed but not filled yet reads 0 in every category.
bool hayPremios(const Escrutinio& e) {
  for (const auto& p : e.premios)
    if (p)
      for (QChar c : *p)
        if (c >= QLatin1Char('1') && c <= QLatin1Char('9')) return true;
  return false;
}
}  // namespace

namespace {

// The answer as the service sent it, back from the quoted Windows-1252 record of www.txt.
QByteArray respuestaDe(const QByteArray& buffer) {
  QByteArray b = buffer;
  if (b.endsWith("\r\n")) b.chop(2);
  if (b.size() < 2 || !b.startsWith('"') || !b.endsWith('"')) return {};
  b = b.mid(1, b.size() - 2);
  b.replace("\"\"", "\"");
  return desdeWindows1252(b).toUtf8();
}

QString texto(const QJsonValue& v) {
  if (v.isString()) return v.toString();
  if (v.isDouble()) return QString::number(v.toDouble(), 'f', 2);
  return {};
}

// The report of one draw's object: its prize table by category number and its first
// document, whatever the spacing or the order of the keys.
Escrutinio informeDe(const QJsonObject& o, double fecha, const QUrl& operador) {
  Escrutinio e = escrutinio({}, fecha, operador);
  const QJsonArray tabla = o.value(QStringLiteral("escrutinio")).toArray();
  e.hayTabla = !tabla.isEmpty();
  for (const QJsonValue& v : tabla) {
    const QJsonObject fila = v.toObject();
    const int c = fila.value(QStringLiteral("categoria")).toInt();
    if (c >= 1 && c <= 8) e.premios[static_cast<size_t>(c - 1)] = raros(texto(fila.value(QStringLiteral("premio"))));
  }
  QJsonArray documentos =
      o.value(QStringLiteral("contenidosRelacionados")).toObject().value(QStringLiteral("documentos")).toArray();
  if (documentos.isEmpty()) documentos = o.value(QStringLiteral("documentos")).toArray();
  if (!documentos.isEmpty()) {
    e.ruta = documentos.first().toObject().value(QStringLiteral("urlContenido")).toString();
    if (!e.ruta.isEmpty()) e.documento = direccionDocumento(operador, e.ruta);
  }
  return e;
}

}  // namespace

QString textoPremio(const std::optional<QString>& premio) {
  if (!premio) return QStringLiteral("-");
  if (const std::optional<Centimos> c = leerImportePunto(*premio)) return textoEuros(*c);
  return *premio;
}

UltimoSorteo ultimoSorteo(const QByteArray& buffer, const Sorteo& ultimo, const QUrl& operador) {
  UltimoSorteo u;
  u.sorteo = ultimo;
  u.informe = escrutinio({}, ultimo.fecha, operador);
  if (ultimo.fecha == 0) return u;
  u.premios = UltimoSorteo::Premios::SinDatos;
  if (!std::isfinite(ultimo.fecha) || buffer.size() > kMaximoBuffer) return u;
  // The parsed answer, never its text: the table is the one of this draw's own object.
  const QDate buscada = fechaDesdeOle(std::floor(ultimo.fecha));
  const Analisis a = analizar(respuestaDe(buffer), 0, QDate(9999, 12, 31));
  for (const SorteoLeido& l : a.leidos) {
    if (l.fecha != buscada || l.objeto.isEmpty()) continue;
    u.informe = informeDe(l.objeto, ultimo.fecha, operador);
    u.premios =
        u.informe.hayTabla && hayPremios(u.informe) ? UltimoSorteo::Premios::Tabla : UltimoSorteo::Premios::AunNo;
    break;
  }
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
