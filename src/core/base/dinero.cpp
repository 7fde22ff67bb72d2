#include "base/dinero.h"

#include <QList>

namespace sortilan {

namespace {

QString conMiles(Centimos euros) {
  QString s = QString::number(euros);
  for (qsizetype i = s.size() - 3; i > 0; i -= 3) s.insert(i, QLatin1Char('.'));
  return s;
}

QString formatear(Centimos c, bool miles) {
  // Work on the magnitude as unsigned: the most negative value has no positive twin.
  const bool negativo = c < 0;
  const quint64 m = negativo ? 0 - static_cast<quint64>(c) : static_cast<quint64>(c);
  const auto euros = static_cast<Centimos>(m / 100);
  const auto resto = static_cast<int>(m % 100);
  QString s = miles ? conMiles(euros) : QString::number(euros);
  s += QLatin1Char(',') + QStringLiteral("%1").arg(resto, 2, 10, QLatin1Char('0'));
  return negativo ? QLatin1Char('-') + s : s;
}

bool esDigito(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// Adds the digits of `t` to `v`; false past the largest amount.
bool acumular(QStringView t, Centimos& v) {
  for (QChar c : t) {
    if (!esDigito(c)) return false;
    v = v * 10 + (c.unicode() - '0');
    if (v > kMaximoCentimos) return false;
  }
  return true;
}

// Euros and up to two decimals (more only when they are zeros) into cents.
std::optional<Centimos> aCentimos(QStringView enteros, QStringView decimales) {
  if (enteros.isEmpty()) return std::nullopt;
  Centimos v = 0;
  if (!acumular(enteros, v)) return std::nullopt;
  for (qsizetype i = 2; i < decimales.size(); ++i)
    if (decimales[i] != QLatin1Char('0')) return std::nullopt;
  QString dos = decimales.left(2).toString();
  while (dos.size() < 2) dos += QLatin1Char('0');
  Centimos centimos = 0;
  if (!acumular(dos, centimos) || v > (kMaximoCentimos - centimos) / 100) return std::nullopt;
  return v * 100 + centimos;
}

}  // namespace

QString textoEuros(Centimos c) { return formatear(c, true) + QStringLiteral(" €"); }

QString textoImporte(Centimos c) { return formatear(c, true); }

QString textoImporteCsv(Centimos c) { return formatear(c, false); }

std::optional<Centimos> leerImporte(QStringView texto) {
  QStringView t = texto.trimmed();
  if (t.endsWith(u'€')) t = t.chopped(1).trimmed();
  bool negativo = false;
  if (t.startsWith(u'-')) {
    negativo = true;
    t = t.mid(1);
  }
  QStringView decimales;
  const qsizetype coma = t.indexOf(u',');
  if (coma >= 0) {
    decimales = t.mid(coma + 1);
    t = t.left(coma);
    if (decimales.isEmpty() || decimales.size() > 2) return std::nullopt;
  }
  // Thousands are marked with dots in groups of three, or not marked at all.
  QString enteros;
  const QList<QStringView> grupos = t.split(u'.');
  for (qsizetype i = 0; i < grupos.size(); ++i) {
    const QStringView g = grupos[i];
    if (grupos.size() > 1 && (i == 0 ? (g.isEmpty() || g.size() > 3) : g.size() != 3)) return std::nullopt;
    enteros += g;
  }
  for (QChar c : decimales)
    if (!esDigito(c)) return std::nullopt;
  const std::optional<Centimos> v = aCentimos(enteros, decimales);
  if (!v) return std::nullopt;
  return negativo ? -*v : *v;
}

QString avisoImporte() { return QStringLiteral("Escriba el importe en euros, por ejemplo 25,50."); }

std::optional<Centimos> leerImportePunto(QStringView texto) {
  const QStringView t = texto.trimmed();
  const qsizetype punto = t.indexOf(u'.');
  if (punto < 0) return aCentimos(t, {});
  const QStringView decimales = t.mid(punto + 1);
  if (decimales.isEmpty()) return std::nullopt;
  for (QChar c : decimales)
    if (!esDigito(c)) return std::nullopt;
  return aCentimos(t.left(punto), decimales);
}

}  // namespace sortilan
