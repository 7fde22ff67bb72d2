#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <memory>

namespace sortilan::ui {

class Presentacion;
class Principal;

// The start of the window program once the application and its platform adapters exist:
// the data folder named by the arguments, the splash, and the hand-over to the main
// window. main() runs it; the tests run it with the platform doubles.
class Arranque : public QObject {
  Q_OBJECT
 public:
  explicit Arranque(QObject* padre = nullptr);
  ~Arranque() override;

  // Chooses the data folder and shows the splash. 0 when the event loop is to run next;
  // otherwise the exit status, the reason already told.
  int iniciar(const QStringList& argumentos);

  Presentacion* presentacion() const;  // null once it is gone
  Principal* principal() const;        // from the entry on

 signals:
  // The main window is loaded and on screen; the splash is on its way out.
  void mostrada();

 private:
  void entrar();

  QPointer<Presentacion> presentacion_;
  std::unique_ptr<Principal> principal_;
};

}  // namespace sortilan::ui
