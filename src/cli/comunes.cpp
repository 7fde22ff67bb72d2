#include "cli/contexto.h"
#include "money/registrodinero.h"
#include "session/errorpermiso.h"
#include "store/escritura.h"

namespace sortilan::cli {

QDate leerFecha(const QString& texto) { return QDate::fromString(texto, Qt::ISODate); }

QJsonValue fechaONula(const QDate& d) { return d.isValid() ? QJsonValue(d.toString(Qt::ISODate)) : QJsonValue(); }

int positivo(const QString& texto) {
  bool ok = false;
  const int n = texto.toInt(&ok);
  return ok && n > 0 ? n : 0;
}

bool fechaOpcion(QStringList& args, const QString& opcion, QDate& d, const QDate& porDefecto) {
  bool falta = false;
  const QString t = Contexto::tomarValor(args, opcion, &falta);
  d = t.isEmpty() ? porDefecto : leerFecha(t);
  return !falta && (t.isEmpty() || d.isValid());
}

bool borradaRechazada(Contexto& c, const QStringList& args) {
  const int n = args.isEmpty() ? 0 : numeroPenaBorrada(args.first());
  if (n == 0) return false;
  c.err << "La peña B" << n
        << " está borrada: no se puede cambiar. Sus socios, extractos, repartos y balance se consultan con socios, "
           "extracto, documento-reparto y balance.\n";
  return true;
}

int rechazo(Contexto& c, const Resultado& r) {
  if (r.permiso) errorpermiso();
  c.err << r.error << "\n";
  return kRechazo;
}

bool guardar(Contexto& c, const QString& ruta, const QByteArray& datos) {
  if (datos.isEmpty()) {
    c.err << "No se pudo pintar " << ruta << ".\n";
    return false;
  }
  if (const Resultado r = reemplazarArchivo(ruta, datos); !r) {
    c.err << r.error << "\n";
    return false;
  }
  return true;
}

}  // namespace sortilan::cli
