#pragma once

#include <QString>

namespace sortilan {

// The one error convention of the core: success, or a reason in Spanish and its kind, so
// that the window and the command line say the real cause (a full disk is not a
// permission problem, a busy file is not a damaged one).
struct [[nodiscard]] Resultado {
  enum class Clase {
    Ninguna,  // success, or a rule of the program said no
    Permiso,  // the file or its folder may not be written or read
    Lleno,    // no space left (or the quota is spent)
    Ocupado,  // another program holds the data
    Danado,   // a file of ours that does not read as one
    Ajeno,    // a file that is not ours
    Entrada,  // what the user or a file handed in is not valid
    Red,      // the service could not be reached or answered badly
    Disco,    // any other failure of the disk
  };

  bool ok = true;
  bool permiso = false;  // clase == Permiso: the windows show the permission message
  QString error;
  Clase clase = Clase::Ninguna;

  static Resultado bien() { return {}; }
  static Resultado fallo(QString texto, bool dePermiso = false) {
    return {false, dePermiso, std::move(texto), dePermiso ? Clase::Permiso : Clase::Ninguna};
  }
  static Resultado fallo(Clase c, QString texto) { return {false, c == Clase::Permiso, std::move(texto), c}; }
  explicit operator bool() const { return ok; }
};

}  // namespace sortilan
