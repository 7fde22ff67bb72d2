#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "store/archivoregistros.h"
#include "store/calibracion.h"

namespace sortilan {

// The X and Y boxes of the print window over record 1 of "nums.ini". Every change
// is stored at once (through `guardar`, the calibration operation), so the value
// printed is always the one on disk.
class AjusteCalibracion {
 public:
  using Guardar = std::function<Resultado(const Calibracion&)>;
  AjusteCalibracion(const ArchivoDe<Calibracion>& archivo, Guardar guardar);

  const Calibracion& valor() const { return valor_; }
  // Text of box e (0 = x, 1 = y) with the Spanish decimal comma.
  QString texto(int e) const;

  // A box changed. Returns true when the text was refused and both boxes must be
  // rewritten from the stored values. The record is written back in every case.
  bool cambiar(int e, const QString& texto);
  // A box lost the focus: an empty box is reported, nothing is changed.
  void perderFoco(int e, const QString& texto) const;

  // Result of the last write of the record (a read-only folder keeps it failing).
  const Resultado& escritura() const { return escritura_; }

 private:
  Guardar guardar_;
  Calibracion valor_;
  Resultado escritura_;
};

// Number as the boxes show it: "0", "-2,5", "12,25".
QString textoCoordenada(float v);
// Parses a box in the same format. A number still being typed ("-", "3,") is not a
// refusal: `incompleto` is set and nothing is returned.
std::optional<float> leerCoordenada(const QString& texto, bool* incompleto = nullptr);

}  // namespace sortilan
