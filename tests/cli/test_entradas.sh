#!/usr/bin/env bash
# Draws that need no service: anadir-sorteo, importar-csv and exportar-csv.
set -u
source "$(dirname "$0")/comun.sh"

csv="$datos/historico_gordo.csv"
dat="$datos/numeros.dat"

# The public history (ISO dates, ",", a header, newest first, CRLF) into an empty folder:
# the very draw file of the same history, Saturday draws of 2005-06 included.
mkdir "$tmp/a"
sale 0 "importar-csv" -- "$cli" --datos "$tmp/a" importar-csv "$csv"
igual "importar-csv: aviso" "Se han añadido 1114 sorteos del archivo." "$(cat "$tmp/out")"
cmp -s "$tmp/a/numeros.dat" "$dat" || falla "importar-csv: no es la historia"
sale 0 "importar-csv otra vez" -- "$cli" --datos "$tmp/a" importar-csv "$csv"
igual "nada nuevo" "Importar sorteos de un archivo CSV: «historico_gordo.csv» no tiene sorteos posteriores al último guardado. No se ha añadido ninguno." "$(cat "$tmp/err")"

# Round trip: exported, then imported into another empty folder, byte for byte.
sale 0 "exportar-csv" -- "$cli" --datos "$tmp/a" exportar-csv "$tmp/todo.csv"
igual "exportar: cabecera" "fecha;n1;n2;n3;n4;n5;clave" "$(head -1 "$tmp/todo.csv")"
igual "exportar: más antiguo primero" "2005-02-06;34;42;47;48;51;5" "$(sed -n 2p "$tmp/todo.csv")"
igual "exportar: líneas" 1115 "$(wc -l < "$tmp/todo.csv")"
mkdir "$tmp/b"
sale 0 "ida y vuelta" -- "$cli" --datos "$tmp/b" importar-csv "$tmp/todo.csv"
cmp -s "$tmp/b/numeros.dat" "$dat" || falla "ida y vuelta: no es la historia"

# dd/mm/aaaa with ";" oldest first and no header, and d/m/aaaa with ",", on top of the
# history up to 4 October 2020: the draws after it are added.
tail -n +2 "$csv" | tr -d '\r' | tac |
  awk -F, '{split($1, f, "-"); printf "%s/%s/%s;%s;%s;%s;%s;%s;%s\n", f[3], f[2], f[1], $2, $3, $4, $5, $6, $7}' >"$tmp/dma.csv"
sed -E 's#^0?([0-9]+)/0?([0-9]+)/#\1/\2/#; s/;/,/g' "$tmp/dma.csv" >"$tmp/corta.csv"
for f in dma corta; do
  mkdir "$tmp/$f"
  head -c $((808 * 24)) "$dat" >"$tmp/$f/numeros.dat"
  sale 0 "importar $f" -- "$cli" --datos "$tmp/$f" importar-csv "$tmp/$f.csv"
  igual "importar $f: aviso" "Se han añadido 306 sorteos del archivo." "$(cat "$tmp/out")"
  cmp -s "$tmp/$f/numeros.dat" "$dat" || falla "importar $f: no es la historia"
done
igual "corta: formato" "6/2/2005,34,42,47,48,51,5" "$(head -1 "$tmp/corta.csv")"

# A bad line refuses the whole file, naming the line.
mkdir "$tmp/c"
head -c $((808 * 24)) "$dat" >"$tmp/c/numeros.dat"
cp "$tmp/c/numeros.dat" "$tmp/antes.dat"
sed '5s/;[0-9]*$/;12/' "$tmp/dma.csv" >"$tmp/mala.csv"
sale 1 "línea mala" -- "$cli" --datos "$tmp/c" importar-csv "$tmp/mala.csv"
igual "línea mala: aviso" "Importar sorteos de un archivo CSV: La línea 5 de «mala.csv» no es válida: el número clave no está entre el 0 y el 9. No se ha añadido ningún sorteo." "$(cat "$tmp/err")"
cmp -s "$tmp/c/numeros.dat" "$tmp/antes.dat" || falla "línea mala: cambió numeros.dat"
sale 1 "csv inexistente" -- "$cli" --datos "$tmp/c" importar-csv "$tmp/no-existe.csv"
sale 2 "importar-csv sin archivo" -- "$cli" --datos "$tmp/c" importar-csv

