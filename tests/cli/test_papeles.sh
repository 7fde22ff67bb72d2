#!/bin/bash
# Participation papers on the command line: issued, frozen, verified, voided, in a batch.
set -u
source "$(dirname "$0")/comun.sh"

head -c $((830 * 24)) "$datos/numeros.dat" > "$tmp/numeros.dat"
printf '[servicios]\nresultados=http://127.0.0.1:9\noperador=http://127.0.0.1:9\n[pena]\norganizador=Juan Pérez\norganizador_nif=11111111h\n' > "$tmp/sortilan.ini"
"$cli" --datos "$tmp" crear --nombre Premiada --clave 9 --apuesta "15 24 40 42 1" --apuesta "3 8 19 27 50" >/dev/null 2>&1
# Plays from 1 January 2021 on.
printf '\x00\x00\x00\x00\xa0\x94\xe5\x40' | dd of="$tmp/apuestas.dat" bs=1 seek=629 count=8 conv=notrunc 2>/dev/null
for n in "Ana García" Luis Marta Pedro Sofía; do
  "$cli" --datos "$tmp" alta-socio 1 --nombre "$n" --participaciones 1 --desde 2021-01-01 >/dev/null 2>&1
done
"$cli" --datos "$tmp" participaciones 1 1 2 --desde 2021-01-01 >/dev/null 2>&1
"$cli" --datos "$tmp" alta-socio 1 --nombre Tarde --participaciones 1 --nif 22222222J --desde 2021-03-01 >/dev/null 2>&1

sale 0 "papel" -- "$cli" --datos "$tmp" papel 1 1 --desde 2021-03-07 --hasta 2021-03-14 --json
jq -e '.papel == 1 and .socio == 1 and .nombre == "Ana García" and .participaciones == 2 and .total == 7
  and .pagado_centimos == 170 and .anulado == false and (.codigo | test("^([0-9A-Z]{4}-){12}[0-9A-Z]{4}$"))
  and (.corto == .codigo[0:14]) and (.texto | contains("Organizador, que guarda los boletos: Juan Pérez, NIF 11111111H"))
  and (.texto | contains("Sorteo del 14/03/2021: 2 de 7 participaciones, 0,85 €"))
  and (.texto | contains("Apuesta 2: 03 08 19 27 50")) and (.texto | contains("Número clave: 9"))' "$tmp/out" >/dev/null ||
  falla "papel json: $(cat "$tmp/out")"
codigo=$(jq -r .codigo "$tmp/out")
corto=$(jq -r .corto "$tmp/out")
texto=$(jq -r .texto "$tmp/out")
[[ "$texto" == *NIF\ 1234* || "$texto" == *"Ana García, NIF"* ]] && falla "papel: el NIF del socio sin pedirlo"

# Frozen: the shares change, the paper does not.
sale 0 "cambio de participaciones" -- "$cli" --datos "$tmp" participaciones 1 1 5 --desde 2021-03-01
sale 0 "verificar tras el cambio" -- "$cli" --datos "$tmp" verificar "$codigo" --json
igual "verificar: mismo texto" "$texto" "$(jq -r .texto "$tmp/out")"
igual "verificar: participaciones de entonces" "2" "$(jq -r .participaciones "$tmp/out")"
igual "verificar: íntegro" "true true" "$(jq -r '"\(.emitido_aqui) \(.integro)"' "$tmp/out")"
# The short form, any case and spacing, O for 0 and l for 1.
tecleado=$(echo "$corto" | tr 'A-Z' 'a-z' | tr -d '-' | sed 's/0/O/g; s/1/l/g; s/\(....\)/\1 /g')
sale 0 "verificar corto" -- "$cli" --datos "$tmp" verificar $tecleado
grep -q "^Papel emitido en esta carpeta.$" "$tmp/out" || falla "verificar corto: $(cat "$tmp/out")"
grep -qx "Socio 1: Ana García" "$tmp/out" || falla "verificar corto: lo que dice $(cat "$tmp/out")"

# The organiser's NIF must be one: refused with what is wrong, and no paper issued.
sale 1 "organizador con NIF falso" -- "$cli" --datos "$tmp" papel 1 1 --desde 2021-03-07 --organizador-nif 11111111A
igual "organizador con NIF falso: motivo" "El NIF 11111111A no es válido: la letra de control es H, no A." "$(cat "$tmp/err")"

# Re-issued: a new paper with a new code, the old one still listed.
sale 0 "papel otra vez" -- "$cli" --datos "$tmp" papel 1 1 --desde 2021-03-07 --hasta 2021-03-14 --nif
nuevo=$(cat "$tmp/out")
[ "$nuevo" = "$codigo" ] && falla "re-emitido con el mismo código"
sale 0 "papeles" -- "$cli" --datos "$tmp" papeles 1 --json
igual "papeles" "1 2 | 2 5" "$(jq -r '"\(map(.papel) | join(" ")) | \(map(.participaciones) | join(" "))"' "$tmp/out")"

