#pragma once

#include <QDate>
#include <QString>
#include <optional>
#include <vector>

#include "store/almacen.h"

namespace sortilan::operaciones {

// Every change of the draw file, for the window and the command line alike. The draws
// are written before the peñas' counters; where a change takes draws away, the prizes
// counted from them are taken back out first (see recontar), so a crash at any point
// leaves files that the next count brings to the right totals.

// Most draws the file holds: its record counter is 16-bit.
inline constexpr int kMaximoSorteos = 32766;

// Texts shared by the window and the command line.
extern const QString kNoValido;
extern const QString kImportado;
extern const QString kPreguntaBorrarTodos;
extern const QString kPreguntaAciertos;
// What the window says under kPreguntaAciertos: a reset starts only the prize counting again.
extern const QString kDineroConservado;
extern const QString kPreguntaBorrarUno;
extern const QString kDanado;
extern const QString kTituloDanado;

// Error numbers of the import's failure message.
inline constexpr int kErrNoEncontrado = 53;
inline constexpr int kErrAcceso = 75;

enum class Importe { Importado, NoValido, Fallo };
// How an import ended: the refusal or the failure in `resultado`, for the caller to show.
struct Importacion {
  Importe estado = Importe::Fallo;
  Resultado resultado;
  bool operator==(Importe e) const { return estado == e; }
};

// Replaces the draws by the file `archivo` once every record of it passes the rule of a
// sound draw file and its first draw is a Sunday. A valid, non-empty current file is
// kept as numeros.bak first; a damaged one is set aside as numeros.err. A refused or
// failed import changes nothing. Shows nothing: the caller shows the outcome once the
// change has ended (avisarImportacion).
Importacion importarSorteos(Almacen& almacen, const QString& archivo);
// The boxes of an import's outcome (success, refusal, or the failure).
void avisarImportacion(const Importacion& i);
// The check of record 1 that an import has always made.
bool validoParaImportar(const Sorteo& primero);

// Deletes the draw `cual` (found again by its date and numbers), taking its prizes back
// out of the peñas that had counted it.
Resultado borrarSorteo(Almacen& almacen, const Sorteo& cual);
// The stored draw of day `fecha`, if any.
std::optional<Sorteo> sorteoDelDia(Almacen& almacen, const QDate& fecha);

// Deletes every draw, taking their prizes back out of the counters.
Resultado borrarSorteos(Almacen& almacen);

// Stores new draws, oldest first, after the newest stored one, and counts the peñas for
// them. Each must be a sound record, later than the draw before it and not dated after
// `hoy`; the draws before the first that is not are stored, and `resultado` fails saying
// which draw was refused and why. A write failure stores none of them. `anadidos` is
// how many were stored.
struct Anadidos {
  Resultado resultado;
  int anadidos = 0;
};
Anadidos anadirSorteos(Almacen& almacen, const std::vector<Sorteo>& nuevos, const QDate& hoy);
// The same inside a change that also stores other things; nothing is kept until `t` is.
class Transaccion;
Anadidos anadirSorteosEn(Transaccion& t, const std::vector<Sorteo>& nuevos, const QDate& hoy);

// A damaged draw file: keeps the file under a name not yet used (numeros.err, then
// numeros.2.err, numeros.3.err, ...) and leaves an empty draw file. `danado`: the file
// was found damaged, and the caller warns the user (kTituloDanado, kDanado) whatever
// came of it; `apartado` is false when it could not be done (the failure is returned)
// or when another program had already mended the file.
struct Apartado {
  Resultado resultado;
  bool danado = false;
  bool apartado = false;
  QString archivo;
};
Apartado apartarSorteosDanados(Almacen& almacen);

}  // namespace sortilan::operaciones
