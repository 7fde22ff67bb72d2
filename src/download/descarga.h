#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include "base/resultado.h"
#include "download/analisis.h"
#include "platform/canalhttp.h"

namespace sortilan {

class Sesion;

// What the download sequence asks of the window (or of the command line).
class VentanaDescarga {
 public:
  virtual ~VentanaDescarga() = default;
  // The visible state changed in the middle of a step: repaint it now.
  virtual void refrescar() = 0;
  virtual void activarTimer(bool activo) = 0;
  virtual void mostrarPestana0() = 0;
  // Stops the prize banner; the start of every request.
  virtual void rotulo() = 0;
  virtual void compruebapenas(int sorteos) = 0;
  virtual void ponerHScroll1(int valor) = 0;
  virtual void cargasorteos() = 0;
  virtual void listasorteos() = 0;
  // Prize report of the answer just stored, fetching its document.
  virtual void escrutinio(const QByteArray& buffer) = 0;
  virtual void restaurarPicture2() = 0;
  // The interpretation-error notice of the prize report tab.
  virtual void avisoInterpretacion(const QString& texto) = 0;
  // Stores the new draws, oldest first, through the store operation, which also counts
  // the peñas for them. `anadidos` is how many were stored; a write failure stores none.
  virtual Resultado guardarSorteos(const std::vector<Sorteo>& nuevos, int& anadidos) = 0;
};

// The download sequence of the main window: the request, then one-second ticks of
// Timer1 that store the answer in "www.txt", parse it, append the new draws and
// refresh the window. The fetch runs asynchronously; ticks only start once it has
// returned, so the visible states are those of a blocking fetch.
class Descarga : public QObject {
  Q_OBJECT
 public:
  Descarga(Sesion& sesion, VentanaDescarga& ventana, plataforma::CanalHttp& canal, QObject* padre = nullptr);

  // Picture2_Click: starts a download unless one is running.
  void iniciar();
  // One tick of Timer1.
  void tick();
  // A request is out or Timer1 runs.
  bool enCurso() const { return traendo_ || timerActivo_; }

  // The answer of a transfer; public so that a saved answer can be processed offline.
  void alTraer(const plataforma::Traida& t);

  // Parses the buffer record and appends the new draws: analiza.
  void analiza(const QByteArray& buffer, bool rechazado = false);

  // State of the sequence, as the window shows it.
  int paso = 0;
  int contador = 0;
  int nuevos = 0;
  int estadoconexion = 0;
  bool datosmalos = false;
  bool guardadoFallido = false;  // the new draws could not all be stored
  bool finbusca = false;
  bool pdfbajado = false;
  bool timerActivo() const { return timerActivo_; }
  int ProgressBar1 = 0;
  QString Label6;
  QString Label58;
  QString Label19;
  QString RichTextBox1;  // the answer until it is stored

  static QString avisoInterpretacion(const QString& correo);

 private:
  void ponerTimer(bool activo);
  void abortar();
  void almacenar();

  Sesion& sesion_;
  VentanaDescarga& ventana_;
  plataforma::CanalHttp& canal_;
  bool traendo_ = false;
  bool timerActivo_ = false;
  bool enTick_ = false;
  bool demasiado_ = false;  // the answer was refused for its size
  QByteArray buffer_;       // the buffer record of the answer being processed
};

}  // namespace sortilan
