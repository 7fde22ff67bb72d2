#pragma once

#include <QObject>
#include <QPointer>
#include <memory>

#include "download/descarga.h"
#include "platform/canalhttp.h"
#include "report/escrutinio.h"

class QTimer;

namespace sortilan::ui {

class EntradaSorteo;
class Principal;

// The ways new draws reach the main window: the results download sequence (and the
// prize report it feeds), the manual entry of a draw and the CSV import.
class Descargador : public QObject {
  Q_OBJECT
 public:
  explicit Descargador(Principal& principal);
  ~Descargador() override;

  // Wires the menu items once the window has its menus.
  void conectar();

  // True while a download sequence runs (its request is out or Timer1 is enabled).
  bool enCurso() const { return descarga_->enCurso(); }
  void Picture2_Click();
  void Timer1_Timer();
  // Prize report of the newest draw: 1 at start-up and on opening the tab (shows
  // what the last download left), 0 after a download (fetches the document first).
  void escrutinio(int bandera);

  // "Añadir sorteo a mano...": the small entry window (one at a time).
  void abrirEntradaManual();
  EntradaSorteo* entradaManual() const;
  // "Importar sorteos de un archivo CSV...": asks for the file, then imports it.
  void importarCsv();
  // Imports `ruta` with the window's questions and messages; the draws added.
  int importarCsv(const QString& ruta);

  Descarga& descarga() { return *descarga_; }
  QTimer* Timer1 = nullptr;
  // The report of the last escrutinio; hallado is its document address.
  const Escrutinio& informe() const { return informe_; }
  bool bajandoPdf() const { return bajandoPdf_; }

 private:
  // The download's state on the widgets that show it.
  void pintar();
  void comprobar(int sorteos);
  void desplazar(int valor);
  void actualizar(const QByteArray& buffer);
  // After draws were added by hand or from a file: status, checks, list and report title.
  void trasAnadir(int sorteos);
  void construirInforme(const QByteArray& buffer, bool bajar);
  void bajapdf(const QUrl& direccion);
  void alBajarPdf(const plataforma::Traida& t);
  void muestrapdf();

  Principal& p_;
  std::unique_ptr<plataforma::CanalHttp> canal_;
  std::unique_ptr<plataforma::CanalHttp> canalPdf_;
  std::unique_ptr<Descarga> descarga_;
  QPointer<EntradaSorteo> entrada_;
  Escrutinio informe_;
  bool bajandoPdf_ = false;
};

}  // namespace sortilan::ui
