#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "store/almacen.h"
#include "store/basedatos.h"
#include "store/cerrojodatos.h"

namespace sortilan::operaciones {

// One change of the data folder, over every file it touches: the folder lock, a fresh
// read of what the change starts from, whole-file replacements of the record files and,
// when the change needs it, one transaction of sortilan.db. Before the first file is
// replaced, a journal ("sortilan.diario") keeps the old bytes of every file the change
// replaces and the state of sortilan.db; the database commits first, the journal goes
// last. A crash anywhere leaves the journal, and the next change (or the count at start)
// puts the old files back unless the database had committed: old or new state of all
// files together. Unless confirmar() succeeds, the destructor undoes everything; the
// lock is released after that, and messages are shown only then.
class Transaccion {
 public:
  static constexpr const char* kDiario = "sortilan.diario";

  explicit Transaccion(Almacen& almacen);
  ~Transaccion();
  Transaccion(const Transaccion&) = delete;
  Transaccion& operator=(const Transaccion&) = delete;

  // Refuses at once a second change of a folder this process is already changing; then
  // takes the lock, finishes what an interrupted change left, clears its temporaries and
  // reads the draws and the peñas. A file that exists but cannot be read, or a damaged
  // peña file, stops the change: writing it back from an empty copy would lose it. A
  // change of another file skips the reading.
  Resultado empezar(bool leerDatos = true);

  std::vector<Sorteo> sorteos;
  bool sorteosDanados = false;
  bool penasDanadas = false;  // the change was refused: the peña file must be set aside first
  std::vector<Pena> penas;

  // Replaces a file whole, its previous bytes journaled first.
  Resultado escribir(const QString& ruta, const QByteArray& datos);
  Resultado escribirPenas(const std::vector<Pena>& nuevas);
  Resultado escribirSorteos(const std::vector<Sorteo>& nuevos);
  // A file that must not exist yet (a damaged draw file set aside never replaces another).
  Resultado crearNuevo(const QString& ruta, const QByteArray& datos, bool* existia);

  // sortilan.db opened for writing with its transaction begun (and the schema brought up
  // to date in it); the first call opens it, later ones return the same.
  Resultado abrirBase();
  BaseDatos& base() { return *base_; }

  // Keeps the change: the database's commit, then the journal removed. A failure undoes
  // everything and says why.
  Resultado confirmar();
  // Every file written so far gets its old bytes back, newest first, the database rolls
  // back, and the journal goes. What cannot be put back stays journaled for the next start.
  void deshacer();
  // `r` kept (confirmar) when it is a success, undone otherwise.
  Resultado terminar(Resultado r);

  Almacen& almacen;

  // A journal left by a change cut short (the count at start looks for it).
  static bool hayDiario(const QString& carpeta);

 private:
  struct Anterior {
    QString nombre;  // in the data folder
    QByteArray datos;
    bool existia;
  };
  Resultado anotar(const QString& ruta, bool nuevo);
  Resultado escribirDiario();
  Resultado recuperar();
  QString ruta(const QString& nombre) const;

  CerrojoDatos cerrojo_;
  QString abierta_;  // the folder this change counts as open in this process
  std::vector<Anterior> anteriores_;
  bool diarioEscrito_ = false;
  bool estadoBaseTomado_ = false;
  qint64 contadorBase_ = -1;  // sortilan.db's change counter before the change; -1 absent
  std::unique_ptr<BaseDatos> base_;
  bool confirmada_ = false;
};

// Finishes a change cut short, when there is one (its journal is there): what a start
// does before it reads anything.
Resultado terminarCambioCortado(Almacen& almacen);

// Runs `cambios` on sortilan.db as one change of the folder (a Transaccion without record
// files): all of it is kept, or, on a failure or a crash, nothing.
Resultado cambiarBase(const QString& carpeta, const std::function<Resultado(BaseDatos&)>& cambios);

// The files a change may leave a temporary of.
QStringList archivosDeDatos();

}  // namespace sortilan::operaciones
