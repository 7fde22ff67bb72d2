#include "base/fechas.h"

#include <cmath>

namespace sortilan {

namespace {
const QDate kEpoca(1899, 12, 30);
}

QDate fechaDesdeOle(double dias) {
  if (!std::isfinite(dias) || dias < -657434.0 || dias > 2958465.0) return {};
  return kEpoca.addDays(static_cast<qint64>(std::floor(dias)));
}

double oleDesdeFecha(const QDate& fecha) {
  if (!fecha.isValid()) return 0;
  return static_cast<double>(kEpoca.daysTo(fecha));
}

QString diasemana(const QDate& fecha) {
  static const char16_t* const kNombres[] = {u"Domingo", u"Lunes",   u"Martes", u"Miércoles",
                                             u"Jueves",  u"Viernes", u"Sábado"};
  if (!fecha.isValid()) return QString();
  return QString::fromUtf16(kNombres[fecha.dayOfWeek() % 7]);
}

QString diasemana(double oleFecha) { return diasemana(fechaDesdeOle(oleFecha)); }

QString fechaLarga(double oleFecha) {
  static const char* const kMeses[] = {"enero", "febrero", "marzo",      "abril",   "mayo",      "junio",
                                       "julio", "agosto",  "septiembre", "octubre", "noviembre", "diciembre"};
  const QDate d = fechaDesdeOle(oleFecha);
  if (!d.isValid()) return QString();
  return QStringLiteral("%1, %2 de %3 del %4")
      .arg(diasemana(d))
      .arg(d.day())
      .arg(QString::fromLatin1(kMeses[d.month() - 1]))
      .arg(d.year(), 4, 10, QLatin1Char('0'));
}

QString fechaCorta(double oleFecha) { return fechaCorta(fechaDesdeOle(oleFecha)); }

QString fechaCorta(const QDate& fecha) {
  if (!fecha.isValid()) return QString();
  return fecha.toString(QStringLiteral("dd/MM/yyyy"));
}

QString unDecimal(double valor) {
  if (!std::isfinite(valor)) return QString();
  // Round half to even on the decimal digit, as the historic runtime did.
  const double escalado = valor * 10.0;
  double r = std::nearbyint(escalado);  // default rounding mode: ties to even
  if (std::fabs(escalado - std::trunc(escalado)) != 0.5) r = std::round(escalado);
  return unDecimalDeDecimas(static_cast<long long>(r));
}

QString unDecimalDeDecimas(long long decimas) {
  const long long entero = decimas / 10;
  const long long dec = std::llabs(decimas % 10);
  QString s = (decimas < 0 && entero == 0) ? QStringLiteral("-0") : QString::number(entero);
  if (dec != 0) s += QLatin1Char(',') + QString::number(dec);
  return s;
}

}  // namespace sortilan
