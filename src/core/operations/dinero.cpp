#include "operations/dinero.h"

#include <QSqlQuery>
#include <algorithm>

#include "base/fechas.h"
#include "money/cobros.h"
#include "money/registrodinero.h"
#include "operations/transaccion.h"

namespace sortilan::operaciones {

namespace {

// Every download brings again the tables of the last weeks, nearly always as stored.
// What cannot be read is left to the change itself, which says why; a file another
// program holds has been waited for already and is said at once.
Resultado cambianTablas(const QString& carpeta, const std::vector<TablaPremios>& tablas, bool* cambian) {
  *cambian = true;
  BaseDatos base;
  TablasPremios guardadas;
  Resultado r = base.abrir(carpeta, BaseDatos::Modo::Lectura);
  if (r) r = leerTablas(base, guardadas);
  if (!r) return r.clase == Resultado::Clase::Ocupado ? r : Resultado::bien();
  *cambian = false;
  for (const TablaPremios& t : tablas) {
    if (!t.fecha.isValid()) continue;
    const auto g = guardadas.find(t.fecha);
    if (g == guardadas.end() || combinar(g->second, t) != g->second) *cambian = true;
  }
  return Resultado::bien();
}

}  // namespace

Resultado guardarTablasPremios(const QString& carpeta, const std::vector<TablaPremios>& tablas, int* guardadas) {
  if (guardadas) *guardadas = 0;
  bool cambian = true;
  if (Resultado r = cambianTablas(carpeta, tablas, &cambian); !r || !cambian) return r;
  return cambiarBase(carpeta, [&](BaseDatos& base) { return guardarTablas(base, tablas, guardadas); });
}

Resultado guardarPremiosRespuesta(const QString& carpeta, const QByteArray& respuesta, int* guardadas) {
  return guardarTablasPremios(carpeta, leerTablasRespuesta(respuesta), guardadas);
}

Resultado guardarTablasEn(Transaccion& t, const std::vector<TablaPremios>& tablas, int* guardadas) {
  if (guardadas) *guardadas = 0;
  bool cambian = true;
  if (Resultado r = cambianTablas(t.almacen.carpeta(), tablas, &cambian); !r || !cambian) return r;
  if (Resultado r = t.abrirBase(); !r) return r;
  return guardarTablas(t.base(), tablas, guardadas);
}

Resultado marcarCobro(Almacen& almacen, int registro, const QDate& sorteo, const std::optional<QDate>& dia,
                      const QDate& hoy) {
  return cambiarBase(almacen.carpeta(), [&](BaseDatos& base) {
    // The files as they are now, inside the lock: another window may have changed them.
    const std::vector<Pena> penas = almacen.penas().leerTodos();
    if (registro < 1 || registro > static_cast<int>(penas.size()))
      return Resultado::fallo(QStringLiteral("No hay ninguna peña en el registro %1.").arg(registro));
    // What it played since it really started, also after a reset of its counters.
    std::vector<Pena> delDinero = penas;
    if (Resultado r = leerPenasDelDinero(base, delDinero); !r) return r;
    const Pena& pena = delDinero[static_cast<size_t>(registro - 1)];
    TablasPremios tablas;
    if (Resultado r = leerTablas(base, tablas); !r) return r;
    // The price plays no part in what is collected.
    const CuentaPena cuenta = cuentaPena(pena, registro, almacen.sorteos().leerTodos(), tablas, kPrecioPorDefecto);
    const auto s = std::find_if(cuenta.sorteos.begin(), cuenta.sorteos.end(),
                                [&](const CuentaSorteo& c) { return c.fecha == sorteo; });
    if (s == cuenta.sorteos.end())
      return Resultado::fallo(
          QStringLiteral("La peña %1 no jugó ningún sorteo del %2.").arg(cuenta.nombre, fechaCorta(sorteo)));
    const std::optional<Cobro> cobro = cobroDe(cuenta, *s, QDate(), hoy);
    if (!cobro)
      return Resultado::fallo(
          QStringLiteral("La peña %1 no tiene premio en el sorteo del %2.").arg(cuenta.nombre, fechaCorta(sorteo)));
    if (dia) {
      if (*dia < sorteo) return Resultado::fallo(QStringLiteral("La fecha de cobro no puede ser anterior al sorteo."));
      if (*dia > hoy) return Resultado::fallo(QStringLiteral("La fecha de cobro no puede ser posterior a hoy."));
      // Marked on the day it is marked, an expired prize needs the day it really was
      // collected; a later day is impossible.
      if (*dia > cobro->limite && *dia == hoy)
        return Resultado::fallo(QStringLiteral("El premio caducó el %1 sin marcarse cobrado. Si se cobró a tiempo, "
                                               "indique el día en que se cobró: el %1 o antes.")
                                    .arg(fechaCorta(cobro->limite)));
      if (*dia > cobro->limite)
        return Resultado::fallo(
            QStringLiteral("El premio caducó el %1: no se pudo cobrar después.").arg(fechaCorta(cobro->limite)));
    }
    std::vector<qint64> ids;
    if (Resultado r = registrarPenas(base, penas, ids); !r) return r;
    const qint64 id = ids[static_cast<size_t>(registro - 1)];
    // A prize already split among the members keeps the collection the split was made from.
    QSqlQuery q(base.conexion());
    if (Resultado r = base.ejecutar(q, QStringLiteral("SELECT COUNT(*) FROM repartos WHERE pena = ? AND sorteo = ?"),
                                    {id, sorteo.toString(Qt::ISODate)});
        !r)
      return r;
    if (q.next() && q.value(0).toLongLong() > 0)
      return Resultado::fallo(QStringLiteral("El premio del %1 ya está repartido entre los socios: su cobro no "
                                             "se puede cambiar.")
                                  .arg(fechaCorta(sorteo)));
    return ponerCobro(base, id, sorteo, dia);
  });
}

}  // namespace sortilan::operaciones
