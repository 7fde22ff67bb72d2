#include "papers/participacion.h"

#include <QCryptographicHash>
#include <QDir>
#include <QSettings>
#include <cmath>
#include <cstring>

#include "answer/reglas.h"
#include "base/escritorcsv.h"
#include "base/fechas.h"
#include "base/nif.h"
#include "money/cuentas.h"

namespace sortilan {

namespace {

// Digits and capitals without the ones read for another (I, L, O) and U.
constexpr char kAlfabeto[] = "0123456789ABCDEFGHJKMNPQRSTVWXYZ";

QString dos(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

QString numerosFila(const Pena& p, int fila, int cuantos) {
  QStringList n;
  for (int i = 1; i <= cuantos; ++i) n << dos(p.apuesta(i, fila));
  return n.join(QLatin1Char(' '));
}

QString conNif(const QString& nombre, const QString& nif) {
  return nif.isEmpty() ? nombre : QStringLiteral("%1, NIF %2").arg(nombre, nif);
}

}  // namespace

Organizador organizadorDe(const QString& carpeta) {
  QSettings ini(QDir(carpeta).filePath(QStringLiteral("sortilan.ini")), QSettings::IniFormat);
  // A name with a comma, unquoted, reaches us split at it.
  const auto texto = [&](const char* clave) {
    const QVariant v = ini.value(QLatin1String(clave));
    return (v.typeId() == QMetaType::QStringList ? v.toStringList().join(QLatin1Char(',')) : v.toString()).simplified();
  };
  return {texto("pena/organizador"), normalizarNif(texto("pena/organizador_nif"))};
}

QStringList apuestasEscritas(const Pena& pena) {
  QStringList lineas;
  if (pena.esSencilla()) {
    for (int b = 1; b <= pena.tipo; ++b) lineas << QStringLiteral("Apuesta %1: %2").arg(b).arg(numerosFila(pena, b, 5));
  } else if (pena.esMultiple()) {
    const int n = pena.numerosPorApuesta();
    lineas << QStringLiteral("Múltiple de %1 números: %2 (%3 apuestas)")
                  .arg(n)
                  .arg(numerosFila(pena, 1, n))
                  .arg(apuestasPorSorteo(pena));
  }
  if (pena.clave() >= 0) lineas << QStringLiteral("Número clave: %1").arg(pena.clave());
  return lineas;
}

Resultado sorteosDelPeriodo(const Pena& pena, const QDate& desde, const QDate& hasta, const Organizador& organizador,
                            std::vector<QDate>& dias) {
  dias.clear();
  if (!desde.isValid() || !hasta.isValid() || hasta < desde || desde.daysTo(hasta) >= kMaximoDiasPapel)
    return Resultado::fallo(
        QStringLiteral("El periodo del papel debe ir de una fecha a otra igual o posterior, como mucho un año."));
  if (organizador.nombre.isEmpty())
    return Resultado::fallo(QStringLiteral(
        "Falta el nombre del organizador que guarda los boletos (organizador en la sección [pena] de sortilan.ini)."));
  // The paper names who holds everybody's tickets: a NIF on it must be one.
  if (!organizador.nif.isEmpty())
    if (Resultado r = comprobarNif(organizador.nif); !r) return r;
  const QDate creacion = fechaDesdeOle(std::floor(pena.creacion));
  if (creacion.isValid() && desde < creacion)
    return Resultado::fallo(QStringLiteral("El periodo empieza el %1, antes de la creación de la peña (%2).")
                                .arg(fechaCorta(desde), fechaCorta(creacion)));
  for (QDate d = desde; d <= hasta; d = d.addDays(1))
    if (esDiaDeSorteo(d)) dias.push_back(d);
  if (dias.empty())
    return Resultado::fallo(
        QStringLiteral("No hay ningún sorteo del %1 al %2.").arg(fechaCorta(desde), fechaCorta(hasta)));
  return Resultado::bien();
}

Resultado prepararPapel(const Pena& pena, const SociosPena& socios, int numero, const QDate& desde, const QDate& hasta,
                        bool conNifSocio, const Organizador& organizador, Centimos precio, const QDateTime& emitido,
                        PapelParticipacion& papel) {
  papel = PapelParticipacion{};
  std::vector<QDate> dias;
  if (Resultado r = sorteosDelPeriodo(pena, desde, hasta, organizador, dias); !r) return r;
  const Socio* s = socios.socio(numero);
  if (!s)
    return Resultado::fallo(QStringLiteral("La peña %1 no tiene ningún socio %2.").arg(socios.nombre).arg(numero));
  if (s->baja().isValid() && s->baja() <= dias.back())
    return Resultado::fallo(QStringLiteral("%1 se dio de baja el %2.").arg(s->nombre, fechaCorta(s->baja())));

  const Centimos coste = apuestasPorSorteo(pena) * precio;
  for (const QDate& d : dias) {
    const int mias = s->participacionesEn(d);
    if (mias == 0) continue;
    std::vector<qint64> pesos;
    size_t propio = 0;
    for (const Socio& otro : socios.socios) {
      const int p = otro.participacionesEn(d);
      if (p == 0) continue;
      if (&otro == s) propio = pesos.size();
      pesos.push_back(p);
    }
    const std::vector<Centimos> partes = repartir(coste, pesos);
    int total = 0;
    for (qint64 p : pesos) total += static_cast<int>(p);
    papel.sorteos.push_back({d, mias, total, partes[propio]});
    papel.pagado += partes[propio];
  }
  if (papel.sorteos.empty())
    return Resultado::fallo(QStringLiteral("%1 no tiene participaciones en ningún sorteo del %2 al %3.")
                                .arg(s->nombre, fechaCorta(desde), fechaCorta(hasta)));
  papel.pena = socios.nombre;
  papel.organizador = organizador;
  papel.socio = s->numero;
  papel.nombre = s->nombre;
  if (conNifSocio) papel.nif = s->nif;
  papel.desde = desde;
  papel.hasta = hasta;
  papel.apuestas = apuestasEscritas(pena);
  // Whole seconds: the stored text and the one shown must be the same.
  papel.emitido = emitido.addMSecs(-emitido.time().msec());
  return Resultado::bien();
}

QString textoPapel(const PapelParticipacion& p) {
  QStringList l;
  l << QStringLiteral("PAPEL DE PARTICIPACIÓN Nº %1").arg(p.numero);
  l << QStringLiteral("Peña: %1").arg(p.pena);
  l << QStringLiteral("Organizador, que guarda los boletos: %1").arg(conNif(p.organizador.nombre, p.organizador.nif));
  l << QStringLiteral("Socio %1: %2").arg(p.socio).arg(conNif(p.nombre, p.nif));
  l << QStringLiteral("Periodo: del %1 al %2").arg(fechaCorta(p.desde), fechaCorta(p.hasta));
  for (const SorteoPapel& s : p.sorteos)
    l << QStringLiteral("Sorteo del %1: %2 de %3 participaciones, %4")
             .arg(fechaCorta(s.fecha))
             .arg(s.participaciones)
             .arg(s.total)
             .arg(textoEuros(s.importe));
  l << QStringLiteral("Pagado: %1").arg(textoEuros(p.pagado));
  l << QStringLiteral("Apuestas de la peña en cada sorteo:");
  l << p.apuestas;
  l << QStringLiteral("Emitido el %1 a las %2")
           .arg(fechaCorta(p.emitido.date()), p.emitido.time().toString(QStringLiteral("HH:mm:ss")));
  return l.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString codigoDe(const QString& texto) {
  const QByteArray h = QCryptographicHash::hash(texto.toUtf8(), QCryptographicHash::Sha256);
  QString c;
  c.reserve(kLargoCodigo);
  quint32 acumulado = 0;
  int bits = 0;
  for (const char b : h) {
    acumulado = (acumulado << 8) | static_cast<quint8>(b);
    bits += 8;
    while (bits >= 5) {
      bits -= 5;
      c += QLatin1Char(kAlfabeto[(acumulado >> bits) & 31]);
    }
  }
  if (bits > 0) c += QLatin1Char(kAlfabeto[(acumulado << (5 - bits)) & 31]);
  return c;
}

QString codigoAgrupado(const QString& codigo) {
  QStringList g;
  for (qsizetype i = 0; i < codigo.size(); i += 4) g << codigo.mid(i, 4);
  return g.join(QLatin1Char('-'));
}

QString codigoCorto(const QString& codigo) { return codigoAgrupado(codigo.left(kLargoCorto)); }

QString normalizarCodigo(const QString& entrada) {
  QString c;
  for (QChar ch : entrada.toUpper()) {
    if (ch.isSpace() || ch == QLatin1Char('-')) continue;
    if (ch == QLatin1Char('O')) ch = QLatin1Char('0');
    if (ch == QLatin1Char('I') || ch == QLatin1Char('L')) ch = QLatin1Char('1');
    if (ch.unicode() == 0 || ch.unicode() > 127 || !std::strchr(kAlfabeto, static_cast<char>(ch.unicode()))) return {};
    c += ch;
  }
  return c;
}

}  // namespace sortilan

namespace sortilan {

QByteArray csvPapel(const PapelGuardado& p) {
  EscritorCsv w;
  for (const QString& l : p.texto.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) w.texto(l).fin();
  if (p.anulado) w.fijo(QStringLiteral("ANULADO")).fin();
  w.fijo(QStringLiteral("Código")).fijo(codigoAgrupado(p.codigo)).fin();
  w.fijo(QStringLiteral("Forma corta")).fijo(codigoCorto(p.codigo)).fin();
  return w.bytes();
}

}  // namespace sortilan
