#include "members/papeles.h"

#include <algorithm>

#include "base/escritorcsv.h"
#include "base/fechas.h"
#include "members/registrosocios.h"
#include "money/balance.h"
#include "money/registrodinero.h"

namespace sortilan {

namespace {

QString dos(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

QString textoCategoria(int aciertos, bool clave) {
  return QStringLiteral("%1ª categoría (%2%3)")
      .arg(categoriaOficial(aciertos, clave))
      .arg(aciertos)
      .arg(clave ? QStringLiteral(" + clave") : QString());
}

int aciertosDe(const Pena& p, int fila, int numeros, const Sorteo& s) {
  int h = 0;
  for (int i = 1; i <= numeros; ++i)
    for (int j = 1; j <= 5; ++j)
      if (p.apuesta(i, fila) == s.numero(j)) ++h;
  return h;
}

QString numerosDe(const Pena& p, int fila, int numeros) {
  QStringList n;
  for (int i = 1; i <= numeros; ++i) n << dos(p.apuesta(i, fila));
  return n.join(QLatin1Char(' '));
}

// The bets of the peña that won in draw `s`, each with its prize.
QStringList apuestasGanadoras(const Pena& p, const Sorteo& s, const CuentaSorteo& cuenta) {
  QStringList lineas;
  const bool clave = p.clave() == s.clave();
  const QString textoClave = QStringLiteral(" + clave %1").arg(p.clave());
  if (p.esSencilla()) {
    for (int b = 1; b <= p.tipo; ++b) {
      const int h = aciertosDe(p, b, 5, s);
      QString premio;
      if (h >= 2)
        premio = textoCategoria(h, clave);
      else if (clave && cuenta.reintegro)
        premio = QStringLiteral("reintegro");
      if (!premio.isEmpty())
        lineas << QStringLiteral("Apuesta %1: %2%3: %4").arg(b).arg(numerosDe(p, b, 5), textoClave, premio);
    }
    return lineas;
  }
  const int n = p.numerosPorApuesta();
  lineas << QStringLiteral("Múltiple de %1 números: %2%3: %4 aciertos")
                .arg(n)
                .arg(numerosDe(p, 1, n), textoClave)
                .arg(aciertosDe(p, 1, n, s));
  lineas << QStringLiteral("Desglose: ") + textoPremios(cuenta);
  return lineas;
}

}  // namespace

namespace {

// The document once the peña's members are read; `pena` is its record.
Resultado documentoDe(const QString& carpeta, const Pena& pena, const SociosPena& socios,
                      const std::vector<Sorteo>& sorteos, int registro, const QDate& sorteo, DocumentoReparto& d) {
  const Reparto* reparto = socios.reparto(sorteo);
  if (!reparto)
    return Resultado::fallo(QStringLiteral("El premio del sorteo del %1 de la peña %2 no está repartido.")
                                .arg(fechaCorta(sorteo), socios.nombre));
  d.registro = registro;
  d.pena = socios.nombre;
  d.sorteo = sorteo;
  d.cobrado = reparto->cobrado;
  d.hecho = reparto->hecho;
  d.pagado = reparto->pagado;
  d.bruto = reparto->bruto;
  d.retencion = reparto->retencion;
  d.neto = reparto->neto();
  for (const ParteReparto& p : reparto->partes) {
    const auto s =
        std::find_if(socios.socios.begin(), socios.socios.end(), [&](const Socio& x) { return x.id == p.socio; });
    if (s == socios.socios.end()) continue;
    d.lineas.push_back({s->numero, s->nombre, s->nif, p.participaciones, p.bruto, p.retencion, p.neto()});
    d.participaciones += p.participaciones;
  }

  // The bets that won, from the draw and the peña as they are now.
  const auto s = std::find_if(sorteos.begin(), sorteos.end(),
                              [&](const Sorteo& x) { return x.valido() && fechaDesdeOle(x.fecha) == sorteo; });
  if (s == sorteos.end()) return Resultado::bien();
  d.combinacion =
      QStringLiteral("%1 - %2 - %3 - %4 - %5   clave %6")
          .arg(dos(s->numero(1)), dos(s->numero(2)), dos(s->numero(3)), dos(s->numero(4)), dos(s->numero(5)))
          .arg(s->clave());
  BaseDatos base;
  TablasPremios tablas;
  if (Resultado r = base.abrir(carpeta, BaseDatos::Modo::Lectura); !r) return r;
  if (Resultado r = leerTablas(base, tablas); !r) return r;
  const auto t = tablas.find(sorteo);
  const CuentaSorteo cuenta = cuentaSorteo(pena, *s, t == tablas.end() ? nullptr : &t->second, kPrecioPorDefecto);
  d.apuestas = apuestasGanadoras(pena, *s, cuenta);
  return Resultado::bien();
}

}  // namespace

Resultado leerDocumentoReparto(const QString& carpeta, const std::vector<Pena>& penas,
                               const std::vector<Sorteo>& sorteos, int registro, const QDate& sorteo,
                               DocumentoReparto& d) {
  d = DocumentoReparto{};
  SociosPena socios;
  if (Resultado r = leerSociosPena(carpeta, penas, sorteos, registro, socios); !r) return r;
  return documentoDe(carpeta, penas[static_cast<size_t>(registro - 1)], socios, sorteos, registro, sorteo, d);
}

Resultado leerDocumentoRepartoBorrada(const QString& carpeta, const std::vector<Sorteo>& sorteos, int numero,
                                      const QDate& sorteo, DocumentoReparto& d) {
  d = DocumentoReparto{};
  SociosPena socios;
  PenaBorrada b;
  if (Resultado r = leerSociosPenaBorrada(carpeta, sorteos, numero, socios, &b); !r) return r;
  return documentoDe(carpeta, b.pena, socios, b.jugados(sorteos), 0, sorteo, d);
}

QString tituloExtracto(const Extracto& e) {
  return QStringLiteral("Extracto del socio %1, %2 (peña %3)").arg(e.numero).arg(e.nombre, e.pena);
}

QString textoPeriodoExtracto(const Extracto& e) {
  if (e.desde.isValid() && e.hasta.isValid())
    return QStringLiteral("Del %1 al %2").arg(fechaCorta(e.desde), fechaCorta(e.hasta));
  if (e.desde.isValid()) return QStringLiteral("Desde el %1").arg(fechaCorta(e.desde));
  if (e.hasta.isValid()) return QStringLiteral("Hasta el %1").arg(fechaCorta(e.hasta));
  return QStringLiteral("Todos los movimientos");
}

QString textoParticipaciones(const Extracto& e) {
  QStringList partes;
  for (const Periodo& p : e.periodos) {
    const QString hasta = p.hasta.isValid() ? QStringLiteral(" al %1").arg(fechaCorta(p.hasta.addDays(-1))) : QString();
    partes << QStringLiteral("%1 del %2%3").arg(p.participaciones).arg(fechaCorta(p.desde), hasta);
  }
  return partes.isEmpty() ? QStringLiteral("ninguna") : partes.join(QStringLiteral("; "));
}

QString tituloReparto(const DocumentoReparto& d) {
  return QStringLiteral("Reparto del premio del sorteo del %1, peña %2").arg(fechaCorta(d.sorteo), d.pena);
}

QByteArray csvExtracto(const Extracto& e, bool conNif) {
  EscritorCsv w;
  w.texto(tituloExtracto(e)).fin();
  if (conNif && !e.nif.isEmpty()) w.fijo(QStringLiteral("NIF")).texto(e.nif).fin();
  w.fijo(QStringLiteral("Periodo")).texto(textoPeriodoExtracto(e)).fin();
  w.fijo(QStringLiteral("Participaciones")).texto(textoParticipaciones(e)).fin();
  w.fijo(QStringLiteral("Fecha")).fijo(QStringLiteral("Concepto")).fijo(QStringLiteral("Importe"));
  w.fijo(QStringLiteral("Saldo")).fin();
  w.vacio().fijo(QStringLiteral("saldo anterior")).vacio().numero(textoImporteCsv(e.saldoAnterior)).fin();
  for (const Movimiento& m : e.movimientos) {
    w.numero(fechaCorta(m.fecha));
    // A reason is the user's own text: quoted and guarded like every other.
    if (m.motivo.isEmpty())
      w.fijo(textoLinea(m));
    else
      w.texto(textoLinea(m));
    w.numero(textoImporteCsv(m.importe)).numero(textoImporteCsv(m.saldo)).fin();
  }
  w.vacio().fijo(QStringLiteral("total")).vacio().numero(textoImporteCsv(e.saldo)).fin();
  return w.bytes();
}

QByteArray csvReparto(const DocumentoReparto& d, bool conNif) {
  EscritorCsv w;
  w.texto(tituloReparto(d)).fin();
  w.fijo(QStringLiteral("Combinación ganadora")).texto(d.combinacion).fin();
  for (const QString& a : d.apuestas) w.fijo(QStringLiteral("Apuesta premiada")).texto(a).fin();
  w.fijo(QStringLiteral("Cobrado el")).numero(fechaCorta(d.cobrado)).fin();
  w.fijo(QStringLiteral("Bruto")).numero(textoImporteCsv(d.bruto)).fin();
  w.fijo(QStringLiteral("Retención")).numero(textoImporteCsv(d.retencion)).fin();
  w.fijo(QStringLiteral("Neto")).numero(textoImporteCsv(d.neto)).fin();
  w.fijo(QStringLiteral("Socio;Nombre;NIF;Participaciones;Bruto;Retención;Neto")).fin();
  for (const LineaReparto& l : d.lineas) {
    w.numero(l.numero).texto(l.nombre);
    if (conNif)
      w.texto(l.nif);
    else
      w.vacio();
    w.numero(l.participaciones)
        .numero(textoImporteCsv(l.bruto))
        .numero(textoImporteCsv(l.retencion))
        .numero(textoImporteCsv(l.neto))
        .fin();
  }
  w.vacio().fijo(QStringLiteral("Total")).vacio().numero(d.participaciones);
  w.numero(textoImporteCsv(d.bruto)).numero(textoImporteCsv(d.retencion)).numero(textoImporteCsv(d.neto)).fin();
  return w.bytes();
}

}  // namespace sortilan
