#include "operations/penas.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>
#include <bit>

#include "base/fechas.h"
#include "checking/altapena.h"
#include "checking/cuenta.h"
#include "money/registrodinero.h"
#include "operations/transaccion.h"
#include "store/basedatos.h"
#include "store/cerrojodatos.h"

namespace sortilan::operaciones {

namespace {

bool mismaPena(const Pena& a, const Pena& b) {
  // The counters may have moved meanwhile; what the peña is stays.
  return a.nombre == b.nombre && a.apuestas == b.apuestas && a.tipo == b.tipo &&
         std::bit_cast<uint64_t>(a.creacion) == std::bit_cast<uint64_t>(b.creacion);
}

void contar(Transaccion& t, std::vector<Pena>& penas) {
  if (!t.sorteosDanados) sortilan::contarPremios(penas, t.sorteos);
}

// What a change cut short leaves: its temporaries, or the lock file of a program that died.
bool hayRestos(const Almacen& a) {
  QStringList patrones;
  for (const QString& n : archivosDeDatos()) patrones << n + QStringLiteral(".tmp.??????");
  patrones << QLatin1String(Almacen::kPenasTmp) << QLatin1String(Almacen::kSorteosTmp)
           << QLatin1String(CerrojoDatos::kNombre);
  return Transaccion::hayDiario(a.carpeta()) ||
         !QDir(a.carpeta()).entryList(patrones, QDir::Files | QDir::Hidden | QDir::System).isEmpty();
}

QString nombreApartado(int n) {
  return n == 1 ? QLatin1String(Almacen::kPenasErr) : QStringLiteral("apuestas.%1.err").arg(n);
}

Resultado contarFilas(BaseDatos& base, const QString& sql, qint64 id, int& n) {
  QSqlQuery q(base.conexion());
  if (Resultado r = base.ejecutar(q, sql, {id}); !r) return r;
  n = q.next() ? q.value(0).toInt() : 0;
  return Resultado::bien();
}

Resultado contarConservado(BaseDatos& base, qint64 id, ConservaPena& c) {
  Resultado r = contarFilas(base, QStringLiteral("SELECT COUNT(*) FROM socios WHERE pena = ?"), id, c.socios);
  if (r)
    r = contarFilas(base,
                    QStringLiteral("SELECT COUNT(*) FROM movimientos_socio m JOIN socios s ON s.id = m.socio"
                                   " WHERE s.pena = ?"),
                    id, c.movimientos);
  if (r) r = contarFilas(base, QStringLiteral("SELECT COUNT(*) FROM cobros WHERE pena = ?"), id, c.cobros);
  if (r) r = contarFilas(base, QStringLiteral("SELECT COUNT(*) FROM repartos WHERE pena = ?"), id, c.repartos);
  if (r) r = contarFilas(base, QStringLiteral("SELECT COUNT(*) FROM papeles WHERE pena = ?"), id, c.papeles);
  return r;
}

// The database's side of deleting record `registro` of `t.penas`: what it keeps of the
// peña stays under it as deleted, and the later peñas take their new record numbers.
Resultado conservarBorrada(Transaccion& t, int registro, const QDate& hoy, PenaConservada& conservada) {
  BaseDatos& base = t.base();
  std::vector<qint64> ids;
  // The ids as the file was before the deletion, each peña at its own record.
  if (Resultado r = registrarPenas(base, t.penas, ids); !r) return r;
  const qint64 id = ids[static_cast<size_t>(registro - 1)];
  ConservaPena& c = conservada.conserva;
  if (Resultado r = contarConservado(base, id, c); !r) return r;
  if (Resultado r = base.ejecutar(QStringLiteral("UPDATE penas SET registro = NULL WHERE id = ?"), {id}); !r) return r;
  if (c.algo()) {
    QDate ultimo;
    for (const Sorteo& s : t.sorteos)
      if (s.valido()) ultimo = std::max(ultimo, fechaDesdeOle(s.fecha));
    if (Resultado r =
            guardarPenaBorrada(base, id, t.penas[static_cast<size_t>(registro - 1)], hoy, ultimo, conservada.numero);
        !r)
      return r;
  }
  for (size_t j = static_cast<size_t>(registro); j < ids.size(); ++j)
    if (Resultado r =
            base.ejecutar(QStringLiteral("UPDATE penas SET registro = ? WHERE id = ?"), {static_cast<int>(j), ids[j]});
        !r)
      return r;
  return Resultado::bien();
}

}  // namespace

Apartado apartarPenasDanadas(Almacen& almacen) {
  Apartado a;
  Transaccion t(almacen);
  a.resultado = t.empezar(false);
  if (!a.resultado) return a;
  // Read again under the lock: another program may have mended it meanwhile.
  std::vector<Pena> penas;
  bool danadas = false;
  a.resultado = almacen.leerPenas(penas, &danadas);
  if (!a.resultado || !danadas) return a;
  QByteArray bytes;
  a.resultado = leerAcotado(almacen.penas().ruta(), static_cast<qint64>(Pena::kTamano) * Pena::kMaximo, bytes);
  if (!a.resultado) return a;
  // Kept under the first name not yet used: an earlier copy set aside is never replaced.
  for (int n = 1;; ++n) {
    if (n == 10000) {
      // The damaged file stays where it is, refused: nothing is read from it.
      a.resultado = Resultado::fallo(Resultado::Clase::Danado,
                                     QStringLiteral("Hay demasiadas copias de apuestas.dat apartadas."));
      return a;
    }
    bool existia = false;
    a.archivo = nombreApartado(n);
    a.resultado = t.crearNuevo(almacen.ruta(a.archivo), bytes, &existia);
    if (a.resultado || !existia) break;
  }
  if (a.resultado) a.resultado = t.escribirPenas({});
  a.resultado = t.terminar(a.resultado);
  a.apartado = static_cast<bool>(a.resultado);
  return a;
}

Alta crearPena(Almacen& almacen, const Pena& nueva, const QDate& hoy) {
  Transaccion t(almacen);
  if (Resultado r = t.empezar(); !r) return {r};
  if (Resultado r = comprobarFechasCreacion(t.penas, t.sorteos, hoy); !r) return {r};
  if (static_cast<int>(t.penas.size()) >= kMaximoPenas)
    return {Resultado::fallo(QStringLiteral("El fichero de peñas está lleno: no caben más de %1.").arg(kMaximoPenas))};
  std::vector<Pena> penas = t.penas;
  penas.push_back(nueva);
  contar(t, penas);
  Alta a{t.terminar(t.escribirPenas(penas)), 0};
  if (a.resultado) a.registro = static_cast<int>(penas.size());
  return a;
}

ConservaPena conservaPena(const QString& carpeta, const std::vector<Pena>& penas, int registro) {
  ConservaPena c;
  if (registro < 1 || registro > static_cast<int>(penas.size())) return c;
  BaseDatos base;
  std::vector<PenaGuardada> guardadas;
  if (!base.abrir(carpeta, BaseDatos::Modo::Lectura) || !base.abierta() || !leerPenas(base, guardadas)) return c;
  const std::optional<qint64> id = emparejarPenas(guardadas, penas)[static_cast<size_t>(registro - 1)];
  if (id) (void)contarConservado(base, *id, c);
  return c;
}

QString lineaConservaPena(const ConservaPena& c) {
  if (!c.algo()) return {};
  QStringList partes;
  const auto parte = [&](int n, const char* uno, const char* varios) {
    if (n > 0) partes << QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(n == 1 ? uno : varios));
  };
  parte(c.socios, "socio", "socios");
  parte(c.movimientos, "movimiento", "movimientos");
  parte(c.cobros, "cobro anotado", "cobros anotados");
  parte(c.repartos, "reparto", "repartos");
  parte(c.papeles, "papel", "papeles");
  QString lista = partes.takeLast();
  if (!partes.isEmpty()) lista = partes.join(QStringLiteral(", ")) + QStringLiteral(" y ") + lista;
  return QStringLiteral("Tiene ") + lista +
         (c.socios > 0 ? QStringLiteral("; sus saldos y extractos se conservan.") : QStringLiteral("; se conservan."));
}

