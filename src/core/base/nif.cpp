#include "base/nif.h"

namespace sortilan {

namespace {

// The control letter of a DNI or NIE: the number modulo 23.
const QString kLetrasDni = QStringLiteral("TRWAGMYFPDXBNJZSQVHLCKE");
// The first letter of an entity's CIF; those of the second line end in a letter, those of
// the third in a digit, the rest in either.
const QString kLetrasCif = QStringLiteral("ABCDEFGHJNPQRSUVW");
const QString kCifConLetra = QStringLiteral("NPQRSW");
const QString kCifConCifra = QStringLiteral("ABEH");
const QString kControlCif = QStringLiteral("JABCDEFGHI");

bool cifras(QStringView t) {
  for (const QChar c : t)
    if (c < u'0' || c > u'9') return false;
  return !t.isEmpty();
}

Resultado noValido(const QString& nif, const QString& porque) {
  return Resultado::fallo(Resultado::Clase::Entrada, QStringLiteral("El NIF %1 no es válido: %2.").arg(nif, porque));
}

Resultado letraDni(const QString& nif, QStringView numero, QChar letra) {
  const QChar debida = kLetrasDni.at(static_cast<qsizetype>(numero.toLongLong() % 23));
  if (letra != debida) {
    if (!letra.isLetter()) return noValido(nif, QStringLiteral("termina en %1 y no en una letra").arg(letra));
    return noValido(nif, QStringLiteral("la letra de control es %1, no %2").arg(debida).arg(letra));
  }
  return Resultado::bien();
}

Resultado controlCif(const QString& nif) {
  const QStringView digitos = QStringView(nif).mid(1, 7);
  int suma = 0;
  for (qsizetype i = 0; i < 7; ++i) {
    const int d = digitos[i].unicode() - u'0';
    // The odd places (1st, 3rd…) count doubled, digit by digit.
    suma += i % 2 == 0 ? (2 * d) / 10 + (2 * d) % 10 : d;
  }
  const int control = (10 - suma % 10) % 10;
  const QChar cifra(u'0' + control), letra = kControlCif.at(control), dado = nif.back();
  const QChar tipo = nif.front();
  const bool vaLetra = kCifConLetra.contains(tipo), vaCifra = kCifConCifra.contains(tipo);
  if ((dado == cifra && !vaLetra) || (dado == letra && !vaCifra)) return Resultado::bien();
  const QString debido = vaLetra   ? QString(letra)
                         : vaCifra ? QString(cifra)
                                   : QStringLiteral("%1 o %2").arg(cifra).arg(letra);
  return noValido(nif, QStringLiteral("el carácter de control es %1, no %2").arg(debido).arg(dado));
}

}  // namespace

QString normalizarNif(const QString& nif) {
  QString t;
  for (const QChar c : nif)
    if (!c.isSpace() && c != u'.' && c != u'-') t += c.toUpper();
  return t;
}

Resultado comprobarNif(const QString& texto) {
  const QString nif = normalizarNif(texto);
  if (nif.isEmpty()) return noValido(QStringLiteral("«»"), QStringLiteral("está vacío"));
  const QChar primero = nif.front();
  const QStringView cuerpo = QStringView(nif).mid(1, 7);
  if (primero.isDigit()) {
    if (nif.size() != 9 || !cifras(QStringView(nif).left(8)))
      return noValido(
          nif, QStringLiteral("un DNI lleva 8 cifras y la letra de control (%1 caracteres dados)").arg(nif.size()));
    return letraDni(nif, QStringView(nif).left(8), nif.back());
  }
  if (primero == u'X' || primero == u'Y' || primero == u'Z') {
    if (nif.size() != 9 || !cifras(cuerpo))
      return noValido(nif, QStringLiteral("un NIE lleva X, Y o Z, 7 cifras y la letra de control"));
    // X, Y and Z stand for a leading 0, 1 and 2.
    const QString numero = QString::number(primero.unicode() - u'X') + cuerpo.toString();
    return letraDni(nif, numero, nif.back());
  }
  if (primero == u'K' || primero == u'L' || primero == u'M') {
    if (nif.size() != 9 || !cifras(cuerpo))
      return noValido(nif, QStringLiteral("un NIF de %1 lleva la letra, 7 cifras y la letra de control").arg(primero));
    return letraDni(nif, cuerpo, nif.back());
  }
  if (kLetrasCif.contains(primero)) {
    if (nif.size() != 9 || !cifras(cuerpo))
      return noValido(nif, QStringLiteral("un CIF lleva una letra, 7 cifras y el carácter de control"));
    return controlCif(nif);
  }
  return noValido(nif, QStringLiteral("ningún NIF empieza por %1").arg(primero));
}

}  // namespace sortilan
