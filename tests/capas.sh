#!/bin/bash
# The folders are layers: a file includes only headers of its own folder or of a lower
# layer, and no core header names a window's control. Usage: capas.sh <src folder>
set -u
src=${1:?carpeta src}
cd "$src" || exit 2

# Core folders, lowest first: each may include the folders before it.
nucleo=(base store platform session main checking download report creation printing stats auxiliary money members operations)

nivel() {  # the position of a core folder, or nothing
  local i
  for i in "${!nucleo[@]}"; do [[ ${nucleo[$i]} == "$1" ]] && echo "$i" && return; done
}

fallos=0
mal() {
  echo "$1"
  fallos=$((fallos + 1))
}

while IFS= read -r f; do
  dir=$(dirname "$f")
  while IFS= read -r inc; do
    destino=$(dirname "$inc")
    [[ $destino == "$dir" ]] && continue
    ok=0
    case $dir in
      app) ok=1 ;;  # the wiring of the main window may include every layer
      cli)
        # Everything but windows; the PDF orders paint with the windows' painters.
        [[ $destino != app && $destino != ui && ($destino != */gui || $inc == printing/gui/pintor.h ||
          $inc == members/gui/pdfsocios.h) ]] && ok=1
        ;;
      ui) [[ $destino == base ]] && ok=1 ;;
      platform/gui) [[ -n $(nivel "$destino") && $(nivel "$destino") -le $(nivel platform) ]] && ok=1 ;;
      */gui)
        # A feature's windows: every core folder and the operations, the shared widgets
        # and the platform's adapters; never another feature's windows nor the main window.
        [[ -n $(nivel "$destino") || $destino == ui || $destino == platform/gui ]] && ok=1
        ;;
      *)
        n=$(nivel "$dir")
        m=$(nivel "$destino")
        [[ -n $n && -n $m && $m -lt $n ]] && ok=1
        ;;
    esac
    ((ok)) || mal "$f incluye $inc"
  done < <(sed -nE 's/^#include "([^"]+)".*/\1/p' "$f")
done < <(find . -name '*.h' -o -name '*.cpp' | sed 's|^\./||' | sort)

# Core headers speak of what their state is, not of the control that shows it.
controles='(Label|ProgressBar|ListView|Text|Command|Combo|Check|Option|Image|Picture|Timer|MSChart|List|HScroll)[0-9]'
while IFS= read -r linea; do
  mal "control nombrado en el núcleo: $linea"
done < <(grep -rnE "$controles" --include='*.h' . | sed 's|^\./||' | grep -vE '^[^:]*/gui/|^(ui|app|cli)/')

((fallos == 0)) || { echo "$fallos fallos de capas"; exit 1; }
echo "capas bien"
