#!/usr/bin/env bash
# Installs what is missing, checks the formatting, then builds and runs every test twice:
# once under AddressSanitizer and UndefinedBehaviorSanitizer (with the bounded parser
# fuzzing), once optimised with the flags of the build people run, with the benchmarks and
# the Debian package. Warnings are errors.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/dependencias.sh

archivos=$(git ls-files '*.cpp' '*.h' 2>/dev/null || find src tests bench -name '*.cpp' -o -name '*.h')
# shellcheck disable=SC2086
clang-format --dry-run --Werror $archivos

lanzador=()
command -v ccache >/dev/null && lanzador=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
comunes=(-G Ninja -DSORTILAN_WERROR=ON -DBUILD_TESTING=ON "${lanzador[@]}")
cmake -S . -B build-pruebas/saneado "${comunes[@]}" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
  -DSORTILAN_SANITIZE=ON -DSORTILAN_BENCH=OFF -DSORTILAN_FUZZ=ON >/dev/null
cmake -S . -B build-pruebas/optimizado "${comunes[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSORTILAN_BENCH=ON >/dev/null

inicio=$SECONDS
cmake --build build-pruebas/saneado
cmake --build build-pruebas/optimizado
echo "Compilación: $((SECONDS - inicio)) s"

for arbol in saneado optimizado; do
  echo "== Pruebas: $arbol"
  (cd "build-pruebas/$arbol" && ctest --output-on-failure -j2)
done
echo "Total: $((SECONDS - inicio)) s"
