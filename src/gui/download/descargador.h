#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

#include "download/descarga.h"
#include "platform/canalhttp.h"
#include "report/escrutinio.h"
#include "report/ultimosorteo.h"

class QTimer;
class QWidget;

namespace sortilan {
class Sesion;
}

namespace sortilan::ui {

class EntradaSorteo;

// The ways new draws reach the main window: the results download sequence (and the
// prize report it feeds), the manual entry of a draw and the CSV import. It shows what
// happens through its signals; the main window binds them to the tabs.
class Descargador : public QObject {
  Q_OBJECT
 public:
  // `ventana` owns the entry window.
  Descargador(Sesion& sesion, QWidget& ventana);
  ~Descargador() override;

  // Told after "No conectado…": the menu items that get the draws without the service.
  static QString otrosCaminos();

  // The news window while it exists: while it is on screen a download does not start.
  void leerNoticias(std::function<QWidget*()> noticias) { noticias_ = std::move(noticias); }

  // True while a download sequence runs (its request is out or Timer1 is enabled).
  bool enCurso() const { return descarga_->enCurso(); }
  void Timer1_Timer();
  // What the prize report does with the draw's document: show the copy the last download
  // left (at start-up and on opening the tab), or fetch it first (after a download).
  enum class Documento { Mostrar, Bajar };
  // Prize report of the newest draw.
  void escrutinio(Documento documento);

  EntradaSorteo* entradaManual() const;
  // Imports `ruta` with the window's questions and messages; the draws added.
  int importarCsv(const QString& ruta);

  Descarga& descarga() { return *descarga_; }
  QTimer* Timer1 = nullptr;
  // The report of the last escrutinio; hallado is its document address.
  const Escrutinio& informe() const { return informe_; }
  bool bajandoPdf() const { return bajandoPdf_; }

 public slots:
  // "Descargar" (the button and the menu item).
  void Picture2_Click();
  // "Añadir sorteo a mano...": the small entry window (one at a time).
  void abrirEntradaManual();
  // "Importar sorteos de un archivo CSV...": asks for the file, then imports it.
  void importarCsv();

 signals:
  // The download's state: its phase text, the characters received (-1: unchanged), the
  // "n sorteos" notice (empty: none) and its step.
  void estadoCambiado(const QString& fase, int caracteres, const QString& avisoNuevos, int paso);
  // How many draws this download has stored so far (0: none), with every change of its state.
  void sorteosNuevos(int sorteos);
  void empezada();
  void generalPedida();
  // The stored draws changed: status line again; with `lista`, the result list too.
  void sorteosCambiados(bool lista);
  void comprobacionPedida(int sorteos);
  // How many of the newest draws the lists show.
  void sorteosElegidosPedidos(int n);
  // The download finished its update: the button comes up.
  void terminada();
  // Draws were added by hand or from a file: the lists show them.
  void sorteosAnadidos(int sorteos);
  // The "Último sorteo" tab.
  void ultimoListo(const UltimoSorteo& u);
  void avisoUltimo(const QString& texto);
  void documentoCerrado();
  void documentoListo(const QString& archivo);

 private:
  void pintar();
  void desplazar(int valor);
  void actualizar(const QByteArray& buffer);
  void trasAnadir(int sorteos);
  void construirInforme(const QByteArray& buffer, bool bajar);
  void bajapdf(const QUrl& direccion);
  void alBajarPdf(const plataforma::Traida& t);
  void muestrapdf();

  Sesion& sesion_;
  QWidget& ventana_;
  std::function<QWidget*()> noticias_;
  std::unique_ptr<plataforma::CanalHttp> canal_;
  std::unique_ptr<plataforma::CanalHttp> canalPdf_;
  std::unique_ptr<Descarga> descarga_;
  QPointer<EntradaSorteo> entrada_;
  Escrutinio informe_;
  bool bajandoPdf_ = false;
};

}  // namespace sortilan::ui
