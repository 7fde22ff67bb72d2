#pragma once

#include <QDate>
#include <QString>
#include <array>
#include <vector>

#include "base/resultado.h"
#include "store/almacen.h"

namespace sortilan {

// What storing new draws did.
struct Guardado {
  Resultado resultado;  // a failure names the reason; `permiso` when a file could not be written
  int guardados = 0;    // draws now in the draw file that were not before
};

// The one way new draws reach the draw file, whatever brought them (the download, the
// manual entry, a CSV import). `nuevos` go oldest first, each newer than the one before
// and than the newest stored draw, none after `hoy`, each with a sound combination;
// anything else is refused whole. The draws are written together (the whole file is
// replaced) and take the reserved slots of the newest stored draw; then the peñas are
// counted for them, so their prizes are in the records before anything else runs.
Guardado guardarSorteosNuevos(Almacen& almacen, std::vector<Sorteo> nuevos, const QDate& hoy);

// A draw typed in by the user.
struct SorteoAMano {
  QDate fecha;
  std::array<int, 5> numeros{};
  int clave = -1;
};

// Why `s` cannot be added, as the sentence shown to the user; "" when it can. `faltan`
// receives the draw days between the newest stored draw and it: adding it would leave
// them out of the history for good, so the user is asked first.
QString motivoSorteoAMano(Almacen& almacen, const SorteoAMano& s, const QDate& hoy, int* faltan = nullptr);
// Checks `s` again and stores it (numbers ascending, as downloaded draws are).
Guardado anadirSorteoAMano(Almacen& almacen, const SorteoAMano& s, const QDate& hoy);

// The question before draws are added after a gap of `faltan` draw days following the
// newest stored draw; `primero` is the date of the first draw to be added.
QString preguntaHueco(double ultimaFecha, const QDate& primero, int faltan);

// Titles of the two ways in that need no service.
extern const QString kTituloAMano;
extern const QString kTituloCsv;

}  // namespace sortilan
