#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

#include "store/almacen.h"
#include "store/cerrojodatos.h"

namespace sortilan::operaciones {

// One change of the data folder: the folder lock, a fresh read of what the change
// starts from, and whole-file replacements that can be put back. The lock is released
// when the transaction goes out of scope; messages are shown only after that.
class Transaccion {
 public:
  explicit Transaccion(Almacen& almacen);

  // Takes the lock, clears what an interrupted change left and reads the draws and the
  // peñas. A file that exists but cannot be read, or a damaged peña file, stops the
  // change: writing it back from an empty copy would lose it. A change of another file skips the reading.
  Resultado empezar(bool leerDatos = true);

  std::vector<Sorteo> sorteos;
  bool sorteosDanados = false;
  bool penasDanadas = false;  // the change was refused: the peña file must be set aside first
  std::vector<Pena> penas;

  // Replaces a file whole, keeping its previous bytes so that deshacer() can put them back.
  Resultado escribir(const QString& ruta, const QByteArray& datos);
  Resultado escribirPenas(const std::vector<Pena>& nuevas);
  Resultado escribirSorteos(const std::vector<Sorteo>& nuevos);
  // A file that must not exist yet (a damaged draw file set aside never replaces another).
  Resultado crearNuevo(const QString& ruta, const QByteArray& datos, bool* existia);

  // After a failure: every file written so far gets its old bytes back, newest first, so
  // the folder is left as it was. What cannot be put back is repaired by the next count.
  void deshacer();
  // `r` as it is; a failure first undoes what was written.
  Resultado terminar(Resultado r);

  Almacen& almacen;

 private:
  struct Anterior {
    QString ruta;
    QByteArray datos;
    bool existia;
  };
  Resultado leerAnterior(const QString& ruta);
  CerrojoDatos cerrojo_;
  std::vector<Anterior> diario_;
};

// The files a change may leave a temporary of.
QStringList archivosDeDatos();

}  // namespace sortilan::operaciones
