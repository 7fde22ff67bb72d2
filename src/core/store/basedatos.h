#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

#include "base/resultado.h"

class QSqlError;
class QSqlQuery;

namespace sortilan {

// "sortilan.db": what has no legacy record layout (prize tables, collections, and what
// later features add). Its schema carries a version; a file of an older version is
// brought up to date by the ordered steps of esquema.h inside the first change that
// writes it (empezar), never by a reading.
class BaseDatos {
 public:
  // Far beyond decades of members and prize tables; a larger file is not ours.
  static constexpr qint64 kMaximoTamano = qint64{1} << 30;

  static constexpr const char* kArchivo = "sortilan.db";

  enum class Modo {
    // Never creates or changes the file: without one (or with an empty one), abierta() is
    // false and there is nothing to read. An older schema reads as if brought up to date,
    // the tables it lacks empty.
    Lectura,
    // Creates the file when absent; only inside the folder lock (operaciones::Transaccion).
    Escritura,
  };

  BaseDatos();
  ~BaseDatos();
  BaseDatos(const BaseDatos&) = delete;
  BaseDatos& operator=(const BaseDatos&) = delete;

  // A file that is not ours (another program's tables, a version this program does not
  // know, a newer one) is refused in both modes, naming the file and the reason, and is
  // not changed: reading it could misread, writing it could break what its owner keeps.
  Resultado abrir(const QString& carpeta, Modo modo);
  void cerrar();
  bool abierta() const;
  int version();

  // Runs one statement with positional values; `q` is left on its results.
  Resultado ejecutar(QSqlQuery& q, const QString& sql, const QVariantList& valores = {});
  Resultado ejecutar(const QString& sql, const QVariantList& valores = {});

  // The transaction of one change: the write lock taken at once (waiting like the folder
  // lock for another program that holds the file) and the schema brought up to date in
  // it. Until confirmar(), a failure or the death of the process leaves the file as it was.
  Resultado empezar();
  Resultado confirmar();
  void deshacer();
  bool enTransaccion() const { return enTransaccion_; }

  QSqlDatabase conexion() const;

  // A failure of the database as the sentence shown to the user, of the right kind (busy,
  // disk full, permission, damaged...), the database's own words only after it.
  static Resultado falloSql(const QSqlError& e, const QString& que, const QString& ruta = {});

 private:
  Resultado migrar(int desde);
  Resultado abrirConexion(const QString& nombreBase, const QString& opciones);
  Resultado identificar(int* version);
  Resultado sombrearPasosNuevos(int desde);

  QString nombre_;
  QString ruta_;
  bool enTransaccion_ = false;
};

}  // namespace sortilan
