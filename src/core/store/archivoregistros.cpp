#include "store/archivoregistros.h"

#include <QFile>
#include <QFileInfo>

#include "store/escritura.h"

namespace sortilan {

bool ArchivoRegistros::leer(int k, QByteArray& destino) const {
  destino = QByteArray(tamano_, '\0');
  if (k < 1) return false;
  QFile f(ruta_);
  if (!f.open(QIODevice::ReadOnly)) return false;
  const qint64 off = static_cast<qint64>(tamano_) * (k - 1);
  if (off + tamano_ > f.size() || !f.seek(off)) return false;
  QByteArray b = f.read(tamano_);
  if (b.size() != tamano_) return false;
  destino = b;
  return true;
}

int ArchivoRegistros::cuenta() const {
  const QFileInfo i(ruta_);
  return i.isFile() ? static_cast<int>(i.size() / tamano_) : 0;
}

QByteArray ArchivoRegistros::leerTodo(bool* ok) const {
  QByteArray b = leerArchivo(ruta_, ok);
  b.truncate(b.size() - b.size() % tamano_);
  return b;
}

}  // namespace sortilan
