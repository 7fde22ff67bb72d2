#include "answer/analisis.h"

#include <QJsonDocument>
#include <QJsonParseError>
#include <QRegularExpression>
#include <algorithm>
#include <array>
#include <map>

#include "answer/reglas.h"
#include "base/fechas.h"
#include "store/codec.h"

namespace sortilan {

namespace {

// Windows-1252 byte of a character outside Latin-1; '?' when the code page lacks it.
char byteAlto(char16_t u) {
  static const QString altos = [] {
    QByteArray b(32, '\0');
    for (int i = 0; i < 32; ++i) b[i] = static_cast<char>(0x80 + i);
    return desdeWindows1252(b);
  }();
  const qsizetype i = altos.indexOf(QChar(u));
  return i < 0 ? '?' : static_cast<char>(0x80 + i);
}

bool blanco(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

QByteArray recortar(QByteArrayView b) {
  qsizetype i = 0, j = b.size();
  while (i < j && blanco(b[i])) ++i;
  while (j > i && blanco(b[j - 1])) --j;
  return b.sliced(i, j - i).toByteArray();
}

QDate leerFecha(const QString& texto) {
  static const QRegularExpression re(QStringLiteral("^\\s*(\\d{4})-(\\d{1,2})-(\\d{1,2})(?:[ T].*)?$"),
                                     QRegularExpression::DotMatchesEverythingOption);
  const QRegularExpressionMatch m = re.match(texto);
  if (!m.hasMatch()) return {};
  return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
}

// "04 - 10 - 29 - 39 - 54 R(9)", also with " (9)" and any spacing.
bool leerCombinacion(const QString& texto, Sorteo& s) {
  static const QRegularExpression re(
      QStringLiteral("^\\s*(\\d{1,3})\\s*-\\s*(\\d{1,3})\\s*-\\s*(\\d{1,3})\\s*-\\s*"
                     "(\\d{1,3})\\s*-\\s*(\\d{1,3})\\s*R?\\s*\\(\\s*(\\d{1,3})\\s*\\)\\s*$"));
  const QRegularExpressionMatch m = re.match(texto);
  if (!m.hasMatch()) return false;
  for (int i = 0; i < 6; ++i) s.numeros[static_cast<size_t>(i)] = static_cast<int16_t>(m.captured(i + 1).toInt());
  return true;
}

// The date of an element that is no valid JSON, when its text still shows one: the
// draws older than it can then be kept.
QDate fechaEnTexto(const QByteArray& elemento) {
  static const QRegularExpression re(QStringLiteral("\"fecha_sorteo\"\\s*:\\s*\"([^\"]*)\""));
  const QRegularExpressionMatch m = re.match(QString::fromUtf8(elemento));
  return m.hasMatch() ? leerFecha(m.captured(1)) : QDate();
}

SorteoLeido leerSorteo(const QByteArray& elemento) {
  SorteoLeido l;
  QJsonParseError error{};
  const QJsonDocument doc = QJsonDocument::fromJson(elemento, &error);
  if (error.error != QJsonParseError::NoError || !doc.isObject()) {
    l.fecha = fechaEnTexto(elemento);
    l.motivo = QStringLiteral("el sorteo no se puede leer");
    return l;
  }
  l.objeto = doc.object();
  l.fecha = leerFecha(l.objeto.value(QStringLiteral("fecha_sorteo")).toString());
  if (!l.fecha.isValid()) {
    l.motivo = QStringLiteral("la fecha no se puede leer");
    return l;
  }
  l.sorteo.fecha = oleDesdeFecha(l.fecha);
  if (!leerCombinacion(l.objeto.value(QStringLiteral("combinacion")).toString(), l.sorteo)) {
    l.motivo = QStringLiteral("la combinación no se puede leer");
    return l;
  }
  l.motivo = motivoCombinacion(l.sorteo);
  if (l.motivo.isEmpty()) ordena(l.sorteo);
  return l;
}

}  // namespace

std::vector<QByteArray> elementosRespuesta(const QByteArray& texto, qsizetype inicio, bool& cerrado) {
  std::vector<QByteArray> r;
  cerrado = false;
  const qsizetype n = texto.size();
  qsizetype i = inicio + 1;
  qsizetype desde = i;
  int nivel = 0;
  bool cadena = false;
  for (; i < n; ++i) {
    const char c = texto[i];
    if (cadena) {
      if (c == '\\')
        ++i;
      else if (c == '"')
        cadena = false;
      continue;
    }
    if (c == '"') {
      cadena = true;
    } else if (c == '{' || c == '[') {
      ++nivel;
    } else if (c == '}' || c == ']') {
      if (nivel == 0) {
        if (c == ']') {
          cerrado = true;
          break;
        }
        continue;  // a stray brace is left to the element's own parse
      }
      --nivel;
    } else if (c == ',' && nivel == 0) {
      // More draws than any history holds is no answer of the service: refused before
      // a single element is parsed (cerrado stays false).
      if (static_cast<qsizetype>(r.size()) >= Sorteo::kMaximo) return {};
      r.push_back(recortar(QByteArrayView(texto).sliced(desde, i - desde)));
      desde = i + 1;
    }
  }
  r.push_back(recortar(QByteArrayView(texto).sliced(desde, std::min(i, n) - desde)));
  // "[]" and a trailing comma leave an empty element that is no draw at all.
  if (!r.empty() && r.back().isEmpty()) r.pop_back();
  return r;
}

QUrl direccionPeticion(const QUrl& base, const QDate& desde, const QDate& hasta) {
  QUrl u = base;
  QString ruta = u.path();
  if (ruta.endsWith(QLatin1Char('/'))) ruta.chop(1);
  u.setPath(ruta + QStringLiteral("/servicios/buscadorSorteos"));
  u.setQuery(QStringLiteral("game_id=ELGR&celebrados=true&fechaInicioInclusiva=%1&fechaFinInclusiva=%2")
                 .arg(desde.toString(QStringLiteral("yyyyMMdd")), hasta.toString(QStringLiteral("yyyyMMdd"))));
  u.setFragment(QString());
  return u;
}

QUrl direccionPeticion(const QUrl& base, const QDate& hoy) {
  return direccionPeticion(base, hoy.addDays(-kDiasPeticion), hoy);
}

std::vector<Intervalo> intervalosPeticion(double ultimaFecha, const QDate& hoy) {
  const QDate habitual = hoy.addDays(-kDiasPeticion);
  const QDate ultima = fechaDesdeOle(ultimaFecha);
  if (ultimaFecha == 0 || !ultima.isValid() || ultima.addDays(1) >= habitual) return {{habitual, hoy}};
  std::vector<Intervalo> r;
  for (QDate d = ultima.addDays(1); d <= hoy; d = r.back().hasta.addDays(1))
    r.push_back({d, std::min(d.addDays(kDiasPeticion), hoy)});
  return r;
}

QByteArray registroCitado(const QString& respuesta) {
  const qsizetype comillas = respuesta.count(QLatin1Char('"'));
  QByteArray r(respuesta.size() + comillas + 4, Qt::Uninitialized);
  char* o = r.data();
  *o++ = '"';
  for (QChar ch : respuesta) {
    const char16_t u = ch.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
      if (u == '"') *o++ = '"';
      *o++ = static_cast<char>(u);
    } else {
      *o++ = byteAlto(u);
    }
  }
  *o++ = '"';
  *o++ = '\r';
  *o++ = '\n';
  return r;
}

void ordena(Sorteo& s) {
  std::array<bool, 55> marcados{};
  for (int i = 0; i < 5; ++i) {
    const int n = s.numeros[static_cast<size_t>(i)];
    if (n >= 1 && n <= 54) marcados[static_cast<size_t>(n)] = true;
  }
  size_t ranura = 0;
  for (int n = 1; n <= 54 && ranura < 5; ++n)
    if (marcados[static_cast<size_t>(n)]) s.numeros[ranura++] = static_cast<int16_t>(n);
}

Analisis analizar(const QByteArray& respuesta, double ultimaFecha, const QDate& hoy) {
  Analisis a;
  if (respuesta.size() > kMaximoRespuesta) {
    a.estado = Analisis::Estado::Ilegible;
    return a;
  }
  const qsizetype corchete = respuesta.indexOf('[');
  if (corchete < 0) {
    // A search that found nothing is answered with a plain quoted text.
    const QByteArray t = recortar(respuesta);
    if (t.size() < 2 || !t.startsWith('"') || !t.endsWith('"')) a.estado = Analisis::Estado::Ilegible;
    return a;
  }

  bool cerrado = false;
  const std::vector<QByteArray> partes = elementosRespuesta(respuesta, corchete, cerrado);
  a.leidos.reserve(partes.size());
  for (const QByteArray& p : partes) a.leidos.push_back(leerSorteo(p));
  if (!cerrado) {
    // An array cut short lost draws of unknown dates beyond the cut: storing any of the
    // rest could leave a hole.
    a.estado = Analisis::Estado::Ilegible;
    return a;
  }

  // Draws already stored are not judged: only a new one can leave a hole.
  const auto esNuevo = [&](const SorteoLeido& l) { return !l.fecha.isValid() || oleDesdeFecha(l.fecha) > ultimaFecha; };
  std::map<QDate, const SorteoLeido*> porFecha;
  const SorteoLeido* malo = nullptr;
  QString motivoMalo;
  auto marcarMalo = [&](const SorteoLeido& l, const QString& motivo) {
    // The oldest bad draw decides; one without a date stops everything.
    if (!malo || !l.fecha.isValid() || (malo->fecha.isValid() && l.fecha < malo->fecha)) {
      malo = &l;
      motivoMalo = motivo;
    }
  };
  for (const SorteoLeido& l : a.leidos) {
    if (!esNuevo(l)) continue;
    QString motivo = l.motivo;
    if (motivo.isEmpty()) motivo = motivoFecha(l.fecha, hoy);
    if (motivo.isEmpty()) motivo = motivoDia(l.fecha);
    if (!motivo.isEmpty()) {
      marcarMalo(l, motivo);
      continue;
    }
    auto [it, nuevo] = porFecha.try_emplace(l.fecha, &l);
    if (!nuevo && it->second->sorteo.numeros != l.sorteo.numeros)
      marcarMalo(l, QStringLiteral("la respuesta lo da dos veces con números distintos"));
  }
  if (malo && !malo->fecha.isValid()) {
    // Where an undated draw belongs is unknown: no other draw of the answer is safe to keep.
    a.estado = Analisis::Estado::Ilegible;
    return a;
  }
  if (malo) {
    a.estado = Analisis::Estado::SorteoMalo;
    a.fechaMala = malo->fecha;
    a.motivo = motivoMalo;
  }
  for (const auto& [fecha, l] : porFecha) {
    if (malo && fecha >= malo->fecha) break;
    a.nuevos.push_back(l->sorteo);
  }
  return a;
}

QString textoNuevos(int n) {
  return QString::number(n) + (n == 1 ? QStringLiteral(" sorteo") : QStringLiteral(" sorteos"));
}

}  // namespace sortilan
