#include "money/tablapremios.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "answer/analisis.h"

namespace sortilan {

namespace {

constexpr int kReintegro = 9;

std::optional<qint64> entero(const QJsonValue& v) {
  if (v.isString()) {
    bool ok = false;
    const qint64 n = v.toString().trimmed().toLongLong(&ok);
    if (ok && n >= 0) return n;
  } else if (v.isDouble()) {
    const qint64 n = v.toInteger(-1);
    if (n >= 0) return n;
  }
  return std::nullopt;
}

QString rutaDocumento(const QJsonObject& sorteo) {
  for (const QJsonValue& lista :
       {sorteo.value(QStringLiteral("contenidosRelacionados")).toObject().value(QStringLiteral("documentos")),
        sorteo.value(QStringLiteral("documentos"))}) {
    for (const QJsonValue& d : lista.toArray()) {
      const QString ruta = d.toObject().value(QStringLiteral("urlContenido")).toString().trimmed();
      if (!ruta.isEmpty()) return ruta;
    }
  }
  return {};
}

}  // namespace

std::optional<TablaPremios> leerTablaSorteo(const QJsonObject& o) {
  TablaPremios t;
  t.fecha = QDate::fromString(o.value(QStringLiteral("fecha_sorteo")).toString().trimmed().left(10), Qt::ISODate);
  if (!t.fecha.isValid()) return std::nullopt;
  for (const QJsonValue& v : o.value(QStringLiteral("escrutinio")).toArray()) {
    const QJsonObject fila = v.toObject();
    const std::optional<qint64> categoria = entero(fila.value(QStringLiteral("categoria")));
    const bool esReintegro =
        categoria == kReintegro || fila.value(QStringLiteral("tipo"))
                                           .toString()
                                           .trimmed()
                                           .compare(QStringLiteral("Reintegro"), Qt::CaseInsensitive) == 0;
    if (!esReintegro && (!categoria || *categoria < 1 || *categoria > TablaPremios::kCategorias)) continue;
    const std::optional<Centimos> premio = leerImportePunto(fila.value(QStringLiteral("premio")).toString());
    if (!premio) continue;
    const PremioCategoria p{*premio, entero(fila.value(QStringLiteral("ganadores")))};
    if (esReintegro)
      t.reintegro = p;
    else
      t.categorias[static_cast<size_t>(*categoria - 1)] = p;
  }
  t.documento = rutaDocumento(o);
  return t;
}

std::optional<Centimos> TablaPremios::premio(int categoria) const {
  if (categoria < 1 || categoria > kCategorias) return std::nullopt;
  const auto& c = categorias[static_cast<size_t>(categoria - 1)];
  if (!c || c->centimos <= 0) return std::nullopt;
  return c->centimos;
}

std::optional<Centimos> TablaPremios::premioReintegro() const {
  if (!reintegro || reintegro->centimos <= 0) return std::nullopt;
  return reintegro->centimos;
}

bool TablaPremios::publicada() const {
  for (int c = 1; c <= kCategorias; ++c)
    if (premio(c)) return true;
  return false;
}

TablaPremios combinar(const TablaPremios& guardada, const TablaPremios& nueva) {
  TablaPremios t = guardada;
  const auto tomar = [](std::optional<PremioCategoria>& fila, const std::optional<PremioCategoria>& otra) {
    if (otra && (otra->centimos > 0 || !fila || fila->centimos == 0)) fila = otra;
  };
  for (size_t i = 0; i < t.categorias.size(); ++i) tomar(t.categorias[i], nueva.categorias[i]);
  tomar(t.reintegro, nueva.reintegro);
  if (!nueva.documento.isEmpty()) t.documento = nueva.documento;
  return t;
}

std::vector<TablaPremios> leerTablasRespuesta(const QByteArray& respuesta) {
  const qsizetype inicio = respuesta.indexOf('[');
  if (inicio < 0) return {};
  // Element by element: a whole-document parse of a large answer costs many times its
  // size in memory, and an array that is cut short or holds more than any history is
  // taken as no table at all.
  bool cerrado = false;
  const std::vector<QByteArray> partes = elementosRespuesta(respuesta, inicio, cerrado);
  if (!cerrado) return {};
  std::vector<TablaPremios> tablas;
  QHash<QDate, size_t> indice;  // a draw listed twice is one table
  for (const QByteArray& parte : partes) {
    const QJsonDocument d = QJsonDocument::fromJson(parte);
    if (!d.isObject()) continue;
    std::optional<TablaPremios> t = leerTablaSorteo(d.object());
    if (!t) continue;
    if (const auto igual = indice.constFind(t->fecha); igual != indice.cend()) {
      tablas[*igual] = combinar(tablas[*igual], *t);
    } else {
      indice.insert(t->fecha, tablas.size());
      tablas.push_back(std::move(*t));
    }
  }
  return tablas;
}

}  // namespace sortilan
