#include "store/archivoregistros.h"

#include <QFile>
#include <QFileInfo>

#include "store/escritura.h"

namespace sortilan {

bool ArchivoRegistros::leer(int k, QByteArray& destino) const {
  destino = QByteArray(tamano_, '\0');
  if (k < 1) return false;
  // A pipe would block the open itself.
  if (!QFileInfo(ruta_).isFile()) return false;
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
  QByteArray b;
  const Resultado r = leerTodo(b);
  if (ok) *ok = r.ok;
  return b;
}

Resultado ArchivoRegistros::leerTodo(QByteArray& datos, bool* parcial) const {
  Resultado r = leerAcotado(ruta_, static_cast<qint64>(tamano_) * maximo_, datos);
  if (parcial) *parcial = datos.size() % tamano_ != 0;
  datos.truncate(datos.size() - datos.size() % tamano_);
  return r;
}

}  // namespace sortilan
