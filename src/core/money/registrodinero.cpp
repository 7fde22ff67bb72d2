#include "money/registrodinero.h"

#include <QCryptographicHash>
#include <QSqlQuery>
#include <QVariant>
#include <cmath>
#include <map>

#include "base/fechas.h"

namespace sortilan {

namespace {

QString iso(const QDate& d) { return d.toString(Qt::ISODate); }
QDate deIso(const QVariant& v) { return QDate::fromString(v.toString(), Qt::ISODate); }

QVariant nulo() { return QVariant(QMetaType(QMetaType::LongLong)); }

QVariant ganadores(const PremioCategoria& p) { return p.ganadores ? QVariant(*p.ganadores) : nulo(); }

PremioCategoria leerFila(const QSqlQuery& q, int columna) {
  PremioCategoria p;
  p.centimos = q.value(columna).toLongLong();
  if (!q.value(columna + 1).isNull()) p.ganadores = q.value(columna + 1).toLongLong();
  return p;
}

void ponerFila(TablaPremios& t, int categoria, const PremioCategoria& p) {
  if (categoria == 9)
    t.reintegro = p;
  else if (categoria >= 1 && categoria <= TablaPremios::kCategorias)
    t.categorias[static_cast<size_t>(categoria - 1)] = p;
}

Resultado leerTabla(BaseDatos& base, const QDate& fecha, std::optional<TablaPremios>& tabla) {
  tabla.reset();
  QSqlQuery q(base.conexion());
  if (Resultado r =
          base.ejecutar(q, QStringLiteral("SELECT documento FROM tablas_premios WHERE fecha = ?"), {iso(fecha)});
      !r)
    return r;
  if (!q.next()) return Resultado::bien();
  TablaPremios t;
  t.fecha = fecha;
  t.documento = q.value(0).toString();
  if (Resultado r = base.ejecutar(
          q, QStringLiteral("SELECT categoria, premio_centimos, ganadores FROM premios_categoria WHERE fecha = ?"),
          {iso(fecha)});
      !r)
    return r;
  while (q.next()) ponerFila(t, q.value(0).toInt(), leerFila(q, 1));
  tabla = std::move(t);
  return Resultado::bien();
}

Resultado escribirTabla(BaseDatos& base, const TablaPremios& t) {
  // A draw without its document still has its prizes: the document is then "".
  if (Resultado r = base.ejecutar(QStringLiteral("INSERT INTO tablas_premios (fecha, documento) VALUES (?, "
                                                 "COALESCE(?, '')) "
                                                 "ON CONFLICT (fecha) DO UPDATE SET documento = excluded.documento"),
                                  {iso(t.fecha), t.documento});
      !r)
    return r;
  if (Resultado r = base.ejecutar(QStringLiteral("DELETE FROM premios_categoria WHERE fecha = ?"), {iso(t.fecha)}); !r)
    return r;
  const QString insertar = QStringLiteral(
      "INSERT INTO premios_categoria (fecha, categoria, premio_centimos, ganadores) VALUES (?, ?, ?, ?)");
  for (int c = 1; c <= TablaPremios::kCategorias; ++c) {
    const auto& p = t.categorias[static_cast<size_t>(c - 1)];
    if (!p) continue;
    if (Resultado r = base.ejecutar(insertar, {iso(t.fecha), c, p->centimos, ganadores(*p)}); !r) return r;
  }
  if (t.reintegro)
    if (Resultado r = base.ejecutar(insertar, {iso(t.fecha), 9, t.reintegro->centimos, ganadores(*t.reintegro)}); !r)
      return r;
  return Resultado::bien();
}

}  // namespace

Resultado leerTablas(BaseDatos& base, TablasPremios& tablas) {
  tablas.clear();
  if (!base.abierta()) return Resultado::bien();
  QSqlQuery q(base.conexion());
  if (Resultado r = base.ejecutar(q, QStringLiteral("SELECT fecha, documento FROM tablas_premios")); !r) return r;
  while (q.next()) {
    TablaPremios t;
    t.fecha = deIso(q.value(0));
    t.documento = q.value(1).toString();
    tablas[t.fecha] = t;
  }
  if (Resultado r = base.ejecutar(
          q, QStringLiteral("SELECT fecha, categoria, premio_centimos, ganadores FROM premios_categoria"));
      !r)
    return r;
  while (q.next()) {
    const auto t = tablas.find(deIso(q.value(0)));
    if (t != tablas.end()) ponerFila(t->second, q.value(1).toInt(), leerFila(q, 2));
  }
  return Resultado::bien();
}

Resultado guardarTablas(BaseDatos& base, const std::vector<TablaPremios>& tablas, int* cambiadas) {
  int n = 0;
  for (const TablaPremios& nueva : tablas) {
    if (!nueva.fecha.isValid()) continue;
    std::optional<TablaPremios> guardada;
    if (Resultado r = leerTabla(base, nueva.fecha, guardada); !r) return r;
    const TablaPremios t = guardada ? combinar(*guardada, nueva) : nueva;
    if (guardada && t == *guardada) continue;
    if (Resultado r = escribirTabla(base, t); !r) return r;
    ++n;
  }
  if (cambiadas) *cambiadas = n;
  return Resultado::bien();
}

QByteArray huellaPena(const Pena& p) {
  // Name and bets (bytes 0..595) and the kind of bet (627..628) of the record.
  const QByteArray r = p.codificar();
  return QCryptographicHash::hash(r.left(596) + r.mid(627, 2), QCryptographicHash::Sha256);
}

std::vector<std::optional<qint64>> emparejarPenas(const std::vector<PenaGuardada>& guardadas,
                                                  const std::vector<Pena>& penas) {
  std::vector<std::optional<qint64>> ids(penas.size());
  std::vector<bool> usada(guardadas.size(), false);
  std::vector<QByteArray> huellas;
  huellas.reserve(penas.size());
  for (const Pena& p : penas) huellas.push_back(huellaPena(p));
  // The stored peñas of each fingerprint, in their order: a thousand peñas must not compare
  // every fingerprint with every other.
  std::map<QByteArray, std::vector<size_t>> porHuella;
  for (size_t g = 0; g < guardadas.size(); ++g) porHuella[guardadas[g].huella].push_back(g);
  static const std::vector<size_t> kNinguna;
  const auto candidatas = [&](size_t i) -> const std::vector<size_t>& {
    const auto c = porHuella.find(huellas[i]);
    return c == porHuella.end() ? kNinguna : c->second;
  };
  // First the peñas still at their record number, then the ones that moved, in order.
  for (size_t i = 0; i < penas.size(); ++i) {
    for (const size_t g : candidatas(i)) {
      if (!usada[g] && guardadas[g].registro == static_cast<int>(i) + 1) {
        ids[i] = guardadas[g].id;
        usada[g] = true;
        break;
      }
    }
  }
  for (size_t i = 0; i < penas.size(); ++i) {
    if (ids[i]) continue;
    std::optional<size_t> mejor;
    for (const size_t g : candidatas(i)) {
      if (usada[g]) continue;
      const auto antes = [](const PenaGuardada& a, const PenaGuardada& b) {
        if (a.registro.has_value() != b.registro.has_value()) return a.registro.has_value();
        return a.registro != b.registro ? a.registro < b.registro : a.id < b.id;
      };
      if (!mejor || antes(guardadas[g], guardadas[*mejor])) mejor = g;
    }
    if (mejor) {
      ids[i] = guardadas[*mejor].id;
      usada[*mejor] = true;
    }
  }
  return ids;
}

Resultado leerPenas(BaseDatos& base, std::vector<PenaGuardada>& penas) {
  penas.clear();
  if (!base.abierta()) return Resultado::bien();
  QSqlQuery q(base.conexion());
  // A deleted peña keeps its money apart: a new peña with the same name and bets is
  // another one.
  if (Resultado r = base.ejecutar(q, QStringLiteral("SELECT id, huella, registro FROM penas"
                                                    " WHERE id NOT IN (SELECT pena FROM penas_borradas) ORDER BY id"));
      !r)
    return r;
  while (q.next()) {
    PenaGuardada p;
    p.id = q.value(0).toLongLong();
    p.huella = q.value(1).toByteArray();
    if (!q.value(2).isNull()) p.registro = q.value(2).toInt();
    penas.push_back(std::move(p));
  }
  return Resultado::bien();
}

Resultado registrarPenas(BaseDatos& base, const std::vector<Pena>& penas, std::vector<qint64>& ids) {
  std::vector<PenaGuardada> guardadas;
  if (Resultado r = leerPenas(base, guardadas); !r) return r;
  const std::vector<std::optional<qint64>> emparejadas = emparejarPenas(guardadas, penas);
  // A peña no longer in the file keeps no record number; the others get theirs below.
  if (Resultado r = base.ejecutar(QStringLiteral("UPDATE penas SET registro = NULL")); !r) return r;
  ids.assign(penas.size(), 0);
  for (size_t i = 0; i < penas.size(); ++i) {
    const int registro = static_cast<int>(i) + 1;
    const QString nombre = penas[i].nombreRecortado();
    if (emparejadas[i]) {
      ids[i] = *emparejadas[i];
      if (Resultado r = base.ejecutar(QStringLiteral("UPDATE penas SET registro = ?, nombre = ? WHERE id = ?"),
                                      {registro, nombre, ids[i]});
          !r)
        return r;
      continue;
    }
    QSqlQuery q(base.conexion());
    if (Resultado r = base.ejecutar(q, QStringLiteral("INSERT INTO penas (huella, registro, nombre) VALUES (?, ?, ?)"),
                                    {huellaPena(penas[i]), registro, nombre});
        !r)
      return r;
    ids[i] = q.lastInsertId().toLongLong();
  }
  return Resultado::bien();
}

Resultado leerInicios(BaseDatos& base, IniciosPenas& inicios) {
  inicios.clear();
  if (!base.abierta()) return Resultado::bien();
  QSqlQuery q(base.conexion());
  if (Resultado r = base.ejecutar(q, QStringLiteral("SELECT pena, inicio, reinicio FROM inicios_pena")); !r) return r;
  while (q.next()) inicios[q.value(0).toLongLong()] = {deIso(q.value(1)), deIso(q.value(2))};
  return Resultado::bien();
}

namespace {
QDate diaCreacion(const Pena& p) { return fechaDesdeOle(std::floor(p.creacion)); }
}  // namespace

Resultado guardarInicios(BaseDatos& base, const std::vector<Pena>& penas, const std::vector<qint64>& ids,
                         const QDate& hoy) {
  IniciosPenas inicios;
  if (Resultado r = leerInicios(base, inicios); !r) return r;
  const std::vector<Pena> antes = penasDelDinero(penas, {ids.begin(), ids.end()}, inicios);
  for (size_t i = 0; i < antes.size() && i < ids.size(); ++i) {
    const QDate inicio = diaCreacion(antes[i]);
    if (!inicio.isValid() || inicio >= hoy) continue;
    if (Resultado r = base.ejecutar(QStringLiteral("INSERT INTO inicios_pena (pena, inicio, reinicio) VALUES (?, ?, ?) "
                                                   "ON CONFLICT (pena) DO UPDATE SET inicio = excluded.inicio,"
                                                   " reinicio = excluded.reinicio"),
                                    {ids[i], iso(inicio), iso(hoy)});
        !r)
      return r;
  }
  return Resultado::bien();
}

std::vector<Pena> penasDelDinero(std::vector<Pena> penas, const std::vector<std::optional<qint64>>& ids,
                                 const IniciosPenas& inicios) {
  if (inicios.empty()) return penas;
  for (size_t i = 0; i < penas.size() && i < ids.size(); ++i) {
    if (!ids[i]) continue;
    const auto k = inicios.find(*ids[i]);
    // A creation another day than the reset's is another start (a peña deleted and
    // entered again): its own.
    if (k != inicios.end() && diaCreacion(penas[i]) == k->second.reinicio && k->second.inicio < k->second.reinicio)
      penas[i].creacion = oleDesdeFecha(k->second.inicio);
  }
  return penas;
}

Resultado leerPenasDelDinero(BaseDatos& base, std::vector<Pena>& penas) {
  std::vector<PenaGuardada> guardadas;
  IniciosPenas inicios;
  if (Resultado r = leerPenas(base, guardadas); !r) return r;
  if (Resultado r = leerInicios(base, inicios); !r) return r;
  const std::vector<std::optional<qint64>> ids = emparejarPenas(guardadas, penas);
  penas = penasDelDinero(std::move(penas), ids, inicios);
  return Resultado::bien();
}

QString PenaBorrada::codigo() const { return QStringLiteral("B%1").arg(numero); }

std::vector<Sorteo> PenaBorrada::jugados(const std::vector<Sorteo>& sorteos) const {
  std::vector<Sorteo> v;
  if (!ultimoSorteo.isValid()) return v;
  for (const Sorteo& s : sorteos)
    if (fechaDesdeOle(s.fecha) <= ultimoSorteo) v.push_back(s);
  return v;
}

QString textoPenaBorrada(const PenaBorrada& b) {
  return QStringLiteral("%1. %2 (borrada el %3)").arg(b.codigo(), b.nombre, fechaCorta(b.borrada));
}

int numeroPenaBorrada(const QString& texto) {
  if (texto.size() < 2 || (texto.front() != QLatin1Char('B') && texto.front() != QLatin1Char('b'))) return 0;
  for (qsizetype i = 1; i < texto.size(); ++i)
    if (!texto.at(i).isDigit() || texto.at(i).unicode() > '9') return 0;
  bool ok = false;
  const int n = texto.mid(1).toInt(&ok);
  return ok && n >= 1 ? n : 0;
}

namespace {

constexpr const char* kSelectBorradas =
    "SELECT pena, numero, nombre, borrada, registro, ultimo_sorteo FROM penas_borradas";

Resultado leerBorradas(BaseDatos& base, const QString& condicion, const QVariantList& valores,
                       std::vector<PenaBorrada>& borradas) {
  borradas.clear();
  if (!base.abierta()) return Resultado::bien();
  QSqlQuery q(base.conexion());
  if (Resultado r =
          base.ejecutar(q, QLatin1String(kSelectBorradas) + condicion + QStringLiteral(" ORDER BY numero"), valores);
      !r)
    return r;
  while (q.next()) {
    const QByteArray registro = q.value(4).toByteArray();
    if (registro.size() != Pena::kTamano)
      return Resultado::fallo(Resultado::Clase::Danado,
                              QStringLiteral("La peña borrada B%1 de %2 está dañada: su registro no tiene %3 bytes.")
                                  .arg(q.value(1).toInt())
                                  .arg(QLatin1String(BaseDatos::kArchivo))
                                  .arg(Pena::kTamano));
    PenaBorrada b;
    b.id = q.value(0).toLongLong();
    b.numero = q.value(1).toInt();
    b.nombre = q.value(2).toString();
    b.borrada = deIso(q.value(3));
    b.pena = Pena::decodificar(registro.constData());
    if (!q.value(5).isNull()) b.ultimoSorteo = deIso(q.value(5));
    borradas.push_back(std::move(b));
  }
  return Resultado::bien();
}

}  // namespace

Resultado leerPenasBorradas(BaseDatos& base, std::vector<PenaBorrada>& borradas) {
  return leerBorradas(base, QString(), {}, borradas);
}

Resultado leerPenaBorrada(BaseDatos& base, int numero, PenaBorrada& borrada) {
  std::vector<PenaBorrada> v;
  if (Resultado r = leerBorradas(base, QStringLiteral(" WHERE numero = ?"), {numero}, v); !r) return r;
  if (v.empty()) return Resultado::fallo(QStringLiteral("No hay ninguna peña borrada B%1.").arg(numero));
  borrada = std::move(v.front());
  return Resultado::bien();
}

Resultado guardarPenaBorrada(BaseDatos& base, qint64 id, const Pena& pena, const QDate& hoy, const QDate& ultimoSorteo,
                             int& numero) {
  QSqlQuery q(base.conexion());
  if (Resultado r = base.ejecutar(q, QStringLiteral("SELECT COALESCE(MAX(numero), 0) + 1 FROM penas_borradas")); !r)
    return r;
  numero = q.next() ? q.value(0).toInt() : 1;
  if (Resultado r = base.ejecutar(QStringLiteral("UPDATE penas SET registro = NULL WHERE id = ?"), {id}); !r) return r;
  return base.ejecutar(
      QStringLiteral("INSERT INTO penas_borradas (pena, numero, nombre, borrada, registro,"
                     " ultimo_sorteo) VALUES (?, ?, ?, ?, ?, ?)"),
      {id, numero, pena.nombreRecortado(), iso(hoy), pena.codificar(),
       ultimoSorteo.isValid() ? QVariant(iso(ultimoSorteo)) : QVariant(QMetaType(QMetaType::QString))});
}

Resultado leerCobros(BaseDatos& base, CobrosMarcados& cobros) {
  cobros.clear();
  if (!base.abierta()) return Resultado::bien();
  QSqlQuery q(base.conexion());
  if (Resultado r = base.ejecutar(q, QStringLiteral("SELECT pena, fecha, cobrado FROM cobros")); !r) return r;
  while (q.next()) cobros[{q.value(0).toLongLong(), deIso(q.value(1))}] = deIso(q.value(2));
  return Resultado::bien();
}

Resultado ponerCobro(BaseDatos& base, qint64 pena, const QDate& sorteo, const std::optional<QDate>& cobrado) {
  if (!cobrado)
    return base.ejecutar(QStringLiteral("DELETE FROM cobros WHERE pena = ? AND fecha = ?"), {pena, iso(sorteo)});
  return base.ejecutar(QStringLiteral("INSERT INTO cobros (pena, fecha, cobrado) VALUES (?, ?, ?) "
                                      "ON CONFLICT (pena, fecha) DO UPDATE SET cobrado = excluded.cobrado"),
                       {pena, iso(sorteo), iso(*cobrado)});
}

}  // namespace sortilan
