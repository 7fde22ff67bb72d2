#pragma once

#include <QDate>
#include <QString>
#include <array>
#include <vector>

#include "store/almacen.h"

namespace sortilan {

// What cargasorteos leaves in the status area of the main window.
struct EstadoSorteos {
  QString ultimo;                     // long date of the newest draw, or "Fichero de datos vacío."
  QString proximo;                    // long date of the next draw
  QString faltan;                     // missing-draws text
  bool faltanVisible = false;         // the missing-draws text shown, blinking
  bool casillasActivas = false;       // the view choices (history, prizes only) can be used
  bool desplazamientoActivo = false;  // the recent-draws selector can be used
  int desplazamientoMaximo = 1;       // the selector's maximum: the number of draws
};

// Tallies of the draw list. A count of 0 is a cell never incremented (shown empty).
struct Frecuencias {
  std::array<int, 28> bajos{};  // [n] for numbers 1..27
  std::array<int, 28> altos{};  // [n - 27] for numbers 28..54
  std::array<int, 10> clave{};  // [k] for key numbers 0..9
  int numero(int n) const { return n <= 27 ? bajos[static_cast<size_t>(n)] : altos[static_cast<size_t>(n - 27)]; }
};

// The draw list: all draws newest first, plus the tallies.
struct ListaSorteos {
  std::vector<Sorteo> sorteos;  // oldest first, as in the file; row k shows sorteos[size - k]
  Frecuencias frecuencias;
  bool danado = false;  // the file is damaged: nothing is listed, the caller puts it aside

  int filas() const { return static_cast<int>(sorteos.size()); }
  const Sorteo& fila(int k) const { return sorteos[sorteos.size() - static_cast<size_t>(k)]; }  // k 1-based
  QString total() const;                                                                        // "TOTAL: n sorteos."
};

// Row texts of the draw list.
QString textoSorteo(const Sorteo& s);       // " 3-12-25-40-54  NÚM.CLAVE: 7"
QString textoFechaSorteo(const Sorteo& s);  // "07/03/2021  Domingo"

// Status rules on their own, for any newest-draw date and today.
QString proximoSorteo(double ultimaFecha, const QDate& hoy);  // long date of the next draw
// Missing-draws text; empty when up to date.
QString sorteosQueFaltan(double ultimaFecha, const QDate& hoy);

// The program's open data and the state the main window shares between its parts.
class Sesion {
 public:
  Resultado abrir(const QString& carpeta) { return almacen_.abrir(carpeta); }
  Almacen& almacen() { return almacen_; }

  // Counts the draws, loads the newest one into `sorteo`, works out the status area,
  // and reloads the peñas (`proximapena`, `sorteosjugados`).
  EstadoSorteos cargasorteos(const QDate& hoy);

  // Reads and validates every draw. A damaged file (a record out of range, a number
  // repeated, a date that is not a whole day after 1990 or not later than the one
  // before) lists nothing and is marked `danado`; putting it aside is a change of the
  // data, left to the operation apartarSorteosDanados.
  ListaSorteos listasorteos();

  // True when the draw or peña file changed on disk since the last cargasorteos (another
  // program wrote it): the window then reloads before showing or changing anything.
  bool cambiadoFuera() const { return almacen_.firma() != firma_; }

  // Why the last load could not read the draw or peña file (a folder, a device, too
  // large, unreadable): what was shown is then empty. Success when both were read.
  const Resultado& lectura() const { return lectura_; }
  // The peña file broke its layout at the last load: nothing of it was loaded, and it is
  // left to the operation apartarPenasDanadas.
  bool penasDanadas() const { return penasDanadas_; }

  // Peñas as last loaded by cargasorteos, in record order.
  const std::vector<Pena>& penas() const { return penas_; }

  int proximoreg = 1;
  int proximapena = 0;
  Sorteo sorteo;
  int sorteosjugados = 0;

 private:
  Almacen almacen_;
  std::vector<Pena> penas_;
  Almacen::Firma firma_;
  Resultado lectura_;
  bool penasDanadas_ = false;
};

}  // namespace sortilan
