#pragma once

#include <QString>
#include <QUrl>

#include "base/resultado.h"

namespace sortilan::plataforma {

// Downloads `direccion` into the file `destino`, blocking until done. Any cached copy
// is bypassed, so the server's current file is fetched. The file is replaced
// (atomically) only when the whole body arrived with a success status, so a failed
// download leaves the old file as it was. Gives up after `esperaMs` without data, or
// after three times that in all.
Resultado descargarArchivo(const QUrl& direccion, const QString& destino, int esperaMs = 15000);
// The same fetch into memory; `cuerpo` is only set when the whole body arrived.
Resultado descargarDatos(const QUrl& direccion, QByteArray& cuerpo, int esperaMs = 15000);

// Largest body accepted; a bigger answer is not what the server is meant to send.
inline constexpr qint64 kMaximoDescarga = 8 * 1024 * 1024;

}  // namespace sortilan::plataforma
