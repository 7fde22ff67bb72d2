#include "main/gui/mantenimientosorteos.h"

#include <QAction>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>

#include "app/principal.h"
#include "main/gui/modelosorteos.h"
#include "main/gui/tabestadisticas.h"

namespace sortilan::ui {

MantenimientoSorteos::MantenimientoSorteos(Principal& principal)
    : QObject(&principal), p_(principal), nucleo_(principal.sesion()) {
  nucleo_.cargasorteos = [this] { p_.cargasorteos(); };
  nucleo_.refresca = [this] { p_.refresca(); };
  nucleo_.quitarFila = [this](int fila) { p_.estadisticas()->modeloSorteos->quitarFila(fila - 1); };

  TabEstadisticas* t = p_.estadisticas();
  connect(t->Command8, &QPushButton::clicked, this, &MantenimientoSorteos::Command8_Click);
  connect(t->Command5, &QPushButton::clicked, this, &MantenimientoSorteos::Command5_Click);
  connect(t->Image1_2, &QToolButton::clicked, this, [this] { Image1_Click(2); });
  connect(t->Image1_4, &QToolButton::clicked, this, [this] { Image1_Click(4); });
  connect(t->ListView3, &QTableView::clicked, this, [this](const QModelIndex& i) { ListView3_ItemClick(i.row() + 1); });
  if (QAction* a = p_.accion(QStringLiteral("borrpe"))) {
    connect(a, &QAction::triggered, this, &MantenimientoSorteos::Command5_Click);
    a->setEnabled(true);
  }
}

void MantenimientoSorteos::Command8_Click() { nucleo_.importarConDialogo(); }

void MantenimientoSorteos::Command5_Click() { nucleo_.borrarTodos(); }

void MantenimientoSorteos::Image1_Click(int indice) {
  if (indice == 4) Command8_Click();
  if (indice == 2 && p_.estadisticas()->Command5->isEnabled()) Command5_Click();
}

void MantenimientoSorteos::ListView3_ItemClick(int fila) { nucleo_.borrarFila(fila); }

}  // namespace sortilan::ui
