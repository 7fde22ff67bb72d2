#include "download/analisis.h"

#include <algorithm>
#include <array>

#include "base/fechas.h"
#include "download/buscador.h"
#include "store/codec.h"

namespace sortilan {

namespace {
const QByteArray kComillas = QByteArrayLiteral("\"\"");
const QByteArray kComilla = QByteArrayLiteral("\"");
const QByteArray kDosPuntosComilla = QByteArrayLiteral(":\"");

bool combinacionValida(const Sorteo& s) {
  uint64_t vistos = 0;
  for (int i = 1; i <= 5; ++i) {
    const int n = s.numero(i);
    if (n < 1 || n > 54) return false;
    const uint64_t bit = uint64_t{1} << n;
    if (vistos & bit) return false;
    vistos |= bit;
  }
  return s.clave() >= 0 && s.clave() <= 9;
}

// Values outside the 16-bit slots of the record are out of range anyway; keep them
// recognisably invalid instead of letting them wrap into range.
int16_t aRanura(long long v) {
  if (v < -1 || v > 999) return -1;
  return static_cast<int16_t>(v);
}
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
}  // namespace

QUrl direccionPeticion(const QUrl& base, const QDate& hoy) {
  QUrl u = base;
  QString ruta = u.path();
  if (ruta.endsWith(QLatin1Char('/'))) ruta.chop(1);
  u.setPath(ruta + QStringLiteral("/servicios/buscadorSorteos"));
  const QString desde = hoy.addDays(-150).toString(QStringLiteral("yyyyMMdd"));
  const QString hasta = hoy.toString(QStringLiteral("yyyyMMdd"));
  u.setQuery(
      QStringLiteral("game_id=ELGR&celebrados=true&fechaInicioInclusiva=%1&fechaFinInclusiva=%2").arg(desde, hasta));
  u.setFragment(QString());
  return u;
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

Analisis analizar(const QByteArray& buffer, const Sorteo& ultimo) {
  Analisis a;
  if (buffer.size() > kMaximoBuffer) {
    a.error = true;
    return a;
  }
  Buscador b(buffer);
  auto terminar = [&](bool error) {
    a.error = a.error || error || b.fallo();
    a.finbusca = b.finbusca();
    // The draws go to the file oldest first and each date once: an answer out of
    // order or listing a draw twice would otherwise break the file's order or count
    // the same draw's prizes twice.
    std::stable_sort(a.sorteos.begin(), a.sorteos.end(),
                     [](const Sorteo& x, const Sorteo& y) { return x.fecha > y.fecha; });
    a.sorteos.erase(std::unique(a.sorteos.begin(), a.sorteos.end(),
                                [](const Sorteo& x, const Sorteo& y) { return x.fecha == y.fecha; }),
                    a.sorteos.end());
    return a;
  };

  // End marker of the array: the date pass stops well before it.
  b.busca(QByteArrayLiteral("["), QByteArrayLiteral("]}}]"));
  if (b.fallo()) return terminar(true);
  const qint64 marca = b.posicion();
  b.ponerPosicion(1);

  std::vector<double> fechas;
  qint64 p = 0;
  while (p < marca - 10000) {
    b.busca(QByteArrayLiteral("fecha_sorteo"), kDosPuntosComilla);
    b.mover(1);
    const QByteArray anio = b.busca(kComilla, QByteArrayLiteral("-"));
    b.mover(-1);
    const QByteArray mes = b.busca(QByteArrayLiteral("-"), QByteArrayLiteral("-"));
    b.mover(-1);
    const QByteArray dia = b.busca(QByteArrayLiteral("-"), QByteArrayLiteral(" "));
    if (b.fallo()) return terminar(true);
    const long long y = valor(anio), m = valor(mes), d = valor(dia);
    const QDate fecha = (y >= 1 && y <= 9999 && m >= 1 && m <= 12 && d >= 1 && d <= 31)
                            ? QDate(static_cast<int>(y), static_cast<int>(m), static_cast<int>(d))
                            : QDate();
    if (!fecha.isValid()) return terminar(true);
    const double ole = oleDesdeFecha(fecha);
    if (ole > ultimo.fecha) {
      if (fechas.size() == 50) return terminar(true);
      fechas.push_back(ole);
    }
    p = b.posicion();
  }
  a.fechasNuevas = static_cast<int>(fechas.size());

  b.ponerPosicion(1);
  Sorteo s = ultimo;
  for (double fecha : fechas) {
    b.busca(QByteArrayLiteral("combinacion\""), kDosPuntosComilla);
    s.numeros[0] = aRanura(valor(b.busca(kComillas, QByteArrayLiteral("-"))));
    b.mover(-1);
    for (size_t j = 1; j < 5; ++j)
      s.numeros[j] = aRanura(valor(b.busca(QByteArrayLiteral("- "), QByteArrayLiteral(" "))));
    s.numeros[5] = aRanura(valor(b.busca(QByteArrayLiteral("("), QByteArrayLiteral(")"))));
    if (b.fallo()) return terminar(true);
    if (!combinacionValida(s)) {
      a.invalido = true;
      break;
    }
    s.fecha = fecha;
    ordena(s);
    a.sorteos.push_back(s);
  }
  return terminar(false);
}

QString textoNuevos(int n) {
  return QString::number(n) + (n == 1 ? QStringLiteral(" sorteo") : QStringLiteral(" sorteos"));
}

}  // namespace sortilan
