#include "operations/socios.h"

#include <cmath>
#include <functional>

#include "base/fechas.h"
#include "base/nif.h"
#include "members/registrosocios.h"
#include "money/balance.h"
#include "money/registrodinero.h"
#include "operations/transaccion.h"
#include "platform/plataforma.h"
#include "store/basedatos.h"

namespace sortilan::operaciones {

namespace {

constexpr int kMaximoParticipaciones = 100000;
constexpr int kMaximoNombre = 100;

// What every change starts from, read inside the lock.
struct Estado {
  BaseDatos& base;
  std::vector<Pena> penas;
  std::vector<qint64> ids;
  qint64 pena = 0;
  SociosPena socios;
};

Resultado conSocios(Almacen& almacen, int registro, const std::function<Resultado(Estado&)>& cambio) {
  return cambiarBase(almacen.carpeta(), [&](BaseDatos& base) {
    Estado e{base, almacen.penas().leerTodos(), {}, 0, {}};
    if (registro < 1 || registro > static_cast<int>(e.penas.size()))
      return Resultado::fallo(QStringLiteral("No hay ninguna peña en el registro %1.").arg(registro));
    if (Resultado r = registrarPenas(base, e.penas, e.ids); !r) return r;
    // Dates and shares are judged against the peña's real start, not the day a reset of
    // its counters gave its record.
    IniciosPenas inicios;
    if (Resultado r = leerInicios(base, inicios); !r) return r;
    e.penas = penasDelDinero(std::move(e.penas), {e.ids.begin(), e.ids.end()}, inicios);
    e.pena = e.ids[static_cast<size_t>(registro - 1)];
    e.socios.registro = registro;
    e.socios.nombre = e.penas[static_cast<size_t>(registro - 1)].nombreRecortado();
    if (Resultado r = leerSociosGuardados(base, e.pena, e.socios); !r) return r;
    return cambio(e);
  });
}

Resultado buscarSocio(const Estado& e, int numero, const Socio*& s) {
  s = e.socios.socio(numero);
  if (!s)
    return Resultado::fallo(QStringLiteral("La peña %1 no tiene ningún socio %2.").arg(e.socios.nombre).arg(numero));
  return Resultado::bien();
}

Resultado comprobarFecha(const QDate& d) {
  if (!d.isValid()) return Resultado::fallo(QStringLiteral("La fecha no es válida."));
  return Resultado::bien();
}

// A member's date outside the peña's life is a slip of the keyboard (9999-12-31 for
// 2021-12-31): refused before it shapes every share and balance.
Resultado dentroDeLaPena(const Estado& e, const QDate& d, const QDate& hoy) {
  const QDate creacion = fechaDesdeOle(std::floor(e.penas[static_cast<size_t>(e.socios.registro - 1)].creacion));
  if (creacion.isValid() && d < creacion)
    return Resultado::fallo(QStringLiteral("La fecha %1 es anterior a la creación de la peña (%2).")
                                .arg(fechaCorta(d), fechaCorta(creacion)));
  if (d > hoy.addYears(1))
    return Resultado::fallo(QStringLiteral("La fecha %1 es posterior en más de un año a hoy.").arg(fechaCorta(d)));
  return Resultado::bien();
}

// Who held shares on a draw already split is part of that split.
Resultado despuesDeRepartos(const Estado& e, const QDate& desde) {
  for (const Reparto& r : e.socios.repartos)
    if (r.sorteo >= desde)
      return Resultado::fallo(
          QStringLiteral("El premio del sorteo del %1 ya está repartido: los cambios de socios deben ser de después.")
              .arg(fechaCorta(r.sorteo)));
  return Resultado::bien();
}

Resultado comprobarParticipaciones(int p) {
  if (p < 1 || p > kMaximoParticipaciones)
    return Resultado::fallo(
        QStringLiteral("Las participaciones deben ser un número entero de 1 a %1.").arg(kMaximoParticipaciones));
  return Resultado::bien();
}

QString clave(const QString& t) { return t.simplified().toCaseFolded(); }

constexpr int kMaximoMotivo = 200;

Resultado comprobarMotivo(const QString& motivo) {
  if (motivo.size() > kMaximoMotivo)
    return Resultado::fallo(QStringLiteral("El motivo es demasiado largo (como mucho %1 letras).").arg(kMaximoMotivo));
  return Resultado::bien();
}

}  // namespace

Resultado altaSocio(Almacen& almacen, int registro, const DatosSocio& datos, int participaciones, const QDate& desde,
                    int* numero) {
  Socio nuevo;
  nuevo.nombre = datos.nombre.simplified();
  nuevo.nif = normalizarNif(datos.nif);
  nuevo.contacto = datos.contacto.simplified();
  if (nuevo.nombre.isEmpty()) return Resultado::fallo(QStringLiteral("Falta el nombre del socio."));
  if (nuevo.nombre.size() > kMaximoNombre || nuevo.nif.size() > 20 || nuevo.contacto.size() > 200)
    return Resultado::fallo(QStringLiteral("El nombre, el NIF o el contacto del socio son demasiado largos."));
  if (!nuevo.nif.isEmpty())
    if (Resultado r = comprobarNif(nuevo.nif); !r) return r;
  if (Resultado r = comprobarParticipaciones(participaciones); !r) return r;
  if (Resultado r = comprobarFecha(desde); !r) return r;
  nuevo.periodos.push_back({desde, QDate(), participaciones});
  return conSocios(almacen, registro, [&](Estado& e) {
    for (const Socio& s : e.socios.socios) {
      if (clave(s.nombre) == clave(nuevo.nombre))
        return Resultado::fallo(
            QStringLiteral("%1 ya es el socio %2 de la peña %3.").arg(s.nombre).arg(s.numero).arg(e.socios.nombre));
      // Stored before numbers were checked, a NIF may still hold blanks or dashes.
      if (!nuevo.nif.isEmpty() && normalizarNif(s.nif) == nuevo.nif)
        return Resultado::fallo(QStringLiteral("El NIF %1 ya es el de %2, socio %3 de la peña %4.")
                                    .arg(nuevo.nif, s.nombre)
                                    .arg(s.numero)
                                    .arg(e.socios.nombre));
    }
    if (Resultado r = dentroDeLaPena(e, desde, plataforma::hoy()); !r) return r;
    if (Resultado r = despuesDeRepartos(e, desde); !r) return r;
    int n = 0;
    if (Resultado r = insertarSocio(e.base, e.pena, nuevo, n); !r) return r;
    if (numero) *numero = n;
    return Resultado::bien();
  });
}

Resultado bajaSocio(Almacen& almacen, int registro, int numero, const QDate& desde) {
  if (Resultado r = comprobarFecha(desde); !r) return r;
  return conSocios(almacen, registro, [&](Estado& e) {
    const Socio* s = nullptr;
    if (Resultado r = buscarSocio(e, numero, s); !r) return r;
    if (s->participacionesActuales() == 0)
      return Resultado::fallo(QStringLiteral("%1 ya se dio de baja el %2.").arg(s->nombre, fechaCorta(s->baja())));
    if (Resultado r = dentroDeLaPena(e, desde, plataforma::hoy()); !r) return r;
    if (desde <= s->periodos.back().desde)
      return Resultado::fallo(QStringLiteral("La baja debe ser posterior al %1, cuando empezaron sus participaciones.")
                                  .arg(fechaCorta(s->periodos.back().desde)));
    if (Resultado r = despuesDeRepartos(e, desde); !r) return r;
    std::vector<Periodo> periodos = s->periodos;
    periodos.back().hasta = desde;
    return escribirPeriodos(e.base, s->id, periodos);
  });
}

Resultado cambiarParticipaciones(Almacen& almacen, int registro, int numero, int participaciones, const QDate& desde) {
  if (Resultado r = comprobarParticipaciones(participaciones); !r) return r;
  if (Resultado r = comprobarFecha(desde); !r) return r;
  return conSocios(almacen, registro, [&](Estado& e) {
    const Socio* s = nullptr;
    if (Resultado r = buscarSocio(e, numero, s); !r) return r;
    if (Resultado r = dentroDeLaPena(e, desde, plataforma::hoy()); !r) return r;
    if (Resultado r = despuesDeRepartos(e, desde); !r) return r;
    std::vector<Periodo> periodos = s->periodos;
    Periodo& ultimo = periodos.back();
    if (!ultimo.hasta.isValid()) {
      if (ultimo.participaciones == participaciones)
        return Resultado::fallo(QStringLiteral("%1 ya tiene %2 participaciones.").arg(s->nombre).arg(participaciones));
      if (desde < ultimo.desde)
        return Resultado::fallo(QStringLiteral("El cambio no puede ser anterior al %1, cuando empezaron sus "
                                               "participaciones actuales.")
                                    .arg(fechaCorta(ultimo.desde)));
      // The same day as the last change: that change is corrected, not followed.
      if (desde == ultimo.desde) {
        ultimo.participaciones = participaciones;
        return escribirPeriodos(e.base, s->id, periodos);
      }
      ultimo.hasta = desde;
    } else if (desde < ultimo.hasta) {
      return Resultado::fallo(QStringLiteral("%1 se dio de baja el %2: la nueva alta no puede ser anterior.")
                                  .arg(s->nombre, fechaCorta(ultimo.hasta)));
    }
    periodos.push_back({desde, QDate(), participaciones});
    return escribirPeriodos(e.base, s->id, periodos);
  });
}

Resultado anotarMovimiento(Almacen& almacen, int registro, int numero, Concepto concepto, Centimos importe,
                           const QDate& fecha, const QDate& hoy) {
  if (concepto != Concepto::Aportacion && concepto != Concepto::Pago)
    return Resultado::fallo(QStringLiteral("Sólo se anotan aportaciones y pagos."));
  if (importe <= 0 || importe > kMaximoCentimos)
    return Resultado::fallo(QStringLiteral("El importe debe ser mayor que 0,00 €."));
  if (Resultado r = comprobarFecha(fecha); !r) return r;
  if (fecha > hoy) return Resultado::fallo(QStringLiteral("La fecha no puede ser posterior a hoy."));
  return conSocios(almacen, registro, [&](Estado& e) {
    const Socio* s = nullptr;
    if (Resultado r = buscarSocio(e, numero, s); !r) return r;
    if (Resultado r = dentroDeLaPena(e, fecha, hoy); !r) return r;
    return insertarMovimiento(e.base, {s->id, fecha, concepto, importe});
  });
}

Resultado repartirPremio(Almacen& almacen, int registro, const QDate& sorteo, bool pagar, const QDate& hoy) {
  return conSocios(almacen, registro, [&](Estado& e) {
    const QString& nombre = e.socios.nombre;
    if (e.socios.reparto(sorteo))
      return Resultado::fallo(QStringLiteral("El premio del sorteo del %1 de la peña %2 ya está repartido.")
                                  .arg(fechaCorta(sorteo), nombre));
    TablasPremios tablas;
    CobrosMarcados marcados;
    if (Resultado r = leerTablas(e.base, tablas); !r) return r;
    if (Resultado r = leerCobros(e.base, marcados); !r) return r;
    std::vector<std::optional<qint64>> ids(e.ids.begin(), e.ids.end());
    const Cuentas cuentas = calcularCuentas(e.penas, almacen.sorteos().leerTodos(), tablas, marcados, ids,
                                            kPrecioPorDefecto, hoy, {registro});
    const Cobro* cobro = cuentas.cobro(registro, sorteo);
    if (!cobro)
      return Resultado::fallo(
          QStringLiteral("La peña %1 no tiene premio en el sorteo del %2.").arg(nombre, fechaCorta(sorteo)));
    if (cobro->estado != EstadoCobro::Cobrado)
      return Resultado::fallo(QStringLiteral("El premio del sorteo del %1 de la peña %2 no está marcado como cobrado.")
                                  .arg(fechaCorta(sorteo), nombre));
    if (!cobro->bruto || !cobro->retencion)
      return Resultado::fallo(QStringLiteral("El premio del sorteo del %1 de la peña %2 aún no tiene importe.")
                                  .arg(fechaCorta(sorteo), nombre));
    Reparto r;
    r.sorteo = sorteo;
    r.hecho = hoy;
    r.cobrado = cobro->cobrado;
    r.bruto = *cobro->bruto;
    r.retencion = *cobro->retencion;
    r.pagado = pagar;
    r.partes = partesReparto(e.socios.socios, sorteo, r.bruto, r.retencion);
    if (r.partes.empty())
      return Resultado::fallo(QStringLiteral("Ningún socio de la peña %1 tenía participaciones el día del sorteo (%2).")
                                  .arg(nombre, fechaCorta(sorteo)));
    return insertarReparto(e.base, e.pena, r);
  });
}

Resultado anularMovimiento(Almacen& almacen, int registro, int numero, qint64 movimiento, const QString& motivo,
                           const QDate& hoy) {
  const QString razon = motivo.simplified();
  if (Resultado r = comprobarMotivo(razon); !r) return r;
  return conSocios(almacen, registro, [&](Estado& e) {
    const Socio* s = nullptr;
    if (Resultado r = buscarSocio(e, numero, s); !r) return r;
    if (Resultado r = e.socios.anulable(*s, movimiento); !r) return r;
    return insertarAnulacion(e.base, movimiento, hoy, razon);
  });
}

Resultado anularReparto(Almacen& almacen, int registro, const QDate& sorteo, const QString& motivo, const QDate& hoy) {
  const QString razon = motivo.simplified();
  if (Resultado r = comprobarMotivo(razon); !r) return r;
  return conSocios(almacen, registro, [&](Estado& e) {
    const Reparto* r = e.socios.reparto(sorteo);
    if (!r)
      return Resultado::fallo(QStringLiteral("El premio del sorteo del %1 de la peña %2 no está repartido.")
                                  .arg(fechaCorta(sorteo), e.socios.nombre));
    return anularRepartoGuardado(e.base, e.pena, *r, hoy, razon);
  });
}

}  // namespace sortilan::operaciones
