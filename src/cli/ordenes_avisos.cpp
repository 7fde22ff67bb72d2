#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "cli/contexto.h"
#include "money/balance.h"
#include "notices/avisos.h"
#include "platform/notificaciones.h"
#include "platform/plataforma.h"
#include "platform/programacion.h"

namespace sortilan::cli {

namespace {

QString textoTipo(Aviso::Tipo t) {
  switch (t) {
    case Aviso::Tipo::Premio: return QStringLiteral("premio");
    case Aviso::Tipo::Plazo: return QStringLiteral("plazo");
    case Aviso::Tipo::Fallo: return QStringLiteral("fallo");
  }
  return {};
}

// What is still to tell: the prizes not told yet and today's deadlines.
Resultado pendientes(Contexto& c, std::vector<Aviso>& avisos) {
  const QDate hoy = plataforma::hoy();
  Cuentas cuentas;
  if (Resultado r =
          leerCuentas(c.carpeta, c.sesion.penas(), c.sesion.almacen().sorteos().leerTodos(), hoy, cuentas, {0, true});
      !r)
    return r;
  Avisados hechos;
  if (Resultado r = leerAvisados(c.carpeta, hechos); !r) return r;
  avisos = avisosPendientes(c.sesion.penas(), cuentas, hechos, hoy);
  return Resultado::bien();
}

int programar(Contexto& c, const QString& que) {
  const QString exe = QCoreApplication::applicationFilePath();
  if (que == QLatin1String("estado")) {
    switch (plataforma::estadoAvisosAutomaticos()) {
      case plataforma::EstadoProgramacion::Activada:
        c.out << "Avisos automáticos: activados (" << plataforma::kTemporizador << ").\n";
        break;
      case plataforma::EstadoProgramacion::Desactivada: c.out << "Avisos automáticos: desactivados.\n"; break;
      case plataforma::EstadoProgramacion::SinSystemd:
        c.out << plataforma::textoSinSystemd(exe, c.carpeta) << "\n";
        break;
    }
    return kBien;
  }
  if (que == QLatin1String("activar")) {
    if (const Resultado r = plataforma::activarAvisosAutomaticos(exe, c.carpeta); !r) return informar(c, r);
    c.out << "Avisos automáticos activados: los sorteos se bajarán los domingos a las 23:30 y los lunes a las 10:00, "
             "y avisarán de los premios y de los plazos de cobro.\n";
    return kBien;
  }
  if (const Resultado r = plataforma::desactivarAvisosAutomaticos(); !r) return informar(c, r);
  c.out << "Avisos automáticos desactivados.\n";
  return kBien;
}

}  // namespace

int enviarAvisos(Contexto& c, std::vector<Aviso> previos) {
  std::vector<Aviso> avisos;
  const Resultado leidos = pendientes(c, avisos);
  avisos.insert(avisos.begin(), std::make_move_iterator(previos.begin()), std::make_move_iterator(previos.end()));
  std::vector<QString> dados;
  bool escritorio = true;
  for (const Aviso& a : avisos) {
    // Printed always: a scheduled run keeps them in its log, and without a desktop this is
    // the only place they appear.
    c.out << "Aviso: " << a.titulo << "\n";
    for (const QString& l : a.cuerpo.split(QLatin1Char('\n'))) c.out << "  " << l << "\n";
    c.out.flush();
    if (!escritorio) continue;
    if (const Resultado r = plataforma::notificarEscritorio(a.titulo, a.cuerpo); !r) {
      // Without a desktop the notices stay pending: the next run with one shows them.
      c.err << r.error << " Los avisos quedan pendientes.\n";
      escritorio = false;
      continue;
    }
    dados.insert(dados.end(), a.claves.begin(), a.claves.end());
  }
  if (!leidos) return informar(c, leidos);
  return informar(c, anotarAvisados(c.carpeta, dados, plataforma::hoy()));
}

int ordenAvisos(Contexto& c, QStringList args) {
  const QString uso = QStringLiteral("Uso: sortilan-cli avisos [--json | activar | desactivar | estado]");
  const bool json = Contexto::tomarOpcion(args, QStringLiteral("--json"));
  if (args.size() == 1 && !json &&
      (args.first() == QLatin1String("activar") || args.first() == QLatin1String("desactivar") ||
       args.first() == QLatin1String("estado")))
    return programar(c, args.first());
  if (!args.isEmpty()) return c.uso(uso);
  c.cargar();
  if (!json) return enviarAvisos(c, {});
  std::vector<Aviso> avisos;
  if (const Resultado r = pendientes(c, avisos); !r) return informar(c, r);
  QJsonArray lista;
  for (const Aviso& a : avisos) {
    QJsonArray claves;
    for (const QString& k : a.claves) claves.append(k);
    lista.append(QJsonObject{{QStringLiteral("tipo"), textoTipo(a.tipo)},
                             {QStringLiteral("titulo"), a.titulo},
                             {QStringLiteral("cuerpo"), a.cuerpo},
                             {QStringLiteral("claves"), claves}});
  }
  c.out << QJsonDocument(lista).toJson(QJsonDocument::Compact) << "\n";
  return kBien;
}

}  // namespace sortilan::cli
