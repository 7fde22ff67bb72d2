#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>

namespace sortilan {

// The one writer of the CSV files the program gives the user. A text cell is quoted, and
// one that a spreadsheet would take for a formula (starting with = + - @, a tab or a
// carriage return) gets a leading apostrophe, so opening the file never runs what a
// peña's or a member's name holds. Numbers, amounts and dates the program formats itself
// go in as they are and stay numbers.
class EscritorCsv {
 public:
  explicit EscritorCsv(QChar separador = QLatin1Char(';')) : separador_(separador) {}

  EscritorCsv& texto(const QString& t);
  EscritorCsv& numero(const QString& t);
  EscritorCsv& numero(long long n) { return numero(QString::number(n)); }
  EscritorCsv& vacio() { return numero(QString()); }
  // The program's own words (a column heading, a label): as they are.
  EscritorCsv& fijo(const QString& t) { return numero(t); }
  // Ends the row being written.
  void fin();

  // Every row ended so far, CRLF after each, after the mark that tells spreadsheets
  // the text is UTF-8.
  QByteArray bytes() const;

  // A text cell on its own, as texto() writes it.
  static QString celda(const QString& t);

 private:
  QChar separador_;
  QStringList fila_;
  QStringList filas_;
};

}  // namespace sortilan
