#include "papers/registropapeles.h"

#include <QSqlQuery>
#include <QVariant>

#include "money/registrodinero.h"

namespace sortilan {

namespace {

QString iso(const QDate& d) { return d.toString(Qt::ISODate); }
QDate deIso(const QVariant& v) { return QDate::fromString(v.toString(), Qt::ISODate); }

const QString kColumnas = QStringLiteral(
    "id, numero_socio, nombre, desde, hasta, emitido, codigo, texto, anulado, participaciones, total,"
    " pagado_centimos FROM papeles");

PapelGuardado leerFila(const QSqlQuery& q) {
  PapelGuardado p;
  p.numero = q.value(0).toLongLong();
  p.socio = q.value(1).toInt();
  p.nombre = q.value(2).toString();
  p.desde = deIso(q.value(3));
  p.hasta = deIso(q.value(4));
  p.emitido = QDateTime::fromString(q.value(5).toString(), Qt::ISODate);
  p.codigo = q.value(6).toString();
  p.texto = q.value(7).toString();
  p.anulado = q.value(8).toInt() != 0;
  p.participaciones = q.value(9).toInt();
  p.total = q.value(10).toInt();
  p.pagado = q.value(11).toLongLong();
  return p;
}

}  // namespace

Resultado siguientePapel(BaseDatos& base, qint64& numero) {
  QSqlQuery q(base.conexion());
  if (Resultado r = base.ejecutar(q, QStringLiteral("SELECT COALESCE(MAX(id), 0) + 1 FROM papeles")); !r) return r;
  numero = q.next() ? q.value(0).toLongLong() : 1;
  return Resultado::bien();
}

Resultado insertarPapel(BaseDatos& base, qint64 pena, qint64 socio, const PapelParticipacion& p, PapelGuardado& g) {
  g = PapelGuardado{};
  g.numero = p.numero;
  g.socio = p.socio;
  g.nombre = p.nombre;
  g.desde = p.desde;
  g.hasta = p.hasta;
  g.emitido = p.emitido;
  g.participaciones = p.sorteos.empty() ? 0 : p.sorteos.front().participaciones;
  g.total = p.sorteos.empty() ? 0 : p.sorteos.front().total;
  g.pagado = p.pagado;
  g.texto = textoPapel(p);
  g.codigo = codigoDe(g.texto);
  return base.ejecutar(QStringLiteral("INSERT INTO papeles (id, pena, socio, numero_socio, nombre, desde, hasta,"
                                      " participaciones, total, pagado_centimos, emitido, codigo, texto)"
                                      " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                       {g.numero, pena, socio, g.socio, g.nombre, iso(g.desde), iso(g.hasta), g.participaciones,
                        g.total, g.pagado, g.emitido.toString(Qt::ISODate), g.codigo, g.texto});
}

Resultado leerPapeles(BaseDatos& base, qint64 pena, std::vector<PapelGuardado>& papeles) {
  papeles.clear();
  if (!base.abierta() || pena <= 0) return Resultado::bien();
  QSqlQuery q(base.conexion());
  if (Resultado r = base.ejecutar(
          q, QStringLiteral("SELECT ") + kColumnas + QStringLiteral(" WHERE pena = ? ORDER BY id"), {pena});
      !r)
    return r;
  while (q.next()) papeles.push_back(leerFila(q));
  return Resultado::bien();
}

Resultado buscarPapel(BaseDatos& base, const QString& codigo, std::optional<PapelGuardado>& papel) {
  papel.reset();
  if (!base.abierta() || codigo.isEmpty()) return Resultado::bien();
  QSqlQuery q(base.conexion());
  // substr rather than LIKE: the code is compared byte for byte, whatever it holds.
  if (Resultado r = base.ejecutar(
          q,
          QStringLiteral("SELECT ") + kColumnas + QStringLiteral(" WHERE substr(codigo, 1, ?) = ? ORDER BY id LIMIT 2"),
          {codigo.size(), codigo});
      !r)
    return r;
  if (!q.next()) return Resultado::bien();
  PapelGuardado p = leerFila(q);
  if (q.next())
    return Resultado::fallo(QStringLiteral("Hay más de un papel cuyo código empieza por %1: escriba el código entero.")
                                .arg(codigoAgrupado(codigo)));
  papel = std::move(p);
  return Resultado::bien();
}

Resultado marcarAnulado(BaseDatos& base, qint64 numero) {
  return base.ejecutar(QStringLiteral("UPDATE papeles SET anulado = 1 WHERE id = ?"), {numero});
}

}  // namespace sortilan

namespace sortilan {

Resultado leerPapelesPena(const QString& carpeta, const std::vector<Pena>& penas, int registro,
                          std::vector<PapelGuardado>& papeles) {
  papeles.clear();
  if (registro < 1 || registro > static_cast<int>(penas.size()))
    return Resultado::fallo(QStringLiteral("No hay ninguna peña en el registro %1.").arg(registro));
  BaseDatos base;
  if (Resultado r = base.abrir(carpeta, BaseDatos::Modo::Lectura); !r) return r;
  std::vector<PenaGuardada> guardadas;
  if (Resultado r = leerPenas(base, guardadas); !r) return r;
  const std::optional<qint64> id = emparejarPenas(guardadas, penas)[static_cast<size_t>(registro - 1)];
  return id ? leerPapeles(base, *id, papeles) : Resultado::bien();
}

Resultado verificarCodigo(const QString& carpeta, const QString& codigo, std::optional<PapelGuardado>& papel) {
  papel.reset();
  const QString c = normalizarCodigo(codigo);
  if (c.size() < kLargoCorto || c.size() > kLargoCodigo)
    return Resultado::fallo(QStringLiteral("«%1» no es un código de papel: son grupos de letras y cifras como "
                                           "ABCD-EFGH-JKMN (al menos los tres primeros).")
                                .arg(codigo.left(80)));
  BaseDatos base;
  if (Resultado r = base.abrir(carpeta, BaseDatos::Modo::Lectura); !r) return r;
  return buscarPapel(base, c, papel);
}

}  // namespace sortilan
