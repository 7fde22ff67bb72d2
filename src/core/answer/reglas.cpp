#include "answer/reglas.h"

#include <QRegularExpression>

namespace sortilan {

namespace {
const QDate kSabadosDesde(2005, 10, 22);
const QDate kSabadosHasta(2006, 7, 1);
}  // namespace

QString motivoFecha(const QDate& fecha, const QDate& hoy) {
  if (!fecha.isValid()) return QStringLiteral("la fecha no es un día del calendario");
  if (fecha > hoy) return QStringLiteral("la fecha es posterior a hoy");
  return {};
}

QString motivoCombinacion(const Sorteo& s) {
  uint64_t vistos = 0;
  for (int i = 1; i <= 5; ++i) {
    const int n = s.numero(i);
    const uint64_t bit = n >= 1 && n <= 54 ? uint64_t{1} << n : 0;
    if (bit == 0 || (vistos & bit)) return QStringLiteral("los números no son cinco números distintos del 1 al 54");
    vistos |= bit;
  }
  if (s.clave() < 0 || s.clave() > 9) return QStringLiteral("el número clave no está entre el 0 y el 9");
  return {};
}

bool esDiaDeSorteo(const QDate& fecha) {
  if (fecha.dayOfWeek() == Qt::Sunday) return true;
  return fecha.dayOfWeek() == Qt::Saturday && fecha >= kSabadosDesde && fecha <= kSabadosHasta;
}

QString motivoDia(const QDate& fecha) {
  if (esDiaDeSorteo(fecha)) return {};
  return QStringLiteral("el %1 no es día de sorteo: se sortea los domingos")
      .arg(fecha.toString(QStringLiteral("dd/MM/yyyy")));
}

int numeroEscrito(QStringView texto) {
  const QStringView t = texto.trimmed();
  if (t.isEmpty() || t.size() > 2) return -1;
  int v = 0;
  for (QChar c : t) {
    if (c < u'0' || c > u'9') return -1;
    v = v * 10 + (c.unicode() - u'0');
  }
  return v;
}

QList<int> numerosEscritos(const QString& texto) {
  static const QRegularExpression forma(QStringLiteral("^\\s*\\d{1,2}(?:(?:\\s*[,;-]\\s*|\\s+)\\d{1,2}){4}\\s*$"));
  static const QRegularExpression numero(QStringLiteral("\\d+"));
  if (!forma.match(texto).hasMatch()) return {};
  QList<int> r;
  for (const QRegularExpressionMatch& m : numero.globalMatch(texto)) r << numeroEscrito(m.capturedView());
  return r;
}

int sorteosEntre(const QDate& desde, const QDate& hasta) {
  int n = 0;
  // While the game was drawn on Saturdays no Sunday draw took place: the step from the
  // last Saturday to the next Sunday misses nothing.
  const auto huboSorteo = [](const QDate& d) {
    if (d.dayOfWeek() == Qt::Sunday) return d <= kSabadosDesde || d > kSabadosHasta.addDays(1);
    return esDiaDeSorteo(d);
  };
  for (QDate d = desde.addDays(1); d < hasta; d = d.addDays(1))
    if (huboSorteo(d)) ++n;
  return n;
}

}  // namespace sortilan
