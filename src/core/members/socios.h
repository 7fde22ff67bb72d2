#pragma once

#include <QDate>
#include <QString>
#include <optional>
#include <vector>

#include "base/dinero.h"
#include "base/resultado.h"

namespace sortilan {

// Shares held from `desde` up to the day before `hasta` (invalid `hasta`: still held).
struct Periodo {
  QDate desde;
  QDate hasta;
  int participaciones = 0;
  bool contiene(const QDate& d) const { return d >= desde && (!hasta.isValid() || d < hasta); }
};

// A member of one peña. Every change of shares is a new period; the member keeps one
// number, given in order of entry.
struct Socio {
  qint64 id = 0;
  int numero = 0;
  QString nombre;
  QString nif;
  QString contacto;
  std::vector<Periodo> periodos;  // oldest first, never overlapping

  // Shares held on that day; 0 outside every period.
  int participacionesEn(const QDate& d) const;
  QDate alta() const;
  // The day the member left; invalid while a period is open.
  QDate baja() const;
  // The open period's shares; 0 after leaving.
  int participacionesActuales() const;
};

// Anulacion is the reversing line of a voided contribution, payout or prize part.
enum class Concepto { Aportacion, Coste, Premio, Pago, Anulacion };
// "aportación", "coste del sorteo", "premio", "pago", "anulación".
QString textoConcepto(Concepto c);

struct Movimiento {
  QDate fecha;
  Concepto concepto = Concepto::Aportacion;
  Centimos importe = 0;  // what it adds to the balance: negative for costs and payouts
  Centimos saldo = 0;    // the balance after it
  qint64 numero = 0;     // a stored contribution or payout: its number; 0 for the rest
  // A voided line and its reversal both stay in the statement and neither moves the
  // balance. `anulado`: the day this line was voided; `anula`: the number of the
  // movement this reversal voids (0 for the prize part of a voided split).
  QDate anulado{};
  qint64 anula = 0;
  QString motivo{};  // of a reversal, as the user gave it
  bool cuenta() const { return !anulado.isValid() && concepto != Concepto::Anulacion; }
};

// The concept as a statement line reads, naming a voided line and what a reversal voids:
// "aportación nº 2, anulada el 20/03/2021", "anulación del nº 2: anotada dos veces".
QString textoLinea(const Movimiento& m);

// `total` split in proportion to `pesos` (all positive), in whole cents: each part is
// rounded down and the cents left over go one each to the largest remainders, ties to
// the earlier one, so the parts always add up to `total`. Empty when there is no weight.
std::vector<Centimos> repartir(Centimos total, const std::vector<qint64>& pesos);

// One member's part of a prize split.
struct ParteReparto {
  qint64 socio = 0;  // id
  int participaciones = 0;
  Centimos bruto = 0;
  Centimos retencion = 0;
  Centimos neto() const { return bruto - retencion; }
};

// The parts of gross and withholding of the members holding shares on `sorteo`, in
// member order. Each member's net is their gross less their withholding, so rows and
// columns both add up.
std::vector<ParteReparto> partesReparto(const std::vector<Socio>& socios, const QDate& sorteo, Centimos bruto,
                                        Centimos retencion);

// A split as it was recorded.
struct Reparto {
  qint64 id = 0;
  QDate sorteo;
  QDate hecho;    // the day it was split
  QDate cobrado;  // the day the prize was collected: the day of the members' "premio"
  Centimos bruto = 0;
  Centimos retencion = 0;
  bool pagado = false;  // paid out to the members, or kept in the peña
  std::vector<ParteReparto> partes;
  QDate anulado{};  // a voided split: the day it was voided
  QString motivo{};
  Centimos neto() const { return bruto - retencion; }
};

// A contribution or a payout recorded by the user (or by a split paid out).
struct MovimientoGuardado {
  qint64 socio = 0;
  QDate fecha;
  Concepto concepto = Concepto::Aportacion;  // Aportacion or Pago
  Centimos centimos = 0;                     // positive
  qint64 id = 0;                             // its number
  qint64 reparto = 0;                        // the split in force it pays out, if any
  QDate anulado{};                           // voided on that day; invalid while in force
  QString motivo{};
};

// The cost of one draw the peña played.
struct CosteSorteo {
  QDate fecha;
  Centimos coste = 0;
};

// The members' side of one peña, as stored, with the draws it played.
struct SociosPena {
  int registro = 0;
  QString nombre;
  std::vector<Socio> socios;  // by number
  std::vector<MovimientoGuardado> movimientos;
  std::vector<Reparto> repartos;          // in force, oldest draw first
  std::vector<Reparto> repartosAnulados;  // voided, in the order they were voided
  std::vector<CosteSorteo> costes;

  const Socio* socio(int numero) const;
  const Reparto* reparto(const QDate& sorteo) const;
  const MovimientoGuardado* movimiento(qint64 id) const;
  // Whether movement `id` of member `s` may be voided: one of their contributions or
  // payouts, not voided yet, and not a payout of a split in force (that goes with it).
  Resultado anulable(const Socio& s, qint64 id) const;
  // Every movement of a member, oldest first, with the running balance: contributions,
  // their share of each draw's cost, their part of each split prize, payouts. Same-day
  // movements go in that order.
  std::vector<Movimiento> movimientosDe(int numero) const;
  Centimos saldo(int numero) const;
  // Every member's balance, beside `socios`, worked out in one pass.
  std::vector<Centimos> saldos() const;
};

// A member's statement for a period (invalid ends: open).
struct Extracto {
  int registro = 0;
  QString pena;
  int numero = 0;
  QString nombre;
  QString nif;
  QDate desde;
  QDate hasta;
  std::vector<Periodo> periodos;  // the shares held at some day of the period
  Centimos saldoAnterior = 0;     // the balance before the period
  std::vector<Movimiento> movimientos;
  Centimos saldo = 0;  // at the end of the period
};

std::optional<Extracto> extracto(const SociosPena& p, int numero, const QDate& desde, const QDate& hasta);

// A balance as the member list shows it: "12,50 €", "debe 3,00 €" when negative.
QString textoSaldo(Centimos c);

}  // namespace sortilan
