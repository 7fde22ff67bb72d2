#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <random>
#include <utility>

#include "session/sesion.h"
#include "store/pena.h"

namespace sortilan {

// Entry of a new peña as the creation window runs it: key panel, then the number
// panel with one line per completed bet, then the name, then the save. The window
// only draws this state and forwards clicks, so every rule is reachable without it.
class Creacion {
 public:
  static constexpr int kCeldasNumero = 54;  // cells 0..53 stand for numbers 1..54
  static constexpr int kCeldas = 64;        // cells 54..63 stand for key numbers 0..9
  static constexpr int kMaxSencillas = 24;
  static constexpr int kLargoNombre = 20;

  // tipoapuesta: 0 = simple bets, 1..6 = one multiple bet of 5 + tipoapuesta numbers.
  explicit Creacion(int tipoapuesta);

  // Clears the window for a new peña (also run after every save).
  void cargar();
  // The window was first shown.
  void activar();

  // A click on cell `indice` of the ticket grid.
  void pulsar(int indice);
  // A bet typed in the box beside the grid ("4 17 38 41 52", any blanks or commas), or
  // the key number while the key panel is shown. It is marked as clicks would mark it,
  // with the same refusals; true when it was taken whole.
  bool escribir(const QString& texto);
  // "Aleatorio": a random key on the key panel, or a whole random bet.
  void aleatorio();
  // "Borrar": takes back the last line of the list.
  void borrar();
  // How a finished peña is stored: the creation operation, which decides its record
  // and refuses it when the dates are wrong. Gives the outcome and the record number.
  using GuardarPena = std::function<std::pair<Resultado, int>(const Pena&)>;
  // "Grabar": checks the entry, stores the peña through `guardar` and clears the window
  // for the next one. True when the peña was stored.
  bool grabar(Sesion& sesion, const GuardarPena& guardar);

  // The name box: a typed text is turned to capitals; over 20 letters is refused
  // with a warning and replaced. Returns what the box must hold.
  QString cambiarNombre(const QString& texto);
  // Upper case one character at a time (so the length never changes) and without
  // the characters that the peña file cannot store.
  static QString mayusculas(const QString& texto);

  // The record that a save would write now, with today's date.
  Pena registro(const QDate& hoy) const;

  int tipoapuesta() const { return tipoapuesta_; }
  int numerosapuesta() const { return numerosapuesta_; }
  int marcados() const { return marcados_; }
  int napuestas() const { return napuestas_; }
  bool solonombre() const { return solonombre_; }
  bool marcada(int indice) const { return indice >= 0 && indice < kCeldas && marcas_[static_cast<size_t>(indice)]; }
  bool panelClave() const { return panelClave_; }  // key panel shown (else the number panel)
  bool grabarActivo() const { return grabarActivo_; }
  bool borrarActivo() const { return borrarActivo_; }
  bool aleatorioActivo() const { return aleatorioActivo_; }
  const QStringList& lineas() const { return lineas_; }     // one line per bet, as listed
  QString numeroApuesta() const { return numeroApuesta_; }  // the number of the bet being entered
  QString indicacion() const;                               // what to enter, shown above the grid
  const QString& nombre() const { return nombre_; }
  const Pena& trabajo() const { return trabajo_; }

  // Texts of the messages, also needed by tests.
  static const QString kLimiteSencillas;
  static const QString kLimiteMultiple;
  static const QString kSoloNombre;
  static const QString kNombreLargo;
  static const QString kSinNombre;
  static const QString kTituloRepetida;

 private:
  int limite() const { return tipoapuesta_ == 0 ? kMaxSencillas : 1; }
  void avisarLimite() const;
  void anadeapuesta();

  int tipoapuesta_;
  int numerosapuesta_;
  int marcados_ = 0;
  int napuestas_ = 0;
  bool solonombre_ = false;
  bool panelClave_ = true;
  bool grabarActivo_ = false;
  bool borrarActivo_ = false;
  bool aleatorioActivo_ = true;
  std::array<bool, kCeldas> marcas_{};
  QStringList lineas_;
  QString numeroApuesta_ = QStringLiteral("1");
  QString nombre_;
  Pena trabajo_;
  std::mt19937_64 azar_;
};

}  // namespace sortilan
