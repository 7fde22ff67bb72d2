#!/usr/bin/env bash
# sortilan-cli --help and --version: every way of asking for help gives the same list,
# each line names a real order, and nothing touches the data folder.
set -u
source "$(dirname "$0")/comun.sh"

sale 0 "--help" -- "$cli" --datos "$tmp" --help
ayuda=$(cat "$tmp/out")
igual "--help no escribe en errores" "" "$(cat "$tmp/err")"
for forma in -h ayuda --ayuda; do
  sale 0 "$forma" -- "$cli" --datos "$tmp" "$forma"
  igual "$forma igual que --help" "$ayuda" "$(cat "$tmp/out")"
done
igual "primera línea" "Uso: sortilan-cli [--datos CARPETA] ORDEN [opciones]" "$(echo "$ayuda" | head -1)"

# The order lines: two blanks, the order, its options and what it does, all on one line.
ordenes=$(echo "$ayuda" | sed -n '/^Órdenes:/,$p' | tail -n +2)
igual "órdenes" 39 "$(echo "$ordenes" | wc -l | tr -d ' ')"
mkdir "$tmp/ordenes"
while read -r orden _; do
  "$cli" --datos "$tmp/ordenes" "$orden" --opcion-que-no-existe >/dev/null 2>"$tmp/err"
  grep -q "Orden desconocida" "$tmp/err" && falla "la ayuda nombra «$orden», que no es una orden"
  echo "$ordenes" | grep -Eq "^  $orden\b.*  +[^ ]" || falla "«$orden» sin descripción en su línea"
done <<<"$ordenes"

sale 0 "--version" -- "$cli" --version
igual "versión" "sortilan-cli ${SORTILAN_VERSION:?}" "$(cat "$tmp/out")"

# Asking for help without a data folder is fine; without an order it is a usage error.
sale 0 "ayuda sin carpeta" -- "$cli" --datos "$tmp/no-existe" --help
sale 2 "sin orden" -- "$cli" --datos "$tmp"
igual "sin orden: la ayuda en errores" "$ayuda" "$(cat "$tmp/err")"
igual "carpeta intacta" "" "$(ls -A "$tmp" | grep -v '^out$\|^err$\|^ordenes$')"

termina "cli ayuda"
