#pragma once

#include <optional>
#include <vector>

#include "base/resultado.h"
#include "papers/participacion.h"
#include "store/basedatos.h"
#include "store/pena.h"

namespace sortilan {

// What sortilan.db keeps of the participation papers. Readers accept a database that is
// not open (no file yet): nothing was issued. Writers run inside a transaction.

// The number the next paper issued gets.
Resultado siguientePapel(BaseDatos& base, qint64& numero);
// Stores an issued paper of peña `pena` (its id), member `socio` (their id), exactly as
// its text says, with the code of that text.
Resultado insertarPapel(BaseDatos& base, qint64 pena, qint64 socio, const PapelParticipacion& p,
                        PapelGuardado& guardado);
// The papers of peña `pena`, oldest first.
Resultado leerPapeles(BaseDatos& base, qint64 pena, std::vector<PapelGuardado>& papeles);

// The paper of a code as typed (normalizarCodigo): the whole code, or its short form or
// any longer beginning when only one paper starts so. `papel` is empty when none does; a
// beginning shared by several papers is refused.
Resultado buscarPapel(BaseDatos& base, const QString& codigo, std::optional<PapelGuardado>& papel);
Resultado marcarAnulado(BaseDatos& base, qint64 numero);

}  // namespace sortilan

namespace sortilan {

// Reading from the data folder (sortilan.db never created or changed here).
// The papers issued for peña `registro` (1-based record of `penas`).
Resultado leerPapelesPena(const QString& carpeta, const std::vector<Pena>& penas, int registro,
                          std::vector<PapelGuardado>& papeles);
// The paper a code names, if this folder issued it. A code shorter than the short form or
// with other characters is refused.
Resultado verificarCodigo(const QString& carpeta, const QString& codigo, std::optional<PapelGuardado>& papel);

}  // namespace sortilan