# Voided: listed as such, verified as such, not twice.
sale 0 "anular" -- "$cli" --datos "$tmp" anular-papel "$codigo"
sale 1 "anular dos veces" -- "$cli" --datos "$tmp" anular-papel "$corto"
igual "anular dos veces: motivo" "El papel nº 1 ya estaba anulado." "$(cat "$tmp/err")"
sale 1 "verificar anulado" -- "$cli" --datos "$tmp" verificar "$codigo"
grep -q "anulado" "$tmp/out" || falla "verificar anulado: $(cat "$tmp/out")"
sale 0 "papeles tras anular" -- "$cli" --datos "$tmp" papeles 1 --json
igual "papeles tras anular" "true false" "$(jq -r 'map(.anulado) | join(" ")' "$tmp/out")"
sale 0 "verificar json del nuevo" -- "$cli" --datos "$tmp" verificar "$nuevo" --json
igual "claves de verificar" '["anulado","codigo","corto","desde","emitido","emitido_aqui","hasta","integro","nombre","pagado_centimos","papel","participaciones","socio","texto","total"]' "$(jq -c 'keys' "$tmp/out")"

# Codes this folder did not issue, or that are no codes.
sale 1 "verificar ajeno" -- "$cli" --datos "$tmp" verificar ZZZZ-ZZZZ-ZZZZ --json
igual "verificar ajeno" '{"emitido_aqui":false}' "$(cat "$tmp/out")"
sale 1 "verificar corto de más" -- "$cli" --datos "$tmp" verificar ABCD
sale 1 "verificar con letras raras" -- "$cli" --datos "$tmp" verificar "ABCD-EFGH-UUUU"

# Refusals change nothing.
antes=$(md5sum < "$tmp/sortilan.db")
sale 1 "antes de la creación" -- "$cli" --datos "$tmp" papel 1 2 --desde 2020-12-27
igual "antes de la creación: motivo" "El periodo empieza el 27/12/2020, antes de la creación de la peña (01/01/2021)." "$(cat "$tmp/err")"
sale 1 "sin participaciones" -- "$cli" --datos "$tmp" papel 1 6 --desde 2021-02-07
igual "sin participaciones: motivo" "Tarde no tiene participaciones en ningún sorteo del 07/02/2021 al 07/02/2021." "$(cat "$tmp/err")"
sale 1 "sin sorteo" -- "$cli" --datos "$tmp" papel 1 2 --desde 2021-03-08 --hasta 2021-03-13
sale 2 "organizador vacío" -- "$cli" --datos "$tmp" papel 1 2 --desde 2021-03-07 --organizador ""
igual "rechazos: base intacta" "$antes" "$(md5sum < "$tmp/sortilan.db")"
"$cli" --datos "$tmp" baja-socio 1 2 --desde 2021-03-10 >/dev/null 2>&1
sale 1 "socio de baja" -- "$cli" --datos "$tmp" papel 1 2 --desde 2021-03-14
igual "socio de baja: motivo" "Luis se dio de baja el 10/03/2021." "$(cat "$tmp/err")"
sale 0 "organizador en la orden" -- "$cli" --datos "$tmp" papel 1 3 --desde 2021-03-07 --organizador "Rosa Gil" --json
jq -e '.texto | contains("Organizador, que guarda los boletos: Rosa Gil\n")' "$tmp/out" >/dev/null || falla "organizador en la orden"
sale 0 "papel csv" -- "$cli" --datos "$tmp" papel 1 3 --desde 2021-03-07 --csv "$tmp/papel.csv"
grep -q $'^Código;'"$(cat "$tmp/out")"$'\r$' "$tmp/papel.csv" || falla "papel csv: $(cat "$tmp/papel.csv")"

# The batch: everybody who plays on 14 March gets a paper; Luis has left.
sale 0 "papeles-sorteo" -- "$cli" --datos "$tmp" papeles-sorteo 1 2021-03-14 --pdf "$tmp/lote"
igual "papeles-sorteo: cuántos" "5 papeles en $tmp/lote." "$(tail -1 "$tmp/out")"
igual "papeles-sorteo: archivos" "6" "$(ls "$tmp/lote" | wc -l)"
[ -s "$tmp/lote/resumen_papeles.pdf" ] || falla "papeles-sorteo: sin hoja resumen"
sale 0 "papeles tras el lote" -- "$cli" --datos "$tmp" papeles 1 --json
igual "lote: socios" "1 3 4 5 6" "$(jq -r '[.[] | select(.desde == "2021-03-14")] | map(.socio) | join(" ")' "$tmp/out")"
sale 1 "lote sin sorteo" -- "$cli" --datos "$tmp" papeles-sorteo 1 2021-03-09 --pdf "$tmp/otro"

sale 2 "papel sin desde" -- "$cli" --datos "$tmp" papel 1 1
sale 2 "papel dos salidas" -- "$cli" --datos "$tmp" papel 1 1 --desde 2021-03-07 --json --csv x.csv
sale 2 "lote sin carpeta" -- "$cli" --datos "$tmp" papeles-sorteo 1 2021-03-14
sale 2 "papeles sin peña" -- "$cli" --datos "$tmp" papeles

termina "cli papeles"
