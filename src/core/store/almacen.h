#pragma once

#include <QDate>
#include <QString>
#include <vector>

#include "base/resultado.h"
#include "store/archivoregistros.h"
#include "store/calibracion.h"
#include "store/escritura.h"
#include "store/pena.h"
#include "store/sorteo.h"

namespace sortilan {

// The data folder and its record files. Reading never creates or changes a file: an
// absent file reads as empty. Files change only through the operations (operations/),
// which hold the folder lock and replace each file whole.
class Almacen {
 public:
  static constexpr const char* kPenas = "apuestas.dat";
  static constexpr const char* kPenasTmp = "apuestas.tmp";
  static constexpr const char* kPenasErr = "apuestas.err";
  static constexpr const char* kSorteos = "numeros.dat";
  static constexpr const char* kSorteosTmp = "numeros.tmp";
  static constexpr const char* kSorteosBak = "numeros.bak";
  static constexpr const char* kSorteosErr = "numeros.err";
  static constexpr const char* kBuffer = "www.txt";
  static constexpr const char* kAjustes = "nums.ini";

  // Points the files at `carpeta`. Fails only when the folder does not exist; nothing
  // is created.
  Resultado abrir(const QString& carpeta);

  QString carpeta() const { return carpeta_; }
  QString ruta(const char* nombre) const;
  QString ruta(const QString& nombre) const;

  ArchivoDe<Sorteo>& sorteos() { return sorteos_; }
  ArchivoDe<Pena>& penas() { return penas_; }
  // Print settings: record 1 is the calibration; an absent record reads as zeros.
  ArchivoDe<Calibracion>& ajustes() { return ajustes_; }

  // All peñas in record order, a draw day of "Sábado" read as "Domingo" (the game moved
  // to Sundays; the record itself is corrected the next time the file is written).
  std::vector<Pena> enumerarPenas() const;
  // The same, telling why the file could not be read, and `danado` when it breaks the
  // layout: a size that is not a whole number of records or a record out of its rules.
  // A damaged file reads as no peñas.
  Resultado leerPenas(std::vector<Pena>& penas, bool* danado) const;
  // Every draw; a file that cannot be read reads as none, with the reason.
  Resultado leerSorteos(std::vector<Sorteo>& sorteos) const { return sorteos_.leerTodos(sorteos); }
  // The same, telling a damaged file: bytes after the last whole record (no write of ours
  // leaves them) or a record that breaks the rules of a draw file.
  Resultado leerSorteos(std::vector<Sorteo>& sorteos, bool* danado) const;

  // Identity of the draw and peña files, to notice another program's changes.
  struct Firma {
    FirmaArchivo sorteos, penas;
    bool operator==(const Firma&) const = default;
  };
  Firma firma() const;

 private:
  QString carpeta_;
  ArchivoDe<Pena> penas_;
  ArchivoDe<Sorteo> sorteos_;
  ArchivoDe<Calibracion> ajustes_;
};

// The system's own words for a damaged peña file.
inline constexpr const char* kPenasCorruptas = "Error crítico: fichero apuestas.dat corrupto.";

// The draw day of "Sábado" becomes "Domingo"; true when a record changed.
bool corregirDias(std::vector<Pena>& penas);

// A new peña record as the creation writes it.
Pena nuevaPena(const QString& nombre, int tipo, const QDate& hoy);

}  // namespace sortilan
