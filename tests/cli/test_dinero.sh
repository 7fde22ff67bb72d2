#!/bin/bash
# The money orders of the command line: balance, cobros, cobrar and completar-premios.
set -u
source "$(dirname "$0")/comun.sh"

# The history up to 7 March 2021; nothing on the network answers.
head -c $((830 * 24)) "$datos/numeros.dat" > "$tmp/numeros.dat"
printf '[servicios]\nresultados=http://127.0.0.1:9\noperador=http://127.0.0.1:9\n[juego]\nprecio=2,00\n' > "$tmp/sortilan.ini"

# Reading creates nothing.
sale 0 "balance vacío" -- "$cli" --datos "$tmp" balance --json
igual "balance vacío" '{"penas":[],"precio_apuesta_centimos":200,"total":{"caducado_centimos":0,"coste_centimos":0,"ganado_centimos":0,"neto_centimos":0}}' "$(cat "$tmp/out")"
sale 0 "cobros vacío" -- "$cli" --datos "$tmp" cobros --json
igual "cobros vacío" "[]" "$(cat "$tmp/out")"
[ -e "$tmp/sortilan.db" ] && falla "leer creó sortilan.db"

# A peña that plays every draw (no creation date). 4 + key on 7 March 2021.
"$cli" --datos "$tmp" crear --nombre Premiada --clave 9 --apuesta "15 24 40 42 1" >/dev/null 2>&1
dd if=/dev/zero of="$tmp/apuestas.dat" bs=1 seek=629 count=8 conv=notrunc 2>/dev/null
sale 0 "balance sin tablas" -- "$cli" --datos "$tmp" balance --json
igual "sin tablas: coste" "166000" "$(jq '.penas[0].coste_centimos' "$tmp/out")"
igual "sin tablas: ganado" "0" "$(jq '.penas[0].ganado_centimos' "$tmp/out")"
# Every prize of the sample expired long ago: lost, not waiting for its amount.
igual "sin tablas: nada pendiente de lo perdido" "0 0" "$(jq -r '.penas[0] | "\(.premios_sin_importe) \(.caducado_centimos)"' "$tmp/out")"

# A saved answer brings the tables of its 22 draws, even with no draw new.
sale 0 "descargar" -- "$cli" --datos "$tmp" descargar --respuesta "$datos/respuesta_ejemplo.json"
[ -s "$tmp/sortilan.db" ] || falla "descargar no guardó las tablas"
sale 0 "balance de la peña" -- "$cli" --datos "$tmp" balance 1 --json
igual "7 de marzo" '{"caducado_centimos":4744595,"coste_centimos":200,"fecha":"2021-03-07","ganado_centimos":0,"premios":[{"apuestas":1,"categoria":3,"importe_centimos":4744595}],"reintegro":null}' \
  "$(jq -c '.sorteos[] | select(.fecha == "2021-03-07")' "$tmp/out")"
sale 0 "cobros" -- "$cli" --datos "$tmp" cobros --json
igual "cobro con retención" '{"bruto_centimos":4744595,"cobrado":null,"estado":"caducado","fecha":"2021-03-07","limite":"2021-06-07","lugar":"banco","neto_centimos":4595676,"nombre":"PREMIADA","registro":1,"retencion_centimos":148919}' \
  "$(jq -c '.[] | select(.fecha == "2021-03-07")' "$tmp/out")"
igual "cobros: un documento" "$(jq -S -c . "$tmp/out")" "$(cat "$tmp/out")"
sale 0 "balance texto" -- "$cli" --datos "$tmp" balance 1
grep -q "^07/03/2021  coste: 2,00 €  caducado: 47.445,95 €  3ª: 1 × 47.445,95 €$" "$tmp/out" || falla "balance K en texto: $(grep 07/03/2021 "$tmp/out")"
# Lost prizes are apart: the peña's totals against the sum of its draws.
sale 0 "balance K json" -- "$cli" --datos "$tmp" balance 1 --json
igual "K: ganado y caducado de sus sorteos" \
  "$(jq -c '[([.sorteos[].ganado_centimos // 0] | add), ([.sorteos[].caducado_centimos // 0] | add), ([.sorteos[].coste_centimos] | add)]' "$tmp/out")" \
  "$(jq -c '[.ganado_centimos, .caducado_centimos, .coste_centimos]' "$tmp/out")"
