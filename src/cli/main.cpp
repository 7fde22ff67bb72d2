#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdio>
#include <memory>

#include "base/programa.h"
#include "cli/contexto.h"
#include "operations/transaccion.h"
#include "platform/plataforma.h"
#include "session/carpetadatos.h"

using namespace sortilan::cli;

namespace {

struct Entrada {
  const char* nombre;
  Orden orden;
  const char* ayuda;
};

const Entrada kOrdenes[] = {
    {"sorteos", ordenSorteos, "sorteos [--json]|lista de sorteos, el más reciente primero"},
    {"estado", ordenEstado, "estado|último sorteo, próximo sorteo, sorteos que faltan y total"},
    {"penas", ordenPenas,
     "penas [--borradas] [--json]|peñas en orden de registro; con --borradas, las borradas que conservan "
     "socios o cuentas (B1, B2...: valen por K en socios, extracto, documento-reparto y balance)"},
    {"crear", ordenCrear,
     "crear --nombre N --clave K (--apuesta \"N N N N N\")... | --multiple \"N N N N N N[ ...]\"|añade una peña"},
    {"borrar-pena", ordenBorrarPena,
     "borrar-pena K --si|elimina la peña del registro K (sus socios y cuentas se conservan)"},
    {"comprobar", ordenComprobar,
     "comprobar [--sorteos N] [--historico] [--solo-premios] [--json]|comprueba las peñas y cuenta los premios"},
    {"resumen", ordenResumen, "resumen [--json]|resumen y detalle de las peñas"},
    {"importar", ordenImportar, "importar ARCHIVO|sustituye los sorteos (la base anterior queda en numeros.bak)"},
    {"borrar-sorteo", ordenBorrarSorteo, "borrar-sorteo AAAA-MM-DD --si|elimina el sorteo de esa fecha"},
    {"borrar-sorteos", ordenBorrarSorteos, "borrar-sorteos --si|elimina todos los sorteos"},
    {"reiniciar-penas", ordenReiniciarPenas, "reiniciar-penas --si|pone a cero los aciertos de las peñas"},
    {"descargar", ordenDescargar,
     "descargar [--respuesta ARCHIVO] [--avisar]|baja los sorteos nuevos, o procesa una respuesta guardada sin usar "
     "la red; con --avisar, avisa en el escritorio de los premios y de los plazos"},
    {"avisos", ordenAvisos,
     "avisos [--json | activar | desactivar | estado]|avisa en el escritorio de los premios y plazos pendientes, o "
     "programa la descarga con avisos"},
    {"escrutinio", ordenEscrutinio, "escrutinio [--json]|premios del último sorteo descargado"},
    {"imprimir", ordenImprimir,
     "imprimir K --papel oficial|normal --pdf ARCHIVO|imprime los boletos de la peña K en un PDF"},
    {"estadisticas", ordenEstadisticas, "estadisticas [--json]|veces que ha salido cada número y cada número clave"},
    {"anadir-sorteo", ordenAnadirSorteo, "anadir-sorteo AAAA-MM-DD \"N N N N N\" K [--si]|añade un sorteo a mano"},
    {"importar-csv", ordenImportarCsv, "importar-csv ARCHIVO [--si]|añade los sorteos nuevos de un archivo CSV"},
    {"exportar-csv", ordenExportarCsv, "exportar-csv ARCHIVO|escribe todos los sorteos en un archivo CSV"},
    {"balance", ordenBalance, "balance [K] [--json]|lo que ha costado y ganado cada peña, o cada sorteo de la peña K"},
    {"cobros", ordenCobros, "cobros [--pendientes] [--json]|premios que cobrar, dónde y hasta cuándo"},
    {"cobrar", ordenCobrar,
     "cobrar K AAAA-MM-DD [--fecha AAAA-MM-DD]|marca cobrado el premio de la peña K en ese sorteo"},
    {"completar-premios", ordenCompletarPremios,
     "completar-premios [--desde AAAA-MM-DD]|pide al servicio las tablas de premios que faltan"},
    {"socios", ordenSocios, "socios K [--json]|socios de la peña K con participaciones y saldo"},
    {"alta-socio", ordenAltaSocio,
     "alta-socio K --nombre N --participaciones P [--nif X] [--contacto C] [--desde AAAA-MM-DD]|da de alta un socio "
     "en la peña K y escribe su número"},
    {"baja-socio", ordenBajaSocio, "baja-socio K S [--desde AAAA-MM-DD]|da de baja al socio S de la peña K"},
    {"participaciones", ordenParticipaciones,
     "participaciones K S P [--desde AAAA-MM-DD]|el socio S pasa a tener P participaciones"},
    {"aportacion", ordenAportacion, "aportacion K S IMPORTE [--fecha AAAA-MM-DD]|anota dinero recibido del socio S"},
    {"pago", ordenPago, "pago K S IMPORTE [--fecha AAAA-MM-DD]|anota dinero pagado al socio S"},
    {"reparto", ordenReparto,
     "reparto K AAAA-MM-DD (--pagar | --reinvertir)|reparte entre los socios el premio cobrado de ese sorteo"},
    {"extracto", ordenExtracto,
     "extracto K S [--desde AAAA-MM-DD] [--hasta AAAA-MM-DD] [--json | --csv ARCHIVO | --pdf ARCHIVO] [--nif]|"
     "movimientos y saldo del socio S"},
    {"anular", ordenAnular, "anular K S N [--motivo TEXTO]|anula el movimiento N del socio S (sigue en su extracto)"},
    {"anular-reparto", ordenAnularReparto,
     "anular-reparto K AAAA-MM-DD [--motivo TEXTO]|anula el reparto del premio de ese sorteo con sus pagos"},
    {"documento-reparto", ordenDocumentoReparto,
     "documento-reparto K AAAA-MM-DD --pdf ARCHIVO [--csv ARCHIVO] [--nif]|documento del reparto de un premio entre "
     "los socios"},
    {"papel", ordenPapel,
     "papel K S --desde AAAA-MM-DD [--hasta AAAA-MM-DD] [--nif] [--organizador NOMBRE] [--organizador-nif NIF] "
     "[--pdf ARCHIVO | --csv ARCHIVO | --json]|emite el papel de participación del socio S y escribe su código"},
    {"papeles-sorteo", ordenPapelesSorteo,
     "papeles-sorteo K AAAA-MM-DD [--hasta AAAA-MM-DD] [--nif] --pdf CARPETA|emite un papel para cada socio que "
     "juega, con una hoja resumen para el organizador"},
    {"verificar", ordenVerificar, "verificar CÓDIGO [--json]|dice si un papel es de esta carpeta y lo que dice"},
    {"anular-papel", ordenAnularPapel, "anular-papel CÓDIGO|anula un papel emitido (sigue en la lista)"},
    {"papeles", ordenPapeles, "papeles K [--json]|papeles emitidos para la peña K"},
};

// One line an order: how it is written, then what it does.
void ayuda(QTextStream& s) {
  s << "Uso: sortilan-cli [--datos CARPETA] ORDEN [opciones]\n"
       "     sortilan-cli --help | --version\n\nÓrdenes:\n";
  for (const Entrada& e : kOrdenes) {
    const QString linea = QString::fromUtf8(e.ayuda);
    const qsizetype corte = linea.lastIndexOf(QLatin1Char('|'));
    s << "  " << linea.left(corte).leftJustified(34) << "  " << linea.mid(corte + 1) << "\n";
  }
}

bool pideAyuda(const QString& a) {
  return a == QLatin1String("--help") || a == QLatin1String("-h") || a == QLatin1String("ayuda") ||
         a == QLatin1String("--ayuda");
}

}  // namespace

