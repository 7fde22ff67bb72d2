#pragma once

#include <QDate>
#include <QString>
#include <map>
#include <vector>

#include "base/resultado.h"
#include "money/balance.h"
#include "store/pena.h"

namespace sortilan {

// A desktop notice: a prize of a peña, a deadline to collect one, or a scheduled
// download that failed.
struct Aviso {
  enum class Tipo { Premio, Plazo, Fallo };
  Tipo tipo = Tipo::Premio;
  QString titulo;
  QString cuerpo;
  // What is remembered once it was told (several prizes in one notice: one key each).
  std::vector<QString> claves;
};

// Notices already given: the key and the last day it was told.
using Avisados = std::map<QString, QDate>;

// More peñas with a prize than this go into one notice.
constexpr int kPremiosPorSeparado = 3;

// A prize is told once, for as long as it can still be collected; a deadline within 14
// days once a day. `cuentas` holds at least the collections still collectable.
std::vector<Aviso> avisosPendientes(const std::vector<Pena>& penas, const Cuentas& cuentas, const Avisados& hechos,
                                    const QDate& hoy);

// "No se pudieron bajar los sorteos: …" for a scheduled run nobody watches.
Aviso avisoFallo(const QString& causa);

// What sortilan.db remembers (never creating or migrating it: empty without one).
Resultado leerAvisados(const QString& carpeta, Avisados& hechos);
// Remembers the notices told today, as one change of sortilan.db.
Resultado anotarAvisados(const QString& carpeta, const std::vector<QString>& claves, const QDate& hoy);

}  // namespace sortilan
