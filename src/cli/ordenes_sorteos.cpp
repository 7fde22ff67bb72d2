#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "base/fechas.h"
#include "cli/contexto.h"

namespace sortilan::cli {

int ordenSorteos(Contexto& c, QStringList args) {
  const bool json = Contexto::tomarOpcion(args, QStringLiteral("--json"));
  if (!args.isEmpty()) return c.uso(QStringLiteral("Uso: sortilan-cli sorteos [--json]"));
  if (!c.leer()) return kRechazo;
  const ListaSorteos lista = c.sesion.listasorteos();
  if (lista.danado) return c.sorteosDanados();
  if (json) {
    QJsonArray todos;
    for (int k = 1; k <= lista.filas(); ++k) {
      const Sorteo& s = lista.fila(k);
      QJsonArray numeros;
      for (int i = 1; i <= 5; ++i) numeros.append(s.numero(i));
      todos.append(QJsonObject{{QStringLiteral("fecha"), fechaDesdeOle(s.fecha).toString(Qt::ISODate)},
                               {QStringLiteral("numeros"), numeros},
                               {QStringLiteral("clave"), s.clave()}});
    }
    c.out << QJsonDocument(todos).toJson(QJsonDocument::Compact) << "\n";
  } else {
    for (int k = 1; k <= lista.filas(); ++k)
      c.out << textoSorteo(lista.fila(k)) << "    " << textoFechaSorteo(lista.fila(k)) << "\n";
    c.out << lista.total() << "\n";
  }
  return kBien;
}

int ordenEstado(Contexto& c, QStringList args) {
  if (!args.isEmpty()) return c.uso(QStringLiteral("Uso: sortilan-cli estado"));
  const EstadoSorteos e = c.cargar();
  if (c.lecturaFallida) return kRechazo;
  c.out << "- Última actualización de números ganadores: " << e.ultimo << "\n";
  c.out << "- Próximo sorteo: " << e.proximo << "\n";
  if (e.faltanVisible) c.out << e.faltan << "\n";
  c.out << "- Peñas registradas a comprobar: " << std::max(0, c.sesion.proximapena - 1) << "\n";
  c.out << "TOTAL: " << (c.sesion.proximoreg - 1) << " sorteos.\n";
  c.out << "- Carpeta de datos: " << QDir::toNativeSeparators(c.carpeta) << "\n";
  return kBien;
}

}  // namespace sortilan::cli
