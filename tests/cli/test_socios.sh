#!/bin/bash
# The members' orders of the command line, driven through a season of one peña.
set -u
source "$(dirname "$0")/comun.sh"

# The history up to 7 March 2021, and the tables of the sample answer.
head -c $((830 * 24)) "$datos/numeros.dat" > "$tmp/numeros.dat"
printf '[servicios]\nresultados=http://127.0.0.1:9\noperador=http://127.0.0.1:9\n' > "$tmp/sortilan.ini"
"$cli" --datos "$tmp" crear --nombre Premiada --clave 9 --apuesta "15 24 40 42 1" >/dev/null 2>&1
# Plays from 1 January 2021 on (4 + key, 47.445,95 €, on 7 March).
printf '\x00\x00\x00\x00\xa0\x94\xe5\x40' | dd of="$tmp/apuestas.dat" bs=1 seek=629 count=8 conv=notrunc 2>/dev/null
"$cli" --datos "$tmp" descargar --respuesta "$datos/respuesta_ejemplo.json" >/dev/null 2>&1

# Reading a peña without members creates nothing.
sale 0 "socios vacío" -- "$cli" --datos "$tmp" socios 1 --json
igual "socios vacío" "[]" "$(cat "$tmp/out")"

sale 0 "alta Ana" -- "$cli" --datos "$tmp" alta-socio 1 --nombre "Ana García" --participaciones 2 --nif 12345678z --desde 2021-01-01
igual "número de Ana" "1" "$(cat "$tmp/out")"
sale 0 "alta Luis" -- "$cli" --datos "$tmp" alta-socio 1 --nombre "Luis" --participaciones 1 --desde 2021-02-01
igual "número de Luis" "2" "$(cat "$tmp/out")"
sale 0 "alta Marta" -- "$cli" --datos "$tmp" alta-socio 1 --nombre "Marta" --participaciones 3 --desde 2021-01-10
sale 0 "participaciones" -- "$cli" --datos "$tmp" participaciones 1 3 1 --desde 2021-02-15
sale 0 "baja" -- "$cli" --datos "$tmp" baja-socio 1 2 --desde 2021-03-01
sale 0 "aportación" -- "$cli" --datos "$tmp" aportacion 1 1 "20,00" --fecha 2021-01-02
sale 0 "aportación Luis" -- "$cli" --datos "$tmp" aportacion 1 2 5 --fecha 2021-02-01
sale 0 "pago" -- "$cli" --datos "$tmp" pago 1 1 "2,50" --fecha 2021-01-05

antes=$(md5sum < "$tmp/sortilan.db")
sale 1 "alta repetida" -- "$cli" --datos "$tmp" alta-socio 1 --nombre "ana garcía" --participaciones 1
igual "alta repetida: motivo" "Ana García ya es el socio 1 de la peña PREMIADA." "$(cat "$tmp/err")"
sale 1 "reparto sin cobrar" -- "$cli" --datos "$tmp" reparto 1 2021-03-07 --pagar
igual "reparto sin cobrar: motivo" "El premio del sorteo del 07/03/2021 de la peña PREMIADA no está marcado como cobrado." "$(cat "$tmp/err")"
sale 1 "socio que no existe" -- "$cli" --datos "$tmp" pago 1 9 "1,00" --fecha 2021-01-05
igual "rechazos: base intacta" "$antes" "$(md5sum < "$tmp/sortilan.db")"

sale 0 "cobrar" -- "$cli" --datos "$tmp" cobrar 1 2021-03-07 --fecha 2021-03-09
sale 0 "reparto" -- "$cli" --datos "$tmp" reparto 1 2021-03-07 --reinvertir
sale 1 "segundo reparto" -- "$cli" --datos "$tmp" reparto 1 2021-03-07 --pagar
igual "segundo reparto: motivo" "El premio del sorteo del 07/03/2021 de la peña PREMIADA ya está repartido." "$(cat "$tmp/err")"

