#pragma once

#include <QString>

namespace sortilan {

// The one error convention of the core: success, or a reason. `permiso` marks a
// failure to write a file or its folder, which the windows report as a permission problem.
struct [[nodiscard]] Resultado {
  bool ok = true;
  bool permiso = false;
  QString error;

  static Resultado bien() { return {}; }
  static Resultado fallo(QString texto, bool dePermiso = false) { return {false, dePermiso, std::move(texto)}; }
  explicit operator bool() const { return ok; }
};

}  // namespace sortilan
