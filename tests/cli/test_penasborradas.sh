#!/bin/bash
# Deleting a peña keeps its members and money: reachable as B1 by the orders that read,
# refused by the ones that change, and unchanged by the deletion.
set -u
source "$(dirname "$0")/comun.sh"

# Four peñas playing from 1 January 2021, the history up to 7 March 2021 and the tables of
# the sample answer: the first wins 47.445,95 € (4 + key) that day.
head -c $((830 * 24)) "$datos/numeros.dat" > "$tmp/numeros.dat"
printf '[servicios]\nresultados=http://127.0.0.1:9\noperador=http://127.0.0.1:9\n' > "$tmp/sortilan.ini"
"$cli" --datos "$tmp" crear --nombre Premiada --clave 9 --apuesta "15 24 40 42 1" >/dev/null 2>&1
"$cli" --datos "$tmp" crear --nombre Segunda --clave 1 --apuesta "1 2 3 4 5" >/dev/null 2>&1
"$cli" --datos "$tmp" crear --nombre Tercera --clave 2 --apuesta "6 7 8 9 10" >/dev/null 2>&1
"$cli" --datos "$tmp" crear --nombre Cuarta --clave 3 --apuesta "11 12 13 14 15" --apuesta "16 17 18 19 20" >/dev/null 2>&1
for k in 0 1 2 3; do
  printf '\x00\x00\x00\x00\xa0\x94\xe5\x40' | dd of="$tmp/apuestas.dat" bs=1 seek=$((629 + 645 * k)) count=8 conv=notrunc 2>/dev/null
done
"$cli" --datos "$tmp" descargar --respuesta "$datos/respuesta_ejemplo.json" >/dev/null 2>&1
for k in 1 2 3 4; do
  "$cli" --datos "$tmp" alta-socio $k --nombre "Uno $k" --participaciones 2 --desde 2021-01-01 >/dev/null
  "$cli" --datos "$tmp" alta-socio $k --nombre "Dos $k" --participaciones 1 --desde 2021-01-01 >/dev/null
  "$cli" --datos "$tmp" aportacion $k 1 "$((10 * k)),00" --fecha 2021-01-02 >/dev/null
  "$cli" --datos "$tmp" aportacion $k 2 "5,50" --fecha 2021-01-03 >/dev/null
done
sale 0 "cobrar" -- "$cli" --datos "$tmp" cobrar 1 2021-03-07 --fecha 2021-03-09
sale 0 "reparto" -- "$cli" --datos "$tmp" reparto 1 2021-03-07 --pagar

# What peña 1 shows, and what the others show, before the deletion.
leer() {
  for s in 1 2; do
    "$cli" --datos "$tmp" extracto "$1" $s --json
    "$cli" --datos "$tmp" extracto "$1" $s --csv "$tmp/e.csv" >/dev/null && cat "$tmp/e.csv"
  done
  "$cli" --datos "$tmp" socios "$1" --json
  "$cli" --datos "$tmp" balance "$1" --json | jq -c '.sorteos'
  "$cli" --datos "$tmp" documento-reparto "$1" 2021-03-07 --pdf "$tmp/r.pdf" --csv "$tmp/r.csv" >/dev/null 2>&1 && cat "$tmp/r.csv"
}
premiada=$(leer 1)
otras=$(for k in 2 3 4; do leer $k; "$cli" --datos "$tmp" balance $k --json | jq -c 'del(.registro)'; done)
# A reset of the counters before the deletion: the deleted peña's money still starts where it really started.
sale 0 "reiniciar antes de borrar" -- "$cli" --datos "$tmp" reiniciar-penas --si

sale 1 "borrar sin --si" -- "$cli" --datos "$tmp" borrar-pena 1
grep -q "Tiene 2 socios, 4 movimientos, 1 cobro anotado y 1 reparto; sus saldos y extractos se conservan." "$tmp/err" ||
  falla "pregunta: $(cat "$tmp/err")"
sale 0 "borrar" -- "$cli" --datos "$tmp" borrar-pena 1 --si
hoy=$(date +%Y-%m-%d)
igual "borrar: lo que conserva" "Peña PREMIADA eliminada.
Tiene 2 socios, 4 movimientos, 1 cobro anotado y 1 reparto; sus saldos y extractos se conservan. Se consulta como peña borrada B1." "$(cat "$tmp/out")"

sale 0 "penas --borradas --json" -- "$cli" --datos "$tmp" penas --borradas --json
saldo=$("$cli" --datos "$tmp" socios b1 --json | jq '[.[].saldo_centimos] | add')
igual "penas --borradas --json" "[{\"borrada\":\"$hoy\",\"id\":\"B1\",\"nombre\":\"PREMIADA\",\"saldo_centimos\":$saldo,\"socios\":2}]" "$(cat "$tmp/out")"
sale 0 "penas --borradas" -- "$cli" --datos "$tmp" penas --borradas
grep -q "^B1\. PREMIADA  borrada el $(date +%d/%m/%Y)  2 socios  saldo: " "$tmp/out" || falla "penas --borradas: $(cat "$tmp/out")"
sale 0 "penas" -- "$cli" --datos "$tmp" penas --json
igual "penas que quedan" '["SEGUNDA","TERCERA","CUARTA"]' "$(jq -c '[.[].nombre]' "$tmp/out")"

igual "la borrada, como antes" "$premiada" "$(leer B1)"
igual "las demás, como antes" "$otras" "$(for k in 1 2 3; do leer $k; "$cli" --datos "$tmp" balance $k --json | jq -c 'del(.registro)'; done)"
sale 0 "balance B1" -- "$cli" --datos "$tmp" balance B1
grep -q "^Peña PREMIADA (B1, borrada el $(date +%d/%m/%Y))$" "$tmp/out" || falla "balance B1: $(head -1 "$tmp/out")"

# Orders that change things refuse it, and leave the database alone.
antes=$(md5sum < "$tmp/sortilan.db")
for orden in "aportacion B1 1 5" "pago b1 1 5" "alta-socio B1 --nombre X --participaciones 1" "baja-socio B1 1" \
  "participaciones B1 1 2" "reparto B1 2021-03-07 --pagar" "cobrar B1 2021-03-07" "borrar-pena B1 --si" \
  "papeles B1"; do
  # shellcheck disable=SC2086
  sale 1 "$orden" -- "$cli" --datos "$tmp" $orden
  grep -q "^La peña B1 está borrada: no se puede cambiar\." "$tmp/err" || falla "$orden: $(cat "$tmp/err")"
done
igual "rechazos: base intacta" "$antes" "$(md5sum < "$tmp/sortilan.db")"
sale 1 "B2 que no hay" -- "$cli" --datos "$tmp" socios B2
igual "B2 que no hay: motivo" "No hay ninguna peña borrada B2." "$(cat "$tmp/err")"

# A peña without members leaves nothing behind.
sale 0 "borrar sin socios" -- "$cli" --datos "$tmp" crear --nombre Vacia --clave 1 --apuesta "1 2 3 4 5"
sale 0 "borrar sin socios" -- "$cli" --datos "$tmp" borrar-pena 4 --si
igual "borrar sin socios" "Peña VACIA eliminada." "$(cat "$tmp/out")"
sale 0 "siguen" -- "$cli" --datos "$tmp" penas --borradas --json
igual "siguen" '["B1"]' "$(jq -c '[.[].id]' "$tmp/out")"

termina "cli penas borradas"
