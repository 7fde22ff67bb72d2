#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "store/pena.h"
#include "store/sorteo.h"

namespace sortilan {

enum class ClaseFila : uint8_t { Separador, Cabecera, Fecha, Apuesta, Continuacion };

// One row of a result list, kept compact: the texts are worked out when the row is shown.
struct FilaResultado {
  uint16_t sorteo = 0;  // index into ListaResultados::sorteos()
  uint16_t pena = 0;    // index into ListaResultados::penas()
  ClaseFila clase = ClaseFila::Separador;
  uint8_t indice = 0;    // the bet (0-based) of a simple bet row; the prize line of a multiple
  uint8_t aciertos = 0;  // hits of the bet
  uint8_t clave = 0;     // 1 when the key number matched
};
static_assert(sizeof(FilaResultado) == 8);

// The simple-bet list (8 columns) or the multiple-bet list (14 columns).
class ListaResultados {
 public:
  enum class Tipo { Sencillas, Multiples };

  ListaResultados(Tipo tipo, std::shared_ptr<const std::vector<Sorteo>> sorteos,
                  std::shared_ptr<const std::vector<Pena>> penas);

  Tipo tipo() const { return tipo_; }
  int columnas() const { return tipo_ == Tipo::Sencillas ? 8 : 14; }
  int filas() const { return static_cast<int>(filas_.size()); }
  static QStringList cabeceras(Tipo tipo);
  // Column widths in hundredths of a millimetre.
  static std::vector<int> anchuras(Tipo tipo);

  QString texto(int fila, int columna) const;
  // 0xRRGGBB, or nothing for the default colour.
  std::optional<uint32_t> color(int fila, int columna) const;

  const FilaResultado& fila(int i) const { return filas_[static_cast<size_t>(i)]; }
  const std::vector<Sorteo>& sorteos() const { return *sorteos_; }
  const std::vector<Pena>& penas() const { return *penas_; }

  std::vector<FilaResultado>& filasInternas() { return filas_; }

 private:
  Tipo tipo_;
  std::shared_ptr<const std::vector<Sorteo>> sorteos_;
  std::shared_ptr<const std::vector<Pena>> penas_;
  std::vector<FilaResultado> filas_;
};

}  // namespace sortilan
