#include "base/letras.h"

#include <QStringList>
#include <array>

namespace sortilan {

namespace {

// 1..999. `apocope`: a final "uno" reads "un", as before a noun ("veintiún euros").
QString hastaMil(int n, bool apocope) {
  static const std::array<const char16_t*, 30> kUnidades = {
      u"",           u"uno",        u"dos",        u"tres",         u"cuatro",      u"cinco",      u"seis",
      u"siete",      u"ocho",       u"nueve",      u"diez",         u"once",        u"doce",       u"trece",
      u"catorce",    u"quince",     u"dieciséis",  u"diecisiete",   u"dieciocho",   u"diecinueve", u"veinte",
      u"veintiuno",  u"veintidós",  u"veintitrés", u"veinticuatro", u"veinticinco", u"veintiséis", u"veintisiete",
      u"veintiocho", u"veintinueve"};
  static const std::array<const char16_t*, 10> kDecenas = {
      u"", u"", u"", u"treinta", u"cuarenta", u"cincuenta", u"sesenta", u"setenta", u"ochenta", u"noventa"};
  static const std::array<const char16_t*, 10> kCentenas = {
      u"",           u"ciento",      u"doscientos",  u"trescientos", u"cuatrocientos",
      u"quinientos", u"seiscientos", u"setecientos", u"ochocientos", u"novecientos"};
  QStringList partes;
  const int c = n / 100, r = n % 100;
  if (c == 1 && r == 0)
    partes << QStringLiteral("cien");
  else if (c > 0)
    partes << QString::fromUtf16(kCentenas[static_cast<size_t>(c)]);
  if (r > 0) {
    QString t = r < 30
                    ? QString::fromUtf16(kUnidades[static_cast<size_t>(r)])
                    : QString::fromUtf16(kDecenas[static_cast<size_t>(r / 10)]) +
                          (r % 10 ? QStringLiteral(" y ") + QString::fromUtf16(kUnidades[static_cast<size_t>(r % 10)])
                                  : QString());
    if (apocope && r % 10 == 1 && r != 11) {
      t.chop(3);  // "uno"
      t += r == 21 ? QStringLiteral("ún") : QStringLiteral("un");
    }
    partes << t;
  }
  return partes.join(QLatin1Char(' '));
}

// 1..999.999.
QString hastaMillon(qint64 n, bool apocope) {
  const int miles = static_cast<int>(n / 1000), resto = static_cast<int>(n % 1000);
  QStringList partes;
  if (miles == 1)
    partes << QStringLiteral("mil");
  else if (miles > 1)
    partes << hastaMil(miles, true) + QStringLiteral(" mil");
  if (resto > 0) partes << hastaMil(resto, apocope);
  return partes.join(QLatin1Char(' '));
}

// 1 and up, to a million millions.
QString numero(qint64 n, bool apocope) {
  const qint64 millones = n / 1'000'000, resto = n % 1'000'000;
  QStringList partes;
  if (millones == 1)
    partes << QStringLiteral("un millón");
  else if (millones > 1)
    partes << hastaMillon(millones, true) + QStringLiteral(" millones");
  if (resto > 0) partes << hastaMillon(resto, apocope);
  return partes.join(QLatin1Char(' '));
}

}  // namespace

QString importeEnLetras(Centimos c) {
  if (c < 0) return QStringLiteral("menos ") + importeEnLetras(-c);
  const qint64 euros = c / 100;
  const int centimos = static_cast<int>(c % 100);
  QString t;
  if (euros == 0)
    t = QStringLiteral("cero euros");
  else if (euros % 1'000'000 == 0)
    t = numero(euros, true) + QStringLiteral(" de euros");  // "un millón de euros"
  else
    t = numero(euros, true) + (euros == 1 ? QStringLiteral(" euro") : QStringLiteral(" euros"));
  if (centimos > 0)
    t += QStringLiteral(" con ") + hastaMil(centimos, true) +
         (centimos == 1 ? QStringLiteral(" céntimo") : QStringLiteral(" céntimos"));
  return t;
}

}  // namespace sortilan
