#include "operations/entradas.h"

#include "operations/sorteos.h"

namespace sortilan::operaciones {

Guardado guardarSorteosNuevos(Almacen& almacen, std::vector<Sorteo> nuevos, const QDate& hoy) {
  Guardado g;
  if (nuevos.empty()) return g;
  // Judged whole before the change starts, so that a file or an answer with one bad draw
  // adds nothing of it; anadirSorteos judges again under the lock.
  const Sorteo ultimo = almacen.sorteos().ultimo();
  if (const QString motivo = motivoNuevos(ultimo, nuevos, hoy); !motivo.isEmpty()) {
    g.resultado = Resultado::fallo(motivo);
    return g;
  }
  if (almacen.sorteos().cuenta() + static_cast<int>(nuevos.size()) > kMaximoSorteos) {
    g.resultado =
        Resultado::fallo(QStringLiteral("El archivo de sorteos no admite más de %1 sorteos.").arg(kMaximoSorteos));
    return g;
  }
  for (Sorteo& s : nuevos) {
    s.numeros[6] = ultimo.numeros[6];
    s.numeros[7] = ultimo.numeros[7];
  }
  const Anadidos a = anadirSorteos(almacen, nuevos, hoy);
  g.resultado = a.resultado;
  g.guardados = a.anadidos;
  return g;
}

Guardado anadirSorteoAMano(Almacen& almacen, const SorteoAMano& s, const QDate& hoy) {
  if (const QString motivo = motivoSorteoAMano(almacen, s, hoy); !motivo.isEmpty())
    return {Resultado::fallo(motivo), 0};
  return guardarSorteosNuevos(almacen, {sorteoDe(s)}, hoy);
}

}  // namespace sortilan::operaciones
