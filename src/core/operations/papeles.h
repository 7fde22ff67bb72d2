#pragma once

#include <QDateTime>
#include <QStringList>
#include <vector>

#include "base/resultado.h"
#include "papers/participacion.h"
#include "store/almacen.h"

namespace sortilan::operaciones {

// The participation papers. Issuing stores the paper in sortilan.db in the folder's
// transaction; each one issued is a new paper with its own number and code.

struct PeticionPapel {
  QDate desde;
  QDate hasta;
  bool conNif = false;
  Organizador organizador;
  QDateTime emitido;
};

// The paper of member `numero` of peña `registro` (1-based record).
Resultado emitirPapel(Almacen& almacen, int registro, int numero, const PeticionPapel& peticion, PapelGuardado& papel);

// One paper for each member playing in the period, all in one change. `omitidos` receives
// the members with shares in the period who get none, each with the reason.
Resultado emitirPapelesSorteo(Almacen& almacen, int registro, const PeticionPapel& peticion,
                              std::vector<PapelGuardado>& papeles, QStringList* omitidos = nullptr);

// The paper stays listed, marked voided. A paper already voided or a code this folder did
// not issue is refused.
Resultado anularPapel(Almacen& almacen, const QString& codigo, PapelGuardado& papel);

}  // namespace sortilan::operaciones
