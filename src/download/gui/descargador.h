#pragma once

#include <QObject>
#include <memory>

#include "download/descarga.h"
#include "platform/canalhttp.h"
#include "report/escrutinio.h"

class QTimer;

namespace sortilan::ui {

class Principal;

// The results download sequence of the main window and the prize report it feeds.
class Descargador : public QObject, public VentanaDescarga {
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

  Descarga& descarga() { return *descarga_; }
  QTimer* Timer1 = nullptr;
  // The report of the last escrutinio; hallado is its document address.
  const Escrutinio& informe() const { return informe_; }
  bool bajandoPdf() const { return bajandoPdf_; }

  // VentanaDescarga
  void refrescar() override;
  void activarTimer(bool activo) override;
  void mostrarPestana0() override;
  void rotulo() override;
  void compruebapenas(int sorteos) override;
  void ponerHScroll1(int valor) override;
  void cargasorteos() override;
  void listasorteos() override;
  void escrutinio(const QByteArray& buffer) override;
  void restaurarPicture2() override;
  void avisoInterpretacion(const QString& texto) override;
  Resultado guardarSorteos(const std::vector<Sorteo>& nuevos, int& anadidos) override;

 private:
  void construirInforme(const QByteArray& buffer, bool bajar);
  void bajapdf(const QUrl& direccion);
  void alBajarPdf(const plataforma::Traida& t);
  void muestrapdf();
  void pintar();

  Principal& p_;
  std::unique_ptr<plataforma::CanalHttp> canal_;
  std::unique_ptr<plataforma::CanalHttp> canalPdf_;
  std::unique_ptr<Descarga> descarga_;
  Escrutinio informe_;
  bool bajandoPdf_ = false;
};

}  // namespace sortilan::ui
