#include "operations/papeles.h"

#include "base/fechas.h"
#include "members/registrosocios.h"
#include "money/cuentas.h"
#include "money/registrodinero.h"
#include "operations/transaccion.h"
#include "papers/registropapeles.h"
#include "store/basedatos.h"

namespace sortilan::operaciones {

namespace {

struct Estado {
  Pena pena;
  qint64 id = 0;
  SociosPena socios;
};

Resultado leerEstado(Almacen& almacen, BaseDatos& base, int registro, Estado& e) {
  std::vector<Pena> penas = almacen.penas().leerTodos();
  if (registro < 1 || registro > static_cast<int>(penas.size()))
    return Resultado::fallo(QStringLiteral("No hay ninguna peña en el registro %1.").arg(registro));
  std::vector<qint64> ids;
  if (Resultado r = registrarPenas(base, penas, ids); !r) return r;
  // A paper covers what the peña played since it really started, also before a reset.
  IniciosPenas inicios;
  if (Resultado r = leerInicios(base, inicios); !r) return r;
  penas = penasDelDinero(std::move(penas), {ids.begin(), ids.end()}, inicios);
  e.pena = penas[static_cast<size_t>(registro - 1)];
  e.id = ids[static_cast<size_t>(registro - 1)];
  e.socios.registro = registro;
  e.socios.nombre = e.pena.nombreRecortado();
  return leerSociosGuardados(base, e.id, e.socios);
}

Resultado guardar(BaseDatos& base, const Estado& e, const Socio& s, PapelParticipacion& p, PapelGuardado& g) {
  if (Resultado r = siguientePapel(base, p.numero); !r) return r;
  return insertarPapel(base, e.id, s.id, p, g);
}

}  // namespace

Resultado emitirPapel(Almacen& almacen, int registro, int numero, const PeticionPapel& pet, PapelGuardado& papel) {
  const Centimos precio = precioApuesta(almacen.carpeta());
  return cambiarBase(almacen.carpeta(), [&](BaseDatos& base) {
    Estado e;
    if (Resultado r = leerEstado(almacen, base, registro, e); !r) return r;
    PapelParticipacion p;
    if (Resultado r = prepararPapel(e.pena, e.socios, numero, pet.desde, pet.hasta, pet.conNif, pet.organizador, precio,
                                    pet.emitido, p);
        !r)
      return r;
    return guardar(base, e, *e.socios.socio(numero), p, papel);
  });
}

Resultado emitirPapelesSorteo(Almacen& almacen, int registro, const PeticionPapel& pet,
                              std::vector<PapelGuardado>& papeles, QStringList* omitidos) {
  const Centimos precio = precioApuesta(almacen.carpeta());
  std::vector<PapelGuardado> hechos;
  QStringList fuera;
  const Resultado hecho = cambiarBase(almacen.carpeta(), [&](BaseDatos& base) {
    Estado e;
    if (Resultado r = leerEstado(almacen, base, registro, e); !r) return r;
    std::vector<QDate> dias;
    if (Resultado r = sorteosDelPeriodo(e.pena, pet.desde, pet.hasta, pet.organizador, dias); !r) return r;
    for (const Socio& s : e.socios.socios) {
      bool juega = false;
      for (const QDate& d : dias) juega = juega || s.participacionesEn(d) > 0;
      if (!juega) continue;
      PapelParticipacion p;
      if (Resultado r = prepararPapel(e.pena, e.socios, s.numero, pet.desde, pet.hasta, pet.conNif, pet.organizador,
                                      precio, pet.emitido, p);
          !r) {
        fuera << r.error;
        continue;
      }
      PapelGuardado g;
      if (Resultado r = guardar(base, e, s, p, g); !r) return r;
      hechos.push_back(std::move(g));
    }
    if (hechos.empty())
      return Resultado::fallo(QStringLiteral("Ningún socio de la peña %1 juega del %2 al %3.")
                                  .arg(e.socios.nombre, fechaCorta(pet.desde), fechaCorta(pet.hasta)));
    return Resultado::bien();
  });
  // What was not kept was not issued.
  papeles = hecho ? std::move(hechos) : std::vector<PapelGuardado>{};
  if (omitidos) *omitidos = hecho ? fuera : QStringList{};
  return hecho;
}

Resultado anularPapel(Almacen& almacen, const QString& codigo, PapelGuardado& papel) {
  const QString c = normalizarCodigo(codigo);
  if (c.size() < kLargoCorto || c.size() > kLargoCodigo)
    return Resultado::fallo(QStringLiteral("«%1» no es un código de papel.").arg(codigo.left(80)));
  return cambiarBase(almacen.carpeta(), [&](BaseDatos& base) {
    std::optional<PapelGuardado> p;
    if (Resultado r = buscarPapel(base, c, p); !r) return r;
    if (!p)
      return Resultado::fallo(
          QStringLiteral("Ningún papel de esta carpeta tiene el código %1.").arg(codigoAgrupado(c)));
    if (p->anulado) return Resultado::fallo(QStringLiteral("El papel nº %1 ya estaba anulado.").arg(p->numero));
    if (Resultado r = marcarAnulado(base, p->numero); !r) return r;
    papel = *p;
    papel.anulado = true;
    return Resultado::bien();
  });
}

}  // namespace sortilan::operaciones
