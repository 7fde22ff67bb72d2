#!/usr/bin/env bash
# Builds the parser fuzzer in its own folder and runs it for a bounded time over the
# corpus. Usage: tests/fuzz/run.sh [SECONDS] [BUILD_DIR]   (default 20 s, build-fuzz/)
set -euo pipefail
raiz=$(cd "$(dirname "$0")/../.." && pwd)
segundos=${1:-20}
obra=${2:-$raiz/build-fuzz}
mkdir -p "$obra"
if ! { cmake -S "$raiz/tests/fuzz" -B "$obra" -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=Debug &&
       cmake --build "$obra"; } >"$obra/compilacion.log" 2>&1; then
  cat "$obra/compilacion.log"
  exit 1
fi
# New inputs go to a scratch folder; the corpus in the repository is only read.
nuevos=$(mktemp -d)
trap 'rm -rf "$nuevos"' EXIT
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
"$obra/fuzz_analisis" "$nuevos" "$raiz/tests/fuzz/corpus" -max_total_time="$segundos" -max_len=65536 \
  -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 2>&1 | tail -n 12