namespace sortilan::cli {

Contexto::Contexto() : out(stdout), err(stderr) {}

EstadoSorteos Contexto::cargar() {
  // Orders that only read go on with what could be opened; the reason is still told.
  if (const Resultado r = sesion.abrir(carpeta); !r) err << r.error << "\n";
  // A change cut short is finished before anything is read: the files and sortilan.db
  // are then the old or the new state together.
  else if (const Resultado t = operaciones::terminarCambioCortado(sesion.almacen()); !t)
    err << t.error << "\n";
  EstadoSorteos e = sesion.cargasorteos(plataforma::hoy());
  lecturaFallida = !sesion.lectura() || (sesion.penasDanadas() && !apartaDanados);
  if (!sesion.lectura()) err << sesion.lectura().error << "\n";
  if (sesion.penasDanadas() && !apartaDanados)
    plataforma::mensaje(plataforma::Icono::Exclamacion, QStringLiteral("¡Vaya hombre!"),
                        QString::fromUtf8(kPenasCorruptas) +
                            QStringLiteral(" No se ha cambiado nada: al abrir la ventana o con «sortilan-cli "
                                           "comprobar» se apartará como apuestas.err."));
  return e;
}

bool Contexto::tomarOpcion(QStringList& args, const QString& opcion) { return args.removeAll(opcion) > 0; }

QString Contexto::tomarValor(QStringList& args, const QString& opcion, bool* falta) {
  const int i = args.indexOf(opcion);
  if (i < 0) return {};
  if (i + 1 >= args.size()) {
    if (falta) *falta = true;
    args.removeAt(i);
    return {};
  }
  const QString v = args.at(i + 1);
  args.remove(i, 2);
  return v;
}

int Contexto::sorteosDanados() {
  plataforma::mensaje(plataforma::Icono::Exclamacion, QStringLiteral("Error de lectura"),
                      QStringLiteral("Archivo de números ganadores no válido. No se ha cambiado nada: al abrir la "
                                     "ventana o con «sortilan-cli comprobar» se apartará como numeros.err."));
  return kRechazo;
}

int Contexto::uso(const QString& texto) {
  err << texto << "\n";
  err.flush();
  return kUso;
}

}  // namespace sortilan::cli

