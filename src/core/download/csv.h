#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <vector>

#include "base/resultado.h"
#include "store/almacen.h"

namespace sortilan {

// A draw history as public histories publish it: one draw a line, a date (dd/mm/aaaa,
// d/m/aaaa or aaaa-mm-dd), the five numbers and the key number, separated by ";" or
// ",", with or without a header line, newest or oldest first.
struct LecturaCsv {
  std::vector<Sorteo> sorteos;  // oldest first, each date once, numbers in the file's order
  int linea = 0;                // the first line refused (1-based); 0 when every line was read
  QString motivo;               // why it was refused
};
// Every draw is checked like a downloaded one, and must fall on a draw day.
LecturaCsv leerCsv(const QByteArray& datos, const QDate& hoy);

// The draws as "fecha;n1;n2;n3;n4;n5;clave" lines under that header, ISO dates, in the
// order given; leerCsv reads it back.
QByteArray escribirCsv(const std::vector<Sorteo>& sorteos);
// Writes every stored draw, oldest first, to `ruta` (replacing it whole).
Resultado exportarCsv(Almacen& almacen, const QString& ruta);

// What an import of `ruta` would add.
struct ImportacionCsv {
  enum class Estado { Lista, NoLeido, LineaMala, NadaNuevo };
  Estado estado = Estado::Lista;
  std::vector<Sorteo> nuevos;  // newer than the newest stored draw, oldest first
  int linea = 0;
  QString motivo;
  // Draw days the file does not list between the newest stored draw and its first new
  // one: adding the rest would leave them out for good, so the user is asked first.
  int faltan = 0;
  // The sentence for the user: the refusal, or what was found.
  QString mensaje(const QString& ruta) const;
};
ImportacionCsv prepararCsv(Almacen& almacen, const QString& ruta, const QDate& hoy);

// "Se han añadido 3 sorteos del archivo."
QString textoAnadidos(int n);

}  // namespace sortilan
