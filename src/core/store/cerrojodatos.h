#pragma once

#include <QString>
#include <chrono>
#include <memory>

#include "base/resultado.h"

class QLockFile;

namespace sortilan {

// The lock of the data folder: a lock file named "sortilan.lock" beside the data. Every
// change of the folder happens while holding it, so two programs (the window and a
// scheduled command line, or two command lines) never write from stale copies or over
// each other. A second writer waits a few seconds, then gives up with a clear message
// and changes nothing. A lock left by a program that died is taken over.
//
// Hold it only for the length of one change: take it, re-read, write, release. It is not
// re-entrant: a process that already holds it must not take it again.
class CerrojoDatos {
 public:
  static constexpr const char* kNombre = "sortilan.lock";

  explicit CerrojoDatos(const QString& carpeta);
  ~CerrojoDatos();
  CerrojoDatos(const CerrojoDatos&) = delete;
  CerrojoDatos& operator=(const CerrojoDatos&) = delete;

  // Waits up to espera() for the lock. A busy folder gives textoOcupado(); a folder that
  // cannot be written gives a permission failure; a lock that is not a file (a folder of
  // that name) is refused at once. A lock file with this process's own name while it holds
  // none (a release that could not remove it) is taken back instead of waited on.
  Resultado tomar();
  bool tomado() const;
  void soltar();

  static std::chrono::milliseconds espera();
  // Tests shorten the wait so that no test sleeps on a real timer.
  static void ponerEspera(std::chrono::milliseconds ms);

  static QString textoOcupado();

 private:
  Resultado fallo() const;
  Resultado tomadoBien();
  std::unique_ptr<QLockFile> cerrojo_;
};

}  // namespace sortilan
