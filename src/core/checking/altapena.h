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
// A bet of a new peña that is played already: by another peña, or twice in the new one.
// Bets are compared by their numbers; the key is the ticket's, not the bet's.
struct ApuestaRepetida {
  std::vector<int> numeros;  // ascending
  QString otraPena;          // the name of the other peña; empty when it repeats inside the new one
};
// The numbers of each bet of `p`, ascending (a multiple is one bet of 6 to 11); none for a
// record whose tipo is not one the program writes.
std::vector<std::vector<int>> apuestasDe(const Pena& p);
// Every bet of `nueva` that another peña of `penas` plays, or that `nueva` plays twice.
std::vector<ApuestaRepetida> apuestasRepetidas(const Pena& nueva, const std::vector<Pena>& penas);
// The question asked before such a peña is saved.
QString preguntaRepetidas(const std::vector<ApuestaRepetida>& repetidas);

// Texts of the refusals, shared with the creation window.
extern const char* const kLimiteSencillasTexto;
extern const char* const kLimiteMultipleTexto;
extern const char* const kNombreLargoTexto;
extern const char* const kSinNombreTexto;
extern const char* const kPenaPosterior;
extern const char* const kSorteoPosterior;

}  // namespace sortilan
