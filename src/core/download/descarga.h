#pragma once

#include <QByteArray>
#include <QDate>
#include <QObject>
#include <QString>
#include <vector>

#include "answer/analisis.h"
#include "base/resultado.h"
#include "download/guardado.h"
#include "platform/canalhttp.h"

namespace sortilan {

class Sesion;

// The download sequence: one request per interval the draw file lacks, each answer read
// and stored as one change (its new draws, their prize tables and "www.txt"), then one-second ticks (the
// window's timer) that finish the sequence. The fetch runs asynchronously; ticks only start
// once it has returned, so the visible states are those of a blocking fetch.
//
// The window and the command line show the typed state below and react to the signals;
// nothing here knows how they show it.
class Descarga : public QObject {
  Q_OBJECT
 public:
  // What the status of the transfer reads.
  enum class Fase { Reposo, Conectando, Buscando, Analizando, Finalizada };
  // What the progress bar shows: each value is a step of the sequence.
  enum class Progreso {
    Reposo = 0,        // idle, or aborted
    Pidiendo = 1,      // a request is out
    Leyendo = 2,       // the answer is read and stored, or the sequence winds up
    Comprobando = 3,   // the peñas are checked against the new draws
    Actualizando = 4,  // the draw list and the prize report are rebuilt
    Terminada = 5,
  };
  // How the last sequence ended.
  enum class Desenlace {
    EnCurso,          // running, or never started
    Completa,         // every new draw the service listed is stored (perhaps none)
    SorteoInvalido,   // stopped at a bad draw; the new draws older than it are stored
    DatosMalos,       // an answer could not be read; nothing of it is stored
    Rechazada,        // the service kept refusing (HTTP 403 or 406)
    SinConexion,      // a request failed
    TiempoAgotado,    // the answer was never stored
    Abandonada,       // a short answer that never advanced
    FechaIncorrecta,  // the computer's date is before the newest stored draw
    Escritura,        // the draws could not be written
  };

  // `guardar` stores each answer, its draws and prize tables (operaciones::guardarDescarga).
  Descarga(Sesion& sesion, plataforma::CanalHttp& canal, GuardarDescarga guardar, QObject* padre = nullptr);

  // Starts a download unless one is running. `unaPeticion`: only the usual request of
  // the last 150 days, however far behind the draw file is (a saved answer stands for it).
  void iniciar(bool unaPeticion = false);
  // One tick of the one-second timer.
  void tick();
  // A request is out or the ticks run.
  bool enCurso() const { return traendo_ || ticks_; }

  // The answer of a transfer; public so that a saved answer can be processed offline.
  void alTraer(const plataforma::Traida& t);

  Fase fase() const { return fase_; }
  Progreso progreso() const { return progreso_; }
  // The sequence checks the peñas itself right now: nobody else need check them again.
  bool comprobando() const { return progreso_ == Progreso::Comprobando; }
  qint64 caracteres() const { return caracteres_; }  // of the last answer; -1 before the first
  int nuevos() const { return nuevos_; }             // draws stored by this sequence
  bool ticksActivos() const { return ticks_; }
  Desenlace desenlace() const { return desenlace_; }
  bool exito() const { return desenlace_ == Desenlace::Completa; }
  // Why the last sequence failed to reach the service or to store (its kind: Red for the
  // network); success otherwise.
  const Resultado& fallo() const { return fallo_; }
  // The requests of this sequence, oldest first, and how many have been sent.
  const std::vector<Intervalo>& intervalos() const { return intervalos_; }
  int peticiones() const { return siguiente_; }
  // The prize report's document was fetched since the last request started.
  bool pdfbajado = false;
  // Said after the "not connected" messages: the other ways to get the draws where this
  // sequence runs (the window's menu items, the command line's orders).
  void ponerOtrosCaminos(const QString& texto) { otrosCaminos_ = texto; }

  // Texts of the window's labels for the state.
  static QString textoFase(Fase f);
  static QString avisoInterpretacion(const QString& correo);
  static QString textoRechazo(int estadoHttp);

 signals:
  // The state changed in the middle of a step: show it now.
  void cambiado();
  // A download starts: the prize banner stops.
  void empezada();
  // Bring the General tab to the front.
  void mostrarGeneral();
  // New draws are in the draw file: recount the status area.
  void guardados(int total);
  // Check the peñas against the `sorteos` newest draws.
  void comprobar(int sorteos);
  // The recent-draws selector shows `valor` draws.
  void desplazar(int valor);
  // Rebuild the draw list and the prize report of the answer (fetching its document).
  void actualizar(const QByteArray& buffer);
  // The sequence ended (also when it was refused at the start).
  void terminada(sortilan::Descarga::Desenlace desenlace);
  // The interpretation-error notice of the prize report tab.
  void avisoInterpretacionPedido(const QString& texto);
  // The user wants to enter the draw by hand.
  void entradaManualPedida();

 private:
  void pedirSiguiente();
  void ponerTicks(bool activos);
  void abortar(Desenlace d);
  void procesar();
  void refrescarVentana(int sorteos);
  void acabar(Desenlace d);
  QString conOtrosCaminos(const QString& texto) const;

  // Where the sequence stands between ticks.
  enum class Paso {
    Reposo,    // nothing asked
    Pidiendo,  // a request is out
    Recibida,  // an answer is in, not yet read
    Leida,     // the answer is read and stored
    Acabada,   // the sequence ended
  };

  Sesion& sesion_;
  plataforma::CanalHttp& canal_;
  GuardarDescarga guardar_;
  Fase fase_ = Fase::Reposo;
  Progreso progreso_ = Progreso::Reposo;
  qint64 caracteres_ = -1;
  int nuevos_ = 0;
  Paso paso_ = Paso::Reposo;
  int segundos_ = 0;  // ticks since the request went out or its answer came in
  int estadoconexion_ = 0;
  bool ticks_ = false;
  bool traendo_ = false;
  QString otrosCaminos_;
  bool enTick_ = false;
  bool demasiado_ = false;   // the answer was refused for its size
  bool ultimoBien_ = false;  // the answer just read let the sequence go on
  Desenlace desenlace_ = Desenlace::EnCurso;
  Resultado fallo_;
  QDate hoy_;
  std::vector<Intervalo> intervalos_;
  int siguiente_ = 0;
  QByteArray respuesta_;  // the answer being processed
  QByteArray buffer_;     // its buffer record, for the prize report
};

}  // namespace sortilan