QString preguntaBorrarPena(const Pena& pena, const ConservaPena& conserva) {
  QString t = QStringLiteral("¿Seguro que quieres eliminar la Peña ") + pena.nombreRecortado() + QStringLiteral("?");
  if (conserva.algo())
    t += QStringLiteral("\n\n") + lineaConservaPena(conserva) +
         QStringLiteral(" Se podrán consultar entre las peñas borradas.");
  return t;
}

Resultado borrarPena(Almacen& almacen, int registro, const Pena& esperada, const QDate& hoy, PenaConservada* borrada) {
  if (borrada) *borrada = {};
  Transaccion t(almacen);
  if (Resultado r = t.empezar(); !r) return r;
  if (registro < 1 || registro > static_cast<int>(t.penas.size()) ||
      !mismaPena(t.penas[static_cast<size_t>(registro - 1)], esperada))
    return Resultado::fallo(QStringLiteral("La peña %1 ya no está en el registro %2: otro programa ha cambiado las "
                                           "peñas. No se ha borrado nada.")
                                .arg(esperada.nombreRecortado())
                                .arg(registro));
  std::vector<Pena> penas = t.penas;
  penas.erase(penas.begin() + (registro - 1));
  contar(t, penas);
  PenaConservada conservada;
  // Record numbers move up: the database follows in the same change, so that the next
  // peña never takes the money of the one deleted (two peñas may share name and bets).
  if (const QFileInfo base(QDir(almacen.carpeta()).filePath(QLatin1String(BaseDatos::kArchivo)));
      base.isFile() && base.size() > 0) {
    if (Resultado r = t.abrirBase(); !r) return r;
    if (Resultado r = conservarBorrada(t, registro, hoy, conservada); !r) return r;
  }
  const Resultado r = t.terminar(t.escribirPenas(penas));
  if (r && borrada) *borrada = conservada;
  return r;
}

