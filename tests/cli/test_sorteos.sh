#!/usr/bin/env bash
# sortilan-cli sorteos / estado on a copy of the real history, and its usage errors.
set -u
source "$(dirname "$0")/comun.sh"

cp "$datos/numeros.dat" "$tmp/"
out=$("$cli" --datos "$tmp" sorteos)
igual "primera fila" " 7- 8-11-31-35  NÚM.CLAVE: 1    16/08/2026  Domingo" "$(echo "$out" | head -1)"
igual "total" "TOTAL: 1114 sorteos." "$(echo "$out" | tail -1)"
igual "filas" "1115" "$(echo "$out" | wc -l | tr -d ' ')"

json=$("$cli" --datos "$tmp" sorteos --json)
igual "json" '[{"clave":1,"fecha":"2026-08-16","numeros":[7,8,11,31,35]},' "${json:0:59}"
igual "json filas" "1114" "$(echo "$json" | grep -o '"fecha"' | wc -l | tr -d ' ')"

estado=$("$cli" --datos "$tmp" estado)
igual "estado" "- Última actualización de números ganadores: Domingo, 16 de agosto del 2026" "$(echo "$estado" | head -1)"
echo "$estado" | grep -q "TOTAL: 1114 sorteos." || { echo "FALLO: total del estado"; fallos=$((fallos + 1)); }

"$cli" --datos "$tmp" orden-que-no-existe 2>/dev/null; igual "orden desconocida" 2 $?
"$cli" --datos "$tmp" sorteos --sobra 2>/dev/null; igual "argumento de más" 2 $?
"$cli" --datos "$tmp/no-existe" sorteos 2>/dev/null; igual "carpeta inexistente" 1 $?
"$cli" --datos 2>/dev/null; igual "falta la carpeta" 2 $?

# A damaged file: an order that only reads says so, exits 1 and changes nothing; an
# order that changes the data (comprobar) keeps it as numeros.err and goes on empty.
printf '\x00\x00\x02\x00\x03\x00\x04\x00\x05\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\xc0\x9c\xe5\x40' > "$tmp/numeros.dat"
err=$("$cli" --datos "$tmp" sorteos 2>&1 >/dev/null); rc=$?
igual "dañado: salida" 1 $rc
igual "dañado: aviso" "Error de lectura: Archivo de números ganadores no válido. No se ha cambiado nada: al abrir la ventana o con «sortilan-cli comprobar» se apartará como numeros.err." "$err"
igual "dañado: sin tocar" 24 "$(stat -c %s "$tmp/numeros.dat")"
[ ! -e "$tmp/numeros.err" ] || falla "una orden de consulta apartó el archivo"
err=$("$cli" --datos "$tmp" comprobar 2>&1 >/dev/null); rc=$?
igual "comprobar dañado: salida" 0 $rc
igual "comprobar dañado: aviso" "Error de lectura: Archivo de números ganadores no válido. ¡Se perderán los sorteos grabados!." "$err"
igual "dañado: copia" 24 "$(stat -c %s "$tmp/numeros.err")"
igual "dañado: vacío" 0 "$(stat -c %s "$tmp/numeros.dat")"

termina "cli sorteos"
