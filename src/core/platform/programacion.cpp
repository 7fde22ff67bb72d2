#include "platform/programacion.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include "store/escritura.h"

namespace sortilan::plataforma {

namespace {

struct Salida {
  bool arrancado = false;
  int codigo = -1;
  QString texto;
};

// systemctl never asks anything here, but a hung user manager must not hang the program.
Salida systemctl(const QStringList& args) {
  Salida s;
  const QString programa = QStandardPaths::findExecutable(QStringLiteral("systemctl"));
  if (programa.isEmpty()) return s;
  QProcess p;
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(programa, QStringList{QStringLiteral("--user")} + args);
  if (!p.waitForStarted(5000)) return s;
  s.arrancado = true;
  if (!p.waitForFinished(20000)) {
    p.kill();
    p.waitForFinished(1000);
    s.texto = QStringLiteral("systemctl no ha respondido.");
    return s;
  }
  s.codigo = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  s.texto = QString::fromLocal8Bit(p.readAll()).trimmed();
  return s;
}

bool haySesionSystemd() {
  const Salida s = systemctl({QStringLiteral("show-environment")});
  return s.arrancado && s.codigo == 0;
}

QString carpetaUnidades() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/systemd/user");
}

// A word of an ExecStart line: quoted, with the characters systemd gives a meaning escaped.
QString palabraSystemd(const QString& w) {
  QString e = w;
  e.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
  e.replace(QLatin1Char('"'), QStringLiteral("\\\""));
  e.replace(QLatin1Char('%'), QStringLiteral("%%"));
  e.replace(QLatin1Char('$'), QStringLiteral("$$"));
  return QLatin1Char('"') + e + QLatin1Char('"');
}

QString palabraShell(const QString& w) {
  QString e = w;
  e.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
  return QLatin1Char('\'') + e + QLatin1Char('\'');
}

QByteArray recurso(const QString& nombre) {
  QFile f(QStringLiteral(":/systemd/") + nombre);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

Resultado falloSystemctl(const Salida& s, const QString& que) {
  return Resultado::fallo(
      Resultado::Clase::Ninguna,
      QStringLiteral("No se pudo %1 el temporizador de systemd: %2")
          .arg(que, s.texto.isEmpty() ? QStringLiteral("systemctl salió con %1").arg(s.codigo) : s.texto));
}

}  // namespace

QString lineasCrontab(const QString& ejecutable, const QString& carpeta) {
  const QString orden = palabraShell(ejecutable) + QStringLiteral(" --datos ") + palabraShell(carpeta) +
                        QStringLiteral(" descargar --avisar");
  return QStringLiteral("30 23 * * 0 %1\n0 10 * * 1 %1").arg(orden);
}

QString textoSinSystemd(const QString& ejecutable, const QString& carpeta) {
  return QStringLiteral(
             "No hay una sesión de systemd del usuario, así que Sortilan no puede programar la descarga. "
             "Para bajar los sorteos y avisar cada domingo y cada lunes, añada estas líneas con "
             "«crontab -e»:\n") +
         lineasCrontab(ejecutable, carpeta);
}

EstadoProgramacion estadoAvisosAutomaticos() {
  if (!haySesionSystemd()) return EstadoProgramacion::SinSystemd;
  const Salida s = systemctl({QStringLiteral("is-enabled"), QString::fromLatin1(kTemporizador)});
  return s.codigo == 0 ? EstadoProgramacion::Activada : EstadoProgramacion::Desactivada;
}

Resultado activarAvisosAutomaticos(const QString& ejecutable, const QString& carpeta) {
  if (!haySesionSystemd()) return Resultado::fallo(Resultado::Clase::Ninguna, textoSinSystemd(ejecutable, carpeta));
  const QString destino = carpetaUnidades();
  if (!QDir().mkpath(destino))
    return Resultado::fallo(Resultado::Clase::Permiso, QStringLiteral("No se puede crear la carpeta %1.").arg(destino));
  QByteArray servicio = recurso(QStringLiteral("sortilan-descarga.service.in"));
  const QByteArray temporizador = recurso(QStringLiteral("sortilan-descarga.timer"));
  if (servicio.isEmpty() || temporizador.isEmpty())
    return Resultado::fallo(Resultado::Clase::Danado, QStringLiteral("Faltan las unidades de systemd del programa."));
  // The unit runs exactly this program on exactly this data folder.
  servicio.replace("@SORTILAN_CLI@",
                   (palabraSystemd(ejecutable) + QStringLiteral(" --datos ") + palabraSystemd(carpeta)).toUtf8());
  if (Resultado r = reemplazarArchivo(destino + QLatin1Char('/') + QLatin1String(kServicio), servicio); !r) return r;
  if (Resultado r = reemplazarArchivo(destino + QLatin1Char('/') + QLatin1String(kTemporizador), temporizador); !r)
    return r;
  if (const Salida s = systemctl({QStringLiteral("daemon-reload")}); s.codigo != 0)
    return falloSystemctl(s, QStringLiteral("recargar"));
  if (const Salida s =
          systemctl({QStringLiteral("enable"), QStringLiteral("--now"), QString::fromLatin1(kTemporizador)});
      s.codigo != 0)
    return falloSystemctl(s, QStringLiteral("activar"));
  return Resultado::bien();
}

Resultado desactivarAvisosAutomaticos() {
  if (!haySesionSystemd())
    return Resultado::fallo(Resultado::Clase::Ninguna,
                            QStringLiteral("No hay una sesión de systemd del usuario: no hay temporizador que "
                                           "desactivar. Si añadió las líneas de Sortilan a su crontab, quítelas con "
                                           "«crontab -e»."));
  // A timer that was never turned on is off already.
  (void)systemctl({QStringLiteral("disable"), QStringLiteral("--now"), QString::fromLatin1(kTemporizador)});
  const QString destino = carpetaUnidades();
  for (const char* u : {kTemporizador, kServicio}) {
    const QString ruta = destino + QLatin1Char('/') + QLatin1String(u);
    if (QFile::exists(ruta))
      if (Resultado r = borrarArchivo(ruta); !r) return r;
  }
  if (const Salida s = systemctl({QStringLiteral("daemon-reload")}); s.codigo != 0)
    return falloSystemctl(s, QStringLiteral("recargar"));
  if (estadoAvisosAutomaticos() == EstadoProgramacion::Activada)
    return Resultado::fallo(Resultado::Clase::Ninguna,
                            QStringLiteral("El temporizador %1 sigue activado: lo activó otra instalación; "
                                           "desactívelo con «systemctl --user disable %1».")
                                .arg(QLatin1String(kTemporizador)));
  return Resultado::bien();
}

}  // namespace sortilan::plataforma
