#pragma once

#include <array>
#include <memory>
#include <vector>

#include "checking/nucleo.h"
#include "checking/resultados.h"
#include "store/almacen.h"

namespace sortilan {

// The two view choices of the result lists, as the checking reads them.
struct Casillas {
  bool historico = false;    // also draws before a peña's creation
  bool soloPremios = false;  // only winning bets
};

// The prize banner state shared by both checkers: `avisopremio` (0 off, 1 simple,
// 2 multiple, 3 both) and whether the banner blinks. Only a check right after a download
// (its new-draws notice still on screen) starts the banner.
struct AvisoPremio {
  int avisopremio = 0;
  bool parpadeo = false;
  bool trasDescarga = false;
};

// Checks the peñas against the newest draws, in memory, and builds the rows of both
// result lists. It only chooses what is shown: the prize counters are kept by
// contarPremios (checking/cuenta.h) whenever the draws change, whatever the range on
// screen. Records whose `tipo` is not a valid kind of bet get no rows.
class Comprobacion {
 public:
  Comprobacion(std::vector<Sorteo> sorteos, std::vector<Pena> penas);

  // The simple bets over the `n` newest draws; `hayMultiples()` then tells whether
  // the caller must hand the same range to compruebamultiple.
  std::shared_ptr<ListaResultados> compruebapenas(int n, const Casillas& casillas, AvisoPremio& aviso);
  std::shared_ptr<ListaResultados> compruebamultiple(int n, const Casillas& casillas, AvisoPremio& aviso);
  bool hayMultiples() const { return hayMultiples_; }

  const std::vector<Pena>& penas() const { return *penas_; }

 private:
  struct Preparada {
    MascarasPena mascaras;
    bool valida = false;
  };
  // Draw indices of the range, newest first; empty when there are no draws.
  std::pair<int, int> rango(int n) const;

  std::shared_ptr<const std::vector<Sorteo>> sorteos_;
  std::shared_ptr<const std::vector<Pena>> penas_;
  std::vector<Preparada> preparadas_;
  bool hayMultiples_ = false;
};

// What a check left for the windows. A list is null when its checker did not run, in
// which case the view keeps what it showed.
struct ResultadoComprobacion {
  std::shared_ptr<const ListaResultados> sencillas;
  std::shared_ptr<const ListaResultados> multiples;
};

// Reads the draw file and the peña file once each and builds the lists; nothing is
// written. compruebapenas runs compruebamultiple too when a multiple bet exists.
ResultadoComprobacion compruebapenas(Almacen& almacen, int n, const Casillas& casillas, AvisoPremio& aviso);
ResultadoComprobacion compruebamultiple(Almacen& almacen, int n, const Casillas& casillas, AvisoPremio& aviso);

}  // namespace sortilan
