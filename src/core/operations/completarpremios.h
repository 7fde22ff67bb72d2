#pragma once

#include <QDate>
#include <QObject>
#include <QStringList>
#include <vector>

#include "base/resultado.h"
#include "money/completar.h"
#include "platform/canalhttp.h"
#include "store/almacen.h"

namespace sortilan::operaciones {

struct ResumenCompletar {
  int ventanas = 0;    // requests to make
  int peticiones = 0;  // requests answered and stored
  int guardadas = 0;   // tables new or changed
  int faltan = 0;      // draws still with a prize of unknown amount at the end
  // Those of them the service listed, without the amount of the prize won.
  std::vector<QDate> sinImporte;
  Resultado resultado;  // the failure that ended the catch-up early
};

// One line for each draw of `r.sinImporte`, for the window and the command line alike.
QStringList textosSinImporte(const ResumenCompletar& r);

// Asks the results service for the prize tables of the draws whose prizes read "importe
// pendiente", window by window, with
// a pause between requests, and stores each answer as it arrives. A refused or failed
// request ends it; what was stored stays.
class CompletarPremios : public QObject {
  Q_OBJECT
 public:
  static constexpr int kPausaMs = 3000;

  CompletarPremios(Almacen& almacen, plataforma::CanalHttp& canal, QObject* padre = nullptr);

  // The amounts missing since `desde` (invalid: all of them). With nothing to ask,
  // `terminado` comes at once.
  void iniciar(const QDate& desde = QDate());
  bool enCurso() const { return enCurso_; }
  const ResumenCompletar& resumen() const { return resumen_; }
  const std::vector<VentanaPeticion>& ventanas() const { return ventanas_; }

 signals:
  // Before each request: its window and its place among them (1-based).
  void pidiendo(const sortilan::VentanaPeticion& ventana, int numero, int total);
  void terminado(const sortilan::operaciones::ResumenCompletar& resumen);

 private:
  void pedir();
  void alTraer(const plataforma::Traida& t);
  void terminar(Resultado r);
  Resultado buscarFaltan(std::vector<QDate>& faltan);

  Almacen& almacen_;
  plataforma::CanalHttp& canal_;
  QDate desde_;
  std::vector<VentanaPeticion> ventanas_;
  size_t siguiente_ = 0;
  std::vector<QDate> listadas_;  // draws the answers listed
  bool enCurso_ = false;
  bool esperando_ = false;
  ResumenCompletar resumen_;
};

}  // namespace sortilan::operaciones
