#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "base/dinero.h"
#include "base/fechas.h"
#include "cli/contexto.h"
#include "members/papeles.h"
#include "members/registrosocios.h"
#include "operations/socios.h"
#include "painters/pdfsocios.h"
#include "platform/plataforma.h"
#include "session/errorpermiso.h"
#include "store/escritura.h"

namespace sortilan::cli {

namespace {

// K of an order that only reads: a record number, or a deleted peña ("B1").
struct PenaLeida {
  int registro = 0;
  int borrada = 0;
  explicit operator bool() const { return registro > 0 || borrada > 0; }
};

PenaLeida leerK(const QString& texto) { return {positivo(texto), numeroPenaBorrada(texto)}; }

bool leerSocios(Contexto& c, PenaLeida k, SociosPena& p) {
  if (!c.leer()) return false;
  const std::vector<Sorteo> sorteos = c.sesion.almacen().sorteos().leerTodos();
  if (const Resultado r = k.borrada ? leerSociosPenaBorrada(c.carpeta, sorteos, k.borrada, p)
                                    : leerSociosPena(c.carpeta, c.sesion.penas(), sorteos, k.registro, p);
      !r) {
    c.err << r.error << "\n";
    return false;
  }
  return true;
}

int movimiento(Contexto& c, QStringList args, Concepto concepto, const QString& uso) {
  QDate fecha;
  if (borradaRechazada(c, args)) return kRechazo;
  if (!fechaOpcion(args, QStringLiteral("--fecha"), fecha, plataforma::hoy()) || args.size() != 3) return c.uso(uso);
  const int k = positivo(args.at(0));
  const int s = positivo(args.at(1));
  const std::optional<Centimos> importe = leerImporte(args.at(2));
  if (!k || !s) return c.uso(uso);
  if (!importe) return c.uso(avisoImporte());
  c.cargar();
  if (const Resultado r =
          operaciones::anotarMovimiento(c.sesion.almacen(), k, s, concepto, *importe, fecha, plataforma::hoy());
      !r)
    return rechazo(c, r);
  c.out << (concepto == Concepto::Aportacion ? "Aportación" : "Pago") << " de " << textoEuros(*importe)
        << (concepto == Concepto::Aportacion ? " anotada" : " anotado") << " al socio " << s << " el "
        << fechaCorta(fecha) << ".\n";
  return kBien;
}

}  // namespace

int ordenSocios(Contexto& c, QStringList args) {
  const bool json = Contexto::tomarOpcion(args, QStringLiteral("--json"));
  const PenaLeida k = args.size() == 1 ? leerK(args.first()) : PenaLeida{};
  if (!k) return c.uso(QStringLiteral("Uso: sortilan-cli socios K [--json]"));
  SociosPena p;
  if (!leerSocios(c, k, p)) return kRechazo;
  QJsonArray lista;
  const std::vector<Centimos> saldos = p.saldos();
  for (size_t i = 0; i < p.socios.size(); ++i) {
    const Socio& s = p.socios[i];
    const Centimos saldo = saldos[i];
    if (!json) {
      c.out << s.numero << ". " << s.nombre << "  participaciones: " << s.participacionesActuales()
            << "  alta: " << fechaCorta(s.alta());
      if (s.baja().isValid()) c.out << "  baja: " << fechaCorta(s.baja());
      c.out << "  saldo: " << textoSaldo(saldo) << "\n";
      continue;
    }
    lista.append(QJsonObject{{QStringLiteral("socio"), s.numero},
                             {QStringLiteral("nombre"), s.nombre},
                             {QStringLiteral("nif"), s.nif.isEmpty() ? QJsonValue() : QJsonValue(s.nif)},
                             {QStringLiteral("participaciones"), s.participacionesActuales()},
                             {QStringLiteral("alta"), fechaONula(s.alta())},
                             {QStringLiteral("baja"), fechaONula(s.baja())},
                             {QStringLiteral("saldo_centimos"), saldo}});
  }
  if (json)
    c.out << QJsonDocument(lista).toJson(QJsonDocument::Compact) << "\n";
  else if (p.socios.empty())
    c.out << "La peña " << p.nombre << " no tiene socios.\n";
  return kBien;
}

int ordenAltaSocio(Contexto& c, QStringList args) {
  const QString uso = QStringLiteral(
      "Uso: sortilan-cli alta-socio K --nombre N --participaciones P [--nif X] [--contacto C] [--desde AAAA-MM-DD]");
  bool falta = false;
  operaciones::DatosSocio datos;
  datos.nombre = Contexto::tomarValor(args, QStringLiteral("--nombre"), &falta);
  datos.nif = Contexto::tomarValor(args, QStringLiteral("--nif"), &falta);
  datos.contacto = Contexto::tomarValor(args, QStringLiteral("--contacto"), &falta);
  const int p = positivo(Contexto::tomarValor(args, QStringLiteral("--participaciones"), &falta));
  QDate desde;
  const bool fechaBien = fechaOpcion(args, QStringLiteral("--desde"), desde, plataforma::hoy());
  if (borradaRechazada(c, args)) return kRechazo;
  const int k = args.size() == 1 ? positivo(args.first()) : 0;
  if (falta || !k || !p || !fechaBien) return c.uso(uso);
  c.cargar();
  int numero = 0;
  if (const Resultado r = operaciones::altaSocio(c.sesion.almacen(), k, datos, p, desde, &numero); !r)
    return rechazo(c, r);
  c.out << numero << "\n";
  return kBien;
}

int ordenBajaSocio(Contexto& c, QStringList args) {
  QDate desde;
  const bool fechaBien = fechaOpcion(args, QStringLiteral("--desde"), desde, plataforma::hoy());
  if (borradaRechazada(c, args)) return kRechazo;
  const int k = args.size() == 2 ? positivo(args.at(0)) : 0;
  const int s = args.size() == 2 ? positivo(args.at(1)) : 0;
  if (!k || !s || !fechaBien) return c.uso(QStringLiteral("Uso: sortilan-cli baja-socio K S [--desde AAAA-MM-DD]"));
  c.cargar();
  if (const Resultado r = operaciones::bajaSocio(c.sesion.almacen(), k, s, desde); !r) return rechazo(c, r);
  c.out << "Socio " << s << " de baja desde el " << fechaCorta(desde) << ".\n";
  return kBien;
}

int ordenParticipaciones(Contexto& c, QStringList args) {
  QDate desde;
  const bool fechaBien = fechaOpcion(args, QStringLiteral("--desde"), desde, plataforma::hoy());
  if (borradaRechazada(c, args)) return kRechazo;
  const int k = args.size() == 3 ? positivo(args.at(0)) : 0;
  const int s = args.size() == 3 ? positivo(args.at(1)) : 0;
  const int p = args.size() == 3 ? positivo(args.at(2)) : 0;
  if (!k || !s || !p || !fechaBien)
    return c.uso(QStringLiteral("Uso: sortilan-cli participaciones K S P [--desde AAAA-MM-DD]"));
  c.cargar();
  if (const Resultado r = operaciones::cambiarParticipaciones(c.sesion.almacen(), k, s, p, desde); !r)
    return rechazo(c, r);
  c.out << "El socio " << s << " tiene " << p << " participaciones desde el " << fechaCorta(desde) << ".\n";
  return kBien;
}

int ordenAportacion(Contexto& c, QStringList args) {
  return movimiento(c, std::move(args), Concepto::Aportacion,
                    QStringLiteral("Uso: sortilan-cli aportacion K S IMPORTE [--fecha AAAA-MM-DD]"));
}

int ordenPago(Contexto& c, QStringList args) {
  return movimiento(c, std::move(args), Concepto::Pago,
                    QStringLiteral("Uso: sortilan-cli pago K S IMPORTE [--fecha AAAA-MM-DD]"));
}

int ordenReparto(Contexto& c, QStringList args) {
  const bool pagar = Contexto::tomarOpcion(args, QStringLiteral("--pagar"));
  const bool reinvertir = Contexto::tomarOpcion(args, QStringLiteral("--reinvertir"));
  if (borradaRechazada(c, args)) return kRechazo;
  const int k = args.size() == 2 ? positivo(args.at(0)) : 0;
  const QDate sorteo = args.size() == 2 ? leerFecha(args.at(1)) : QDate();
  if (!k || !sorteo.isValid() || pagar == reinvertir)
    return c.uso(QStringLiteral("Uso: sortilan-cli reparto K AAAA-MM-DD (--pagar | --reinvertir)"));
  c.cargar();
  if (const Resultado r = operaciones::repartirPremio(c.sesion.almacen(), k, sorteo, pagar, plataforma::hoy()); !r)
    return rechazo(c, r);
  c.out << "Premio del sorteo del " << fechaCorta(sorteo) << " repartido"
        << (pagar ? " y pagado a los socios.\n" : "; se queda en la peña.\n");
  return kBien;
}

int ordenExtracto(Contexto& c, QStringList args) {
  const QString uso = QStringLiteral(
      "Uso: sortilan-cli extracto K S [--desde AAAA-MM-DD] [--hasta AAAA-MM-DD] [--json | --csv ARCHIVO | --pdf "
      "ARCHIVO] [--nif]");
  bool falta = false;
  QDate desde, hasta;
  const bool fechasBien = fechaOpcion(args, QStringLiteral("--desde"), desde, QDate()) &
                          fechaOpcion(args, QStringLiteral("--hasta"), hasta, QDate());
  const bool json = Contexto::tomarOpcion(args, QStringLiteral("--json"));
  const bool conNif = Contexto::tomarOpcion(args, QStringLiteral("--nif"));
  const QString rutaCsv = Contexto::tomarValor(args, QStringLiteral("--csv"), &falta);
  const QString rutaPdf = Contexto::tomarValor(args, QStringLiteral("--pdf"), &falta);
  const int salidas = (json ? 1 : 0) + (rutaCsv.isEmpty() ? 0 : 1) + (rutaPdf.isEmpty() ? 0 : 1);
  const PenaLeida k = args.size() == 2 ? leerK(args.at(0)) : PenaLeida{};
  const int s = args.size() == 2 ? positivo(args.at(1)) : 0;
  if (falta || !k || !s || !fechasBien || salidas > 1) return c.uso(uso);
  SociosPena p;
  if (!leerSocios(c, k, p)) return kRechazo;
  const std::optional<Extracto> e = extracto(p, s, desde, hasta);
  if (!e) {
    c.err << "La peña " << p.nombre << " no tiene ningún socio " << s << ".\n";
    return kRechazo;
  }
  if (json) {
    QJsonArray movimientos;
    for (const Movimiento& m : e->movimientos)
      movimientos.append(QJsonObject{{QStringLiteral("fecha"), m.fecha.toString(Qt::ISODate)},
                                     {QStringLiteral("concepto"), textoConcepto(m.concepto)},
                                     {QStringLiteral("importe_centimos"), m.importe},
                                     {QStringLiteral("saldo_centimos"), m.saldo},
                                     {QStringLiteral("movimiento"), m.numero > 0 ? QJsonValue(m.numero) : QJsonValue()},
                                     {QStringLiteral("anulado"), fechaONula(m.anulado)},
                                     {QStringLiteral("anula"), m.anula > 0 ? QJsonValue(m.anula) : QJsonValue()},
                                     {QStringLiteral("motivo"), m.motivo.isEmpty() ? QJsonValue() : m.motivo}});
    c.out << QJsonDocument(QJsonObject{{QStringLiteral("socio"), e->numero},
                                       {QStringLiteral("nombre"), e->nombre},
                                       {QStringLiteral("movimientos"), movimientos},
                                       {QStringLiteral("saldo_centimos"), e->saldo}})
                 .toJson(QJsonDocument::Compact)
          << "\n";
    return kBien;
  }
  if (!rutaCsv.isEmpty()) return guardar(c, rutaCsv, csvExtracto(*e, conNif)) ? kBien : kRechazo;
  if (!rutaPdf.isEmpty()) {
    int paginas = 0;
    if (!guardar(c, rutaPdf, ui::pdfExtracto(*e, conNif, &paginas))) return kRechazo;
    c.out << tituloExtracto(*e) << ": " << paginas << (paginas == 1 ? " página" : " páginas") << " (" << rutaPdf
          << ").\n";
    return kBien;
  }
  c.out << tituloExtracto(*e) << "\n"
        << textoPeriodoExtracto(*e) << "\nParticipaciones: " << textoParticipaciones(*e) << "\n";
  c.out << "            saldo anterior    " << textoSaldo(e->saldoAnterior) << "\n";
  for (const Movimiento& m : e->movimientos) {
    c.out << fechaCorta(m.fecha) << "  " << textoConcepto(m.concepto) << "  " << textoEuros(m.importe) << "  "
          << textoSaldo(m.saldo);
    if (m.numero > 0) c.out << "  [" << m.numero << "]";
    if (m.anulado.isValid()) c.out << "  anulado el " << fechaCorta(m.anulado);
    if (m.anula > 0) c.out << "  anula el " << m.anula;
    if (!m.motivo.isEmpty()) c.out << "  (" << m.motivo << ")";
    c.out << "\n";
  }
  c.out << "TOTAL  " << textoSaldo(e->saldo) << "\n";
  return kBien;
}

int ordenAnular(Contexto& c, QStringList args) {
  bool falta = false;
  const QString motivo = Contexto::tomarValor(args, QStringLiteral("--motivo"), &falta);
  const int k = args.size() == 3 ? positivo(args.at(0)) : 0;
  const int s = args.size() == 3 ? positivo(args.at(1)) : 0;
  const int n = args.size() == 3 ? positivo(args.at(2)) : 0;
  if (falta || !k || !s || !n) return c.uso(QStringLiteral("Uso: sortilan-cli anular K S N [--motivo TEXTO]"));
  c.cargar();
  if (const Resultado r = operaciones::anularMovimiento(c.sesion.almacen(), k, s, n, motivo, plataforma::hoy()); !r)
    return rechazo(c, r);
  c.out << "Movimiento " << n << " del socio " << s << " anulado el " << fechaCorta(plataforma::hoy()) << ".\n";
  return kBien;
}

int ordenAnularReparto(Contexto& c, QStringList args) {
  bool falta = false;
  const QString motivo = Contexto::tomarValor(args, QStringLiteral("--motivo"), &falta);
  const int k = args.size() == 2 ? positivo(args.at(0)) : 0;
  const QDate sorteo = args.size() == 2 ? leerFecha(args.at(1)) : QDate();
  if (falta || !k || !sorteo.isValid())
    return c.uso(QStringLiteral("Uso: sortilan-cli anular-reparto K AAAA-MM-DD [--motivo TEXTO]"));
  c.cargar();
  if (const Resultado r = operaciones::anularReparto(c.sesion.almacen(), k, sorteo, motivo, plataforma::hoy()); !r)
    return rechazo(c, r);
  c.out << "Reparto del premio del sorteo del " << fechaCorta(sorteo) << " anulado; el premio puede repartirse otra "
        << "vez.\n";
  return kBien;
}

int ordenDocumentoReparto(Contexto& c, QStringList args) {
  bool falta = false;
  const QString rutaPdf = Contexto::tomarValor(args, QStringLiteral("--pdf"), &falta);
  const QString rutaCsv = Contexto::tomarValor(args, QStringLiteral("--csv"), &falta);
  const bool conNif = Contexto::tomarOpcion(args, QStringLiteral("--nif"));
  const PenaLeida k = args.size() == 2 ? leerK(args.at(0)) : PenaLeida{};
  const QDate sorteo = args.size() == 2 ? leerFecha(args.at(1)) : QDate();
  if (falta || !k || !sorteo.isValid() || rutaPdf.isEmpty())
    return c.uso(
        QStringLiteral("Uso: sortilan-cli documento-reparto K AAAA-MM-DD --pdf ARCHIVO [--csv ARCHIVO] [--nif]"));
  if (!c.leer()) return kRechazo;
  DocumentoReparto d;
  const std::vector<Sorteo> sorteos = c.sesion.almacen().sorteos().leerTodos();
  if (const Resultado r = k.borrada ? leerDocumentoRepartoBorrada(c.carpeta, sorteos, k.borrada, sorteo, d)
                                    : leerDocumentoReparto(c.carpeta, c.sesion.penas(), sorteos, k.registro, sorteo, d);
      !r) {
    c.err << r.error << "\n";
    return kRechazo;
  }
  int paginas = 0;
  if (!guardar(c, rutaPdf, ui::pdfReparto(d, conNif, &paginas))) return kRechazo;
  if (!rutaCsv.isEmpty() && !guardar(c, rutaCsv, csvReparto(d, conNif))) return kRechazo;
  c.out << tituloReparto(d) << ": " << d.lineas.size() << (d.lineas.size() == 1 ? " socio, " : " socios, ") << paginas
        << (paginas == 1 ? " página" : " páginas") << " (" << rutaPdf << ").\n";
  return kBien;
}

}  // namespace sortilan::cli
