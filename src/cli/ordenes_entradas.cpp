// Ways in for draws that need no service, and the way out as CSV.
#include <QFileInfo>
#include <QRegularExpression>

#include "answer/reglas.h"
#include "base/fechas.h"
#include "cli/contexto.h"
#include "download/csv.h"
#include "download/guardado.h"
#include "operations/entradas.h"
#include "platform/plataforma.h"
#include "session/errorpermiso.h"

namespace sortilan::cli {

namespace {
using plataforma::Icono;

// A gap before the new draws needs --si: they would be left out of the history for good.
bool seguirTrasHueco(Contexto& c, const QString& titulo, double ultima, const QDate& primero, int faltan, bool si) {
  if (faltan == 0 || si) return true;
  plataforma::mensaje(Icono::Pregunta, titulo, preguntaHueco(ultima, primero, faltan), plataforma::Botones::SiNo);
  c.err << "Añada --si para seguir de todos modos.\n";
  return false;
}
}  // namespace

int ordenAnadirSorteo(Contexto& c, QStringList args) {
  const bool si = Contexto::tomarOpcion(args, QStringLiteral("--si"));
  const QString uso = QStringLiteral("Uso: sortilan-cli anadir-sorteo AAAA-MM-DD \"N N N N N\" K [--si]");
  if (args.size() != 3) return c.uso(uso);
  SorteoAMano s;
  s.fecha = QDate::fromString(args[0], QStringLiteral("yyyy-MM-dd"));
  // A sign is refused, never taken for a separator: "-1 2 3 4 5" is not 1 2 3 4 5.
  const QList<int> numeros = numerosEscritos(args[1]);
  for (qsizetype i = 0; i < numeros.size(); ++i) s.numeros[static_cast<size_t>(i)] = numeros[i];
  s.clave = numeroEscrito(args[2]);
  if (!s.fecha.isValid() || numeros.size() != 5 || s.clave < 0) return c.uso(uso);

  c.cargar();
  Almacen& almacen = c.sesion.almacen();
  const QDate hoy = plataforma::hoy();
  int faltan = 0;
  if (const QString motivo = motivoSorteoAMano(almacen, s, hoy, &faltan); !motivo.isEmpty()) {
    plataforma::mensaje(Icono::Exclamacion, kTituloAMano, motivo);
    return kRechazo;
  }
  if (!seguirTrasHueco(c, kTituloAMano, almacen.sorteos().ultimo().fecha, s.fecha, faltan, si)) return kRechazo;
  const Guardado g = operaciones::anadirSorteoAMano(almacen, s, hoy);
  if (g.guardados > 0) c.out << "Añadido el sorteo del " << fechaLarga(oleDesdeFecha(s.fecha)) << "\n";
  if (!g.resultado) {
    avisarFallo(g.resultado);
    return kRechazo;
  }
  return kBien;
}

int ordenImportarCsv(Contexto& c, QStringList args) {
  const bool si = Contexto::tomarOpcion(args, QStringLiteral("--si"));
  if (args.size() != 1) return c.uso(QStringLiteral("Uso: sortilan-cli importar-csv ARCHIVO [--si]"));
  const QString ruta = args[0];
  c.cargar();
  Almacen& almacen = c.sesion.almacen();
  const QDate hoy = plataforma::hoy();
  const ImportacionCsv im = prepararCsv(almacen, ruta, hoy);
  switch (im.estado) {
    case ImportacionCsv::Estado::NadaNuevo:
      plataforma::mensaje(Icono::Informacion, kTituloCsv, im.mensaje(ruta));
      return kBien;
    case ImportacionCsv::Estado::NoLeido:
    case ImportacionCsv::Estado::LineaMala:
      plataforma::mensaje(Icono::Exclamacion, kTituloCsv, im.mensaje(ruta));
      return kRechazo;
    case ImportacionCsv::Estado::Lista: break;
  }
  if (!seguirTrasHueco(c, kTituloCsv, almacen.sorteos().ultimo().fecha, fechaDesdeOle(im.nuevos.front().fecha),
                       im.faltan, si))
    return kRechazo;
  const Guardado g = operaciones::guardarSorteosNuevos(almacen, im.nuevos, hoy);
  if (!g.resultado) {
    avisarFallo(g.resultado);
    return kRechazo;
  }
  c.out << textoAnadidos(g.guardados) << "\n";
  return kBien;
}

int ordenExportarCsv(Contexto& c, QStringList args) {
  if (args.size() != 1) return c.uso(QStringLiteral("Uso: sortilan-cli exportar-csv ARCHIVO"));
  if (!c.leer()) return kRechazo;
  if (const Resultado r = exportarCsv(c.sesion.almacen(), args[0]); !r) {
    c.err << r.error << "\n";
    return kRechazo;
  }
  c.out << "Exportados " << c.sesion.almacen().sorteos().cuenta() << " sorteos a " << args[0] << "\n";
  return kBien;
}

}  // namespace sortilan::cli