igual "K: neto sin lo caducado" "$(jq '.ganado_centimos - .coste_centimos' "$tmp/out")" "$(jq '.neto_centimos' "$tmp/out")"
sale 0 "balance json" -- "$cli" --datos "$tmp" balance --json
perdido_antes=$(jq '.penas[0].caducado_centimos' "$tmp/out")
ganado_antes=$(jq '.penas[0].ganado_centimos' "$tmp/out")
[ "$perdido_antes" -ge 4744595 ] || falla "caducado sin el premio del 7 de marzo: $perdido_antes"
igual "total caducado" "$perdido_antes" "$(jq '.total.caducado_centimos' "$tmp/out")"

# Marking a collection: refusals leave everything as it was.
antes=$(md5sum < "$tmp/sortilan.db")
sale 1 "no jugado" -- "$cli" --datos "$tmp" cobrar 1 2021-03-08
igual "no jugado: motivo" "La peña PREMIADA no jugó ningún sorteo del 08/03/2021." "$(cat "$tmp/err")"
sale 1 "después del último día" -- "$cli" --datos "$tmp" cobrar 1 2021-03-07 --fecha 2021-06-08
igual "caducado: motivo" "El premio caducó el 07/06/2021: no se pudo cobrar después." "$(cat "$tmp/err")"
sale 1 "caducado sin día" -- "$cli" --datos "$tmp" cobrar 1 2021-03-07
igual "caducado sin día: motivo" "El premio caducó el 07/06/2021 sin marcarse cobrado. Si se cobró a tiempo, indique el día en que se cobró: el 07/06/2021 o antes." "$(cat "$tmp/err")"
sale 1 "peña que no existe" -- "$cli" --datos "$tmp" cobrar 2 2021-03-07
igual "rechazos: base intacta" "$antes" "$(md5sum < "$tmp/sortilan.db")"
sale 0 "cobrar" -- "$cli" --datos "$tmp" cobrar 1 2021-03-07 --fecha 2021-03-09
sale 0 "cobros tras cobrar" -- "$cli" --datos "$tmp" cobros --json
igual "cobrado" '"cobrado" "2021-03-09"' "$(jq -c '.[] | select(.fecha == "2021-03-07") | .estado, .cobrado' "$tmp/out" | tr '\n' ' ' | sed 's/ $//')"
# Collected in time: won, no longer lost.
sale 0 "balance tras cobrar" -- "$cli" --datos "$tmp" balance --json
igual "cobrado: ganado y caducado" "$((ganado_antes + 4744595)) $((perdido_antes - 4744595))" \
  "$(jq -r '.penas[0] | "\(.ganado_centimos) \(.caducado_centimos)"' "$tmp/out")"
sale 0 "pendientes" -- "$cli" --datos "$tmp" cobros --pendientes --json
igual "nada pendiente hoy" "[]" "$(cat "$tmp/out")"

# Catch-up: nothing missing since the sample's first draw needs no request; the whole
# history does, and a service that cannot be reached ends it with the reason.
sale 0 "completar sin huecos" -- "$cli" --datos "$tmp" completar-premios --desde 2020-10-11
igual "completar sin huecos" "Tablas de premios guardadas: 0. Sorteos sin tabla de premios: 0." "$(cat "$tmp/out")"
antes=$(md5sum < "$tmp/sortilan.db")
# The first window starts at the first draw whose prize reads "importe pendiente".
primero=$("$cli" --datos "$tmp" cobros --json | jq -r '[.[] | select(.neto_centimos == null) | .fecha] | min' | awk -F- '{print $3"/"$2"/"$1}')
sale 1 "completar sin conexión" -- "$cli" --datos "$tmp" completar-premios
grep -q "^Pidiendo los premios del $primero al " "$tmp/out" || falla "completar: primera ventana $(head -1 "$tmp/out"), se esperaba $primero"
grep -q "No conectado" "$tmp/err" || falla "completar sin conexión: $(cat "$tmp/err")"
igual "completar sin conexión: base intacta" "$antes" "$(md5sum < "$tmp/sortilan.db")"

# Orders written wrong.
sale 2 "balance de más" -- "$cli" --datos "$tmp" balance 1 2
sale 2 "balance letra" -- "$cli" --datos "$tmp" balance uno
sale 2 "cobros de más" -- "$cli" --datos "$tmp" cobros --todos
sale 2 "cobrar sin fecha" -- "$cli" --datos "$tmp" cobrar 1
sale 2 "cobrar fecha mala" -- "$cli" --datos "$tmp" cobrar 1 2021-02-30
sale 2 "cobrar --fecha sin valor" -- "$cli" --datos "$tmp" cobrar 1 2021-03-07 --fecha
sale 2 "completar desde mal" -- "$cli" --datos "$tmp" completar-premios --desde ayer

termina "cli dinero"
