#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/dependencias.sh
cmake -S . -B build-pruebas -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSORTILAN_WERROR=ON
cmake --build build-pruebas
cd build-pruebas
ctest --output-on-failure
