#include "operations/entradas.h"

#include "money/tablapremios.h"
#include "operations/dinero.h"
#include "operations/sorteos.h"
#include "operations/transaccion.h"

namespace sortilan::operaciones {

namespace {

// Judged whole before the change starts, so that a file or an answer with one bad draw
// adds nothing of it; anadirSorteos judges again under the lock. Takes the reserved slots
// of the newest stored draw.
Resultado prepararNuevos(Almacen& almacen, std::vector<Sorteo>& nuevos, const QDate& hoy) {
  const Sorteo ultimo = almacen.sorteos().ultimo();
  if (const QString motivo = motivoNuevos(ultimo, nuevos, hoy); !motivo.isEmpty())
    return Resultado::fallo(Resultado::Clase::Entrada, motivo);
  if (almacen.sorteos().cuenta() + static_cast<int>(nuevos.size()) > kMaximoSorteos)
    return Resultado::fallo(Resultado::Clase::Entrada,
                            QStringLiteral("El archivo de sorteos no admite más de %1 sorteos.").arg(kMaximoSorteos));
  for (Sorteo& s : nuevos) {
    s.numeros[6] = ultimo.numeros[6];
    s.numeros[7] = ultimo.numeros[7];
  }
  return Resultado::bien();
}

}  // namespace

Guardado guardarSorteosNuevos(Almacen& almacen, std::vector<Sorteo> nuevos, const QDate& hoy) {
  Guardado g;
  if (nuevos.empty()) return g;
  if (g.resultado = prepararNuevos(almacen, nuevos, hoy); !g.resultado) return g;
  const Anadidos a = anadirSorteos(almacen, nuevos, hoy);
  g.resultado = a.resultado;
  g.guardados = a.anadidos;
  return g;
}

Guardado guardarDescarga(Almacen& almacen, Descargado d, const QDate& hoy) {
  Guardado g;
  if (d.nuevos.empty() && d.respuesta.isEmpty() && d.buffer.isEmpty()) return g;
  if (!d.nuevos.empty())
    if (g.resultado = prepararNuevos(almacen, d.nuevos, hoy); !g.resultado) return g;
  const std::vector<TablaPremios> tablas =
      d.respuesta.isEmpty() ? std::vector<TablaPremios>{} : leerTablasRespuesta(d.respuesta);
  Transaccion t(almacen);
  if (g.resultado = t.empezar(); !g.resultado) return g;
  int anadidos = 0;
  if (!d.nuevos.empty()) {
    const Anadidos a = anadirSorteosEn(t, d.nuevos, hoy);
    // All of the answer or none of it: a draw refused under the lock stores nothing.
    if (!a.resultado) {
      g.resultado = a.resultado;
      return g;
    }
    anadidos = a.anadidos;
  }
  if (!tablas.empty())
    if (g.resultado = guardarTablasEn(t, tablas); !g.resultado) return g;
  if (!d.buffer.isEmpty())
    if (g.resultado = t.escribir(almacen.ruta(Almacen::kBuffer), d.buffer); !g.resultado) return g;
  if (g.resultado = t.confirmar(); !g.resultado) return g;
  g.guardados = anadidos;
  return g;
}

Guardado anadirSorteoAMano(Almacen& almacen, const SorteoAMano& s, const QDate& hoy) {
  if (const QString motivo = motivoSorteoAMano(almacen, s, hoy); !motivo.isEmpty())
    return {Resultado::fallo(motivo), 0};
  return guardarSorteosNuevos(almacen, {sorteoDe(s)}, hoy);
}

}  // namespace sortilan::operaciones
