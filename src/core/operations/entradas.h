#pragma once

#include <QDate>
#include <vector>

#include "download/guardado.h"
#include "store/almacen.h"

namespace sortilan::operaciones {

// The one way new draws reach the draw file, whatever brought them (the download, the
// manual entry, a CSV import). `nuevos` go oldest first and must all pass motivoNuevos
// against the newest stored draw, or none is stored. They take the reserved slots of
// the newest stored draw and are added by anadirSorteos, which also counts the peñas
// for them.
Guardado guardarSorteosNuevos(Almacen& almacen, std::vector<Sorteo> nuevos, const QDate& hoy);

// One answer of the download as one change: its new draws (as guardarSorteosNuevos
// judges them), their counts, its prize tables in sortilan.db and "www.txt", all kept or
// none.
Guardado guardarDescarga(Almacen& almacen, Descargado descargado, const QDate& hoy);

// Checks a draw typed in again (motivoSorteoAMano) and stores it.
Guardado anadirSorteoAMano(Almacen& almacen, const SorteoAMano& s, const QDate& hoy);

}  // namespace sortilan::operaciones
