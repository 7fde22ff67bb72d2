#pragma once

#include <QByteArray>

namespace sortilan {

// The text-search primitive over the download buffer: a 1-based position that
// searches move forward, a start text matched without regard to case, and the
// text up to an end text. The buffer is held in memory; positions and results
// follow the byte-wise file reads the parsers were designed around.
class Buscador {
 public:
  explicit Buscador(const QByteArray& datos) : datos_(datos) {}

  // Finds `empieza` from the position on, then returns what follows it up to
  // `final`. After a hit the position is one past the first character of the end
  // text. "" when the start text ran off the end (`finbusca`) or a read failed.
  QByteArray busca(const QByteArray& empieza, const QByteArray& final);

  qint64 posicion() const { return p_; }
  void ponerPosicion(qint64 p) { p_ = p; }
  void mover(qint64 d) { p_ += d; }
  qint64 largo() const { return datos_.size(); }

  bool finbusca() const { return finbusca_; }
  // A read began outside the buffer. Sticky until limpiarFallo(): the callers
  // treat it as the end of the parse (or of one step of the report).
  bool fallo() const { return fallo_; }
  void limpiarFallo() { fallo_ = false; }

 private:
  const QByteArray& datos_;
  qint64 p_ = 1;
  bool finbusca_ = false;
  bool fallo_ = false;
};

// Upper case of a Windows-1252 byte (ASCII and the accented letters).
char mayuscula1252(char c);
QByteArray mayusculas1252(const QByteArray& b);

// Numeric value of a text as the answer is read: blanks ignored, an optional sign,
// digits up to the first other character, an optional decimal part; rounded half
// to even; saturated far beyond any valid value; 0 when there are no digits.
long long valor(const QByteArray& texto);

}  // namespace sortilan
