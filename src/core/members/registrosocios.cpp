#include "members/registrosocios.h"

#include <QSqlQuery>
#include <QVariant>
#include <functional>
#include <map>
#include <optional>

#include "money/cuentas.h"
#include "money/registrodinero.h"

namespace sortilan {

namespace {

QString iso(const QDate& d) { return d.toString(Qt::ISODate); }
QDate deIso(const QVariant& v) { return v.isNull() ? QDate() : QDate::fromString(v.toString(), Qt::ISODate); }
QVariant textoONulo(const QString& t) { return t.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(t); }

// A split as a query lists it: id, draw, made, collected, gross, withheld, paid out.
Reparto repartoDeFila(const QSqlQuery& q) {
  Reparto r;
  r.id = q.value(0).toLongLong();
  r.sorteo = deIso(q.value(1));
  r.hecho = deIso(q.value(2));
  r.cobrado = deIso(q.value(3));
  r.bruto = q.value(4).toLongLong();
  r.retencion = q.value(5).toLongLong();
  r.pagado = q.value(6).toInt() != 0;
  return r;
}

// The members' parts of the splits of `pena` (live or voided: the two pairs of tables
// have the same columns), each under its split by `indice` (split id → position).
Resultado leerPartes(BaseDatos& base, const char* partes, const char* repartos, qint64 pena,
                     const std::map<qint64, size_t>& indice, std::vector<Reparto>& destino) {
  QSqlQuery q(base.conexion());
  if (Resultado r = base.ejecutar(q,
                                  QStringLiteral("SELECT t.reparto, t.socio, t.participaciones, t.bruto_centimos,"
                                                 " t.retencion_centimos FROM %1 t JOIN %2 r ON r.id = t.reparto"
                                                 " JOIN socios s ON s.id = t.socio WHERE r.pena = ? ORDER BY s.numero")
                                      .arg(QLatin1String(partes), QLatin1String(repartos)),
                                  {pena});
      !r)
    return r;
  while (q.next())
    destino[indice.at(q.value(0).toLongLong())].partes.push_back(
        {q.value(1).toLongLong(), q.value(2).toInt(), q.value(3).toLongLong(), q.value(4).toLongLong()});
  return Resultado::bien();
}

Resultado leerRepartosAnulados(BaseDatos& base, qint64 pena, SociosPena& p) {
  QSqlQuery q(base.conexion());
  if (Resultado r =
          base.ejecutar(q,
                        QStringLiteral("SELECT id, sorteo, hecho, cobrado, bruto_centimos, retencion_centimos,"
                                       " pagado, anulado, motivo FROM repartos_anulados WHERE pena = ?"
                                       " ORDER BY id"),
                        {pena});
      !r)
    return r;
  std::map<qint64, size_t> indice;
  while (q.next()) {
    Reparto r = repartoDeFila(q);
    r.anulado = deIso(q.value(7));
    r.motivo = q.value(8).toString();
    indice[r.id] = p.repartosAnulados.size();
    p.repartosAnulados.push_back(std::move(r));
  }
  return leerPartes(base, "partes_anuladas", "repartos_anulados", pena, indice, p.repartosAnulados);
}

}  // namespace

Resultado leerSociosGuardados(BaseDatos& base, qint64 pena, SociosPena& p) {
  p.socios.clear();
  p.movimientos.clear();
  p.repartos.clear();
  p.repartosAnulados.clear();
  if (!base.abierta() || pena <= 0) return Resultado::bien();
  QSqlQuery q(base.conexion());
  if (Resultado r = base.ejecutar(
          q, QStringLiteral("SELECT id, numero, nombre, nif, contacto FROM socios WHERE pena = ? ORDER BY numero"),
          {pena});
      !r)
    return r;
  std::map<qint64, size_t> indice;
  while (q.next()) {
    Socio s;
    s.id = q.value(0).toLongLong();
    s.numero = q.value(1).toInt();
    s.nombre = q.value(2).toString();
    s.nif = q.value(3).toString();
    s.contacto = q.value(4).toString();
    indice[s.id] = p.socios.size();
    p.socios.push_back(std::move(s));
  }
  if (Resultado r =
          base.ejecutar(q,
                        QStringLiteral("SELECT s.id, d.desde, d.hasta, d.participaciones FROM periodos_socio d"
                                       " JOIN socios s ON s.id = d.socio WHERE s.pena = ? ORDER BY d.desde"),
                        {pena});
      !r)
    return r;
  while (q.next())
    p.socios[indice.at(q.value(0).toLongLong())].periodos.push_back(
        {deIso(q.value(1)), deIso(q.value(2)), q.value(3).toInt()});
  if (Resultado r = base.ejecutar(q,
                                  QStringLiteral("SELECT m.socio, m.fecha, m.tipo, m.centimos, m.id, m.reparto,"
                                                 " a.fecha, a.motivo FROM movimientos_socio m"
                                                 " JOIN socios s ON s.id = m.socio"
                                                 " LEFT JOIN anulaciones a ON a.movimiento = m.id"
                                                 " WHERE s.pena = ? ORDER BY m.id"),
                                  {pena});
      !r)
    return r;
  while (q.next())
    p.movimientos.push_back({q.value(0).toLongLong(), deIso(q.value(1)),
                             q.value(2).toString() == QLatin1String("pago") ? Concepto::Pago : Concepto::Aportacion,
                             q.value(3).toLongLong(), q.value(4).toLongLong(), q.value(5).toLongLong(),
                             deIso(q.value(6)), q.value(7).toString()});
  if (Resultado r =
          base.ejecutar(q,
                        QStringLiteral("SELECT id, sorteo, hecho, cobrado, bruto_centimos, retencion_centimos,"
                                       " pagado FROM repartos WHERE pena = ? ORDER BY sorteo"),
                        {pena});
      !r)
    return r;
  std::map<qint64, size_t> repartos;
  while (q.next()) {
    Reparto r = repartoDeFila(q);
    repartos[r.id] = p.repartos.size();
    p.repartos.push_back(std::move(r));
  }
  if (Resultado r = leerPartes(base, "partes_reparto", "repartos", pena, repartos, p.repartos); !r) return r;
  return leerRepartosAnulados(base, pena, p);
}

Resultado insertarSocio(BaseDatos& base, qint64 pena, const Socio& datos, int& numero) {
  QSqlQuery q(base.conexion());
  if (Resultado r =
          base.ejecutar(q, QStringLiteral("SELECT COALESCE(MAX(numero), 0) + 1 FROM socios WHERE pena = ?"), {pena});
      !r)
    return r;
  numero = q.next() ? q.value(0).toInt() : 1;
  if (Resultado r = base.ejecutar(
          q, QStringLiteral("INSERT INTO socios (pena, numero, nombre, nif, contacto) VALUES (?, ?, ?, ?, ?)"),
          {pena, numero, datos.nombre, textoONulo(datos.nif), textoONulo(datos.contacto)});
      !r)
    return r;
  return escribirPeriodos(base, q.lastInsertId().toLongLong(), datos.periodos);
}

Resultado escribirPeriodos(BaseDatos& base, qint64 socio, const std::vector<Periodo>& periodos) {
  if (Resultado r = base.ejecutar(QStringLiteral("DELETE FROM periodos_socio WHERE socio = ?"), {socio}); !r) return r;
  for (const Periodo& p : periodos) {
    const QVariant hasta = p.hasta.isValid() ? QVariant(iso(p.hasta)) : QVariant(QMetaType(QMetaType::QString));
    if (Resultado r = base.ejecutar(
            QStringLiteral("INSERT INTO periodos_socio (socio, desde, hasta, participaciones) VALUES (?, ?, ?, ?)"),
            {socio, iso(p.desde), hasta, p.participaciones});
        !r)
      return r;
  }
  return Resultado::bien();
}

Resultado insertarMovimiento(BaseDatos& base, const MovimientoGuardado& m, qint64 reparto) {
  const QVariant deReparto = reparto > 0 ? QVariant(reparto) : QVariant(QMetaType(QMetaType::LongLong));
  return base.ejecutar(
      QStringLiteral("INSERT INTO movimientos_socio (socio, fecha, tipo, centimos, reparto) VALUES (?, ?, ?, ?, ?)"),
      {m.socio, iso(m.fecha), m.concepto == Concepto::Pago ? QStringLiteral("pago") : QStringLiteral("aportacion"),
       m.centimos, deReparto});
}

Resultado insertarReparto(BaseDatos& base, qint64 pena, Reparto& r) {
  QSqlQuery q(base.conexion());
  if (Resultado e =
          base.ejecutar(q,
                        QStringLiteral("INSERT INTO repartos (pena, sorteo, hecho, cobrado, bruto_centimos,"
                                       " retencion_centimos, pagado) VALUES (?, ?, ?, ?, ?, ?, ?)"),
                        {pena, iso(r.sorteo), iso(r.hecho), iso(r.cobrado), r.bruto, r.retencion, r.pagado ? 1 : 0});
      !e)
    return e;
  r.id = q.lastInsertId().toLongLong();
  for (const ParteReparto& p : r.partes) {
    if (Resultado e = base.ejecutar(QStringLiteral("INSERT INTO partes_reparto (reparto, socio, participaciones,"
                                                   " bruto_centimos, retencion_centimos) VALUES (?, ?, ?, ?, ?)"),
                                    {r.id, p.socio, p.participaciones, p.bruto, p.retencion});
        !e)
      return e;
    if (r.pagado && p.neto() > 0)
      if (Resultado e = insertarMovimiento(base, {p.socio, r.hecho, Concepto::Pago, p.neto()}, r.id); !e) return e;
  }
  return Resultado::bien();
}

Resultado insertarAnulacion(BaseDatos& base, qint64 movimiento, const QDate& fecha, const QString& motivo,
                            qint64 repartoAnulado) {
  const QVariant deReparto = repartoAnulado > 0 ? QVariant(repartoAnulado) : QVariant(QMetaType(QMetaType::LongLong));
  return base.ejecutar(
      QStringLiteral("INSERT INTO anulaciones (movimiento, fecha, motivo, reparto) VALUES (?, ?, ?, ?)"),
      {movimiento, iso(fecha), textoONulo(motivo), deReparto});
}

Resultado anularRepartoGuardado(BaseDatos& base, qint64 pena, const Reparto& r, const QDate& fecha,
                                const QString& motivo) {
  QSqlQuery q(base.conexion());
  if (Resultado e = base.ejecutar(q,
                                  QStringLiteral("INSERT INTO repartos_anulados (pena, sorteo, hecho, cobrado,"
                                                 " bruto_centimos, retencion_centimos, pagado, anulado, motivo)"
                                                 " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                                  {pena, iso(r.sorteo), iso(r.hecho), iso(r.cobrado), r.bruto, r.retencion,
                                   r.pagado ? 1 : 0, iso(fecha), textoONulo(motivo)});
      !e)
    return e;
  const qint64 anulado = q.lastInsertId().toLongLong();
  for (const ParteReparto& p : r.partes)
    if (Resultado e = base.ejecutar(QStringLiteral("INSERT INTO partes_anuladas (reparto, socio, participaciones,"
                                                   " bruto_centimos, retencion_centimos) VALUES (?, ?, ?, ?, ?)"),
                                    {anulado, p.socio, p.participaciones, p.bruto, p.retencion});
        !e)
      return e;
  // The payouts it made stay, voided with it; their link now names the voided split.
  if (Resultado e =
          base.ejecutar(q, QStringLiteral("SELECT id FROM movimientos_socio WHERE reparto = ? ORDER BY id"), {r.id});
      !e)
    return e;
  std::vector<qint64> pagos;
  while (q.next()) pagos.push_back(q.value(0).toLongLong());
  for (const qint64 m : pagos)
    if (Resultado e = insertarAnulacion(base, m, fecha, motivo, anulado); !e) return e;
  for (const QString& sql : {QStringLiteral("UPDATE movimientos_socio SET reparto = NULL WHERE reparto = ?"),
                             QStringLiteral("DELETE FROM partes_reparto WHERE reparto = ?"),
                             QStringLiteral("DELETE FROM repartos WHERE id = ?")})
    if (Resultado e = base.ejecutar(sql, {r.id}); !e) return e;
  return Resultado::bien();
}

namespace {

// The members' side of `pena` once its stored id is known (`id` gives it; empty: none).
Resultado leerSociosDe(const QString& carpeta, const Pena& pena, int registro, const std::vector<Sorteo>& sorteos,
                       const std::function<Resultado(BaseDatos&, std::optional<qint64>&)>& id, SociosPena& p) {
  p.nombre = pena.nombreRecortado();
  BaseDatos base;
  std::optional<qint64> idPena;
  Resultado leido = base.abrir(carpeta, BaseDatos::Modo::Lectura);
  if (leido) leido = id(base, idPena);
  // The members pay every draw the peña played since it really started, whatever a reset
  // of its counters did to its creation.
  Pena delDinero = pena;
  if (leido && idPena) {
    IniciosPenas inicios;
    leido = leerInicios(base, inicios);
    if (leido) delDinero = penasDelDinero({pena}, {idPena}, inicios).front();
  }
  // Costs need no prize table.
  const CuentaPena cuenta = cuentaPena(delDinero, registro, sorteos, {}, precioApuesta(carpeta));
  for (const CuentaSorteo& s : cuenta.sorteos) p.costes.push_back({s.fecha, s.coste});
  if (!leido) return leido;
  if (!idPena) return Resultado::bien();
  const Resultado r = leerSociosGuardados(base, *idPena, p);
  if (!r) {
    p.socios.clear();
    p.movimientos.clear();
    p.repartos.clear();
    p.repartosAnulados.clear();
  }
  return r;
}

}  // namespace

Resultado leerSociosPena(const QString& carpeta, const std::vector<Pena>& penas, const std::vector<Sorteo>& sorteos,
                         int registro, SociosPena& p) {
  p = SociosPena{};
  p.registro = registro;
  if (registro < 1 || registro > static_cast<int>(penas.size()))
    return Resultado::fallo(QStringLiteral("No hay ninguna peña en el registro %1.").arg(registro));
  return leerSociosDe(
      carpeta, penas[static_cast<size_t>(registro - 1)], registro, sorteos,
      [&](BaseDatos& base, std::optional<qint64>& id) {
        std::vector<PenaGuardada> guardadas;
        if (Resultado r = leerPenas(base, guardadas); !r) return r;
        id = emparejarPenas(guardadas, penas)[static_cast<size_t>(registro - 1)];
        return Resultado::bien();
      },
      p);
}

Resultado leerPenasBorradas(const QString& carpeta, const std::vector<Sorteo>& sorteos,
                            std::vector<ResumenBorrada>& borradas) {
  borradas.clear();
  std::vector<PenaBorrada> v;
  {
    BaseDatos base;
    if (Resultado r = base.abrir(carpeta, BaseDatos::Modo::Lectura); !r) return r;
    if (Resultado r = leerPenasBorradas(base, v); !r) return r;
  }
  for (PenaBorrada& b : v) {
    SociosPena p;
    if (Resultado r = leerSociosPenaBorrada(carpeta, sorteos, b.numero, p); !r) {
      borradas.clear();
      return r;
    }
    ResumenBorrada resumen{std::move(b), static_cast<int>(p.socios.size()), 0};
    for (const Centimos c : p.saldos()) resumen.saldo += c;
    borradas.push_back(std::move(resumen));
  }
  return Resultado::bien();
}

Resultado leerSociosPenaBorrada(const QString& carpeta, const std::vector<Sorteo>& sorteos, int numero, SociosPena& p,
                                PenaBorrada* borrada) {
  p = SociosPena{};
  PenaBorrada b;
  {
    BaseDatos base;
    if (Resultado r = base.abrir(carpeta, BaseDatos::Modo::Lectura); !r) return r;
    if (!base.abierta()) return Resultado::fallo(QStringLiteral("No hay ninguna peña borrada B%1.").arg(numero));
    if (Resultado r = leerPenaBorrada(base, numero, b); !r) return r;
  }
  if (borrada) *borrada = b;
  return leerSociosDe(
      carpeta, b.pena, 1, b.jugados(sorteos),
      [&](BaseDatos&, std::optional<qint64>& id) {
        id = b.id;
        return Resultado::bien();
      },
      p);
}

}  // namespace sortilan
