#include "store/archivoregistros.h"

#include "store/escritura.h"

namespace sortilan {

Resultado ArchivoRegistros::abrir(const QString& ruta) {
  cerrar();
  ruta_ = ruta;
  archivo_.setFileName(ruta);
  if (archivo_.open(QIODevice::ReadWrite)) return Resultado::bien();
  const QString err = archivo_.errorString();
  if (archivo_.exists() && archivo_.open(QIODevice::ReadOnly)) return Resultado::bien();
  return Resultado::fallo(QStringLiteral("No se pudo abrir %1: %2").arg(ruta, err), true);
}

void ArchivoRegistros::cerrar() {
  if (archivo_.isOpen()) archivo_.close();
}

bool ArchivoRegistros::leer(int k, QByteArray& destino) {
  destino = QByteArray(tamano_, '\0');
  if (!archivo_.isOpen() || k < 1) return false;
  const qint64 off = static_cast<qint64>(tamano_) * (k - 1);
  if (off + tamano_ > archivo_.size()) return false;
  if (!archivo_.seek(off)) return false;
  QByteArray b = archivo_.read(tamano_);
  if (b.size() != tamano_) return false;
  destino = b;
  return true;
}

Resultado ArchivoRegistros::escribir(int k, const QByteArray& registro) {
  if (!archivo_.isOpen() || !archivo_.isWritable())
    return Resultado::fallo(QStringLiteral("%1 no se puede escribir").arg(ruta_), true);
  if (k < 1 || registro.size() != tamano_) return Resultado::fallo(QStringLiteral("Registro no válido"));
  const qint64 off = static_cast<qint64>(tamano_) * (k - 1);
  // Writing past the end would leave a gap of zero records; only appending is allowed.
  if (off > archivo_.size()) return Resultado::fallo(QStringLiteral("Registro fuera del archivo"));
  if (!archivo_.seek(off) || archivo_.write(registro) != tamano_ || !archivo_.flush())
    return Resultado::fallo(QStringLiteral("No se pudo escribir %1: %2").arg(ruta_, archivo_.errorString()), true);
  return Resultado::bien();
}

int ArchivoRegistros::cuenta() const {
  if (!archivo_.isOpen()) return 0;
  return static_cast<int>(archivo_.size() / tamano_);
}

QByteArray ArchivoRegistros::leerTodo() {
  if (!archivo_.isOpen() || !archivo_.seek(0)) return {};
  QByteArray b = archivo_.readAll();
  b.truncate(b.size() - b.size() % tamano_);
  return b;
}

Resultado ArchivoRegistros::reemplazar(const QByteArray& contenido, const QString& temporal) {
  cerrar();
  Resultado r = reemplazarArchivo(ruta_, contenido, temporal);
  const Resultado reabierto = abrir(ruta_);
  if (!r) return r;
  return reabierto;
}

}  // namespace sortilan
