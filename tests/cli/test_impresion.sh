#!/bin/bash
# imprimir and estadisticas orders of sortilan-cli, driven as a user would.
set -u
source "$(dirname "$0")/comun.sh"

cp "$datos/numeros.dat" "$tmp/numeros.dat"
cp "$datos/penas_impresion.dat" "$tmp/apuestas.dat"
chmod u+w "$tmp"/*

# Pages of a PDF written by the program: its page tree says how many.
paginas() { grep -a -c '^/Type /Page$' "$1"; }

# peña, papel, páginas
while read -r k papel esperadas; do
  pdf="$tmp/p$k-$papel.pdf"
  if ! "$cli" --datos "$tmp" imprimir "$k" --papel "$papel" --pdf "$pdf" >"$tmp/out" 2>/dev/null; then
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
[ ! -e "$tmp/nums.ini" ] || falla "imprimir creó nums.ini: una orden de consulta no cambia nada"

# Refusals: usage errors exit 2, a missing peña exits 1 and writes nothing.
"$cli" --datos "$tmp" imprimir 1 --papel azul --pdf "$tmp/x.pdf" 2>/dev/null; [ $? = 2 ] || falla "papel desconocido"
"$cli" --datos "$tmp" imprimir 1 --papel normal 2>/dev/null; [ $? = 2 ] || falla "falta --pdf"
"$cli" --datos "$tmp" imprimir uno --papel normal --pdf "$tmp/x.pdf" 2>/dev/null; [ $? = 2 ] || falla "peña no numérica"
"$cli" --datos "$tmp" imprimir 9 --papel normal --pdf "$tmp/x.pdf" 2>/dev/null; [ $? = 1 ] || falla "peña inexistente"
[ ! -e "$tmp/x.pdf" ] || falla "se escribió un PDF sin peña"
"$cli" --datos "$tmp" imprimir 1 --papel normal --pdf "$tmp/no/existe/x.pdf" 2>/dev/null; [ $? = 1 ] || falla "PDF en carpeta inexistente"

# Statistics: five number counts and one key count per draw.
json=$("$cli" --datos "$tmp" estadisticas --json) || falla "estadisticas --json"
python3 - "$json" <<'PY' || falla "estadisticas --json no cuadra"
import json, sys
d = json.loads(sys.argv[1])
assert len(d["bajos"]) == 27 and len(d["altos"]) == 27 and len(d["clave"]) == 10
assert sum(d["bajos"]) + sum(d["altos"]) == 5 * 1114
assert sum(d["clave"]) == 1114
PY
"$cli" --datos "$tmp" estadisticas | grep -q '^TOTAL: 1114 sorteos.$' || falla "estadisticas sin total"

vacio=$(mktemp -d)
[ "$("$cli" --datos "$vacio" estadisticas --json)" = '{"altos":[0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0],"bajos":[0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0],"clave":[0,0,0,0,0,0,0,0,0,0]}' ] ||
  falla "estadisticas sin sorteos"
rm -rf "$vacio"

termina "cli impresión"
