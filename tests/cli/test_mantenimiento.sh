#!/usr/bin/env bash
# Draw maintenance from the command line: import, delete one draw, delete all, reset peñas.
set -u
source "$(dirname "$0")/comun.sh"

mkdir -p "$tmp/d"
# Empty data folder, then a good import.
sale 0 "importar" -- "$cli" --datos "$tmp/d" importar "$datos/numeros.dat"
cmp -s "$tmp/d/numeros.dat" "$datos/numeros.dat" || falla "numeros.dat no es el importado"
[ ! -e "$tmp/d/numeros.bak" ] || falla "una base vacía no es una copia de seguridad"
grep -q "Todos los sorteos: Archivo de sorteos importado con éxito" "$tmp/err" || falla "falta el aviso de éxito"
"$cli" --datos "$tmp/d" estado | grep -q "TOTAL: 1114 sorteos." || falla "tras importar no hay 1114 sorteos"

# A Saturday draw file is refused and changes nothing.
printf '\x01\x00\x02\x00\x03\x00\x04\x00\x05\x00\x06\x00\x00\x00\x00\x00\x00\x00\x00\x00\x80\x9c\xe5\x40' >"$tmp/sabado.dat"
sale 1 "importar sábado" -- "$cli" --datos "$tmp/d" importar "$tmp/sabado.dat"
grep -q "¡Vaya hombre!: Fichero de sorteos no válido." "$tmp/err" || falla "falta el aviso de archivo no válido"
cmp -s "$tmp/d/numeros.dat" "$datos/numeros.dat" || falla "un archivo rechazado cambió numeros.dat"
[ ! -e "$tmp/d/numeros.bak" ] || falla "un archivo rechazado escribió numeros.bak"
: >"$tmp/vacio.dat"
sale 1 "importar vacío" -- "$cli" --datos "$tmp/d" importar "$tmp/vacio.dat"
sale 1 "importar inexistente" -- "$cli" --datos "$tmp/d" importar "$tmp/no-existe.dat"
grep -q "Error 53" "$tmp/err" || falla "falta el número de error"
sale 2 "importar sin archivo" -- "$cli" --datos "$tmp/d" importar

# Delete the newest draw by its date.
nuevo="$("$cli" --datos "$tmp/d" sorteos --json | python3 -c 'import json,sys; print(json.load(sys.stdin)[0]["fecha"])')"
segundo="$("$cli" --datos "$tmp/d" sorteos --json | python3 -c 'import json,sys; print(json.load(sys.stdin)[1]["fecha"])')"
sale 1 "borrar-sorteo sin --si" -- "$cli" --datos "$tmp/d" borrar-sorteo "$nuevo"
cmp -s "$tmp/d/numeros.dat" "$datos/numeros.dat" || falla "borrar sin confirmar cambió numeros.dat"
sale 0 "borrar-sorteo" -- "$cli" --datos "$tmp/d" borrar-sorteo "$nuevo" --si
[ "$(stat -c %s "$tmp/d/numeros.dat")" -eq $((1113 * 24)) ] || falla "borrar-sorteo no dejó 1113 sorteos"
cmp -s "$tmp/d/numeros.dat" <(head -c $((1113 * 24)) "$datos/numeros.dat") || falla "borrar el último cambió los demás"
"$cli" --datos "$tmp/d" sorteos --json | python3 -c 'import json,sys; print(json.load(sys.stdin)[0]["fecha"])' >"$tmp/ahora"
[ "$(cat "$tmp/ahora")" = "$segundo" ] || falla "el sorteo anterior no pasó a ser el más reciente"
sale 1 "borrar-sorteo inexistente" -- "$cli" --datos "$tmp/d" borrar-sorteo 1990-01-07 --si
sale 2 "borrar-sorteo fecha mala" -- "$cli" --datos "$tmp/d" borrar-sorteo 07/01/1990 --si
[ ! -e "$tmp/d/numeros.tmp" ] || falla "quedó numeros.tmp"

# Delete all draws.
sale 1 "borrar-sorteos sin --si" -- "$cli" --datos "$tmp/d" borrar-sorteos
[ -s "$tmp/d/numeros.dat" ] || falla "borrar-sorteos sin confirmar vació el archivo"
sale 0 "borrar-sorteos" -- "$cli" --datos "$tmp/d" borrar-sorteos --si
[ -f "$tmp/d/numeros.dat" ] && [ ! -s "$tmp/d/numeros.dat" ] || falla "numeros.dat no quedó vacío"
"$cli" --datos "$tmp/d" estado | grep -q "Fichero de datos vacío." || falla "el estado no dice vacío"

# Reset the peñas: one peña with counters, created long ago.
python3 - "$tmp/d/apuestas.dat" <<'PY'
import struct, sys
b = bytearray(645)
b[0:20] = b'VIEJA'.ljust(20, b' ')
struct.pack_into('<6h', b, 20, 1, 2, 3, 4, 5, 0)
struct.pack_into('<8h', b, 596, 1, 2, 3, 4, 5, 6, 7, 8)
b[612:627] = b'Domingo'.ljust(15, b' ')
struct.pack_into('<h', b, 627, 1)
struct.pack_into('<d', b, 629, 40000.0)
struct.pack_into('<d', b, 637, 44262.0)
open(sys.argv[1], 'wb').write(b)
PY
sale 1 "reiniciar-penas sin --si" -- "$cli" --datos "$tmp/d" reiniciar-penas
sale 0 "reiniciar-penas" -- "$cli" --datos "$tmp/d" reiniciar-penas --si
python3 - "$tmp/d/apuestas.dat" <<'PY' || falla "reiniciar-penas no dejó la peña a cero"
import struct, sys, datetime
b = open(sys.argv[1], 'rb').read()
assert len(b) == 645
assert struct.unpack_from('<8h', b, 596) == (0,) * 8
hoy = (datetime.date.today() - datetime.date(1899, 12, 30)).days
assert struct.unpack_from('<d', b, 629)[0] == float(hoy)
assert struct.unpack_from('<d', b, 637)[0] == 0.0
assert b[0:5] == b'VIEJA'
PY

termina "cli mantenimiento"
