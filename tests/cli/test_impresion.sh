#!/bin/bash
# imprimir and estadisticas orders of sortilan-cli, driven as a user would.
set -u
CLI="$1"
DATOS="$2"
DIR=$(mktemp -d)
trap 'rm -rf "$DIR"' EXIT
fallos=0
falla() { echo "FALLO: $*"; fallos=$((fallos + 1)); }

cp "$DATOS/numeros.dat" "$DIR/numeros.dat"
cp "$DATOS/penas_impresion.dat" "$DIR/apuestas.dat"
chmod u+w "$DIR"/*

# Pages of a PDF written by the program: its page tree says how many.
paginas() { grep -a -c '^/Type /Page$' "$1"; }

# peña, papel, páginas
while read -r k papel esperadas; do
  pdf="$DIR/p$k-$papel.pdf"
  if ! "$CLI" --datos "$DIR" imprimir "$k" --papel "$papel" --pdf "$pdf" >"$DIR/out" 2>/dev/null; then
    falla "imprimir $k $papel"
    continue
  fi
  [ "$(paginas "$pdf")" = "$esperadas" ] || falla "peña $k en papel $papel: $(paginas "$pdf") páginas, se esperaban $esperadas"
done <<'TABLA'
1 normal 1
1 oficial 2
2 normal 1
3 normal 2
3 oficial 4
TABLA
[ "$(wc -c <"$DIR/nums.ini")" = 12 ] || falla "nums.ini no tiene un registro de 12 bytes"

# Refusals: usage errors exit 2, a missing peña exits 1 and writes nothing.
"$CLI" --datos "$DIR" imprimir 1 --papel azul --pdf "$DIR/x.pdf" 2>/dev/null; [ $? = 2 ] || falla "papel desconocido"
"$CLI" --datos "$DIR" imprimir 1 --papel normal 2>/dev/null; [ $? = 2 ] || falla "falta --pdf"
"$CLI" --datos "$DIR" imprimir uno --papel normal --pdf "$DIR/x.pdf" 2>/dev/null; [ $? = 2 ] || falla "peña no numérica"
"$CLI" --datos "$DIR" imprimir 9 --papel normal --pdf "$DIR/x.pdf" 2>/dev/null; [ $? = 1 ] || falla "peña inexistente"
[ ! -e "$DIR/x.pdf" ] || falla "se escribió un PDF sin peña"
"$CLI" --datos "$DIR" imprimir 1 --papel normal --pdf "$DIR/no/existe/x.pdf" 2>/dev/null; [ $? = 1 ] || falla "PDF en carpeta inexistente"

# Statistics: five number counts and one key count per draw.
json=$("$CLI" --datos "$DIR" estadisticas --json) || falla "estadisticas --json"
python3 - "$json" <<'PY' || falla "estadisticas --json no cuadra"
import json, sys
d = json.loads(sys.argv[1])
assert len(d["bajos"]) == 27 and len(d["altos"]) == 27 and len(d["clave"]) == 10
assert sum(d["bajos"]) + sum(d["altos"]) == 5 * 1114
assert sum(d["clave"]) == 1114
PY
"$CLI" --datos "$DIR" estadisticas | grep -q '^TOTAL: 1114 sorteos.$' || falla "estadisticas sin total"

vacio=$(mktemp -d)
[ "$("$CLI" --datos "$vacio" estadisticas --json)" = '{"altos":[0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0],"bajos":[0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0],"clave":[0,0,0,0,0,0,0,0,0,0]}' ] ||
  falla "estadisticas sin sorteos"
rm -rf "$vacio"

[ $fallos = 0 ] && echo "ok" || exit 1
