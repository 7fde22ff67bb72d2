#include "gui/checking/comprobador.h"

#include <QTimer>

#include "checking/resumenpenas.h"
#include "gui/checking/modeloresultados.h"
#include "gui/checking/tabgestor.h"
#include "operations/penas.h"
#include "platform/plataforma.h"
#include "session/errorpermiso.h"
#include "session/sesion.h"

namespace sortilan::ui {

Comprobador::Comprobador(Sesion& sesion, TabGestor& gestor, QObject* padre)
    : QObject(padre), sesion_(sesion), gestor_(gestor) {
  Timer3_ = new QTimer(this);
  Timer3_->setObjectName(QStringLiteral("Timer3"));
  Timer3_->setInterval(800);
  connect(Timer3_, &QTimer::timeout, this, &Comprobador::Timer3_Timer);
  sencillas_ = new ModeloResultados(ListaResultados::Tipo::Sencillas, this);
  multiples_ = new ModeloResultados(ListaResultados::Tipo::Multiples, this);
  connect(&gestor, &TabGestor::penaElegida, this, &Comprobador::ListView1_ItemClick);
  connect(&gestor, &TabGestor::borrarPedido, this, &Comprobador::Command3_Click);
}

void Comprobador::antesDeComprobar() {
  aviso_.parpadeo = Timer3_->isActive();
  aviso_.trasDescarga = hayNuevos_;
}

void Comprobador::despuesDeComprobar(const ResultadoComprobacion& r) {
  if (r.sencillas) sencillas_->poner(r.sencillas);
  if (r.multiples) multiples_->poner(r.multiples);
  if (aviso_.parpadeo && !Timer3_->isActive()) Timer3_->start();
}

void Comprobador::compruebapenas(int n) {
  antesDeComprobar();
  despuesDeComprobar(sortilan::compruebapenas(sesion_.almacen(), n, casillas_, aviso_));
}

void Comprobador::compruebamultiple(int n) {
  antesDeComprobar();
  despuesDeComprobar(sortilan::compruebamultiple(sesion_.almacen(), n, casillas_, aviso_));
}

void Comprobador::resumen() {
  const ResumenPenas r = sortilan::resumen(sesion_.penas(), sesion_.sorteosjugados);
  emit penasRegistradas(r.penasRegistradas);
  gestor_.mostrarResumen(r);
  // The first row is highlighted, and with it detailed and chosen.
  gestor_.resaltar(0);
}

void Comprobador::detallepena(int k) {
  Almacen& a = sesion_.almacen();
  Pena pena;
  const bool hay = !gestor_.vacio() && a.penas().leer(k, pena);
  const DetallePena d = sortilan::detallepena(hay ? &pena : nullptr, a.sorteos().leerTodos());
  gestor_.mostrarDetalle(d);
  if (d.corrupta) plataforma::mensaje(plataforma::Icono::Exclamacion, tituloPenaCorrupta(), textoPenaCorrupta());
}

void Comprobador::ListView1_ItemClick(int fila) {
  // Printing and deletion act on the peña drawn highlighted, whichever way the highlight
  // came; the "VACÍO" row, or no row, stands for none.
  penaSeleccionada_ = fila >= 0 && !gestor_.vacio() ? fila + 1 : 0;
  if (fila >= 0) detallepena(fila + 1);
}

void Comprobador::eliminarPena() {
  Sesion& s = sesion_;
  if (penaSeleccionada_ == 0) {
    avisarSinPena();
    return;
  }
  // The peña the user sees in the list; the operation makes sure it is still the one stored there.
  if (penaSeleccionada_ > static_cast<int>(s.penas().size())) {
    penaSeleccionada_ = 0;
    avisarSinPena();
    return;
  }
  const Pena pena = s.penas()[static_cast<size_t>(penaSeleccionada_ - 1)];
  if (plataforma::mensaje(plataforma::Icono::Pregunta, QStringLiteral("Borrar..."),
                          operaciones::preguntaBorrarPena(
                              pena, operaciones::conservaPena(s.almacen().carpeta(), s.penas(), penaSeleccionada_)),
                          plataforma::Botones::SiNo) != plataforma::Respuesta::Si)
    return;
  const Resultado r = operaciones::borrarPena(s.almacen(), penaSeleccionada_, pena, plataforma::hoy());
  if (!r) {
    avisarFallo(r);
    // The list may be stale (another program changed the peñas): show what is stored.
    if (!r.permiso) {
      penaSeleccionada_ = 0;
      emit penasCambiadas(false);
    }
    return;
  }
  // The record numbers have moved up: the old number may now be another peña.
  penaSeleccionada_ = 0;
  emit penasCambiadas(true);
}

void Comprobador::ponerHistorico(bool activo) {
  casillas_.historico = activo;
  hayNuevos_ = false;
  emit avisoNuevosBorrado();
  emit refrescoPedido();
}

void Comprobador::ponerSoloPremios(bool activo) {
  casillas_.soloPremios = activo;
  emit refrescoPedido();
}

void Comprobador::pintarBoton(int i, bool rojo) {
  rojo_[static_cast<size_t>(i)] = rojo;
  emit premioPintado(i, rojo);
}

void Comprobador::pararAviso() {
  if (!Timer3_->isActive()) return;
  Timer3_->stop();
  hayNuevos_ = false;
  emit avisoNuevosBorrado();
  pintarBoton(0, false);
  pintarBoton(1, false);
}

void Comprobador::Timer3_Timer() {
  if (aviso_.avisopremio == 3) {
    const bool rojo = !rojo_[0];
    pintarBoton(0, rojo);
    pintarBoton(1, rojo);
  } else if (aviso_.avisopremio == 1 || aviso_.avisopremio == 2) {
    const int i = aviso_.avisopremio - 1;
    pintarBoton(i, !rojo_[static_cast<size_t>(i)]);
  }
}

void Comprobador::elegirVista(int indice) {
  pararAviso();
  emit vistaElegida(indice);
}

}  // namespace sortilan::ui
