#pragma once

#include <QDate>
#include <QUrl>
#include <vector>

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

// Stored draws dated on or after `desde` whose prize table is missing or not yet
// published, oldest first.
std::vector<QDate> tablasQueFaltan(const std::vector<Sorteo>& sorteos, const TablasPremios& tablas, const QDate& desde);

// The fewest windows of at most 150 days, oldest first, that hold every date of `faltan`
// (ascending): each starts at a missing date and ends at the last one it can hold.
std::vector<VentanaPeticion> ventanasPeticion(const std::vector<QDate>& faltan);

// The results service's request for the draws of one window.
QUrl direccionVentana(const QUrl& base, const VentanaPeticion& v);

// The creation day of the oldest peña; invalid when there is none.
QDate creacionMasAntigua(const std::vector<Pena>& penas);

}  // namespace sortilan
