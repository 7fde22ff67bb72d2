#include "stats/buscarsorteos.h"

#include <QDate>
#include <QRegularExpression>
#include <QStringList>

#include "base/fechas.h"

namespace sortilan {

namespace {
// A whole number of at most `cifras` digits, or -1.
int entero(const QString& t, int cifras) {
  if (t.isEmpty() || t.size() > cifras) return -1;
  for (const QChar c : t)
    if (!c.isDigit() || c.unicode() > '9') return -1;
  return t.toInt();
}
}  // namespace

bool sorteoBuscado(const Sorteo& s, const QString& texto) {
  const QString t = texto.trimmed();
  if (t.isEmpty()) return true;
  const QDate fecha = fechaDesdeOle(s.fecha);
  if (t.contains(QLatin1Char('/'))) {
    const QStringList partes = t.split(QLatin1Char('/'));
    if (partes.size() == 3) {
      const int d = entero(partes[0], 2), m = entero(partes[1], 2), a = entero(partes[2], 4);
      return d > 0 && m > 0 && a > 0 && fecha == QDate(a, m, d);
    }
    if (partes.size() == 2) {
      const int m = entero(partes[0], 2), a = entero(partes[1], 4);
      return m > 0 && a > 0 && fecha.month() == m && fecha.year() == a;
    }
    return false;
  }
  // Four digits are a year: no winning number has more than two.
  if (const int a = entero(t, 4); t.size() == 4 && a > 0) return fecha.year() == a;
  static const QRegularExpression kSeparadores(QStringLiteral("[\\s,;]+"));
  const QStringList numeros = t.split(kSeparadores, Qt::SkipEmptyParts);
  for (const QString& n : numeros) {
    const int v = entero(n, 2);
    if (v < 1 || v > 54) return false;
    bool esta = false;
    for (int i = 1; i <= 5; ++i) esta = esta || s.numero(i) == v;
    if (!esta) return false;
  }
  return true;
}

}  // namespace sortilan
