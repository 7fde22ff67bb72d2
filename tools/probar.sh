#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs every test,
# the bounded parser fuzzing under the address and undefined-behaviour sanitizers included.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/dependencias.sh
cmake -S . -B build-pruebas -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSORTILAN_WERROR=ON -DSORTILAN_FUZZ=ON
cmake --build build-pruebas
cd build-pruebas
ctest --output-on-failure
