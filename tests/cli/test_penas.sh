#!/bin/bash
# The peña orders of the command line, driven as a user would on the real history.
set -u
CLI="$1"
DATOS="$2"
D=$(mktemp -d)
trap 'rm -rf "$D"' EXIT
cp "$DATOS/numeros.dat" "$D/" && chmod u+w "$D/numeros.dat"
fallos=0
falla() { echo "FALLO: $*"; fallos=$((fallos + 1)); }
espera() {  # espera CODIGO DESCRIPCION -- orden...
  local codigo=$1 que=$2; shift 3
  "$@" >"$D/out" 2>"$D/err"; local r=$?
  [ "$r" = "$codigo" ] || falla "$que: salida $r, se esperaba $codigo ($(cat "$D/err"))"
}

espera 0 "penas vacío" -- "$CLI" --datos "$D" penas
grep -q "VACÍO" "$D/out" || falla "penas vacío no dice VACÍO"
espera 0 "penas json vacío" -- "$CLI" --datos "$D" penas --json
[ "$(cat "$D/out")" = "[]" ] || falla "penas --json vacío: $(cat "$D/out")"

# Refusals: exit 1 with a Spanish message, nothing written.
espera 1 "nombre largo" -- "$CLI" --datos "$D" crear --nombre "UN NOMBRE DE MAS DE VEINTE" --clave 1 --apuesta "1 2 3 4 5"
grep -q "más de 20 letras" "$D/err" || falla "nombre largo sin mensaje"
espera 1 "número 55" -- "$CLI" --datos "$D" crear --nombre A --clave 1 --apuesta "1 2 3 4 55"
grep -q "55 no está entre 1 y 54" "$D/err" || falla "número fuera de rango sin mensaje"
espera 1 "repetido" -- "$CLI" --datos "$D" crear --nombre A --clave 1 --apuesta "1 2 3 3 5"
espera 1 "clave 10" -- "$CLI" --datos "$D" crear --nombre A --clave 10 --apuesta "1 2 3 4 5"
espera 1 "mezcla" -- "$CLI" --datos "$D" crear --nombre A --clave 1 --apuesta "1 2 3 4 5" --multiple "1 2 3 4 5 6"
espera 1 "tamaño" -- "$CLI" --datos "$D" crear --nombre A --clave 1 --apuesta "1 2 3 4"
args=(); for i in $(seq 25); do args+=(--apuesta "1 2 3 4 5"); done
espera 1 "25 apuestas" -- "$CLI" --datos "$D" crear --nombre A --clave 1 "${args[@]}"
grep -q "Máximo de apuestas sencillas por peña : 24." "$D/err" || falla "25 apuestas sin mensaje"
espera 2 "sin clave" -- "$CLI" --datos "$D" crear --nombre A --apuesta "1 2 3 4 5"
[ -s "$D/apuestas.dat" ] && falla "un rechazo escribió apuestas.dat"

# Two peñas: one matching the newest draw (16/08/2026: 7 8 11 31 35, clave 1), one multiple.
espera 0 "crear sencilla" -- "$CLI" --datos "$D" crear --nombre "los de siempre" --clave 1 --apuesta "35 31 11 8 7" --apuesta "1 2 3 4 5"
espera 0 "crear múltiple" -- "$CLI" --datos "$D" crear --nombre MULTI --clave 0 --multiple "7 8 11 20 21 22 23 24"
[ "$(stat -c %s "$D/apuestas.dat")" = "1290" ] || falla "apuestas.dat no tiene dos registros"
espera 0 "penas json" -- "$CLI" --datos "$D" penas --json
jq -e '.[0].nombre == "LOS DE SIEMPRE" and .[0].tipo == 2 and .[0].apuestas == [[7,8,11,31,35],[1,2,3,4,5]]
       and .[0].clave == 1 and .[0].ultimacuenta == null and .[0].dias == "Domingo"
       and .[1].tipo == 103 and .[1].apuestas == [[7,8,11,20,21,22,23,24]] and .[1].aciertos == [0,0,0,0,0,0,0,0]' \
  "$D/out" >/dev/null || falla "penas --json: $(cat "$D/out")"

# Created today, after every stored draw: nothing shown or counted without "Histórico".
espera 0 "comprobar" -- "$CLI" --datos "$D" comprobar --json
jq -e '.sencillas == [] and .multiples == []' "$D/out" >/dev/null || falla "comprobar sin histórico: $(cat "$D/out")"
espera 0 "comprobar histórico" -- "$CLI" --datos "$D" comprobar --historico --solo-premios --json
jq -e '.sencillas | length == 4' "$D/out" >/dev/null || falla "sólo premios: $(jq -c .sencillas "$D/out")"
jq -e '.sencillas[3].celdas[7] == "¡¡ Premio !! Has acertado 5 + Nº.Clave." and .sencillas[3].colores[7] == "#ff0000"
       and .sencillas[3].colores[1] == "#ff0000" and .sencillas[1].colores[7] == "#800000"' "$D/out" >/dev/null \
  || falla "fila premiada: $(jq -c '.sencillas[3]' "$D/out")"
jq -e '.multiples[3].celdas[13] == "¡¡ Premio !! Hay 30 apuestas de 2 aciertos." and .multiples[4].celdas[13] == "¡¡ Premio !! Hay 10 apuestas de 3 aciertos." and (.multiples | length) == 5' \
  "$D/out" >/dev/null || falla "desglose: $(jq -c .multiples "$D/out")"
espera 0 "penas tras comprobar" -- "$CLI" --datos "$D" penas --json
jq -e '.[0].aciertos == [0,0,0,0,0,0,0,0] and .[0].ultimacuenta == "2026-08-16"' "$D/out" >/dev/null \
  || falla "el histórico contó: $(cat "$D/out")"

espera 0 "resumen" -- "$CLI" --datos "$D" resumen --json
jq -e '.penas_registradas == "2" and .suma_aciertos == "0" and .efectividad == "0% de efectividad en premios"
       and .penas[1].apuestas == "56" and .penas[0].efectividad == "0 %" and .penas[0].participados == "0"
       and (.penas[0].premios | length) == 8' "$D/out" >/dev/null || falla "resumen: $(cat "$D/out")"

espera 1 "borrar sin confirmar" -- "$CLI" --datos "$D" borrar-pena 1
grep -q "¿Seguro que quieres eliminar la Peña LOS DE SIEMPRE?" "$D/err" || falla "borrar no pregunta"
espera 1 "borrar inexistente" -- "$CLI" --datos "$D" borrar-pena 3 --si
espera 0 "borrar" -- "$CLI" --datos "$D" borrar-pena 1 --si
espera 0 "penas tras borrar" -- "$CLI" --datos "$D" penas --json
jq -e 'length == 1 and .[0].nombre == "MULTI" and .[0].registro == 1' "$D/out" >/dev/null || falla "borrar: $(cat "$D/out")"

[ "$fallos" = 0 ] && echo "bien" || exit 1
