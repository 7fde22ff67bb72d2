#!/bin/bash
# The peña orders of the command line, driven as a user would on the real history.
set -u
source "$(dirname "$0")/comun.sh"
cp "$datos/numeros.dat" "$tmp/" && chmod u+w "$tmp/numeros.dat"

sale 0 "penas vacío" -- "$cli" --datos "$tmp" penas
grep -q "VACÍO" "$tmp/out" || falla "penas vacío no dice VACÍO"
sale 0 "penas json vacío" -- "$cli" --datos "$tmp" penas --json
[ "$(cat "$tmp/out")" = "[]" ] || falla "penas --json vacío: $(cat "$tmp/out")"

# Refusals: exit 1 with a Spanish message, nothing written.
sale 1 "nombre largo" -- "$cli" --datos "$tmp" crear --nombre "UN NOMBRE DE MAS DE VEINTE" --clave 1 --apuesta "1 2 3 4 5"
grep -q "más de 20 letras" "$tmp/err" || falla "nombre largo sin mensaje"
sale 1 "número 55" -- "$cli" --datos "$tmp" crear --nombre A --clave 1 --apuesta "1 2 3 4 55"
grep -q "55 no está entre 1 y 54" "$tmp/err" || falla "número fuera de rango sin mensaje"
sale 1 "repetido" -- "$cli" --datos "$tmp" crear --nombre A --clave 1 --apuesta "1 2 3 3 5"
sale 1 "clave 10" -- "$cli" --datos "$tmp" crear --nombre A --clave 10 --apuesta "1 2 3 4 5"
sale 1 "mezcla" -- "$cli" --datos "$tmp" crear --nombre A --clave 1 --apuesta "1 2 3 4 5" --multiple "1 2 3 4 5 6"
sale 1 "tamaño" -- "$cli" --datos "$tmp" crear --nombre A --clave 1 --apuesta "1 2 3 4"
args=(); for i in $(seq 25); do args+=(--apuesta "1 2 3 4 5"); done
sale 1 "25 apuestas" -- "$cli" --datos "$tmp" crear --nombre A --clave 1 "${args[@]}"
grep -q "Máximo de apuestas sencillas por peña : 24." "$tmp/err" || falla "25 apuestas sin mensaje"
sale 2 "sin clave" -- "$cli" --datos "$tmp" crear --nombre A --apuesta "1 2 3 4 5"
[ -s "$tmp/apuestas.dat" ] && falla "un rechazo escribió apuestas.dat"

# Two peñas: one matching the newest draw (16/08/2026: 7 8 11 31 35, clave 1), one multiple.
sale 0 "crear sencilla" -- "$cli" --datos "$tmp" crear --nombre "los de siempre" --clave 1 --apuesta "35 31 11 8 7" --apuesta "1 2 3 4 5"
sale 0 "crear múltiple" -- "$cli" --datos "$tmp" crear --nombre MULTI --clave 0 --multiple "7 8 11 20 21 22 23 24"
[ "$(stat -c %s "$tmp/apuestas.dat")" = "1290" ] || falla "apuestas.dat no tiene dos registros"
sale 0 "penas json" -- "$cli" --datos "$tmp" penas --json
jq -e '.[0].nombre == "LOS DE SIEMPRE" and .[0].tipo == 2 and .[0].apuestas == [[7,8,11,31,35],[1,2,3,4,5]]
       and .[0].clave == 1 and .[0].ultimacuenta == null and .[0].dias == "Domingo"
       and .[1].tipo == 103 and .[1].apuestas == [[7,8,11,20,21,22,23,24]] and .[1].aciertos == [0,0,0,0,0,0,0,0]' \
  "$tmp/out" >/dev/null || falla "penas --json: $(cat "$tmp/out")"

