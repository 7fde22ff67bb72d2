#pragma once

#include <QDate>
#include <QUrl>
#include <vector>

#include "money/balance.h"
#include "money/registrodinero.h"
#include "store/pena.h"
#include "store/sorteo.h"

namespace sortilan {

// The longest span the results service is asked for at once, both ends included.
constexpr int kDiasVentana = 150;

struct VentanaPeticion {
  QDate desde;
  QDate hasta;
  bool operator==(const VentanaPeticion&) const = default;
};

// The draws, on or after `desde` (invalid: any), in which some peña won a prize whose
// amount is not known: the table of that draw, or its row of that category, is missing.
// These are the draws whose prizes read "importe pendiente". Oldest first.
std::vector<QDate> importesQueFaltan(const std::vector<Pena>& penas, const std::vector<Sorteo>& sorteos,
                                     const DatosDinero& datos, const QDate& desde);

// The fewest windows of at most 150 days, oldest first, that hold every date of `faltan`
// (ascending): each starts at a missing date and ends at the last one it can hold.
std::vector<VentanaPeticion> ventanasPeticion(const std::vector<QDate>& faltan);

// The results service's request for the draws of one window.
QUrl direccionVentana(const QUrl& base, const VentanaPeticion& v);

}  // namespace sortilan
