#include <QDate>

#include "cli/contexto.h"
#include "operations/penas.h"
#include "operations/sorteos.h"
#include "platform/plataforma.h"
#include "session/errorpermiso.h"

namespace sortilan::cli {

namespace {

// Questions of the window are confirmed on the command line with --si; without it
// the question is shown and nothing changes.
bool confirmado(Contexto& c, bool si, const QString& pregunta) {
  if (si) return true;
  c.err << "Borrar...: " << pregunta << "\n";
  c.err << "Nada se ha cambiado: añada --si para confirmar.\n";
  return false;
}

}  // namespace

int informar(Contexto& c, const Resultado& r) {
  if (r) return kBien;
  if (r.permiso) errorpermiso();
  c.err << r.error << "\n";
  return kRechazo;
}

int ordenImportar(Contexto& c, QStringList args) {
  if (args.size() != 1 || args.first().startsWith(QLatin1String("--")))
    return c.uso(QStringLiteral("Uso: sortilan-cli importar ARCHIVO"));
  c.cargar();
  const operaciones::Importacion i = operaciones::importarSorteos(c.sesion.almacen(), args.first());
  operaciones::avisarImportacion(i);
  return i.estado == operaciones::Importe::Importado ? kBien : kRechazo;
}

int ordenBorrarSorteo(Contexto& c, QStringList args) {
  const bool si = Contexto::tomarOpcion(args, QStringLiteral("--si"));
  const QDate fecha = args.size() == 1 ? QDate::fromString(args.first(), Qt::ISODate) : QDate();
  if (!fecha.isValid()) return c.uso(QStringLiteral("Uso: sortilan-cli borrar-sorteo AAAA-MM-DD --si"));
  if (!confirmado(c, si, operaciones::kPreguntaBorrarUno)) return kRechazo;
  c.cargar();
  const std::optional<Sorteo> sorteo = operaciones::sorteoDelDia(c.sesion.almacen(), fecha);
  if (!sorteo) {
    c.err << "No hay ningún sorteo del " << fecha.toString(QStringLiteral("dd/MM/yyyy")) << ".\n";
    return kRechazo;
  }
  return informar(c, operaciones::borrarSorteo(c.sesion.almacen(), *sorteo));
}

int ordenBorrarSorteos(Contexto& c, QStringList args) {
  const bool si = Contexto::tomarOpcion(args, QStringLiteral("--si"));
  if (!args.isEmpty()) return c.uso(QStringLiteral("Uso: sortilan-cli borrar-sorteos --si"));
  if (!confirmado(c, si, operaciones::kPreguntaBorrarTodos)) return kRechazo;
  c.cargar();
  return informar(c, operaciones::borrarSorteos(c.sesion.almacen()));
}

int ordenReiniciarPenas(Contexto& c, QStringList args) {
  const bool si = Contexto::tomarOpcion(args, QStringLiteral("--si"));
  if (!args.isEmpty()) return c.uso(QStringLiteral("Uso: sortilan-cli reiniciar-penas --si"));
  if (!confirmado(c, si, operaciones::kPreguntaAciertos)) return kRechazo;
  c.cargar();
  return informar(c, operaciones::reiniciarContadores(c.sesion.almacen(), plataforma::hoy()));
}

}  // namespace sortilan::cli
