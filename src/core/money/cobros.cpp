#include "money/cobros.h"

#include <algorithm>

namespace sortilan {

Centimos retencionPorApuesta(Centimos premio) {
  const Centimos exceso = std::max<Centimos>(0, premio - kExentoRetencion);
  // A fifth of a whole number of cents never ends in a half: rounding is unambiguous.
  return (exceso * 20 + 50) / 100;
}

QDate ultimoDiaCobro(const QDate& sorteo) { return sorteo.addMonths(3); }

std::optional<Cobro> cobroDe(const CuentaPena& pena, const CuentaSorteo& sorteo, const QDate& cobrado,
                             const QDate& hoy) {
  if (!sorteo.hayPremio()) return std::nullopt;
  Cobro c;
  c.registro = pena.registro;
  c.nombre = pena.nombre;
  c.fecha = sorteo.fecha;
  c.limite = ultimoDiaCobro(sorteo.fecha);

  bool pendiente = false;
  Centimos bruto = 0, retencion = 0, mayor = 0;
  const auto sumar = [&](const LineaPremio& l) {
    if (!l.porApuesta) {
      pendiente = true;
      return;
    }
    bruto += *l.importe();
    retencion += retencionPorApuesta(*l.porApuesta) * l.apuestas;
    mayor = std::max(mayor, *l.porApuesta);
  };
  // Every collection of a large season passes here: no copy of the lines.
  for (const LineaPremio& l : sorteo.premios) sumar(l);
  if (sorteo.reintegro) sumar(*sorteo.reintegro);
  if (!pendiente) {
    c.bruto = bruto;
    c.retencion = retencion;
    c.neto = bruto - retencion;
  }
  // One bet of 2.000 € or more sends the whole collection to a bank.
  if (mayor >= kMinimoBanco)
    c.lugar = LugarCobro::Banco;
  else if (!pendiente)
    c.lugar = LugarCobro::PuntoDeVenta;

  if (cobrado.isValid()) {
    c.estado = EstadoCobro::Cobrado;
    c.cobrado = cobrado;
  } else if (hoy > c.limite) {
    c.estado = EstadoCobro::Caducado;
  }
  return c;
}

QString textoEstado(EstadoCobro e) {
  switch (e) {
    case EstadoCobro::Pendiente: return QStringLiteral("pendiente");
    case EstadoCobro::Cobrado: return QStringLiteral("cobrado");
    case EstadoCobro::Caducado: return QStringLiteral("caducado");
  }
  return {};
}

QString textoLugar(LugarCobro l) {
  return l == LugarCobro::Banco ? QStringLiteral("banco") : QStringLiteral("punto de venta");
}

bool cobroUrgente(const Cobro& c, const QDate& hoy) {
  return c.estado == EstadoCobro::Pendiente && hoy <= c.limite && hoy.daysTo(c.limite) <= kDiasAviso;
}

}  // namespace sortilan
