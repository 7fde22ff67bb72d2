#include "gui/main/mantenimientosorteos.h"

#include "gui/main/tabestadisticas.h"
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

MantenimientoSorteos::MantenimientoSorteos(Sesion& sesion, TabEstadisticas& tab, QObject* padre)
    : QObject(padre), sesion_(sesion), tab_(tab) {
  connect(&tab, &TabEstadisticas::anadirTodosPulsado, this, &MantenimientoSorteos::Command8_Click);
  connect(&tab, &TabEstadisticas::borrarTodosPulsado, this, &MantenimientoSorteos::Command5_Click);
  connect(&tab, &TabEstadisticas::sorteoPulsado, this, &MantenimientoSorteos::ListView3_ItemClick);
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
  const operaciones::Importacion i = operaciones::importarSorteos(sesion_.almacen(), archivo);
  operaciones::avisarImportacion(i);
  if (i.estado != operaciones::Importe::Importado) return;
  emit sorteosCambiados();
}

void MantenimientoSorteos::Command5_Click() {
  borradoFilas_ = true;
  Almacen& almacen = sesion_.almacen();
  if (pregunta(kBorrar, operaciones::kPreguntaBorrarTodos)) {
    const Resultado r = operaciones::borrarSorteos(almacen);
    if (!r) return avisarFallo(r);
    emit sorteosCambiados();
  }
  if (pregunta(kBorrar, operaciones::kPreguntaAciertos + QStringLiteral("\n\n") + operaciones::kDineroConservado)) {
    const Resultado r = operaciones::reiniciarContadores(almacen, plataforma::hoy());
    if (!r) return avisarFallo(r);
    emit estadoCambiado();
  }
}

void MantenimientoSorteos::ListView3_ItemClick(int fila) {
  if (!borradoFilas_) return;
  const Sorteo* mostrado = tab_.sorteo(fila);
  if (!mostrado) return;
  const Sorteo sorteo = *mostrado;
  if (!pregunta(kBorrar, operaciones::kPreguntaBorrarUno)) return;
  const Resultado r = operaciones::borrarSorteo(sesion_.almacen(), sorteo);
  if (!r) return avisarFallo(r);
  // The row goes only once the file no longer holds the draw.
  tab_.quitarSorteo(fila);
  emit estadoCambiado();
}

}  // namespace sortilan::ui
