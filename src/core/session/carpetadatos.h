#pragma once

#include <QString>

#include "base/resultado.h"

namespace sortilan {

// Where the data of this run lives, and why there.
enum class OrigenDatos {
  Opcion,    // named with --datos
  Portable,  // the program's own folder: a build folder, or one that already holds data
  Usuario,   // the user's data folder: an installed program
};

struct CarpetaDatos {
  QString ruta;  // absolute
  OrigenDatos origen = OrigenDatos::Usuario;
};

// Qt names the user's data folder after the application; the window and the command line
// take this one name so that they share it.
inline constexpr char kNombreAplicacion[] = "sortilan";
// A file of this name beside the executable keeps the data in the executable's folder.
inline constexpr char kMarcaPortable[] = "portable";

// True when the program folder keeps its own data: it is a build folder, or it holds a
// data file or the portable mark.
bool esCopiaPortable(const QString& carpetaPrograma);

// --datos first, then a portable program folder, then the user's folder.
CarpetaDatos elegirCarpetaDatos(const QString& opcionDatos, const QString& carpetaPrograma,
                                const QString& carpetaUsuario);

// Chooses the folder and makes it the one every part of the program uses
// (plataforma::carpetaPrograma). The folder of --datos must exist; the user's folder is
// created on first use. On failure nothing is put in use and the reason is in Spanish.
Resultado usarCarpetaDatos(const QString& opcionDatos, const QString& carpetaPrograma, const QString& carpetaUsuario);
// The same for this process: the executable's folder and the user's AppDataLocation,
// after naming the application kNombreAplicacion.
Resultado usarCarpetaDatos(const QString& opcionDatos);

}  // namespace sortilan