Resultado contarPremios(Almacen& almacen) {
  {
    // A look without the lock first: nothing to count and nothing to clear is the usual
    // case, and then nothing is touched.
    std::vector<Pena> penas;
    std::vector<Sorteo> sorteos;
    bool danadas = false;
    bool sorteosDanados = false;
    if (Resultado r = almacen.leerPenas(penas, &danadas); !r) return r;
    if (Resultado r = almacen.leerSorteos(sorteos, &sorteosDanados); !r) return r;
    // A damaged file of either kind is counted from only once it has been set aside; a
    // change cut short is finished first, whatever the files say.
    if ((danadas || sorteosDanados) && !Transaccion::hayDiario(almacen.carpeta())) return Resultado::bien();
    if (!sortilan::contarPremios(penas, sorteos) && !hayRestos(almacen)) return Resultado::bien();
  }
  Transaccion t(almacen);
  // Still damaged once the change cut short is finished: nothing to count until it is set aside.
  if (Resultado r = t.empezar(); !r) return t.penasDanadas ? Resultado::bien() : r;
  std::vector<Pena> penas = t.penas;
  contar(t, penas);
  if (ArchivoDe<Pena>::codificar(penas) == ArchivoDe<Pena>::codificar(t.penas)) return Resultado::bien();
  return t.terminar(t.escribirPenas(penas));
}

Resultado reiniciarContadores(Almacen& almacen, const QDate& hoy) {
  Transaccion t(almacen);
  if (Resultado r = t.empezar(); !r) return r;
  // Only the prize counting starts again: the money keeps where each peña really started
  // (the cost of the draws it played, its collections and its members' balances).
  if (!t.penas.empty()) {
    std::vector<qint64> ids;
    if (Resultado r = t.abrirBase(); !r) return r;
    if (Resultado r = registrarPenas(t.base(), t.penas, ids); !r) return r;
    if (Resultado r = guardarInicios(t.base(), t.penas, ids, hoy); !r) return r;
  }
  std::vector<Pena> penas = t.penas;
  for (Pena& p : penas) {
    p.aciertos.fill(0);
    p.ultimacuenta = 0;
    p.creacion = oleDesdeFecha(hoy);
  }
  contar(t, penas);
  return t.terminar(t.escribirPenas(penas));
}

}  // namespace sortilan::operaciones
