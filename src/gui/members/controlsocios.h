#pragma once

#include <QObject>
#include <vector>

#include "members/socios.h"
#include "store/almacen.h"

namespace sortilan::ui {

class TabSocios;

// The work behind "Socios": reads the peñas, their members and collected prizes into the
// tab, and turns what the user asks for there into the operations of the members and the
// papers they save. Every change is stored first and shown after it is kept.
class ControlSocios : public QObject {
  Q_OBJECT
 public:
  ControlSocios(Almacen& almacen, TabSocios& tab, QObject* padre = nullptr);

  // Reads the peñas, the members and the collected prizes again, keeping the choices.
  void actualizar();

  void CommandAlta_Click();
  void CommandBaja_Click();
  void CommandParticipaciones_Click();
  void CommandAportacion_Click();
  void CommandPago_Click();
  void CommandRepartir_Click();
  void CommandAnular_Click();
  void CommandAnularReparto_Click();
  void CommandExtracto_Click(bool pdf);
  void CommandDocumento_Click(bool pdf);

 signals:
  // A change of the members' data was stored.
  void cambiado();
  // What was just recorded, for the status bar.
  void aviso(const QString& texto);
  // A file the user asked for was written at `ruta`.
  void archivoGuardado(const QString& ruta);

 private:
  void cargarPena();
  // "3" for record 3, "B1" for a deleted peña: names the files saved.
  QString idPena() const;
  // Shows a failure, or re-reads and tells the window after a stored change.
  bool trasCambio(const Resultado& r);
  void anotar(Concepto concepto);
  void guardarPapel(const QString& titulo, const QString& propuesto, const QString& filtro, const QByteArray& datos);

  Almacen& almacen_;
  TabSocios& tab_;
  std::vector<Pena> penas_;
};

}  // namespace sortilan::ui
