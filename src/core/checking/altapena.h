#pragma once

#include <QDate>
#include <QString>
#include <vector>

#include "store/almacen.h"

namespace sortilan {

// A peña as the user enters it, before it becomes a record: a name, the key number
// and either simple bets of 5 numbers or one multiple bet of 6 to 11.
struct PenaNueva {
  QString nombre;
  int clave = -1;
  std::vector<std::vector<int>> sencillas;
  std::vector<std::vector<int>> multiples;
};

// What the creation refuses, with the text shown to the user.
Resultado validarPenaNueva(const PenaNueva& p);

// The record that is appended: name in upper case, numbers of each bet ascending,
// the key after the numbers of row 1, no prizes, created today.
Pena registroPenaNueva(const PenaNueva& p, const QDate& hoy);

// The two date checks before saving: the first peña and the newest draw must not be
// dated after today (a wrong computer clock would make the new peña count old draws).
Resultado comprobarFechasCreacion(const std::vector<Pena>& penas, const std::vector<Sorteo>& sorteos, const QDate& hoy);
// Texts of the refusals, shared with the creation window.
extern const char* const kLimiteSencillasTexto;
extern const char* const kLimiteMultipleTexto;
extern const char* const kNombreLargoTexto;
extern const char* const kSinNombreTexto;
extern const char* const kPenaPosterior;
extern const char* const kSorteoPosterior;

}  // namespace sortilan
