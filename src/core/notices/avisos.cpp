#include "notices/avisos.h"

#include <QSqlQuery>
#include <QStringList>
#include <algorithm>
#include <set>

#include "base/dinero.h"
#include "base/fechas.h"
#include "money/registrodinero.h"
#include "operations/transaccion.h"
#include "store/basedatos.h"

namespace sortilan {

namespace {

QString clave(const char* tipo, const Pena& p, const QDate& sorteo) {
  return QLatin1String(tipo) + QLatin1Char(':') + QString::fromLatin1(huellaPena(p).toHex()) + QLatin1Char(':') +
         sorteo.toString(Qt::ISODate);
}

QString importe(const std::optional<Centimos>& c) { return c ? textoEuros(*c) : QStringLiteral("importe pendiente"); }

const CuentaSorteo* sorteoDe(const CuentaPena& p, const QDate& fecha) {
  const auto s = std::lower_bound(p.sorteos.begin(), p.sorteos.end(), fecha,
                                  [](const CuentaSorteo& c, const QDate& f) { return c.fecha < f; });
  return s != p.sorteos.end() && s->fecha == fecha ? &*s : nullptr;
}

// "3ª categoría en el sorteo del 07/03/2021: 47.445,95 €"
QString textoPremio(const Cobro& c, const CuentaSorteo* s) {
  QString que = QStringLiteral("Premio");
  if (s && !s->premios.empty()) {
    que = QStringLiteral("%1ª categoría").arg(s->premios.front().categoria);
    if (s->premios.size() > 1 || s->reintegro) que += QStringLiteral(" y otros premios");
  } else if (s && s->reintegro) {
    que = QStringLiteral("Reintegro");
  }
  return QStringLiteral("%1 en el sorteo del %2: %3").arg(que, fechaCorta(c.fecha), importe(c.bruto));
}

QString tituloPlazo(const Cobro& c, const QDate& hoy) {
  const qint64 dias = hoy.daysTo(c.limite);
  const QString que = c.bruto ? textoEuros(*c.bruto) : QStringLiteral("el premio (importe pendiente)");
  if (dias <= 0) return QStringLiteral("Hoy es el último día para cobrar %1 de %2").arg(que, c.nombre);
  if (dias == 1) return QStringLiteral("Queda 1 día para cobrar %1 de %2").arg(que, c.nombre);
  return QStringLiteral("Quedan %1 días para cobrar %2 de %3").arg(dias).arg(que, c.nombre);
}

int premiosDistintos(const std::vector<Aviso>& premios) {
  std::set<QString> titulos;
  for (const Aviso& a : premios) titulos.insert(a.titulo);
  return static_cast<int>(titulos.size());
}

}  // namespace

std::vector<Aviso> avisosPendientes(const std::vector<Pena>& penas, const Cuentas& cuentas, const Avisados& hechos,
                                    const QDate& hoy) {
  std::vector<Aviso> premios;
  std::vector<Aviso> plazos;
  for (const Cobro& c : cuentas.vigentes()) {
    if (c.estado != EstadoCobro::Pendiente || c.registro < 1 || c.registro > static_cast<int>(penas.size())) continue;
    const Pena& p = penas[static_cast<size_t>(c.registro - 1)];
    const QString kp = clave("premio", p, c.fecha);
    if (!hechos.contains(kp)) {
      const CuentaPena* cp = cuentas.pena(c.registro);
      Aviso a;
      a.titulo = QStringLiteral("¡Premio para %1!").arg(c.nombre);
      a.cuerpo = textoPremio(c, cp ? sorteoDe(*cp, c.fecha) : nullptr);
      a.claves = {kp};
      premios.push_back(std::move(a));
    }
    const QString kl = clave("plazo", p, c.fecha);
    const auto h = hechos.find(kl);
    if (cobroUrgente(c, hoy) && (h == hechos.end() || h->second < hoy)) {
      Aviso a;
      a.tipo = Aviso::Tipo::Plazo;
      a.titulo = tituloPlazo(c, hoy);
      a.cuerpo = QStringLiteral("hasta el %1").arg(fechaCorta(c.limite));
      if (c.lugar) a.cuerpo += QStringLiteral(", en %1").arg(textoLugar(*c.lugar));
      a.claves = {kl};
      plazos.push_back(std::move(a));
    }
  }
  // A good week for many peñas must not fill the screen: one notice lists them all.
  if (premios.size() > 1 && premiosDistintos(premios) > kPremiosPorSeparado) {
    Aviso junto;
    QStringList lineas;
    for (Aviso& a : premios) {
      lineas << a.titulo.mid(QStringLiteral("¡Premio para ").size()).chopped(1) + QStringLiteral(": ") + a.cuerpo;
      junto.claves.insert(junto.claves.end(), a.claves.begin(), a.claves.end());
    }
    junto.titulo = QStringLiteral("¡Premio para %1 peñas!").arg(premiosDistintos(premios));
    junto.cuerpo = lineas.join(QLatin1Char('\n'));
    premios = {std::move(junto)};
  }
  premios.insert(premios.end(), std::make_move_iterator(plazos.begin()), std::make_move_iterator(plazos.end()));
  return premios;
}

Aviso avisoFallo(const QString& causa) {
  Aviso a;
  a.tipo = Aviso::Tipo::Fallo;
  a.titulo = QStringLiteral("No se pudieron bajar los sorteos");  // the cause goes in the body
  a.cuerpo = causa;
  return a;
}

Resultado leerAvisados(const QString& carpeta, Avisados& hechos) {
  hechos.clear();
  BaseDatos base;
  if (Resultado r = base.abrir(carpeta, BaseDatos::Modo::Lectura); !r) return r;
  if (!base.abierta()) return Resultado::bien();
  QSqlQuery q(base.conexion());
  if (Resultado r = base.ejecutar(q, QStringLiteral("SELECT clave, dia FROM avisos")); !r) return r;
  while (q.next()) hechos[q.value(0).toString()] = QDate::fromString(q.value(1).toString(), Qt::ISODate);
  return Resultado::bien();
}

Resultado anotarAvisados(const QString& carpeta, const std::vector<QString>& claves, const QDate& hoy) {
  if (claves.empty()) return Resultado::bien();
  return operaciones::cambiarBase(carpeta, [&](BaseDatos& base) {
    for (const QString& k : claves)
      if (Resultado r = base.ejecutar(QStringLiteral("INSERT INTO avisos (clave, dia) VALUES (?, ?) "
                                                     "ON CONFLICT (clave) DO UPDATE SET dia = excluded.dia"),
                                      {k, hoy.toString(Qt::ISODate)});
          !r)
        return r;
    return Resultado::bien();
  });
}

}  // namespace sortilan
