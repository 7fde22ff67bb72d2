#pragma once

#include <QString>

#include "base/resultado.h"

namespace sortilan::plataforma {

// The scheduled download with notices: a systemd user timer, off until the user turns it on.
inline constexpr const char* kTemporizador = "sortilan-descarga.timer";
inline constexpr const char* kServicio = "sortilan-descarga.service";

enum class EstadoProgramacion { Activada, Desactivada, SinSystemd };

EstadoProgramacion estadoAvisosAutomaticos();
// Writes the service and the timer for this executable and data folder into the user's
// systemd folder and turns the timer on. Without a systemd user session it fails saying
// so, with the crontab lines that do the same.
Resultado activarAvisosAutomaticos(const QString& ejecutable, const QString& carpeta);
// Turns the timer off and removes the units activarAvisosAutomaticos wrote.
Resultado desactivarAvisosAutomaticos();
// The same schedule for a computer without systemd: the lines for `crontab -e`.
QString lineasCrontab(const QString& ejecutable, const QString& carpeta);
// "No hay una sesión de systemd del usuario…" with the crontab lines.
QString textoSinSystemd(const QString& ejecutable, const QString& carpeta);

}  // namespace sortilan::plataforma
