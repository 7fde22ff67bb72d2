#pragma once

#include <QByteArray>
#include <QString>

#include "base/resultado.h"

namespace sortilan {

// Replaces `destino` with `datos`: the bytes go to `temporal` (created in the same
// folder), are flushed to disk, and the temporary is renamed over the target in one
// step. Any crash leaves either the old or the new file complete.
Resultado reemplazarArchivo(const QString& destino, const QByteArray& datos, const QString& temporal = QString());

// Atomic rename of an existing complete file over `destino`.
Resultado renombrarSobre(const QString& origen, const QString& destino);

// Whole file into memory; an absent file reads as empty.
QByteArray leerArchivo(const QString& ruta, bool* ok = nullptr);

}  // namespace sortilan
