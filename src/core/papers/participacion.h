#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <vector>

#include "base/dinero.h"
#include "base/resultado.h"
#include "members/socios.h"
#include "store/pena.h"

namespace sortilan {

// A participation paper: what a member plays in one or more draws of a peña, handed out
// before the draws. Its text is frozen when issued and its code is derived from that text,
// so a paper shown later can be checked against what this folder issued.

// Who holds the tickets for everybody.
struct Organizador {
  QString nombre;
  QString nif;
};

// The organiser named in "sortilan.ini" ([pena] organizador, organizador_nif).
Organizador organizadorDe(const QString& carpeta);

struct SorteoPapel {
  QDate fecha;
  int participaciones = 0;  // the member's
  int total = 0;            // every member's
  Centimos importe = 0;     // the member's part of that draw's cost
};

struct PapelParticipacion {
  qint64 numero = 0;  // the paper's number in this folder
  QString pena;
  Organizador organizador;
  int socio = 0;
  QString nombre;
  QString nif;  // only when asked for
  QDate desde;
  QDate hasta;
  std::vector<SorteoPapel> sorteos;  // the draws of the period in which the member plays
  Centimos pagado = 0;
  QStringList apuestas;  // every bet written out, the key last
  QDateTime emitido;
};

// The longest period one paper covers.
constexpr int kMaximoDiasPapel = 366;

// The draw days from `desde` to `hasta` (both included), refused with the reason: a
// period upside down or longer than a year, before the peña was created or without a
// draw, or no organiser named.
Resultado sorteosDelPeriodo(const Pena& pena, const QDate& desde, const QDate& hasta, const Organizador& organizador,
                            std::vector<QDate>& dias);

// The paper of member `numero` of `socios` over the draws from `desde` to `hasta` (both
// included) of peña `pena`, each draw costing its bets at `precio`. Refused with the
// reason: a member unknown or gone, a period before the peña was created, without a draw
// or without shares of the member.
Resultado prepararPapel(const Pena& pena, const SociosPena& socios, int numero, const QDate& desde, const QDate& hasta,
                        bool conNif, const Organizador& organizador, Centimos precio, const QDateTime& emitido,
                        PapelParticipacion& papel);

// The bets of a peña as a member reads them: "Apuesta 1: 05 12 23 40 51", "Múltiple de 8
// números: ... (56 apuestas)", then "Número clave: 7".
QStringList apuestasEscritas(const Pena& pena);

// The paper's content as one text, a line each, the same every time for the same paper:
// what is stored, what the code is worked out from, and what the PDF shows.
QString textoPapel(const PapelParticipacion& papel);

// The code of a text: SHA-256 of its UTF-8 bytes in 52 letters and digits (digits and
// capitals without I, L, O and U, so none is read for another).
QString codigoDe(const QString& texto);
// "ABCD-EFGH-..." in groups of four.
QString codigoAgrupado(const QString& codigo);
// The first three groups: enough to tell the papers of a folder apart.
QString codigoCorto(const QString& codigo);
constexpr int kLargoCodigo = 52;
constexpr int kLargoCorto = 12;
// A code as typed: any case, spaces and dashes dropped, O read as 0 and I, L as 1. Empty
// when something else is in it.
QString normalizarCodigo(const QString& entrada);

// A paper as sortilan.db keeps it.
struct PapelGuardado {
  qint64 numero = 0;
  int socio = 0;
  QString nombre;
  QDate desde;
  QDate hasta;
  int participaciones = 0;  // the member's in the first draw of the paper
  int total = 0;            // every member's then
  Centimos pagado = 0;
  QDateTime emitido;
  QString codigo;
  QString texto;
  bool anulado = false;
  // The stored text still gives the stored code.
  bool integro() const { return codigoDe(texto) == codigo; }
};

}  // namespace sortilan

namespace sortilan {

// For a spreadsheet: each line of the paper, then its code whole and short.
QByteArray csvPapel(const PapelGuardado& p);

}  // namespace sortilan
