#pragma once

#include <QDate>
#include <QObject>
#include <memory>

#include "operations/completarpremios.h"
#include "platform/canalhttp.h"

class QLabel;
class QStatusBar;

namespace sortilan {
class Sesion;
}

namespace sortilan::ui {

class TabCuentas;

// The money side of the main window: the "Cuentas" tab, "Premios por cobrar" in the
// status bar, the start-up warning of prizes about to expire, and the menu item that
// completes the missing prize tables.
class ControlCuentas : public QObject {
  Q_OBJECT
 public:
  ControlCuentas(Sesion& sesion, TabCuentas& tab, QStatusBar& barra, QObject* padre = nullptr);
  ~ControlCuentas() override;

  // Works the money out again from what is stored (after every change of the data).
  void actualizar();
  // The first money a window shows before it is on screen: only what may still be
  // collected, which the status bar and the warning need; the rest follows with
  // completarAplazado() once the window is painted, so that a large season does not keep
  // it from appearing.
  void actualizarVigentes();
  void completarAplazado();
  // The warning of collections at most 14 days from their last day; nothing when none.
  void avisarUrgentes();

  // "Completar tablas de premios" (the menu item); nothing while a completion runs.
  void Completar_Click();
  void CommandCobrar_Click(const QDate& dia);
  void CommandPendiente_Click();
  void CommandCsv_Click();

  bool completando() const { return completar_ && completar_->enCurso(); }

 signals:
  // A completion started (true) or ended (false): the menu item waits meanwhile.
  void ocupado(bool si);
  // A file the user asked for was written at `ruta`.
  void archivoGuardado(const QString& ruta);

 private:
  void alCompletar(const operaciones::ResumenCompletar& r);
  void marcar(const std::optional<QDate>& dia);

  Sesion& sesion_;
  TabCuentas& tab_;
  Cuentas vigentes_;  // while aplazado_: the collections that may still be collected
  bool aplazado_ = false;
  QLabel* LabelPorCobrar = nullptr;
  std::unique_ptr<operaciones::CompletarPremios> completar_;
  std::unique_ptr<plataforma::CanalHttp> canal_;
};

}  // namespace sortilan::ui
