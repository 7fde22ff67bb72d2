#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "base/fechas.h"
#include "base/nif.h"
#include "cli/contexto.h"
#include "operations/papeles.h"
#include "painters/pdfsocios.h"
#include "papers/registropapeles.h"
#include "platform/plataforma.h"
#include "session/errorpermiso.h"
#include "store/escritura.h"

namespace sortilan::cli {

namespace {

QJsonObject jsonPapel(const PapelGuardado& p) {
  return QJsonObject{{QStringLiteral("papel"), p.numero},
                     {QStringLiteral("codigo"), codigoAgrupado(p.codigo)},
                     {QStringLiteral("corto"), codigoCorto(p.codigo)},
                     {QStringLiteral("socio"), p.socio},
                     {QStringLiteral("nombre"), p.nombre},
                     {QStringLiteral("desde"), p.desde.toString(Qt::ISODate)},
                     {QStringLiteral("hasta"), p.hasta.toString(Qt::ISODate)},
                     {QStringLiteral("participaciones"), p.participaciones},
                     {QStringLiteral("total"), p.total},
                     {QStringLiteral("pagado_centimos"), p.pagado},
                     {QStringLiteral("emitido"), p.emitido.toString(Qt::ISODate)},
                     {QStringLiteral("anulado"), p.anulado},
                     {QStringLiteral("texto"), p.texto}};
}

void escribirJson(Contexto& c, const QJsonDocument& d) { c.out << d.toJson(QJsonDocument::Compact) << "\n"; }

// The period and the organiser of the papers as the command gives them; false when
// written wrong. The organiser named on the command replaces the one of sortilan.ini.
bool leerPeticion(Contexto& c, QStringList& args, operaciones::PeticionPapel& p) {
  bool falta = false;
  QDate hasta;
  const bool fechasBien = fechaOpcion(args, QStringLiteral("--hasta"), hasta, QDate());
  const bool conOrganizador = args.contains(QStringLiteral("--organizador"));
  const bool conNif = args.contains(QStringLiteral("--organizador-nif"));
  const QString organizador = Contexto::tomarValor(args, QStringLiteral("--organizador"), &falta);
  const QString nif = Contexto::tomarValor(args, QStringLiteral("--organizador-nif"), &falta);
  p.organizador = organizadorDe(c.carpeta);
  if (conOrganizador) p.organizador = {organizador.simplified(), QString()};
  if (conNif) p.organizador.nif = normalizarNif(nif);
  p.hasta = hasta.isValid() ? hasta : p.desde;
  p.emitido = QDateTime(plataforma::hoy(), QTime::currentTime());
  return fechasBien && !falta && (!conOrganizador || !p.organizador.nombre.isEmpty());
}

}  // namespace

int ordenPapel(Contexto& c, QStringList args) {
  const QString uso = QStringLiteral(
      "Uso: sortilan-cli papel K S --desde AAAA-MM-DD [--hasta AAAA-MM-DD] [--nif] [--organizador NOMBRE] "
      "[--organizador-nif NIF] [--pdf ARCHIVO | --csv ARCHIVO | --json]");
  operaciones::PeticionPapel p;
  bool falta = false;
  const bool desdeBien = fechaOpcion(args, QStringLiteral("--desde"), p.desde, QDate());
  p.conNif = Contexto::tomarOpcion(args, QStringLiteral("--nif"));
  const bool json = Contexto::tomarOpcion(args, QStringLiteral("--json"));
  const QString rutaPdf = Contexto::tomarValor(args, QStringLiteral("--pdf"), &falta);
  const QString rutaCsv = Contexto::tomarValor(args, QStringLiteral("--csv"), &falta);
  const bool peticionBien = leerPeticion(c, args, p);
  const int salidas = (json ? 1 : 0) + (rutaCsv.isEmpty() ? 0 : 1) + (rutaPdf.isEmpty() ? 0 : 1);
  if (borradaRechazada(c, args)) return kRechazo;
  const int k = args.size() == 2 ? positivo(args.at(0)) : 0;
  const int s = args.size() == 2 ? positivo(args.at(1)) : 0;
  if (falta || !desdeBien || !p.desde.isValid() || !peticionBien || !k || !s || salidas > 1) return c.uso(uso);
  c.cargar();
  if (c.lecturaFallida) return kRechazo;
  PapelGuardado papel;
  if (const Resultado r = operaciones::emitirPapel(c.sesion.almacen(), k, s, p, papel); !r) return rechazo(c, r);
  // The paper is stored: a file that cannot be written is told, and the code still shown.
  bool escrito = true;
  if (!rutaPdf.isEmpty()) escrito = guardar(c, rutaPdf, ui::pdfPapel(papel));
  if (!rutaCsv.isEmpty()) escrito = guardar(c, rutaCsv, csvPapel(papel));
  if (json)
    escribirJson(c, QJsonDocument(jsonPapel(papel)));
  else
    c.out << codigoAgrupado(papel.codigo) << "\n";
  if (!escrito) c.err << "El papel nº " << papel.numero << " queda emitido con ese código.\n";
  return escrito ? kBien : kRechazo;
}

int ordenPapelesSorteo(Contexto& c, QStringList args) {
  const QString uso = QStringLiteral(
      "Uso: sortilan-cli papeles-sorteo K AAAA-MM-DD [--hasta AAAA-MM-DD] [--nif] [--organizador NOMBRE] "
      "[--organizador-nif NIF] --pdf CARPETA");
  operaciones::PeticionPapel p;
  bool falta = false;
  p.conNif = Contexto::tomarOpcion(args, QStringLiteral("--nif"));
  const QString carpeta = Contexto::tomarValor(args, QStringLiteral("--pdf"), &falta);
  if (borradaRechazada(c, args)) return kRechazo;
  const int k = !args.isEmpty() ? positivo(args.at(0)) : 0;
  p.desde = args.size() >= 2 ? leerFecha(args.at(1)) : QDate();
  if (args.size() >= 2) args.remove(0, 2);
  const bool peticionBien = leerPeticion(c, args, p);
  if (falta || !k || !p.desde.isValid() || !peticionBien || carpeta.isEmpty() || !args.isEmpty()) return c.uso(uso);
  c.cargar();
  if (c.lecturaFallida) return kRechazo;
  if (!QDir().mkpath(carpeta)) {
    c.err << "No se puede crear la carpeta " << carpeta << ".\n";
    return kRechazo;
  }
  std::vector<PapelGuardado> papeles;
  QStringList omitidos;
  if (const Resultado r = operaciones::emitirPapelesSorteo(c.sesion.almacen(), k, p, papeles, &omitidos); !r)
    return rechazo(c, r);
  const QDir dir(carpeta);
  bool escrito = true;
  for (const PapelGuardado& g : papeles) {
    const QString ruta = dir.filePath(QStringLiteral("papel_%1_socio_%2.pdf").arg(g.numero).arg(g.socio));
    escrito = guardar(c, ruta, ui::pdfPapel(g)) && escrito;
    c.out << g.socio << ". " << g.nombre << "  " << codigoAgrupado(g.codigo) << "\n";
  }
  ui::ResumenPapeles resumen{c.sesion.penas()[static_cast<size_t>(k - 1)].nombreRecortado(),
                             p.organizador.nif.isEmpty()
                                 ? p.organizador.nombre
                                 : QStringLiteral("%1, NIF %2").arg(p.organizador.nombre, p.organizador.nif),
                             p.desde, p.hasta, papeles};
  const QString rutaResumen = dir.filePath(QStringLiteral("resumen_papeles.pdf"));
  escrito = guardar(c, rutaResumen, ui::pdfResumenPapeles(resumen)) && escrito;
  for (const QString& o : omitidos) c.err << "Sin papel: " << o << "\n";
  c.out << papeles.size() << (papeles.size() == 1 ? " papel" : " papeles") << " en " << carpeta << ".\n";
  if (!escrito) c.err << "Los papeles quedan emitidos: «sortilan-cli papeles " << k << "» los lista.\n";
  return escrito ? kBien : kRechazo;
}

int ordenVerificar(Contexto& c, QStringList args) {
  const bool json = Contexto::tomarOpcion(args, QStringLiteral("--json"));
  // A code may be typed with spaces between its groups, as one or several arguments.
  if (args.isEmpty()) return c.uso(QStringLiteral("Uso: sortilan-cli verificar CÓDIGO [--json]"));
  std::optional<PapelGuardado> papel;
  if (const Resultado r = verificarCodigo(c.carpeta, args.join(QLatin1Char(' ')), papel); !r) return rechazo(c, r);
  if (!papel) {
    if (json)
      escribirJson(c, QJsonDocument(QJsonObject{{QStringLiteral("emitido_aqui"), false}}));
    else
      c.out << "Ningún papel de esta carpeta tiene ese código.\n";
    return kRechazo;
  }
  // The text kept must still give its code: otherwise the stored paper was tampered with.
  const bool integro = papel->integro();
  if (json) {
    QJsonObject o = jsonPapel(*papel);
    o.insert(QStringLiteral("emitido_aqui"), true);
    o.insert(QStringLiteral("integro"), integro);
    escribirJson(c, QJsonDocument(o));
  } else {
    c.out << (papel->anulado ? "Papel emitido en esta carpeta, anulado.\n" : "Papel emitido en esta carpeta.\n");
    c.out << papel->texto;
    c.out << "Código: " << codigoAgrupado(papel->codigo) << "\n";
  }
  if (!integro) c.err << "El texto guardado del papel nº " << papel->numero << " no da su código: está alterado.\n";
  return !papel->anulado && integro ? kBien : kRechazo;
}

int ordenAnularPapel(Contexto& c, QStringList args) {
  if (args.isEmpty()) return c.uso(QStringLiteral("Uso: sortilan-cli anular-papel CÓDIGO"));
  c.cargar();
  if (c.lecturaFallida) return kRechazo;
  PapelGuardado papel;
  if (const Resultado r = operaciones::anularPapel(c.sesion.almacen(), args.join(QLatin1Char(' ')), papel); !r)
    return rechazo(c, r);
  c.out << "Papel nº " << papel.numero << " de " << papel.nombre << " anulado.\n";
  return kBien;
}

int ordenPapeles(Contexto& c, QStringList args) {
  const bool json = Contexto::tomarOpcion(args, QStringLiteral("--json"));
  if (borradaRechazada(c, args)) return kRechazo;
  const int k = args.size() == 1 ? positivo(args.at(0)) : 0;
  if (!k) return c.uso(QStringLiteral("Uso: sortilan-cli papeles K [--json]"));
  c.cargar();
  std::vector<PapelGuardado> papeles;
  if (const Resultado r = leerPapelesPena(c.carpeta, c.sesion.penas(), k, papeles); !r) return rechazo(c, r);
  if (json) {
    QJsonArray a;
    for (const PapelGuardado& p : papeles) a.append(jsonPapel(p));
    escribirJson(c, QJsonDocument(a));
    return kBien;
  }
  for (const PapelGuardado& p : papeles)
    c.out << "nº " << p.numero << "  socio " << p.socio << ". " << p.nombre << "  del " << fechaCorta(p.desde) << " al "
          << fechaCorta(p.hasta) << "  " << codigoCorto(p.codigo) << (p.anulado ? "  anulado" : "") << "\n";
  return kBien;
}

}  // namespace sortilan::cli