# Created today, after every stored draw: nothing shown or counted without "Histórico".
sale 0 "comprobar" -- "$cli" --datos "$tmp" comprobar --json
jq -e '.sencillas == [] and .multiples == []' "$tmp/out" >/dev/null || falla "comprobar sin histórico: $(cat "$tmp/out")"
sale 0 "comprobar histórico" -- "$cli" --datos "$tmp" comprobar --historico --solo-premios --json
jq -e '.sencillas | length == 4' "$tmp/out" >/dev/null || falla "sólo premios: $(jq -c .sencillas "$tmp/out")"
jq -e '.sencillas[3].celdas[7] == "¡¡ Premio !! Has acertado 5 + Nº.Clave." and .sencillas[3].colores[7] == "#ff0000"
       and .sencillas[3].colores[1] == "#ff0000" and .sencillas[1].colores[7] == "#800000"' "$tmp/out" >/dev/null \
  || falla "fila premiada: $(jq -c '.sencillas[3]' "$tmp/out")"
jq -e '.multiples[3].celdas[13] == "¡¡ Premio !! Hay 30 apuestas de 2 aciertos." and .multiples[4].celdas[13] == "¡¡ Premio !! Hay 10 apuestas de 3 aciertos." and (.multiples | length) == 5' \
  "$tmp/out" >/dev/null || falla "desglose: $(jq -c .multiples "$tmp/out")"
# Written row by row, the output is still one document as a JSON writer would make it.
for orden in "comprobar --sorteos 1114 --historico --json" "comprobar --historico --solo-premios --json"; do
  sale 0 "$orden" -- "$cli" --datos "$tmp" $orden
  igual "$orden: un documento" "$(jq -S -c . "$tmp/out")" "$(cat "$tmp/out")"
done
sale 0 "penas tras comprobar" -- "$cli" --datos "$tmp" penas --json
jq -e '.[0].aciertos == [0,0,0,0,0,0,0,0] and .[0].ultimacuenta == null' "$tmp/out" >/dev/null \
  || falla "el histórico contó: $(cat "$tmp/out")"

sale 0 "resumen" -- "$cli" --datos "$tmp" resumen --json
jq -e '.penas_registradas == "2" and .suma_aciertos == "0" and .efectividad == "0% de efectividad en premios"
       and .penas[1].apuestas == "56" and .penas[0].efectividad == "0 %" and .penas[0].participados == "0"
       and (.penas[0].premios | length) == 8' "$tmp/out" >/dev/null || falla "resumen: $(cat "$tmp/out")"

sale 1 "borrar sin confirmar" -- "$cli" --datos "$tmp" borrar-pena 1
grep -q "¿Seguro que quieres eliminar la Peña LOS DE SIEMPRE?" "$tmp/err" || falla "borrar no pregunta"
sale 1 "borrar inexistente" -- "$cli" --datos "$tmp" borrar-pena 3 --si
sale 0 "borrar" -- "$cli" --datos "$tmp" borrar-pena 1 --si
sale 0 "penas tras borrar" -- "$cli" --datos "$tmp" penas --json
jq -e 'length == 1 and .[0].nombre == "MULTI" and .[0].registro == 1' "$tmp/out" >/dev/null || falla "borrar: $(cat "$tmp/out")"

# A damaged draw file is put aside before the peñas are checked: the bet below has
# 4 + key against the bad draw (a 0 in place of 3), and no prize may be counted from it.
danado="$tmp/danado"
mkdir "$danado"
sale 0 "crear para dañado" -- "$cli" --datos "$danado" crear --nombre D --clave 7 --apuesta "3 12 25 40 54"
cp "$danado/apuestas.dat" "$tmp/antes.dat"
printf '\x00\x00\x0c\x00\x19\x00\x28\x00\x36\x00\x07\x00\x00\x00\x00\x00\x00\x00\x00\x00\x20\x30\xe7\x40' \
  >"$danado/numeros.dat"
sale 0 "comprobar dañado" -- "$cli" --datos "$danado" comprobar --json
grep -q "^Error de lectura: Archivo de números ganadores no válido." "$tmp/err" || falla "dañado sin aviso"
[ -s "$danado/numeros.err" ] && [ ! -s "$danado/numeros.dat" ] || falla "dañado no apartado"
cmp -s "$danado/apuestas.dat" "$tmp/antes.dat" || falla "un sorteo dañado contó premios"

termina "cli peñas"
