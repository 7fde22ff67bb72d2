#pragma once

#include <QDate>
#include <QString>
#include <vector>

#include "base/resultado.h"
#include "store/archivoregistros.h"
#include "store/calibracion.h"
#include "store/pena.h"
#include "store/sorteo.h"

namespace sortilan {

// The data folder and its record files, kept open for the whole run.
class Almacen {
 public:
  static constexpr const char* kPenas = "apuestas.dat";
  static constexpr const char* kPenasTmp = "apuestas.tmp";
  static constexpr const char* kSorteos = "numeros.dat";
  static constexpr const char* kSorteosTmp = "numeros.tmp";
  static constexpr const char* kSorteosBak = "numeros.bak";
  static constexpr const char* kSorteosErr = "numeros.err";
  static constexpr const char* kBuffer = "www.txt";
  static constexpr const char* kAjustes = "nums.ini";

  // Load steps of the start-up: remove a stale apuestas.tmp, open (creating when
  // absent) the peña file, the draw file and the download buffer. Failures are
  // remembered but do not stop the start: later writes report them.
  Resultado abrir(const QString& carpeta);
  void cerrar();

  QString carpeta() const { return carpeta_; }
  QString ruta(const char* nombre) const;
  QString ruta(const QString& nombre) const;

  ArchivoDe<Sorteo>& sorteos() { return sorteos_; }
  ArchivoDe<Pena>& penas() { return penas_; }
  // Print settings: record 1 is the calibration, written with zeros when absent.
  ArchivoDe<Calibracion>& ajustes() { return ajustes_; }

  // All peñas in record order. A peña whose draw day reads "Sábado" is rewritten
  // in place with "Domingo" (the game moved to Sundays).
  std::vector<Pena> enumerarPenas();
  // Appends at record `proximapena` (0 is taken as 1).
  Resultado anadirPena(const Pena& pena, int proximapena);
  // Removes record k, moving later peñas up; the file is replaced atomically.
  Resultado eliminarPena(int k);
  // Prize counters and last count to zero, creation date to today, for every peña.
  Resultado reiniciarResultados(const QDate& hoy);

  // Moves a damaged draw file aside as numeros.err and starts an empty one.
  Resultado apartarSorteosDanados();

 private:
  QString carpeta_;
  ArchivoDe<Pena> penas_;
  ArchivoDe<Sorteo> sorteos_;
  ArchivoDe<Calibracion> ajustes_;
};

// A new peña record as the creation window writes it.
Pena nuevaPena(const QString& nombre, int tipo, const QDate& hoy);

}  // namespace sortilan
