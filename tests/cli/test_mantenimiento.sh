#!/usr/bin/env bash
# Draw maintenance from the command line: import, delete one draw, delete all, reset peñas.
set -u
CLI="$1"
DATOS="$2"
T="$(mktemp -d)"
trap 'rm -rf "$T"' EXIT
fallos=0
falla() { echo "FALLO: $*"; fallos=$((fallos + 1)); }
espera() {  # espera CODIGO_ESPERADO descripción -- orden...
  local esperado="$1" que="$2"
  shift 3
  "$@" >"$T/out" 2>"$T/err"
  local rc=$?
  [ "$rc" -eq "$esperado" ] || falla "$que: salida $rc, se esperaba $esperado ($(cat "$T/err"))"
}

mkdir -p "$T/d"
# Empty data folder, then a good import.
espera 0 "importar" -- "$CLI" --datos "$T/d" importar "$DATOS/numeros.dat"
cmp -s "$T/d/numeros.dat" "$DATOS/numeros.dat" || falla "numeros.dat no es el importado"
[ -f "$T/d/numeros.bak" ] && [ ! -s "$T/d/numeros.bak" ] || falla "numeros.bak debería ser la base vacía anterior"
grep -q "Todos los sorteos: Archivo de sorteos importado con éxito" "$T/err" || falla "falta el aviso de éxito"
"$CLI" --datos "$T/d" estado | grep -q "TOTAL: 1114 sorteos." || falla "tras importar no hay 1114 sorteos"

# A Saturday draw file is refused and changes nothing.
printf '\x01\x00\x02\x00\x03\x00\x04\x00\x05\x00\x06\x00\x00\x00\x00\x00\x00\x00\x00\x00\x80\x9c\xe5\x40' >"$T/sabado.dat"
cp "$T/d/numeros.bak" "$T/bak.antes"
espera 1 "importar sábado" -- "$CLI" --datos "$T/d" importar "$T/sabado.dat"
grep -q "¡Vaya hombre!: Fichero de sorteos no válido." "$T/err" || falla "falta el aviso de archivo no válido"
cmp -s "$T/d/numeros.dat" "$DATOS/numeros.dat" || falla "un archivo rechazado cambió numeros.dat"
cmp -s "$T/d/numeros.bak" "$T/bak.antes" || falla "un archivo rechazado cambió numeros.bak"
: >"$T/vacio.dat"
espera 1 "importar vacío" -- "$CLI" --datos "$T/d" importar "$T/vacio.dat"
espera 1 "importar inexistente" -- "$CLI" --datos "$T/d" importar "$T/no-existe.dat"
grep -q "Error 53" "$T/err" || falla "falta el número de error"
espera 2 "importar sin archivo" -- "$CLI" --datos "$T/d" importar

# Delete the newest draw by its date.
nuevo="$("$CLI" --datos "$T/d" sorteos --json | python3 -c 'import json,sys; print(json.load(sys.stdin)[0]["fecha"])')"
segundo="$("$CLI" --datos "$T/d" sorteos --json | python3 -c 'import json,sys; print(json.load(sys.stdin)[1]["fecha"])')"
espera 1 "borrar-sorteo sin --si" -- "$CLI" --datos "$T/d" borrar-sorteo "$nuevo"
cmp -s "$T/d/numeros.dat" "$DATOS/numeros.dat" || falla "borrar sin confirmar cambió numeros.dat"
espera 0 "borrar-sorteo" -- "$CLI" --datos "$T/d" borrar-sorteo "$nuevo" --si
[ "$(stat -c %s "$T/d/numeros.dat")" -eq $((1113 * 24)) ] || falla "borrar-sorteo no dejó 1113 sorteos"
cmp -s "$T/d/numeros.dat" <(head -c $((1113 * 24)) "$DATOS/numeros.dat") || falla "borrar el último cambió los demás"
"$CLI" --datos "$T/d" sorteos --json | python3 -c 'import json,sys; print(json.load(sys.stdin)[0]["fecha"])' >"$T/ahora"
[ "$(cat "$T/ahora")" = "$segundo" ] || falla "el sorteo anterior no pasó a ser el más reciente"
espera 1 "borrar-sorteo inexistente" -- "$CLI" --datos "$T/d" borrar-sorteo 1990-01-07 --si
espera 2 "borrar-sorteo fecha mala" -- "$CLI" --datos "$T/d" borrar-sorteo 07/01/1990 --si
[ ! -e "$T/d/numeros.tmp" ] || falla "quedó numeros.tmp"

# Delete all draws.
espera 1 "borrar-sorteos sin --si" -- "$CLI" --datos "$T/d" borrar-sorteos
[ -s "$T/d/numeros.dat" ] || falla "borrar-sorteos sin confirmar vació el archivo"
espera 0 "borrar-sorteos" -- "$CLI" --datos "$T/d" borrar-sorteos --si
[ -f "$T/d/numeros.dat" ] && [ ! -s "$T/d/numeros.dat" ] || falla "numeros.dat no quedó vacío"
"$CLI" --datos "$T/d" estado | grep -q "Fichero de datos vacío." || falla "el estado no dice vacío"

# Reset the peñas: one peña with counters, created long ago.
python3 - "$T/d/apuestas.dat" <<'PY'
import struct, sys
b = bytearray(645)
b[0:20] = b'VIEJA'.ljust(20, b' ')
struct.pack_into('<8h', b, 596, 1, 2, 3, 4, 5, 6, 7, 8)
b[612:627] = b'Domingo'.ljust(15, b' ')
struct.pack_into('<h', b, 627, 1)
struct.pack_into('<d', b, 629, 40000.0)
struct.pack_into('<d', b, 637, 44262.0)
open(sys.argv[1], 'wb').write(b)
PY
espera 1 "reiniciar-penas sin --si" -- "$CLI" --datos "$T/d" reiniciar-penas
espera 0 "reiniciar-penas" -- "$CLI" --datos "$T/d" reiniciar-penas --si
python3 - "$T/d/apuestas.dat" <<'PY' || falla "reiniciar-penas no dejó la peña a cero"
import struct, sys, datetime
b = open(sys.argv[1], 'rb').read()
assert len(b) == 645
assert struct.unpack_from('<8h', b, 596) == (0,) * 8
hoy = (datetime.date.today() - datetime.date(1899, 12, 30)).days
assert struct.unpack_from('<d', b, 629)[0] == float(hoy)
assert struct.unpack_from('<d', b, 637)[0] == 0.0
assert b[0:5] == b'VIEJA'
PY

[ "$fallos" -eq 0 ] && echo "bien" || exit 1
