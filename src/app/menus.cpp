#include "app/menus.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

#include "app/principal.h"
#include "gui/checking/comprobador.h"
#include "gui/checking/tabgestor.h"
#include "gui/creation/lanzadorcreacion.h"
#include "gui/download/descargador.h"
#include "gui/main/mantenimientosorteos.h"
#include "gui/main/tabestadisticas.h"
#include "gui/main/tabgeneral.h"
#include "gui/report/tabultimo.h"
#include "platform/plataforma.h"
#include "platform/servicios.h"

namespace sortilan::ui {

Menus::Menus(Principal& principal)
    : QObject(&principal),
      p_(principal),
      lanzador_(new LanzadorCreacion(principal.sesion(), &principal)),
      mantenimiento_(new MantenimientoSorteos(principal.sesion(), *principal.estadisticas(), &principal)) {
  TabGestor* g = p_.gestor();
  connect(g, &TabGestor::crearPedido, lanzador_, &LanzadorCreacion::Command4_Click);
  connect(p_.acciones().Crearp, &QAction::triggered, lanzador_, &LanzadorCreacion::Command4_Click);
  connect(mantenimiento_, &MantenimientoSorteos::sorteosCambiados, &p_, [this] {
    p_.cargasorteos();
    p_.refresca();
  });
  connect(mantenimiento_, &MantenimientoSorteos::estadoCambiado, &p_, &Principal::cargasorteos);
  connect(p_.acciones().borrpe, &QAction::triggered, mantenimiento_, &MantenimientoSorteos::Command5_Click);
  connect(p_.acciones().web, &QAction::triggered, this, &Menus::web_Click);
  pestana_ = p_.SSTab1()->currentIndex();
  connect(p_.SSTab1(), &QTabWidget::currentChanged, this, [this](int nueva) {
    const int anterior = pestana_;
    pestana_ = nueva;
    if (!volviendo_) SSTab1_Click(anterior);
  });
}

void Menus::SSTab1_Click(int anterior) {
  p_.comprobador()->pararAviso();
  QTabWidget* tab = p_.SSTab1();
  if (tab->currentIndex() != 1) return;
  // The report tab is refreshed by the download itself: it cannot be reached meanwhile.
  if (p_.descargador()->enCurso()) {
    volviendo_ = true;
    tab->setCurrentIndex(anterior);
    volviendo_ = false;
    return;
  }
  TabUltimo* u = p_.ultimo();
  if (!u->muestraAviso()) return;
  u->mostrarActualizando(true);
  p_.repaint();
  p_.descargador()->escrutinio(Descargador::Documento::Mostrar);
  u->mostrarActualizando(false);
}

void Menus::web_Click() {
  const plataforma::Servicios s = plataforma::servicios();
  if (s.hayFabricante()) plataforma::navegador().abrir(s.delFabricante(QStringLiteral("/")));
}

// The print and about windows are closed by their own controllers, which tell a real
// return to the main window from a menu closing.
void Menus::descargarSecundarias() { lanzador_->cerrarVentanas(); }

}  // namespace sortilan::ui
