#!/bin/bash
# The layer check must catch what it is there for: each case plants one fault in a copy
# of the tree and expects the check to fail and name the file. Usage: capas_prueba.sh <src>
set -u
src=${1:?carpeta src}
check=$(dirname "$0")/capas.sh
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

fallos=0
# case: file to write (under src), its text
casos=(
  "core/base/planta.h|#include \"gui/ui/controles.h\""
  "core/store/planta.cpp|#include \"checking/cuenta.h\""
  "core/checking/planta.h|#include \"operations/penas.h\""
  "core/session/planta.h|#include \"painters/pintor.h\""
  "painters/planta.h|#include \"gui/ui/secundaria.h\""
  "cli/planta.cpp|#include \"gui/checking/tabgestor.h\""
  "gui/checking/planta.cpp|#include \"gui/money/tabcuentas.h\""
  "gui/ui/planta.h|#include \"app/principal.h\""
  "core/store/planta.h|#include \"no/existe.h\""
  "core/money/planta.h|int Label3 = 0;"
  "core/money/planta.cpp|// rellena listview2 al acabar"
  "core/report/planta.h|bool COMMAND1_pulsado();"
  "core/nueva/planta.h|// una carpeta que no está en la lista"
)

rm -rf "$tmp/limpio" && cp -r "$src" "$tmp/limpio"
if ! bash "$check" "$tmp/limpio" >/dev/null; then
  echo "el árbol sin tocar no pasa la comprobación"
  fallos=$((fallos + 1))
fi

for caso in "${casos[@]}"; do
  archivo=${caso%%|*}
  texto=${caso#*|}
  rm -rf "$tmp/arbol" && cp -r "$src" "$tmp/arbol"
  mkdir -p "$(dirname "$tmp/arbol/$archivo")"
  printf '%s\n' "$texto" >"$tmp/arbol/$archivo"
  salida=$(bash "$check" "$tmp/arbol" 2>&1)
  if [[ $? -eq 0 || $salida != *"$archivo"* ]]; then
    echo "no detectado: $archivo con «$texto»"
    fallos=$((fallos + 1))
  fi
done

((fallos == 0)) || { echo "$fallos casos fallidos"; exit 1; }
echo "${#casos[@]} casos detectados"
