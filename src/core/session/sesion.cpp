#include "session/sesion.h"

#include <algorithm>
#include <limits>

#include "base/fechas.h"

namespace sortilan {

QString ListaSorteos::total() const { return QStringLiteral("TOTAL: %1 sorteos.").arg(sorteos.size()); }

QString textoSorteo(const Sorteo& s) {
  QString t;
  for (int k = 1; k <= 4; ++k) {
    const int n = s.numero(k);
    if (n < 10) t += QLatin1Char(' ');
    t += QString::number(n) + QLatin1Char('-');
  }
  t += QString::number(s.numero(5)) + QStringLiteral("  NÚM.CLAVE: ") + QString::number(s.clave());
  return t;
}

QString textoFechaSorteo(const Sorteo& s) { return fechaCorta(s.fecha) + QStringLiteral("  ") + diasemana(s.fecha); }

QString proximoSorteo(double ultimaFecha, const QDate& hoy) {
  QDate d = hoy;
  if (oleDesdeFecha(hoy) == ultimaFecha) d = d.addDays(1);
  while (d.dayOfWeek() != Qt::Sunday) d = d.addDays(1);
  return fechaLarga(oleDesdeFecha(d));
}

QString sorteosQueFaltan(double ultimaFecha, const QDate& hoy) {
  const double g = oleDesdeFecha(hoy) - ultimaFecha;
  if (g <= 7) return QString();
  if (g < 15) return QStringLiteral("Falta 1 sorteo por actualizar");
  if (ultimaFecha != 0) return QStringLiteral("Faltan %1 sorteos por actualizar").arg(static_cast<long long>(g) / 7);
  return QStringLiteral("No se ha actualizado nunca");
}

EstadoSorteos Sesion::cargasorteos(const QDate& hoy) {
  // One read of each file; the status and the played-draws count come from memory.
  firma_ = almacen_.firma();
  std::vector<Sorteo> todos;
  lectura_ = almacen_.leerSorteos(todos);
  if (Resultado r = almacen_.leerPenas(penas_, &penasDanadas_); !r && lectura_) lectura_ = std::move(r);
  proximapena = penas_.empty() ? 0 : static_cast<int>(penas_.size()) + 1;

  double primeraCreacion = std::numeric_limits<double>::infinity();
  for (const Pena& p : penas_) primeraCreacion = std::min(primeraCreacion, p.creacion);
  sorteosjugados = static_cast<int>(
      std::count_if(todos.begin(), todos.end(), [&](const Sorteo& s) { return primeraCreacion <= s.fecha; }));

  proximoreg = static_cast<int>(todos.size()) + 1;
  sorteo = todos.empty() ? Sorteo{} : todos.back();

  EstadoSorteos e;
  if (sorteo.fecha == 0) {
    e.ultimo = QStringLiteral("Fichero de datos vacío.");
  } else {
    e.ultimo = fechaLarga(sorteo.fecha);
    e.casillasActivas = true;
  }
  e.desplazamientoActivo = proximoreg > 1;
  e.desplazamientoMaximo = std::max(1, proximoreg - 1);
  e.proximo = proximoSorteo(sorteo.fecha, hoy);
  e.faltan = sorteosQueFaltan(sorteo.fecha, hoy);
  e.faltanVisible = !e.faltan.isEmpty();
  return e;
}

ListaSorteos Sesion::listasorteos() {
  ListaSorteos l;
  // Only the draws counted by cargasorteos are listed; a partial tail is not a draw.
  // A file that cannot be read is not listed as if it were empty: the caller tells it.
  bool parcial = false;
  if (Resultado r = almacen_.sorteos().leerTodos(l.sorteos, &parcial); !r) {
    ListaSorteos ilegible;
    ilegible.danado = true;
    return ilegible;
  }
  if (static_cast<int>(l.sorteos.size()) > proximoreg - 1)
    l.sorteos.resize(static_cast<size_t>(std::max(0, proximoreg - 1)));
  // A partial record at the end is a damaged file, not a shorter one.
  if (parcial || primerSorteoDanado(l.sorteos) >= 0) {
    ListaSorteos danada;
    danada.danado = true;
    return danada;
  }
  for (const Sorteo& s : l.sorteos) {
    for (int k = 1; k <= 5; ++k) {
      const int n = s.numero(k);
      if (n <= 27)
        ++l.frecuencias.bajos[static_cast<size_t>(n)];
      else
        ++l.frecuencias.altos[static_cast<size_t>(n - 27)];
    }
    ++l.frecuencias.clave[static_cast<size_t>(s.clave())];
  }
  return l;
}

}  // namespace sortilan
