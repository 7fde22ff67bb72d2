#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QUrl>
#include <vector>

#include "store/sorteo.h"

namespace sortilan {

// Largest answer of the results service that is accepted; anything bigger is
// taken for corrupt data rather than held in memory.
constexpr qint64 kMaximoRespuesta = 16 * 1024 * 1024;
// The buffer record of the largest accepted answer (every quote doubled, plus the
// enclosing quotes and the line end).
constexpr qint64 kMaximoBuffer = 2 * kMaximoRespuesta + 4;

// Request of the last 150 days up to `hoy` on the results service at `base`.
QUrl direccionPeticion(const QUrl& base, const QDate& hoy);

// The answer as the one quoted record of the buffer file "www.txt": in
// Windows-1252, every double quote doubled, enclosed in quotes, CRLF at the end.
QByteArray registroCitado(const QString& respuesta);

// Sorts numeros(1..5) ascending.
void ordena(Sorteo& s);

// What the two passes over the buffer found.
struct Analisis {
  // Draws the combination pass accepted, newest first (the order of the answer).
  std::vector<Sorteo> sorteos;
  int fechasNuevas = 0;   // dates the date pass took for new
  bool finbusca = false;  // the last search ran off the end
  bool error = false;     // the parse stopped on the data (a bad date, a read past the end, a 51st date)
  bool invalido = false;  // the combination pass met an unusable combination
};

// Both passes of the parse over the buffer record `buffer`. `ultimo` is the newest
// stored draw (all-zero for an empty file), whose reserved slots the new draws keep.
// A combination with a number outside 1..54, a repeated number or a key outside 0..9
// ends the pass like one with a 0, so no such draw is ever accepted.
Analisis analizar(const QByteArray& buffer, const Sorteo& ultimo);

// "1 sorteo", "3 sorteos".
QString textoNuevos(int n);

}  // namespace sortilan
