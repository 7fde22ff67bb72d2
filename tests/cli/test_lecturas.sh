#!/usr/bin/env bash
# Files and input the command line refuses: devices, pipes and damaged peña files, numbers
# with a sign, dates outside a peña's life, and a saved answer that would leave a hole.
set -u
source "$(dirname "$0")/comun.sh"

# rapido DESCRIPCIÓN CÓDIGO -- ORDEN...: the order ends with that status within a second.
rapido() {
  local que=$1 esperado=$2
  shift 3
  local antes=$(date +%s%N)
  timeout 5 "$@" >"$tmp/out" 2>"$tmp/err"
  local rc=$? ms=$((($(date +%s%N) - antes) / 1000000))
  [ "$rc" -eq "$esperado" ] || falla "$que: salida $rc, se esperaba $esperado ($(cat "$tmp/err"))"
  [ "$ms" -lt 1000 ] || falla "$que: tardó $ms ms"
}

# Each record file pointed at /dev/zero or at a pipe: refused at once, with its name.
for f in numeros.dat apuestas.dat; do
  for tipo in cero tuberia; do
    d="$tmp/$f-$tipo"
    mkdir -p "$d"
    if [ $tipo = cero ]; then ln -s /dev/zero "$d/$f"; else mkfifo "$d/$f"; fi
    rapido "estado con $f $tipo" 1 -- "$cli" --datos "$d" estado
    grep -q "$f no es un fichero normal" "$tmp/err" || falla "estado con $f $tipo: $(cat "$tmp/err")"
    rapido "penas con $f $tipo" 1 -- "$cli" --datos "$d" penas
  done
done
mkdir -p "$tmp/csv"
mkfifo "$tmp/csv/tuberia.csv"
rapido "importar-csv de una tubería" 1 -- "$cli" --datos "$tmp/csv" importar-csv "$tmp/csv/tuberia.csv"
rapido "importar-csv de /dev/zero" 1 -- "$cli" --datos "$tmp/csv" importar-csv /dev/zero
rapido "descargar de una tubería" 1 -- "$cli" --datos "$tmp/csv" descargar --respuesta "$tmp/csv/tuberia.csv"
rapido "descargar de /dev/zero" 1 -- "$cli" --datos "$tmp/csv" descargar --respuesta /dev/zero

# A peña file cut inside a record: said, never rewritten, set aside by comprobar.
p="$tmp/penas"
mkdir -p "$p"
"$cli" --datos "$p" crear --nombre Una --clave 1 --apuesta "1 2 3 4 5" >/dev/null 2>&1
"$cli" --datos "$p" crear --nombre Otra --clave 2 --apuesta "6 7 8 9 10" >/dev/null 2>&1
head -c 1000 "$p/apuestas.dat" >"$p/corta" && mv "$p/corta" "$p/apuestas.dat"
antes=$(md5sum <"$p/apuestas.dat")
sale 1 "penas de un fichero cortado" -- "$cli" --datos "$p" penas
grep -q "Error crítico: fichero apuestas.dat corrupto." "$tmp/err" || falla "penas: $(cat "$tmp/err")"
sale 1 "crear sobre un fichero cortado" -- "$cli" --datos "$p" crear --nombre Tres --clave 3 --apuesta "1 2 3 4 6"
igual "crear: fichero intacto" "$antes" "$(md5sum <"$p/apuestas.dat")"
echo anterior >"$p/apuestas.err"
sale 0 "comprobar aparta" -- "$cli" --datos "$p" comprobar
grep -q "Se ha apartado como apuestas.2.err" "$tmp/err" || falla "comprobar: $(cat "$tmp/err")"
igual "apartado entero" "$antes" "$(md5sum <"$p/apuestas.2.err")"
igual "el anterior sigue" "anterior" "$(cat "$p/apuestas.err")"
igual "peñas vacías" 0 "$(stat -c %s "$p/apuestas.dat")"
sale 0 "penas tras apartar" -- "$cli" --datos "$p" penas

# Numbers with a sign or anything but digits are refused, never read as other numbers.
n="$tmp/numeros"
mkdir -p "$n"
for mal in "-1 2 3 4 5" "1 2 3 4 +5" "1 2 3 4 5.0" "1 2 3 4 x"; do
  sale 2 "anadir-sorteo «$mal»" -- "$cli" --datos "$n" anadir-sorteo 2021-03-07 "$mal" 6
done
sale 2 "anadir-sorteo clave -1" -- "$cli" --datos "$n" anadir-sorteo 2021-03-07 "1 2 3 4 5" -1
igual "nada guardado" "no" "$([ -s "$n/numeros.dat" ] && echo si || echo no)"
printf 'fecha;n1;n2;n3;n4;n5;clave\n2021-03-07;-1;2;3;4;5;6\n' >"$n/signo.csv"
sale 1 "importar-csv con signo" -- "$cli" --datos "$n" importar-csv "$n/signo.csv"

# A saved answer months after the newest stored draw: nothing stored without --si.
h="$tmp/hueco"
mkdir -p "$h"
printf '[servicios]\nresultados=http://127.0.0.1:9\noperador=http://127.0.0.1:9\n' >"$h/sortilan.ini"
head -c $((780 * 24)) "$datos/numeros.dat" >"$h/numeros.dat"
antes=$(md5sum <"$h/numeros.dat")
sale 1 "respuesta con hueco" -- "$cli" --datos "$h" descargar --respuesta "$datos/respuesta_ejemplo.json"
grep -q "Faltan los sorteos entre el " "$tmp/err" || falla "hueco: $(cat "$tmp/err")"
grep -q -- "--si" "$tmp/err" || falla "hueco: no dice --si"
igual "hueco: sorteos intactos" "$antes" "$(md5sum <"$h/numeros.dat")"
igual "hueco: sin tablas" "no" "$([ -e "$h/sortilan.db" ] && echo si || echo no)"
igual "hueco: sin www.txt" "no" "$([ -s "$h/www.txt" ] && echo si || echo no)"
sale 0 "respuesta con hueco y --si" -- "$cli" --datos "$h" descargar --respuesta "$datos/respuesta_ejemplo.json" --si
igual "hueco aceptado" $(((780 + 22) * 24)) "$(stat -c %s "$h/numeros.dat")"

# A rejected answer leaves the last one on disk.
printf '<html>no</html>' >"$h/html.json"
cp "$h/www.txt" "$h/www.antes"
sale 1 "respuesta html" -- "$cli" --datos "$h" descargar --respuesta "$h/html.json"
cmp -s "$h/www.txt" "$h/www.antes" || falla "respuesta html: www.txt cambiado"

# Members' dates outside the peña's life.
"$cli" --datos "$h" crear --nombre Socios --clave 1 --apuesta "1 2 3 4 5" >/dev/null 2>&1
for fecha in 9999-12-31 1899-12-30; do
  sale 1 "alta-socio $fecha" -- "$cli" --datos "$h" alta-socio 1 --nombre Ana --participaciones 1 --desde "$fecha"
done

termina test_lecturas