# Ana: 20,00 in, 2,50 out, her share of ten draws of 1,50 €, two thirds of the net prize.
sale 0 "socios" -- "$cli" --datos "$tmp" socios 1 --json
igual "socios" '[{"alta":"2021-01-01","baja":null,"nif":"12345678Z","nombre":"Ana García","participaciones":2,"saldo_centimos":3064794,"socio":1},{"alta":"2021-02-01","baja":"2021-03-01","nif":null,"nombre":"Luis","participaciones":0,"saldo_centimos":374,"socio":2},{"alta":"2021-01-10","baja":null,"nif":null,"nombre":"Marta","participaciones":1,"saldo_centimos":1531258,"socio":3}]' "$(cat "$tmp/out")"
# Every cent of the costs is someone's: 10 draws of 1,50 €.
sale 0 "extractos" -- bash -c "for s in 1 2 3; do '$cli' --datos '$tmp' extracto 1 \$s --json; done"
igual "costes repartidos" "-1500" "$(jq -s '[.[].movimientos[] | select(.concepto == "coste del sorteo") | .importe_centimos] | add' "$tmp/out")"
igual "premios repartidos" "4595676" "$(jq -s '[.[].movimientos[] | select(.concepto == "premio") | .importe_centimos] | add' "$tmp/out")"
sale 0 "extracto de febrero" -- "$cli" --datos "$tmp" extracto 1 2 --desde 2021-02-01 --hasta 2021-02-28 --json
igual "extracto de febrero" '{"movimientos":[{"anula":null,"anulado":null,"concepto":"aportación","fecha":"2021-02-01","importe_centimos":500,"motivo":null,"movimiento":2,"saldo_centimos":500},{"anula":null,"anulado":null,"concepto":"coste del sorteo","fecha":"2021-02-07","importe_centimos":-25,"motivo":null,"movimiento":null,"saldo_centimos":475},{"anula":null,"anulado":null,"concepto":"coste del sorteo","fecha":"2021-02-14","importe_centimos":-25,"motivo":null,"movimiento":null,"saldo_centimos":450},{"anula":null,"anulado":null,"concepto":"coste del sorteo","fecha":"2021-02-21","importe_centimos":-38,"motivo":null,"movimiento":null,"saldo_centimos":412},{"anula":null,"anulado":null,"concepto":"coste del sorteo","fecha":"2021-02-28","importe_centimos":-38,"motivo":null,"movimiento":null,"saldo_centimos":374}],"nombre":"Luis","saldo_centimos":374,"socio":2}' "$(cat "$tmp/out")"
sale 0 "pago del saldo" -- "$cli" --datos "$tmp" pago 1 2 "5,00" --fecha 2021-03-10
sale 0 "debe" -- "$cli" --datos "$tmp" socios 1
grep -q "^2\. Luis  participaciones: 0  alta: 01/02/2021  baja: 01/03/2021  saldo: debe 1,26 €$" "$tmp/out" || falla "debe: $(cat "$tmp/out")"

# Papers: the NIF only when asked for.
sale 0 "extracto csv" -- "$cli" --datos "$tmp" extracto 1 1 --csv "$tmp/extracto.csv"
grep -q "12345678Z" "$tmp/extracto.csv" && falla "el extracto lleva el NIF sin pedirlo"
grep -q $'^;total;;30647,94\r$' "$tmp/extracto.csv" || falla "extracto csv: total $(tail -1 "$tmp/extracto.csv")"
sale 0 "extracto pdf" -- "$cli" --datos "$tmp" extracto 1 1 --pdf "$tmp/extracto.pdf"
igual "extracto pdf" "%PDF" "$(head -c 4 "$tmp/extracto.pdf")"
sale 0 "documento" -- "$cli" --datos "$tmp" documento-reparto 1 2021-03-07 --pdf "$tmp/reparto.pdf" --csv "$tmp/reparto.csv" --nif
igual "documento" "Reparto del premio del sorteo del 07/03/2021, peña PREMIADA: 2 socios, 1 página ($tmp/reparto.pdf)." "$(cat "$tmp/out")"
grep -q '^1;"Ana García";"12345678Z";2;31630,63;992,79;30637,84' "$tmp/reparto.csv" || falla "documento csv: $(cat "$tmp/reparto.csv")"
sale 1 "documento sin reparto" -- "$cli" --datos "$tmp" documento-reparto 1 2021-02-28 --pdf "$tmp/otro.pdf"
[ -e "$tmp/otro.pdf" ] && falla "documento sin reparto: escribió el PDF"

# A reset of the counters changes no money: the balance, the collections, the members and
# their statements read the same after it, and after a second one.
dinero() {
  for orden in "balance --json" "balance 1 --json" "cobros --json" "socios 1 --json" "extracto 1 1 --json" "extracto 1 3 --json"; do
    # shellcheck disable=SC2086
    "$cli" --datos "$tmp" $orden || echo "falló: $orden"
  done
}
dinero > "$tmp/antes"
jq -c 'select(has("total")) | .penas[0] | {ganado_centimos, caducado_centimos, neto_centimos, coste_centimos}' "$tmp/antes"
for vez in primero segundo; do
  sale 0 "reinicio $vez" -- "$cli" --datos "$tmp" reiniciar-penas --si
  dinero > "$tmp/despues"
  igual "reinicio $vez: el dinero no cambia" "" "$(diff "$tmp/antes" "$tmp/despues")"