int main(int argc, char** argv) {
  // Painting a PDF needs fonts, and fonts need a GUI application; no screen is used.
  bool pinta = false;
  for (int i = 1; i < argc; ++i) {
    const QByteArray a(argv[i]);
    pinta = pinta || a == "imprimir" || a == "documento-reparto" || a == "--pdf";
  }
  if (pinta && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  std::unique_ptr<QCoreApplication> app =
      pinta ? std::make_unique<QGuiApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
  QStringList args = QCoreApplication::arguments().mid(1);
  Contexto c;
  bool falta = false;
  const bool conDatos = args.contains(QStringLiteral("--datos"));
  const QString datos = Contexto::tomarValor(args, QStringLiteral("--datos"), &falta);
  // An empty value (an unset variable in a script) must not fall back to the usual data.
  if (falta || (conDatos && datos.isEmpty())) return c.uso(QStringLiteral("Falta la carpeta tras --datos."));
  if (args.isEmpty() || pideAyuda(args.first())) {
    ayuda(args.isEmpty() ? c.err : c.out);
    return args.isEmpty() ? kUso : kBien;
  }
  if (args.first() == QLatin1String("--version")) {
    c.out << "sortilan-cli " << sortilan::versionPrograma() << "\n";
    return kBien;
  }
  if (const sortilan::Resultado r = sortilan::usarCarpetaDatos(datos); !r) {
    c.err << r.error << "\n";
    return kRechazo;
  }
  c.carpeta = sortilan::plataforma::carpetaPrograma();
  const QString nombre = args.takeFirst();
  for (const Entrada& e : kOrdenes) {
    if (nombre == QLatin1String(e.nombre)) {
      int r = e.orden(c, args);
      // What could not be read was shown as empty: the order did not do its job.
      if (r == kBien && c.lecturaFallida) r = kRechazo;
      c.out.flush();
      c.err.flush();
      return r;
    }
  }
  c.err << "Orden desconocida: " << nombre << "\n";
  ayuda(c.err);
  return kUso;
}
