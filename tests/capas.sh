#!/bin/bash
# The folders are layers (src/capas.txt, the list CMake builds from): a file includes only
# headers of its own folder or of a folder above it whose library its own library links,
# windows of one feature never include another feature's, and no core file names a
# window's control. Usage: capas.sh <src folder>
set -u
src=${1:?carpeta src}
cd "$src" || exit 2
[[ -f capas.txt ]] || { echo "falta capas.txt"; exit 2; }

declare -A nivel biblioteca par enlaza
n=0
while read -r carpeta resto; do
  [[ -z $carpeta || $carpeta == \#* ]] && continue
  if [[ $carpeta == @* ]]; then
    enlaza[${carpeta#@}]=" ${carpeta#@} $resto "
    continue
  fi
  read -r bib marca <<<"$resto"
  nivel[$carpeta]=$n
  biblioteca[$carpeta]=$bib
  [[ ${marca:-} == par ]] && par[$carpeta]=1
  n=$((n + 1))
done <capas.txt

fallos=0
mal() {
  echo "$1"
  fallos=$((fallos + 1))
}

# The folder of an included header: core headers are named by their feature.
carpetaDe() {
  destino=
  if [[ -f $1 ]]; then
    destino=${1%/*}
  elif [[ -f core/$1 ]]; then
    destino=core/${1%/*}
  fi
}

while IFS= read -r f; do
  dir=${f%/*}
  [[ -n ${nivel[$dir]:-} ]] || mal "$f está en una carpeta que no es de ninguna capa (src/capas.txt)"
done < <(find . -name '*.h' -o -name '*.cpp' | sed 's|^\./||' | sort)

while IFS= read -r linea; do
  f=${linea%%:*}
  inc=${linea#*\"}
  inc=${inc%%\"*}
  [[ $inc == *.moc ]] && continue
  dir=${f%/*}
  [[ -n ${nivel[$dir]:-} ]] || continue
  carpetaDe "$inc"
  if [[ -z $destino || -z ${nivel[$destino]:-} ]]; then
    mal "$f incluye $inc, que no está en ninguna capa"
    continue
  fi
  [[ $destino == "$dir" ]] && continue
  ok=0
  if ((${nivel[$destino]} < ${nivel[$dir]})) && [[ ${enlaza[${biblioteca[$dir]}]:-} == *" ${biblioteca[$destino]} "* ]]; then
    ok=1
    [[ -n ${par[$dir]:-} && -n ${par[$destino]:-} ]] && ok=0
  fi
  ((ok)) || mal "$f incluye $inc"
done < <(grep -rHE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' --include='*.h' --include='*.cpp' . | sed 's|^\./||' | sort)

# The core speaks of what its state is, not of the control that shows it, whatever the case.
controles='\b(Label|ProgressBar|ListView|Text|Command|Combo|Check|Option|Image|Picture|Timer|MSChart|List|HScroll)[0-9]'
while IFS= read -r linea; do
  mal "control nombrado en el núcleo: $linea"
done < <(grep -rniE "$controles" --include='*.h' --include='*.cpp' core)

((fallos == 0)) || { echo "$fallos fallos de capas"; exit 1; }
echo "capas bien"
