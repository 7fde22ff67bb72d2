#pragma once

#include <cstdio>
#include <cstdlib>

#include "base/resultado.h"

// A benchmark whose set-up failed would measure nothing: stop it loudly.
inline void exigir(bool ok, const char* que) {
  if (ok) return;
  std::fprintf(stderr, "Preparación fallida: %s\n", que);
  std::abort();
}
inline void exigir(const sortilan::Resultado& r) { exigir(r.ok, qUtf8Printable(r.error)); }
