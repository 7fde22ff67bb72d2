#!/usr/bin/env bash
# Orders that only read create and change nothing, in an empty folder and in a full one.
set -u
source "$(dirname "$0")/comun.sh"

huella() { (cd "$1" && find . -mindepth 1 -printf '%p %s %T@\n' | sort && cat ./* 2>/dev/null | md5sum); }
consultas() {  # CARPETA: every order that only reads
  "$cli" --datos "$1" sorteos >/dev/null 2>&1
  "$cli" --datos "$1" sorteos --json >/dev/null 2>&1
  "$cli" --datos "$1" estado >/dev/null 2>&1
  "$cli" --datos "$1" penas --json >/dev/null 2>&1
  "$cli" --datos "$1" resumen >/dev/null 2>&1
  "$cli" --datos "$1" escrutinio >/dev/null 2>&1
  "$cli" --datos "$1" estadisticas >/dev/null 2>&1
  "$cli" --datos "$1" imprimir 1 --papel oficial --pdf "$tmp/boleto.pdf" >/dev/null 2>&1
}

mkdir "$tmp/vacia"
consultas "$tmp/vacia"
igual "carpeta vacía" "" "$(ls -A "$tmp/vacia")"

# A full folder, with a peña whose draw day still reads "Sábado" and draws it has not
# counted yet: looking neither corrects nor counts anything.
mkdir "$tmp/llena"
cp "$datos/numeros.dat" "$tmp/llena/"
python3 - "$tmp/llena/apuestas.dat" <<'PY'
import struct, sys
b = bytearray(645)
b[0:20] = b'SABADO'.ljust(20, b' ')
struct.pack_into('<6h', b, 20, 3, 12, 25, 40, 54, 7)
b[612:627] = 'Sábado'.encode('cp1252').ljust(15, b' ')
struct.pack_into('<h', b, 627, 1)
struct.pack_into('<d', b, 629, 40179.0)
open(sys.argv[1], 'wb').write(b)
PY
antes=$(huella "$tmp/llena")
consultas "$tmp/llena"
[ -s "$tmp/boleto.pdf" ] || falla "imprimir no dejó el PDF"
igual "carpeta llena" "$antes" "$(huella "$tmp/llena")"
"$cli" --datos "$tmp/llena" penas --json | jq -e '.[0].dias == "Domingo"' >/dev/null || falla "el día no se lee corregido"

# A refusal prints nothing on stdout first: a balance of 0,00 € or an empty list read as
# an answer by whoever runs the order.
mkdir "$tmp/ajena" "$tmp/rota"
cp "$datos/numeros.dat" "$tmp/llena/apuestas.dat" "$tmp/ajena/"
python3 -c 'import sqlite3,sys; c=sqlite3.connect(sys.argv[1]); c.execute("CREATE TABLE clientes (id INTEGER)"); c.commit()' \
  "$tmp/ajena/sortilan.db"
cp "$datos/numeros.dat" "$tmp/rota/"
python3 -c 'import sys; open(sys.argv[1], "wb").write(bytes(range(256)) * 4)' "$tmp/rota/apuestas.dat"
while read -r carpeta orden; do
  # shellcheck disable=SC2086
  sale 1 "$carpeta: $orden" -- "$cli" --datos "$tmp/$carpeta" $orden
  igual "$carpeta: $orden no escribe nada antes de negarse" "" "$(cat "$tmp/out")"
done <<'TABLA'
ajena balance
ajena balance 1
ajena balance --json
ajena cobros
ajena socios 1
rota penas
rota resumen
rota balance
rota estado
TABLA

termina "cli sólo lectura"
