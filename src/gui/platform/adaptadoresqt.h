#pragma once

#include "platform/escritorio.h"
#include "platform/plataforma.h"

class QWidget;

namespace sortilan::plataforma {

// Real message boxes with Spanish buttons ("Sí", "No", "Aceptar").
class MensajesQt : public Mensajes {
 public:
  Respuesta mostrar(Icono icono, const QString& titulo, const QString& texto, Botones botones,
                    Respuesta predeterminada) override;
};

class NavegadorQt : public Navegador {
 public:
  void abrir(const QUrl& direccion) override;
};

class EscritorioQt : public Escritorio {
 public:
  bool abrirArchivo(const QString& ruta) override;
};

class DialogoArchivoQt : public DialogoArchivo {
 public:
  QString abrirArchivo(const QString& titulo, const QString& carpetaInicial, const QString& filtro) override;
  QString guardarArchivo(const QString& titulo, const QString& propuesto, const QString& filtro) override;
};

// Installs the adapters above, the Spanish locale and Qt's own Spanish texts.
void instalarAdaptadoresQt();

}  // namespace sortilan::plataforma
