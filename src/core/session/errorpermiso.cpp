#include "session/errorpermiso.h"

#include "platform/plataforma.h"

namespace sortilan {

QString textoErrorPermiso() {
  return QStringLiteral(
      "Para modificar el archivo necesita permiso de Administrador.\r\n"
      "Cierre el programa y ejecútelo en modo Administrador y repita la operación.\r\n"
      "(Encima del icono, botón derecho y elija \"Ejecutar como administrador\")");
}

void errorpermiso() {
  plataforma::mensaje(plataforma::Icono::Exclamacion, QStringLiteral("Error de permiso"), textoErrorPermiso());
}

void avisarSinPena() {
  plataforma::mensaje(plataforma::Icono::Informacion, QStringLiteral("¡Nooooo!"),
                      QStringLiteral("Seleccione una peña primero..."));
}

void avisarFallo(const Resultado& r) {
  if (r) return;
  if (r.permiso)
    errorpermiso();
  else
    plataforma::mensaje(plataforma::Icono::Exclamacion, QStringLiteral("Error"), r.error);
}

}  // namespace sortilan