done
igual "reinicio: contadores a cero" "$(date +%d/%m/%Y)" "$("$cli" --datos "$tmp" penas --json | jq -r '.[0].creacion' | awk -F- '{print $3"/"$2"/"$1}')"

# Orders written wrong.
sale 2 "socios sin peña" -- "$cli" --datos "$tmp" socios
sale 2 "alta sin participaciones" -- "$cli" --datos "$tmp" alta-socio 1 --nombre X
sale 2 "alta fecha mala" -- "$cli" --datos "$tmp" alta-socio 1 --nombre X --participaciones 1 --desde 2021-02-30
sale 2 "baja de más" -- "$cli" --datos "$tmp" baja-socio 1 2 3
sale 2 "participaciones cero" -- "$cli" --datos "$tmp" participaciones 1 1 0
# An amount that does not read is answered with the hint, whatever order takes it.
for orden in aportacion pago; do
  for importe in 25.5 "1,234" veinte; do
    sale 2 "$orden $importe" -- "$cli" --datos "$tmp" $orden 1 1 "$importe"
    igual "$orden $importe: aviso" "Escriba el importe en euros, por ejemplo 25,50." "$(cat "$tmp/err")"
  done
done
sale 2 "pago --fecha sin valor" -- "$cli" --datos "$tmp" pago 1 1 1 --fecha
sale 2 "reparto sin modo" -- "$cli" --datos "$tmp" reparto 1 2021-03-07
sale 2 "reparto con los dos" -- "$cli" --datos "$tmp" reparto 1 2021-03-07 --pagar --reinvertir
sale 2 "extracto dos salidas" -- "$cli" --datos "$tmp" extracto 1 1 --json --pdf x.pdf
sale 2 "documento sin pdf" -- "$cli" --datos "$tmp" documento-reparto 1 2021-03-07

hoy=$(date +%F)
# Voids: the statement keeps the voided line and its reversal; the balance counts neither.
sale 0 "anular aportación" -- "$cli" --datos "$tmp" anular 1 2 2 --motivo "anotada por error"
sale 0 "extracto tras anular" -- "$cli" --datos "$tmp" extracto 1 2 --desde 2021-02-01 --hasta 2021-02-07 --json
igual "aportación anulada" '{"anula":null,"anulado":"'"$hoy"'","concepto":"aportación","fecha":"2021-02-01","importe_centimos":500,"motivo":null,"movimiento":2,"saldo_centimos":0}' \
  "$(sed 's/.*"movimientos":\[\({[^}]*}\).*/\1/' "$tmp/out")"
sale 0 "extracto entero" -- "$cli" --datos "$tmp" extracto 1 2 --json
grep -q '{"anula":2,"anulado":null,"concepto":"anulación","fecha":"'"$hoy"'","importe_centimos":-500,"motivo":"anotada por error","movimiento":null,' "$tmp/out" ||
  falla "sin la línea de anulación: $(cat "$tmp/out")"
grep -q '"saldo_centimos":-626,"socio":2}$' "$tmp/out" || falla "saldo tras anular: $(cat "$tmp/out")"
sale 1 "anular dos veces" -- "$cli" --datos "$tmp" anular 1 2 2
igual "anular dos veces: motivo" "El movimiento 2 ya está anulado desde el $(date +%d/%m/%Y)." "$(cat "$tmp/err")"
sale 0 "anular reparto" -- "$cli" --datos "$tmp" anular-reparto 1 2021-03-07
sale 0 "repartir otra vez" -- "$cli" --datos "$tmp" reparto 1 2021-03-07 --pagar
sale 1 "anular el pago de un reparto" -- "$cli" --datos "$tmp" anular 1 1 5
igual "anular el pago de un reparto: motivo" \
  "El movimiento 5 es el pago del reparto del premio del sorteo del 07/03/2021: anule el reparto entero." "$(cat "$tmp/err")"
sale 2 "anular sin número" -- "$cli" --datos "$tmp" anular 1 2
sale 2 "anular-reparto sin fecha" -- "$cli" --datos "$tmp" anular-reparto 1

termina "cli socios"
