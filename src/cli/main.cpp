#include "cli/contexto.h"
#include "platform/plataforma.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

using namespace sortilan::cli;

namespace {

struct Entrada {
  const char* nombre;
  Orden orden;
  const char* ayuda;
};

const Entrada kOrdenes[] = {
    {"sorteos", ordenSorteos, "sorteos [--json]            lista de sorteos, el más reciente primero"},
    {"estado", ordenEstado, "estado                      estado de los sorteos (último, próximo, faltan, total)"},
    {"descargar", ordenDescargar,
     "descargar [--respuesta ARCHIVO]  baja los sorteos nuevos (o procesa una respuesta guardada)"},
    {"escrutinio", ordenEscrutinio, "escrutinio [--json]         premios del último sorteo descargado"},
};

void ayuda(QTextStream& s) {
  s << "Uso: sortilan-cli [--datos CARPETA] ORDEN [opciones]\n\nÓrdenes:\n";
  for (const Entrada& e : kOrdenes) s << "  " << QString::fromUtf8(e.ayuda) << "\n";
}

}  // namespace

namespace sortilan::cli {

Contexto::Contexto() : out(stdout), err(stderr) {}

EstadoSorteos Contexto::cargar() {
  sesion.abrir(carpeta);
  return sesion.cargasorteos(plataforma::hoy());
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

int Contexto::uso(const QString& texto) {
  err << texto << "\n";
  err.flush();
  return kUso;
}

}  // namespace sortilan::cli

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QStringList args = QCoreApplication::arguments().mid(1);
  Contexto c;
  bool falta = false;
  c.carpeta = Contexto::tomarValor(args, QStringLiteral("--datos"), &falta);
  if (falta) return c.uso(QStringLiteral("Falta la carpeta tras --datos."));
  if (c.carpeta.isEmpty()) c.carpeta = sortilan::plataforma::carpetaPrograma();
  if (args.isEmpty() || args.first() == QStringLiteral("--ayuda") || args.first() == QStringLiteral("-h")) {
    ayuda(args.isEmpty() ? c.err : c.out);
    return args.isEmpty() ? kUso : kBien;
  }
  if (!QDir(c.carpeta).exists()) {
    c.err << "La carpeta de datos no existe: " << c.carpeta << "\n";
    return kRechazo;
  }
  const QString nombre = args.takeFirst();
  for (const Entrada& e : kOrdenes) {
    if (nombre == QLatin1String(e.nombre)) {
      const int r = e.orden(c, args);
      c.out.flush();
      c.err.flush();
      return r;
    }
  }
  c.err << "Orden desconocida: " << nombre << "\n";
  ayuda(c.err);
  return kUso;
}
