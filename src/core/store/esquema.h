#pragma once

#include <QStringList>
#include <vector>

namespace sortilan {

// One step of the schema of sortilan.db: the statements that take a file from
// version - 1 to `version`. Steps are never rewritten once released; a change is a new step.
struct Migracion {
  int version;
  QStringList sentencias;
};

// Every step, in order; the last one's version is the schema this program writes.
const std::vector<Migracion>& migraciones();
int versionEsquema();

}  // namespace sortilan
