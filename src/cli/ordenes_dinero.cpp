#include <QCoreApplication>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "base/fechas.h"
#include "cli/contexto.h"
#include "money/balance.h"
#include "operations/completarpremios.h"
#include "operations/dinero.h"
#include "platform/plataforma.h"
#include "session/errorpermiso.h"

namespace sortilan::cli {

namespace {

QJsonValue centimos(const std::optional<Centimos>& c) { return c ? QJsonValue(*c) : QJsonValue(QJsonValue::Null); }
QString euros(const std::optional<Centimos>& c) { return c ? textoEuros(*c) : QStringLiteral("importe pendiente"); }

void imprimirJson(Contexto& c, const QJsonDocument& d) { c.out << d.toJson(QJsonDocument::Compact) << "\n"; }

// The money of every peña. Without sortilan.db the orders answer with every prize
// pending; a database that cannot be read (not ours, damaged, busy) is a refusal, and the
// caller prints nothing of a balance that would be wrong.
bool leer(Contexto& c, Cuentas& cuentas, const AlcanceCuentas& alcance = {}) {
  if (!c.leer()) return false;
  const Resultado r = leerCuentas(c.carpeta, c.sesion.penas(), c.sesion.almacen().sorteos().leerTodos(),
                                  plataforma::hoy(), cuentas, alcance);
  if (!r) c.err << r.error << "\n";
  return static_cast<bool>(r);
}

int balanceGeneral(Contexto& c, bool json) {
  Cuentas cuentas;
  if (!leer(c, cuentas)) return kRechazo;
  if (json) {
    QJsonArray penas;
    for (const CuentaPena& p : cuentas.penas) {
      const Centimos ganado = cuentas.ganado(p.registro);
      penas.append(QJsonObject{{QStringLiteral("registro"), p.registro},
                               {QStringLiteral("nombre"), p.nombre},
                               {QStringLiteral("sorteos"), static_cast<int>(p.sorteos.size())},
                               {QStringLiteral("coste_centimos"), p.coste()},
                               {QStringLiteral("ganado_centimos"), ganado},
                               {QStringLiteral("caducado_centimos"), cuentas.caducado(p.registro).importe},
                               {QStringLiteral("neto_centimos"), ganado - p.coste()},
                               {QStringLiteral("premios_sin_importe"), cuentas.premiosSinImporte(p.registro)}});
    }
    imprimirJson(c, QJsonDocument(QJsonObject{
                        {QStringLiteral("precio_apuesta_centimos"), cuentas.precio},
                        {QStringLiteral("penas"), penas},
                        {QStringLiteral("total"),
                         QJsonObject{{QStringLiteral("coste_centimos"), cuentas.coste()},
                                     {QStringLiteral("ganado_centimos"), cuentas.ganado()},
                                     {QStringLiteral("caducado_centimos"), cuentas.caducado()},
                                     {QStringLiteral("neto_centimos"), cuentas.ganado() - cuentas.coste()}}}}));
    return kBien;
  }
  c.out << "Precio por apuesta: " << textoEuros(cuentas.precio) << "\n";
  for (const CuentaPena& p : cuentas.penas) {
    const Centimos ganado = cuentas.ganado(p.registro);
    c.out << p.registro << ". " << p.nombre << "  sorteos: " << p.sorteos.size() << "  coste: " << textoEuros(p.coste())
          << "  ganado: " << textoEuros(ganado) << "  caducado: " << textoEuros(cuentas.caducado(p.registro).importe)
          << "  neto: " << textoEuros(ganado - p.coste());
    if (const int n = cuentas.premiosSinImporte(p.registro); n > 0)
      c.out << "  (" << n << (n == 1 ? " premio" : " premios") << " con importe pendiente)";
    c.out << "\n";
  }
  c.out << "TOTAL  coste: " << textoEuros(cuentas.coste()) << "  ganado: " << textoEuros(cuentas.ganado())
        << "  caducado: " << textoEuros(cuentas.caducado())
        << "  neto: " << textoEuros(cuentas.ganado() - cuentas.coste()) << "\n";
  return kBien;
}

QJsonObject lineaJson(const LineaPremio& l) {
  QJsonObject o{{QStringLiteral("apuestas"), l.apuestas}, {QStringLiteral("importe_centimos"), centimos(l.importe())}};
  if (l.categoria > 0) o.insert(QStringLiteral("categoria"), l.categoria);
  return o;
}

// The money of the deleted peña "B`numero`", as record 1.
bool leerBorrada(Contexto& c, int numero, Cuentas& cuentas, PenaBorrada& b) {
  if (!c.leer()) return false;
  const Resultado r =
      leerCuentasBorrada(c.carpeta, numero, c.sesion.almacen().sorteos().leerTodos(), plataforma::hoy(), cuentas, &b);
  if (!r) c.err << r.error << "\n";
  return static_cast<bool>(r);
}

// One peña's draws: record `registro`, or the deleted peña `borrada` when not 0.
int balancePena(Contexto& c, int registro, bool json, int borrada = 0) {
  Cuentas cuentas;
  PenaBorrada b;
  if (borrada ? !leerBorrada(c, borrada, cuentas, b) : !leer(c, cuentas, {registro})) return kRechazo;
  if (borrada) registro = 1;
  const CuentaPena* p = cuentas.pena(registro);
  if (!p) {
    c.err << "No hay ninguna peña en el registro " << registro << ".\n";
    return kRechazo;
  }
  if (json) {
    QJsonArray sorteos;
    for (const CuentaSorteo& s : p->sorteos) {
      QJsonArray premios;
      for (const LineaPremio& l : s.premios) premios.append(lineaJson(l));
      // A lost prize is never money won.
      const bool perdido = cuentas.caducado(registro, s.fecha);
      sorteos.append(
          QJsonObject{{QStringLiteral("fecha"), s.fecha.toString(Qt::ISODate)},
                      {QStringLiteral("coste_centimos"), s.coste},
                      {QStringLiteral("premios"), premios},
                      {QStringLiteral("reintegro"),
                       s.reintegro ? QJsonValue(lineaJson(*s.reintegro)) : QJsonValue(QJsonValue::Null)},
                      {QStringLiteral("ganado_centimos"), perdido ? QJsonValue(0) : centimos(s.ganado())},
                      {QStringLiteral("caducado_centimos"), perdido ? centimos(s.ganado()) : QJsonValue(0)}});
    }
    const Centimos ganado = cuentas.ganado(registro);
    QJsonObject o{{QStringLiteral("nombre"), p->nombre},
                  {QStringLiteral("sorteos"), sorteos},
                  {QStringLiteral("coste_centimos"), p->coste()},
                  {QStringLiteral("ganado_centimos"), ganado},
                  {QStringLiteral("caducado_centimos"), cuentas.caducado(registro).importe},
                  {QStringLiteral("neto_centimos"), ganado - p->coste()}};
    if (borrada) {
      o.insert(QStringLiteral("id"), b.codigo());
      o.insert(QStringLiteral("borrada"), b.borrada.toString(Qt::ISODate));
    } else {
      o.insert(QStringLiteral("registro"), p->registro);
    }
    imprimirJson(c, QJsonDocument(o));
    return kBien;
  }
  if (borrada)
    c.out << "Peña " << p->nombre << " (" << b.codigo() << ", borrada el " << fechaCorta(b.borrada) << ")\n";
  else
    c.out << "Peña " << p->nombre << " (registro " << p->registro << ")\n";
  for (const CuentaSorteo& s : p->sorteos) {
    c.out << fechaCorta(s.fecha) << "  coste: " << textoEuros(s.coste);
    if (s.hayPremio())
      c.out << (cuentas.caducado(registro, s.fecha) ? "  caducado: " : "  ganado: ") << euros(s.ganado()) << "  "
            << textoPremios(s);
    c.out << "\n";
  }
  const Centimos ganado = cuentas.ganado(registro);
  c.out << "TOTAL  sorteos: " << p->sorteos.size() << "  coste: " << textoEuros(p->coste())
        << "  ganado: " << textoEuros(ganado) << "  caducado: " << textoEuros(cuentas.caducado(registro).importe)
        << "  neto: " << textoEuros(ganado - p->coste()) << "\n";
  return kBien;
}

QJsonObject cobroJson(const Cobro& k) {
  return QJsonObject{
      {QStringLiteral("registro"), k.registro},
      {QStringLiteral("nombre"), k.nombre},
      {QStringLiteral("fecha"), k.fecha.toString(Qt::ISODate)},
      {QStringLiteral("bruto_centimos"), centimos(k.bruto)},
      {QStringLiteral("retencion_centimos"), centimos(k.retencion)},
      {QStringLiteral("neto_centimos"), centimos(k.neto)},
      {QStringLiteral("lugar"), k.lugar ? QJsonValue(textoLugar(*k.lugar)) : QJsonValue(QJsonValue::Null)},
      {QStringLiteral("limite"), k.limite.toString(Qt::ISODate)},
      {QStringLiteral("estado"), textoEstado(k.estado)},
      {QStringLiteral("cobrado"), k.estado == EstadoCobro::Cobrado ? fechaONula(k.cobrado) : QJsonValue()}};
}

}  // namespace

int ordenBalance(Contexto& c, QStringList args) {
  const bool json = Contexto::tomarOpcion(args, QStringLiteral("--json"));
  if (args.isEmpty()) return balanceGeneral(c, json);
  if (const int b = args.size() == 1 ? numeroPenaBorrada(args.first()) : 0; b > 0) return balancePena(c, 0, json, b);
  bool ok = false;
  const int k = args.size() == 1 ? args.first().toInt(&ok) : 0;
  if (!ok) return c.uso(QStringLiteral("Uso: sortilan-cli balance [K] [--json]"));
  return balancePena(c, k, json);
}

int ordenCobros(Contexto& c, QStringList args) {
  const bool json = Contexto::tomarOpcion(args, QStringLiteral("--json"));
  const bool pendientes = Contexto::tomarOpcion(args, QStringLiteral("--pendientes"));
  if (!args.isEmpty()) return c.uso(QStringLiteral("Uso: sortilan-cli cobros [--pendientes] [--json]"));
  if (!c.leer()) return kRechazo;
  DatosDinero datos;
  if (const Resultado r = leerDatosDinero(c.carpeta, c.sesion.penas(), datos); !r) {
    c.err << r.error << "\n";
    return kRechazo;
  }
  // Written as each collection is worked out: a long history is never held whole.
  bool primero = true;
  if (json) c.out << "[";
  recorrerCobros(c.sesion.penas(), c.sesion.almacen().sorteos().leerTodos(), datos, plataforma::hoy(), {0, pendientes},
                 [&](const Cobro& k) {
                   if (pendientes && k.estado != EstadoCobro::Pendiente) return;
                   if (!json) {
                     c.out << fechaCorta(k.fecha) << "  " << k.registro << ". " << k.nombre
                           << "  neto: " << euros(k.neto) << "  (bruto " << euros(k.bruto) << ", retención "
                           << euros(k.retencion) << ")";
                     if (k.lugar) c.out << "  " << textoLugar(*k.lugar);
                     c.out << "  " << textoCobro(k) << "\n";
                     return;
                   }
                   if (!primero) c.out << ",";
                   primero = false;
                   c.out << QJsonDocument(cobroJson(k)).toJson(QJsonDocument::Compact);
                 });
  if (json) c.out << "]\n";
  return kBien;
}

int ordenCobrar(Contexto& c, QStringList args) {
  const QString uso = QStringLiteral("Uso: sortilan-cli cobrar K AAAA-MM-DD [--fecha AAAA-MM-DD]");
  bool falta = false;
  const QString textoDia = Contexto::tomarValor(args, QStringLiteral("--fecha"), &falta);
  if (borradaRechazada(c, args)) return kRechazo;
  bool ok = false;
  const int k = args.size() == 2 ? args.first().toInt(&ok) : 0;
  const QDate sorteo = args.size() == 2 ? leerFecha(args.at(1)) : QDate();
  const QDate dia = textoDia.isEmpty() ? plataforma::hoy() : leerFecha(textoDia);
  if (falta || !ok || !sorteo.isValid() || !dia.isValid()) return c.uso(uso);
  c.cargar();
  if (const Resultado r = operaciones::marcarCobro(c.sesion.almacen(), k, sorteo, dia, plataforma::hoy()); !r) {
    if (r.permiso) errorpermiso();
    c.err << r.error << "\n";
    return kRechazo;
  }
  c.out << "Premio del sorteo del " << fechaCorta(sorteo) << " de la peña del registro " << k << " cobrado el "
        << fechaCorta(dia) << ".\n";
  return kBien;
}

int ordenCompletarPremios(Contexto& c, QStringList args) {
  bool falta = false;
  const QString texto = Contexto::tomarValor(args, QStringLiteral("--desde"), &falta);
  const QDate desde = texto.isEmpty() ? QDate() : leerFecha(texto);
  if (falta || !args.isEmpty() || (!texto.isEmpty() && !desde.isValid()))
    return c.uso(QStringLiteral("Uso: sortilan-cli completar-premios [--desde AAAA-MM-DD]"));
  c.cargar();
  std::unique_ptr<plataforma::CanalHttp> canal = plataforma::crearCanal();
  operaciones::CompletarPremios completar(c.sesion.almacen(), *canal);
  QObject::connect(&completar, &operaciones::CompletarPremios::pidiendo,
                   [&c](const VentanaPeticion& v, int n, int total) {
                     c.out << "Pidiendo los premios del " << fechaCorta(v.desde) << " al " << fechaCorta(v.hasta)
                           << " (" << n << " de " << total << ")\n";
                     c.out.flush();
                   });
  completar.iniciar(desde);
  while (completar.enCurso()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  const operaciones::ResumenCompletar& r = completar.resumen();
  c.out << "Tablas de premios guardadas: " << r.guardadas << ". Sorteos sin tabla de premios: " << r.faltan << ".\n";
  for (const QString& l : operaciones::textosSinImporte(r)) c.out << l << "\n";
  if (!r.resultado) {
    if (r.resultado.permiso) errorpermiso();
    c.err << r.resultado.error << "\n";
    return kRechazo;
  }
  return kBien;
}

}  // namespace sortilan::cli
