#pragma once

#include <QByteArray>
#include <QDate>
#include <QJsonObject>
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

// Days between the first and the last date of one request.
constexpr int kDiasPeticion = 150;

// One request of the results service: every draw from `desde` to `hasta`, both included.
struct Intervalo {
  QDate desde;
  QDate hasta;
  bool operator==(const Intervalo&) const = default;
};

// Request of the draws from `desde` to `hasta` on the results service at `base`.
QUrl direccionPeticion(const QUrl& base, const QDate& desde, const QDate& hasta);
// The usual request: the last 150 days up to `hoy`.
QUrl direccionPeticion(const QUrl& base, const QDate& hoy);

// What a download asks for, oldest first. Up to date (the newest stored draw within the
// usual request) or an empty file: the usual request alone. Further behind: windows of
// at most 150 days from the day after the newest stored draw up to today, so that
// nothing between it and today is left unasked.
std::vector<Intervalo> intervalosPeticion(double ultimaFecha, const QDate& hoy);

// The answer as the one quoted record of the buffer file "www.txt": in
// Windows-1252, every double quote doubled, enclosed in quotes, CRLF at the end.
QByteArray registroCitado(const QString& respuesta);

// Sorts numeros(1..5) ascending.
void ordena(Sorteo& s);

// One draw object of an answer, as read.
struct SorteoLeido {
  QDate fecha;         // invalid when the object gives no readable date
  Sorteo sorteo;       // numbers ascending and the key; reserved slots 0
  QString motivo;      // why the draw cannot be taken; empty when it is sound
  QJsonObject objeto;  // the whole object, for readers of its other fields
};

// The answer read draw by draw.
struct Analisis {
  enum class Estado {
    Bien,        // every draw of the answer newer than the newest stored is sound
    Ilegible,    // no array of draws: nothing of the answer may be stored
    SorteoMalo,  // a new draw is unreadable or invalid: only the ones older than it may be stored
  };
  Estado estado = Estado::Bien;
  // Every object of the array, in the order of the answer.
  std::vector<SorteoLeido> leidos;
  // The draws to store: newer than the newest stored, older than any bad one, each
  // date once, oldest first.
  std::vector<Sorteo> nuevos;
  // The oldest bad new draw (SorteoMalo): its date and what is wrong with it.
  QDate fechaMala;
  QString motivo;
};

// Reads the answer of the results service (UTF-8 JSON: an array of draw objects, any
// order, any layout, text before the array tolerated; or a plain string when nothing
// matched). A draw is sound when its date is a real day not after `hoy` and its
// combination has five different numbers 1..54 and a key 0..9. Draws dated on or
// before `ultimaFecha` (the newest stored draw, 0 for none) are not new and not judged.
Analisis analizar(const QByteArray& respuesta, double ultimaFecha, const QDate& hoy);

// The elements of the array that starts at `inicio`, each as its own text, found by
// their brackets and quotes alone: one broken element does not hide the others, and
// memory stays that of the text. `cerrado` tells whether the array ended before the
// text did. More elements than any history holds (Sorteo::kMaximo) is no answer of the
// service: refused before any is parsed (empty, `cerrado` false).
std::vector<QByteArray> elementosRespuesta(const QByteArray& texto, qsizetype inicio, bool& cerrado);

// "1 sorteo", "3 sorteos".
QString textoNuevos(int n);

}  // namespace sortilan
