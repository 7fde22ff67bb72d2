#!/usr/bin/env bash
# sortilan-cli descargar --respuesta (offline) and escrutinio on a copy of the history.
set -u
source "$(dirname "$0")/comun.sh"

# The history up to 4 October 2020; the sample answer brings the draws after it.
head -c $((808 * 24)) "$datos/numeros.dat" > "$tmp/numeros.dat"
# Any request to the network would go here and fail.
printf '[servicios]\nresultados=http://127.0.0.1:9\noperador=http://127.0.0.1:9\n' > "$tmp/sortilan.ini"
# A peña created before the history began, playing the 7 March 2021 combination.
"$cli" --datos "$tmp" crear --nombre Premiada --clave 9 --apuesta "15 24 40 42 48" >/dev/null 2>&1
dd if=/dev/zero of="$tmp/apuestas.dat" bs=1 seek=629 count=8 conv=notrunc 2>/dev/null
out=$("$cli" --datos "$tmp" descargar --respuesta "$datos/respuesta_ejemplo.json" 2>"$tmp/err"); rc=$?
igual "descargar: salida" 0 $rc
# The new draws are checked as they arrive: their prizes are counted, the mark moves.
pena=$("$cli" --datos "$tmp" penas --json)
igual "descargar: primera categoría" "1" "$(echo "$pena" | grep -o '"aciertos":\[[^]]*\]' | cut -d, -f8 | tr -d ']')"
igual "descargar: ultimacuenta" '"ultimacuenta":"2021-03-07"' "$(echo "$pena" | grep -o '"ultimacuenta":"[^"]*"')"
igual "descargar: sin mensajes" "" "$(cat "$tmp/err")"
igual "descargar: estado final" "Estado de la transferencia: TRANSFERENCIA FINALIZADA" "$(echo "$out" | tail -1)"
# Every draw of the answer, the oldest ones at the end of the array too.
igual "descargar: nuevos" "22 sorteos" "$(echo "$out" | grep sorteos | tail -1)"
igual "descargar: datos" "Datos: 34041" "$(echo "$out" | grep Datos:)"
igual "descargar: registros" $(((808 + 22) * 24)) "$(stat -c %s "$tmp/numeros.dat")"
cmp -s "$tmp/numeros.dat" <(head -c $((830 * 24)) "$datos/numeros.dat") || falla "descargar: no son los sorteos reales"
igual "descargar: sin documento" "no" "$([ -e "$tmp/vix.pdf" ] && echo si || echo no)"
primera=$("$cli" --datos "$tmp" sorteos | head -1)
igual "descargar: el más reciente" "15-24-40-42-48  NÚM.CLAVE: 9    07/03/2021  Domingo" "$primera"

json=$("$cli" --datos "$tmp" escrutinio --json)
igual "escrutinio json" '{"documento":"http://127.0.0.1:9/documents/d/loterias/acta-el-gordo-20210307.pdf","premios":["0.00","0.00","47445.95","504.65","24.82","9.37","4.91","3.00"],"titulo":"-Informe del Domingo, 7 de marzo del 2021"}' "$json"
texto=$("$cli" --datos "$tmp" escrutinio)
igual "escrutinio texto" "- 3ª Categoría (4 + 1 Aciertos): 47445.95" "$(echo "$texto" | sed -n 4p)"

# Again: nothing new, the file is unchanged.
antes=$(md5sum < "$tmp/numeros.dat")
err=$("$cli" --datos "$tmp" descargar --respuesta "$datos/respuesta_ejemplo.json" 2>&1 >/dev/null); rc=$?
igual "nada nuevo: salida" 0 $rc
igual "nada nuevo: aviso" "Pruebe más tarde: Todavía no hay sorteos nuevos." "$err"
igual "nada nuevo: archivo" "$antes" "$(md5sum < "$tmp/numeros.dat")"

# A draw that is no draw stops the download there: exit 1, nothing after it stored.
cp "$tmp/numeros.dat" "$tmp/completo.dat"
head -c $((826 * 24)) "$tmp/completo.dat" > "$tmp/numeros.dat"
sed 's/"15 - 24 - 40 - 42 - 48 R(9)"/"15 - 15 - 40 - 42 - 48 R(9)"/' "$datos/respuesta_ejemplo.json" > "$tmp/invalida.json"
err=$("$cli" --datos "$tmp" descargar --respuesta "$tmp/invalida.json" 2>&1 >/dev/null); rc=$?
igual "inválida: salida" 1 $rc
igual "inválida: aviso" "Sorteo no válido: El sorteo del Domingo, 7 de marzo del 2021 que ha enviado el servidor no es válido (los números no son cinco números distintos del 1 al 54). La descarga se ha detenido en él después de guardar 3 sorteos anteriores a él; la próxima seguirá desde ahí. Si vuelve a pasar, puede añadir ese sorteo a mano." "$err"
cmp -s "$tmp/numeros.dat" <(head -c $((829 * 24)) "$tmp/completo.dat") || falla "inválida: los anteriores no se guardaron"
cp "$tmp/completo.dat" "$tmp/numeros.dat"

# Garbage is corrupt data; nothing is stored.
head -c 20000 /dev/zero | tr '\0' 'x' | sed 's/^/[/; s/$/]}}]/' > "$tmp/mala.json"
printf '%s' '{"fecha_sorteo":"2021-99-99 x"}' | cat - "$tmp/mala.json" > "$tmp/mala2.json"
printf '[' | cat - "$tmp/mala2.json" > "$tmp/mala.json"
err=$("$cli" --datos "$tmp" descargar --respuesta "$tmp/mala.json" 2>&1 >/dev/null); rc=$?
igual "corrupta: salida" 1 $rc
igual "corrupta: aviso" "Error crítico: ¡¡Datos corruptos o inválidos!! Si se repite en otros momentos este mismo error, posiblemente se ha de actualizar el programa. Pruebe más tarde." "$err"
igual "corrupta: archivo" "$antes" "$(md5sum < "$tmp/numeros.dat")"

# An empty folder has no report yet.
mkdir "$tmp/vacia"
json=$("$cli" --datos "$tmp/vacia" escrutinio --json)
igual "escrutinio vacío" '{"documento":null,"premios":["0","0","0","0","0","0","0","0"],"titulo":"Informe"}' "$json"

"$cli" --datos "$tmp" descargar --respuesta 2>/dev/null; igual "falta el archivo" 2 $?
"$cli" --datos "$tmp" descargar --respuesta "$tmp/no-existe.json" 2>/dev/null; igual "archivo inexistente" 1 $?
"$cli" --datos "$tmp" escrutinio --sobra 2>/dev/null; igual "argumento de más" 2 $?

termina "cli descarga"
