#pragma once

#include <QDate>
#include <QString>
#include <optional>

#include "base/dinero.h"
#include "money/cuentas.h"

namespace sortilan {

enum class EstadoCobro { Pendiente, Cobrado, Caducado };
enum class LugarCobro { PuntoDeVenta, Banco };

constexpr Centimos kExentoRetencion = 4'000'000;  // 40.000 € of each bet's prize are not withheld
constexpr Centimos kMinimoBanco = 200'000;        // from 2.000 € a bet, prizes are paid at banks
constexpr int kDiasAviso = 14;

// 20 % of what one bet's prize exceeds 40.000 €, to the nearest cent.
Centimos retencionPorApuesta(Centimos premio);

// Last day to collect a draw's prizes: three months later, the same day of the month,
// or the month's last day when that month is shorter (30 November -> 28 February).
QDate ultimoDiaCobro(const QDate& sorteo);

// A draw in which a peña won: what to collect, where and until when.
struct Cobro {
  int registro = 0;
  QString nombre;
  QDate fecha;  // the draw
  // Empty while some prize of the draw has no amount yet.
  std::optional<Centimos> bruto;
  std::optional<Centimos> retencion;
  std::optional<Centimos> neto;
  std::optional<LugarCobro> lugar;
  QDate limite;
  EstadoCobro estado = EstadoCobro::Pendiente;
  QDate cobrado;  // the day the user marked, when Cobrado
};

// The collection of one draw of a peña; empty when it won nothing there. `cobrado` is
// the day marked by the user (invalid: not marked).
std::optional<Cobro> cobroDe(const CuentaPena& pena, const CuentaSorteo& sorteo, const QDate& cobrado,
                             const QDate& hoy);

QString textoEstado(EstadoCobro e);  // "pendiente", "cobrado", "caducado"
QString textoLugar(LugarCobro l);    // "punto de venta", "banco"

// Pending and at most 14 days from its last day.
bool cobroUrgente(const Cobro& c, const QDate& hoy);

}  // namespace sortilan
