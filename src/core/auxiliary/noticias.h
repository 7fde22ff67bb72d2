#pragma once

#include <QDate>
#include <QUrl>
#include <functional>

#include "store/almacen.h"

namespace sortilan {

inline constexpr const char* kInforme = "informe.dat";

// The start-up check fetches news only once the newest draw is at least 3 days old.
bool tocaComprobarInforme(double fechaUltimoSorteo, const QDate& hoy);
// Freshly fetched news opens the window when its length changed and it has at least
// 301 characters (bytes: the page is measured as it was stored).
bool avisainforme(qsizetype antes, qsizetype despues);
// The news window shows the page only when the file has more than 10 bytes.
bool informeVisible(qint64 tamano);

// Start-up news check against the maker's news address (empty: no server, nothing
// happens). Fetches only with a draw at least 3 days old and at least one peña, and
// stores what arrived through `guardar` (the news operation). Every failure is silent.
// True when the news window must open.
using GuardarNoticias = std::function<Resultado(const QByteArray&)>;
bool compruebainforme(Almacen& almacen, double fechaUltimoSorteo, const QDate& hoy, const QUrl& direccion,
                      const GuardarNoticias& guardar);

// The support label of the news window drifts between 360 and 3700 twips.
struct DerivaEtiqueta {
  int izquierda = 360;  // twips
  int paso = 100;
  void avanzar();
};

}  // namespace sortilan