# A file that starts well after the newest stored draw would leave a hole: only with --si.
grep -E '^202[1-6]-' "$csv" >"$tmp/reciente.csv"
sale 1 "hueco" -- "$cli" --datos "$tmp/c" importar-csv "$tmp/reciente.csv"
grep -q "faltan 12 sorteos" "$tmp/err" || falla "hueco: falta el aviso ($(cat "$tmp/err"))"
cmp -s "$tmp/c/numeros.dat" "$tmp/antes.dat" || falla "hueco: cambió numeros.dat"
sale 0 "hueco con --si" -- "$cli" --datos "$tmp/c" importar-csv "$tmp/reciente.csv" --si

# By hand, on the whole history (newest 16 August 2026), with a peña playing the numbers.
mkdir "$tmp/m"
cp "$dat" "$tmp/m/numeros.dat"
"$cli" --datos "$tmp/m" crear --nombre Mano --clave 3 --apuesta "4 8 15 16 23" >/dev/null 2>&1
dd if=/dev/zero of="$tmp/m/apuestas.dat" bs=1 seek=629 count=8 conv=notrunc 2>/dev/null
cp "$tmp/m/numeros.dat" "$tmp/antes.dat"
no() { # no DESCRIPCIÓN MENSAJE ARGUMENTOS...
  local que=$1 mensaje=$2
  shift 2
  sale 1 "$que" -- "$cli" --datos "$tmp/m" anadir-sorteo "$@"
  igual "$que: aviso" "Añadir sorteo a mano: No se puede añadir el sorteo: $mensaje." "$(cat "$tmp/err")"
}
no "futuro" "la fecha es posterior a hoy" 2099-01-04 "1 2 3 4 5" 1
no "no es nuevo" "el último sorteo guardado es del Domingo, 16 de agosto del 2026 y el nuevo tiene que ser posterior" 2026-08-16 "1 2 3 4 5" 1
no "lunes" "el 24/08/2026 no es día de sorteo: se sortea los domingos" 2026-08-24 "1 2 3 4 5" 1
no "repetido" "los números no son cinco números distintos del 1 al 54" 2026-08-23 "1 2 3 4 4" 1
no "fuera de rango" "los números no son cinco números distintos del 1 al 54" 2026-08-23 "1 2 3 4 55" 1
no "clave" "el número clave no está entre el 0 y el 9" 2026-08-23 "1 2 3 4 5" 10
cmp -s "$tmp/m/numeros.dat" "$tmp/antes.dat" || falla "un sorteo rechazado cambió numeros.dat"
sale 2 "sin clave" -- "$cli" --datos "$tmp/m" anadir-sorteo 2026-08-23 "1 2 3 4 5"
sale 2 "cuatro números" -- "$cli" --datos "$tmp/m" anadir-sorteo 2026-08-23 "1 2 3 4" 1
sale 2 "fecha mal escrita" -- "$cli" --datos "$tmp/m" anadir-sorteo 23/08/2026 "1 2 3 4 5" 1

sale 0 "a mano" -- "$cli" --datos "$tmp/m" anadir-sorteo 2026-08-23 "23 16 15 8 4" 3
igual "a mano: aviso" "Añadido el sorteo del Domingo, 23 de agosto del 2026" "$(cat "$tmp/out")"
igual "a mano: el más reciente" " 4- 8-15-16-23  NÚM.CLAVE: 3    23/08/2026  Domingo" "$("$cli" --datos "$tmp/m" sorteos | head -1)"
# Counted like a downloaded draw: 5 + key, once.
pena=$("$cli" --datos "$tmp/m" penas --json)
igual "a mano: primera categoría" "1" "$(echo "$pena" | grep -o '"aciertos":\[[^]]*\]' | cut -d, -f8 | tr -d ']')"
igual "a mano: ultimacuenta" '"ultimacuenta":"2026-08-23"' "$(echo "$pena" | grep -o '"ultimacuenta":"[^"]*"')"

# Three weeks later the two draws between would be left out: only with --si.
sale 1 "a mano con hueco" -- "$cli" --datos "$tmp/m" anadir-sorteo 2026-09-13 "1 2 3 4 5" 1
grep -q "faltan 2 sorteos" "$tmp/err" || falla "a mano con hueco: falta el aviso"
sale 0 "a mano con hueco y --si" -- "$cli" --datos "$tmp/m" anadir-sorteo 2026-09-13 "1 2 3 4 5" 1 --si

termina "cli entradas"
