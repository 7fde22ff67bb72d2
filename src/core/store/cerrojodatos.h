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

  // Waits up to espera() for the lock. A busy folder gives kOcupado; a folder that cannot
  // be written gives a permission failure.
  Resultado tomar();
  void soltar();

  static std::chrono::milliseconds espera();
  // Tests shorten the wait so that no test sleeps on a real timer.
  static void ponerEspera(std::chrono::milliseconds ms);

  static QString textoOcupado();

 private:
  Resultado fallo() const;
  std::unique_ptr<QLockFile> cerrojo_;
};

}  // namespace sortilan
