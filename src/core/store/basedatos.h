#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>
#include <functional>

#include "base/resultado.h"

class QSqlQuery;

namespace sortilan {

// "sortilan.db": what has no legacy record layout (prize tables, collections, and what
// later features add). Its schema carries a version; opening for writing brings an older
// file up to date through the ordered migrations of esquema.h, each in one transaction.
class BaseDatos {
 public:
  // Far beyond decades of members and prize tables; a larger file is not ours.
  static constexpr qint64 kMaximoTamano = qint64{1} << 30;

  static constexpr const char* kArchivo = "sortilan.db";

  enum class Modo {
    // Never creates the file: without one, abierta() is false and there is nothing to read.
    Lectura,
    // Creates the file when absent and migrates it; only inside the folder lock (cambiarBase).
    Escritura,
  };

  BaseDatos();
  ~BaseDatos();
  BaseDatos(const BaseDatos&) = delete;
  BaseDatos& operator=(const BaseDatos&) = delete;

  // A file of a newer schema than this program knows is refused in both modes: reading it
  // could misread, writing it could break what the newer program keeps.
  Resultado abrir(const QString& carpeta, Modo modo);
  void cerrar();
  bool abierta() const;
  int version();

  // Runs one statement with positional values; `q` is left on its results.
  Resultado ejecutar(QSqlQuery& q, const QString& sql, const QVariantList& valores = {});
  Resultado ejecutar(const QString& sql, const QVariantList& valores = {});

  // Runs `cambios` inside one transaction: everything it did is kept, or, when it fails
  // or the process dies before the end, nothing.
  Resultado transaccion(const std::function<Resultado()>& cambios);

  QSqlDatabase conexion() const;

 private:
  Resultado migrar();
  Resultado abrirConexion(const QString& nombreBase, const QString& opciones);

  QString nombre_;
};

// The one way sortilan.db is changed, for the operations of operations/: the folder lock
// (CerrojoDatos), the file opened for writing (and migrated), and `cambios` in one
// transaction. Never from inside another change: the lock is not re-entrant.
Resultado cambiarBase(const QString& carpeta, const std::function<Resultado(BaseDatos&)>& cambios);

}  // namespace sortilan
