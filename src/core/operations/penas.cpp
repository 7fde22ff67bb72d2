#include "operations/penas.h"

#include <QDir>
#include <bit>

#include "base/fechas.h"
#include "checking/altapena.h"
#include "checking/cuenta.h"
#include "money/registrodinero.h"
#include "operations/transaccion.h"
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

QString preguntaBorrarPena(const Pena& pena) {
  return QStringLiteral("¿Seguro que quieres eliminar la Peña ") + pena.nombreRecortado() + QStringLiteral("?");
}

Resultado borrarPena(Almacen& almacen, int registro, const Pena& esperada) {
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
  return t.terminar(t.escribirPenas(penas));
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
