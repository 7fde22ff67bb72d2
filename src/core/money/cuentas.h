#pragma once

#include <QDate>
#include <QString>
#include <optional>
#include <vector>

#include "base/dinero.h"
#include "money/registrodinero.h"
#include "store/pena.h"
#include "store/sorteo.h"

namespace sortilan {

constexpr Centimos kPrecioPorDefecto = 150;

// The price of one simple bet: "[juego] precio" of sortilan.ini in `carpeta`, written the
// Spanish way ("1,50"); 1,50 € when absent or not a positive amount.
Centimos precioApuesta(const QString& carpeta);

// Simple bets a peña plays in each draw: its bets, or every 5-number combination of its
// multiple (6, 21, 56, 126, 252, 462); 0 for a record that is not a valid kind of bet.
int apuestasPorSorteo(const Pena& p);

// Official category of a bet with `aciertos` hits (2..5): 1 = 5 + 1 ... 8 = 2 + 0.
inline int categoriaOficial(int aciertos, bool clave) { return 9 - (2 * (aciertos - 2) + 1 + (clave ? 1 : 0)); }

// `apuestas` simple bets that won the same prize.
struct LineaPremio {
  int categoria = 0;  // official 1..8; 0 for the reintegro
  int apuestas = 0;
  std::optional<Centimos> porApuesta;  // empty: importe pendiente
  std::optional<Centimos> importe() const {
    return porApuesta ? std::optional<Centimos>(*porApuesta * apuestas) : std::nullopt;
  }
};

// What a peña paid and won in one draw.
struct CuentaSorteo {
  QDate fecha;
  int apuestas = 0;
  Centimos coste = 0;
  std::vector<LineaPremio> premios;  // the categories won, 1ª first
  std::optional<LineaPremio> reintegro;

  bool hayPremio() const { return !premios.empty() || reintegro.has_value(); }
  Centimos ganadoConocido() const;
  // Prize bets whose amount is not known yet.
  int apuestasSinImporte() const;
  // Everything won; empty while a part of it is pending (never 0 € for an unknown prize).
  std::optional<Centimos> ganado() const;
};

struct CuentaPena {
  int registro = 0;  // 1-based record of apuestas.dat
  QString nombre;
  std::vector<CuentaSorteo> sorteos;  // every draw played, oldest first

  Centimos coste() const;
  Centimos ganadoConocido() const;
  int premiosSinImporte() const;
};

// One draw for one peña, priced with the draw's table (null when none is stored). A
// table that does not list the reintegro pays none.
CuentaSorteo cuentaSorteo(const Pena& p, const Sorteo& s, const TablaPremios* tabla, Centimos precio);
// The same with the peña's masks worked out once for many draws.
struct MascarasPena;
CuentaSorteo cuentaSorteo(const MascarasPena& m, const Pena& p, const Sorteo& s, const TablaPremios* tabla,
                          Centimos precio);

// The draws a peña played: every valid draw dated on or after its creation.
CuentaPena cuentaPena(const Pena& p, int registro, const std::vector<Sorteo>& sorteos, const TablasPremios& tablas,
                      Centimos precio);

}  // namespace sortilan
