#include "money/tablapremios.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

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

std::optional<TablaPremios> leerSorteo(const QJsonObject& o) {
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

}  // namespace

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
  const QByteArray texto = respuesta.mid(inicio);
  QJsonParseError error{};
  QJsonDocument d = QJsonDocument::fromJson(texto, &error);
  if (error.error == QJsonParseError::GarbageAtEnd) d = QJsonDocument::fromJson(texto.left(error.offset), &error);
  std::vector<TablaPremios> tablas;
  if (!d.isArray()) return tablas;
  for (const QJsonValue& v : d.array()) {
    std::optional<TablaPremios> t = leerSorteo(v.toObject());
    if (!t) continue;
    // A draw listed twice is one table.
    auto igual = std::find_if(tablas.begin(), tablas.end(), [&](const TablaPremios& x) { return x.fecha == t->fecha; });
    if (igual != tablas.end())
      *igual = combinar(*igual, *t);
    else
      tablas.push_back(std::move(*t));
  }
  return tablas;
}

}  // namespace sortilan
