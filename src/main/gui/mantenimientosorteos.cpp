#include "main/gui/mantenimientosorteos.h"

#include <QAction>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>

#include "app/principal.h"
#include "main/gui/modelosorteos.h"
#include "main/gui/tabestadisticas.h"
#include "operations/penas.h"
#include "operations/sorteos.h"
#include "platform/plataforma.h"
#include "platform/servicios.h"
#include "session/errorpermiso.h"

namespace sortilan::ui {

using plataforma::Botones;
using plataforma::Icono;
using plataforma::Respuesta;

const QString MantenimientoSorteos::kTituloDialogo = QStringLiteral("Seleccione el archivo NUMEROS.DAT");
const QString MantenimientoSorteos::kFiltroDialogo = QStringLiteral("Archivos de sorteos (numeros.dat)");
const QString MantenimientoSorteos::kPreguntaTienda = QStringLiteral(
    "No se ha seleccionado ningún archivo. Recuerde que puede disponer de TODOS LOS SORTEOS DESDE LA CREACIÓN DEL "
    "GORDO DE LA PRIMITIVA, obteniéndolo desde nuestra tienda virtual. ¿Quiere ir?");

namespace {
// Return answers No unless the question only offers something harmless.
bool pregunta(const QString& titulo, const QString& texto, Respuesta predeterminada = Respuesta::No) {
  return plataforma::mensaje(Icono::Pregunta, titulo, texto, Botones::SiNo, predeterminada) == Respuesta::Si;
}
const QString kBorrar = QStringLiteral("Borrar...");
}  // namespace

MantenimientoSorteos::MantenimientoSorteos(Principal& principal) : QObject(&principal), p_(principal) {
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

void MantenimientoSorteos::Command8_Click() {
  const QString archivo =
      plataforma::dialogoArchivo().abrirArchivo(kTituloDialogo, plataforma::carpetaInicialDialogo(), kFiltroDialogo);
  if (archivo.isEmpty()) {
    if (pregunta(QStringLiteral("Sortilan"), kPreguntaTienda, Respuesta::Si))
      plataforma::navegador().abrir(
          plataforma::servicios().delFabricante(QStringLiteral("/tienda.html"), QStringLiteral("Sorteos")));
    return;
  }
  if (operaciones::importarSorteos(p_.sesion().almacen(), archivo) != operaciones::Importe::Importado) return;
  p_.cargasorteos();
  p_.refresca();
}

void MantenimientoSorteos::Command5_Click() {
  borradoFilas_ = true;
  Almacen& almacen = p_.sesion().almacen();
  if (pregunta(kBorrar, operaciones::kPreguntaBorrarTodos)) {
    const Resultado r = operaciones::borrarSorteos(almacen);
    if (!r) return avisarFallo(r);
    p_.cargasorteos();
    p_.refresca();
  }
  if (pregunta(kBorrar, operaciones::kPreguntaAciertos)) {
    const Resultado r = operaciones::reiniciarContadores(almacen, plataforma::hoy());
    if (!r) return avisarFallo(r);
    p_.cargasorteos();
  }
}

void MantenimientoSorteos::Image1_Click(int indice) {
  if (indice == 4) Command8_Click();
  if (indice == 2 && p_.estadisticas()->Command5->isEnabled()) Command5_Click();
}

void MantenimientoSorteos::ListView3_ItemClick(int fila) {
  if (!borradoFilas_) return;
  const Sorteo* mostrado = p_.estadisticas()->modeloSorteos->sorteo(fila - 1);
  if (!mostrado) return;
  const Sorteo sorteo = *mostrado;
  if (!pregunta(kBorrar, operaciones::kPreguntaBorrarUno)) return;
  const Resultado r = operaciones::borrarSorteo(p_.sesion().almacen(), sorteo);
  if (!r) return avisarFallo(r);
  // The row goes only once the file no longer holds the draw.
  p_.estadisticas()->modeloSorteos->quitarFila(fila - 1);
  p_.cargasorteos();
}

}  // namespace sortilan::ui
