#!/usr/bin/env bash
# Installs what is missing, builds Sortilan and starts it. The folder of the
# executable (build/) is the program's data folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/dependencias.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target sortilan sortilan-cli
exec ./build/sortilan "$@"
