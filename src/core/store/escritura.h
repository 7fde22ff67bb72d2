#pragma once

#include <QByteArray>
#include <QString>

#include "base/resultado.h"

namespace sortilan {

// The one way a file of the data folder is written: the bytes go to a uniquely named
// temporary in the same folder, are flushed and synced, the temporary is renamed over
// `destino` and the folder itself is synced. Any crash leaves the old or the new file
// whole, and two programs never share a temporary.
Resultado reemplazarArchivo(const QString& destino, const QByteArray& datos);

// The kind of failure of a system error number (EACCES is permission, ENOSPC a full disk).
Resultado::Clase claseDeError(int numero);
// A file of the folder that exists but cannot be read: the change stops there, since
// writing it back from an empty copy would lose it.
Resultado falloLectura(const QString& ruta);

// Writes `datos` to `destino` only when no file of that name exists yet (synced the same
// way). `existia` tells that case apart from a write failure.
Resultado crearArchivoNuevo(const QString& destino, const QByteArray& datos, bool* existia = nullptr);

// Removes a file of the folder and, unless told otherwise, makes the removal durable (the
// folder synced). An absent file is no failure.
Resultado borrarArchivo(const QString& ruta, bool sincronizar = true);

// Removes the temporaries that an interrupted replacement of `nombres` left in
// `carpeta`. Only safe while holding the folder lock.
void borrarTemporales(const QString& carpeta, const QStringList& nombres);

// The most any file of the folder, an answer or a CSV may hold unless its reader says
// less: a bound on memory, far above what years of history need.
inline constexpr qint64 kMaximoLectura = 64 * 1024 * 1024;

// A whole regular file of at most `maximo` bytes into `datos`. An absent file reads as
// empty. A pipe, a device or a folder is refused without reading a byte (so it never
// blocks), and so is a larger file; the message names the file and the reason.
Resultado leerAcotado(const QString& ruta, qint64 maximo, QByteArray& datos);

// The same with a yes/no answer: an absent file reads as empty with `ok` true; a file
// that cannot be read, is not a regular file or is larger than `maximo` gives `ok` false.
QByteArray leerArchivo(const QString& ruta, bool* ok = nullptr, qint64 maximo = kMaximoLectura);

// At most `maximo` + 1 bytes of a regular file, so that a pipe or a device is refused at
// once and a huge file is never read whole. `ok` false when it is absent, cannot be read
// or is not a regular file; more than `maximo` bytes are reported by the size of the result.
QByteArray leerArchivoAcotado(const QString& ruta, qint64 maximo, bool* ok);

// Size, modification time and identity of a file, to notice cheaply that another
// program replaced it. Two equal values mean the file was not touched in between.
struct FirmaArchivo {
  bool existe = false;
  qint64 tamano = 0;
  qint64 modificado = 0;  // nanoseconds
  quint64 nodo = 0;
  bool operator==(const FirmaArchivo&) const = default;
};
FirmaArchivo firmaArchivo(const QString& ruta);

}  // namespace sortilan
