#!/bin/bash
# Desktop notices: `descargar --avisar` and `avisos` on a private session bus, told to a
# recording notification service; what the desktop got is compared call by call. Then the
# switch of the scheduled run, with systemctl replaced by a recording stub.
# Arguments: sortilan-cli, the test data folder, the recording service.
set -u
source "$(dirname "$0")/../cli/comun.sh"
falso=$3
for h in dbus-daemon sqlite3; do
  command -v $h >/dev/null || { echo "Falta $h (tools/dependencias.sh lo instala): prueba omitida"; exit 77; }
done

dbus-daemon --session --fork --print-address=3 --print-pid=4 3>"$tmp/bus" 4>"$tmp/bus.pid" || { echo "FALLO: dbus-daemon"; exit 1; }
export DBUS_SESSION_BUS_ADDRESS=$(head -1 "$tmp/bus")
llamadas=$tmp/llamadas
"$falso" "$llamadas" >"$tmp/falso.out" 2>&1 &
pid_falso=$!
trap 'kill $pid_falso 2>/dev/null; kill "$(cat "$tmp/bus.pid")" 2>/dev/null; rm -rf "$tmp"' EXIT
for _ in $(seq 50); do grep -q listo "$tmp/falso.out" && break; sleep 0.1; done
grep -q listo "$tmp/falso.out" || { cat "$tmp/falso.out"; echo "FALLO: el servicio de avisos no arrancó"; exit 1; }
touch "$llamadas"
# mirar: the calls since the last look into $nuevas, one JSON line each (keys sorted).
visto=0
mirar() { nuevas=$(tail -n +$((visto + 1)) "$llamadas" | jq -cS .); visto=$(wc -l < "$llamadas"); }

# Two recent Sundays: the last one, and one whose last day to collect (three months on)
# is between 2 and 13 days from today; the day of the month stays below 29 so that
# "three months later" is the same day.
dia() { date -u -d "$1" +%F; }
hoy=$(date -u +%F)
for k in $(seq 1 7); do d=$(dia "$hoy - $k days"); [ "$(date -u -d "$d" +%u)" = 7 ] && { d2=$d; break; }; done
for k in $(seq 70 110); do
  d=$(dia "$hoy - $k days")
  [ "$(date -u -d "$d" +%u)" = 7 ] && [ "$(date -u -d "$d" +%-d)" -le 28 ] || continue
  l=$(dia "$d + 3 months")
  faltan=$(( ($(date -u -d "$l" +%s) - $(date -u -d "$hoy" +%s)) / 86400 ))
  [ "$faltan" -ge 2 ] && [ "$faltan" -le 13 ] && { d1=$d; limite=$l; break; }
done
[ -n "${d1:-}" ] && [ -n "${d2:-}" ] || { echo "FALLO: no hay domingos para la prueba"; exit 1; }
corta() { date -u -d "$1" +%d/%m/%Y; }

# An answer with those two draws (4 + key for the peña below), newest first.
jq -c --arg a "$d2 00:00:00" --arg b "$d1 00:00:00" '[(.[0] | .fecha_sorteo = $a | .id_sorteo = "1"), (.[0] | .fecha_sorteo = $b | .id_sorteo = "2")]' \
  "$datos/respuesta_ejemplo.json" > "$tmp/respuesta.json"
printf '[servicios]\nresultados=http://127.0.0.1:9\noperador=http://127.0.0.1:9\n' > "$tmp/sortilan.ini"
# A peña with no creation date plays every draw.
nueva() {
  "$cli" --datos "$tmp" crear --nombre "$1" --clave 9 --apuesta "15 24 40 42 1" >/dev/null 2>&1 || falla "crear $1"
  local n=$(( $(stat -c %s "$tmp/apuestas.dat") / 645 ))
  dd if=/dev/zero of="$tmp/apuestas.dat" bs=1 seek=$(( (n - 1) * 645 + 629 )) count=8 conv=notrunc 2>/dev/null
}
nueva "Peña del bar"

sale 0 "descargar con avisos" -- "$cli" --datos "$tmp" descargar --respuesta "$tmp/respuesta.json" --si --avisar
aviso() { jq -cSn --arg t "$1" --arg c "$2" '{app:"Sortilan",reemplaza:0,icono:"es.sortilan.sortilan",titulo:$t,cuerpo:$c,acciones:0,entrada:"es.sortilan.sortilan",caduca:-1}'; }
esperado=$( aviso "¡Premio para PEÑA DEL BAR!" "3ª categoría en el sorteo del $(corta "$d1"): 47.445,95 €"
            aviso "¡Premio para PEÑA DEL BAR!" "3ª categoría en el sorteo del $(corta "$d2"): 47.445,95 €"
            aviso "Quedan $faltan días para cobrar 47.445,95 € de PEÑA DEL BAR" "hasta el $(corta "$limite"), en banco")
mirar
igual "premios y plazo" "$esperado" "$nuevas"
grep -q "^Aviso: ¡Premio para PEÑA DEL BAR!$" "$tmp/out" || falla "los avisos no salen también por pantalla"

# Told once: neither the prizes nor today's deadline again.
sale 0 "avisos otra vez" -- "$cli" --datos "$tmp" avisos
mirar
igual "sin repetir" "" "$nuevas"
sale 0 "pendientes" -- "$cli" --datos "$tmp" avisos --json
igual "nada pendiente" "[]" "$(cat "$tmp/out")"
# The deadline comes back the next day: its day is what is remembered.
sqlite3 "$tmp/sortilan.db" "UPDATE avisos SET dia = '2000-01-01' WHERE clave LIKE 'plazo:%'"
sale 0 "otro día" -- "$cli" --datos "$tmp" avisos
mirar
igual "el plazo, una vez al día" "Quedan $faltan días para cobrar 47.445,95 € de PEÑA DEL BAR" "$(jq -r .titulo <<<"$nuevas")"

# Four more peñas win: their prizes in one notice, their deadlines each on its own.
for p in Uno Dos Tres Cuatro; do nueva "Peña $p"; done
sale 0 "json de pendientes" -- "$cli" --datos "$tmp" avisos --json
igual "forma del json" '["claves","cuerpo","tipo","titulo"]' "$(jq -c '[.[] | keys] | unique | .[0]' "$tmp/out")"
igual "tipos pendientes" '["premio","plazo","plazo","plazo","plazo"]' "$(jq -c '[.[].tipo]' "$tmp/out")"
sale 0 "varias peñas" -- "$cli" --datos "$tmp" avisos
mirar
echo "$nuevas" > "$tmp/varias"
igual "un aviso para todas" "¡Premio para 4 peñas!" "$(head -1 "$tmp/varias" | jq -r .titulo)"
igual "sus ocho premios" 8 "$(head -1 "$tmp/varias" | jq -r .cuerpo | grep -c '^PEÑA .*: 3ª categoría en el sorteo del ')"
igual "cuatro plazos" 4 "$(grep -c 'Quedan' "$tmp/varias")"

# No bus at all: the same lines on stdout, the same exit status, nothing lost.
nueva "Peña sin escritorio"
DBUS_SESSION_BUS_ADDRESS=unix:path=$tmp/no-hay-bus sale 0 "sin bus" -- "$cli" --datos "$tmp" avisos
grep -q "^Aviso: ¡Premio para PEÑA SIN ESCRITORIO!$" "$tmp/out" || falla "sin bus: no sale el aviso"
mirar
igual "sin bus: nada al escritorio" "" "$nuevas"
sale 0 "con bus después" -- "$cli" --datos "$tmp" avisos
mirar
igual "lo pendiente llega después" 3 "$(wc -l <<<"$nuevas")"

# A scheduled run that fails is seen.
echo '<html>mantenimiento</html>' > "$tmp/mala.json"
sale 1 "descarga fallida" -- "$cli" --datos "$tmp" descargar --respuesta "$tmp/mala.json" --avisar
mirar
igual "aviso del fallo" "No se pudieron bajar los sorteos" "$(jq -r .titulo <<<"$nuevas")"

# The scheduled run's switch, with systemctl recording what it is asked.
mkdir -p "$tmp/bin" "$tmp/config"
cat > "$tmp/bin/systemctl" <<'FIN'
#!/bin/bash
echo "$*" >> "$REGISTRO"
[ -n "${SIN_SYSTEMD:-}" ] && exit 1
case "$*" in
  "--user is-enabled sortilan-descarga.timer") [ -f "$REGISTRO.activo" ] ;;
  "--user enable --now sortilan-descarga.timer") touch "$REGISTRO.activo" ;;
  "--user disable --now sortilan-descarga.timer") rm -f "$REGISTRO.activo" ;;
  *) exit 0 ;;
esac
FIN
chmod +x "$tmp/bin/systemctl"
export REGISTRO=$tmp/systemctl.log XDG_CONFIG_HOME=$tmp/config PATH=$tmp/bin:$PATH
unidades=$tmp/config/systemd/user
sale 0 "estado apagado" -- "$cli" --datos "$tmp" avisos estado
igual "desactivados" "Avisos automáticos: desactivados." "$(cat "$tmp/out")"
: > "$REGISTRO"
sale 0 "activar" -- "$cli" --datos "$tmp" avisos activar
grep -qx "ExecStart=\"$cli\" --datos \"$tmp\" descargar --avisar" "$unidades/sortilan-descarga.service" || falla "ExecStart: $(grep ExecStart "$unidades/sortilan-descarga.service")"
cmp -s "$(dirname "$0")/../../dist/systemd/sortilan-descarga.timer" "$unidades/sortilan-descarga.timer" || falla "el temporizador escrito no es el del programa"
igual "lo pedido a systemctl" "--user show-environment
--user daemon-reload
--user enable --now sortilan-descarga.timer" "$(grep -v is-enabled "$REGISTRO")"
sale 0 "estado" -- "$cli" --datos "$tmp" avisos estado
igual "activados" "Avisos automáticos: activados (sortilan-descarga.timer)." "$(cat "$tmp/out")"
sale 0 "desactivar" -- "$cli" --datos "$tmp" avisos desactivar
[ -e "$unidades/sortilan-descarga.service" ] && falla "desactivar dejó la unidad"
grep -q "^--user disable --now sortilan-descarga.timer$" "$REGISTRO" || falla "desactivar no apagó el temporizador"
SIN_SYSTEMD=1 sale 1 "activar sin systemd" -- "$cli" --datos "$tmp" avisos activar
grep -q "crontab -e" "$tmp/err" && grep -q "^30 23 \* \* 0 '$cli' --datos '$tmp' descargar --avisar$" "$tmp/err" ||
  falla "sin systemd: $(cat "$tmp/err")"
SIN_SYSTEMD=1 sale 0 "estado sin systemd" -- "$cli" --datos "$tmp" avisos estado
grep -q "^0 10 \* \* 1 " "$tmp/out" || falla "estado sin systemd: $(cat "$tmp/out")"

# The units themselves, as systemd reads them.
if command -v systemd-analyze >/dev/null; then
  sed "s|@SORTILAN_CLI@|$cli|" "$(dirname "$0")/../../dist/systemd/sortilan-descarga.service.in" > "$tmp/sortilan-descarga.service"
  cp "$(dirname "$0")/../../dist/systemd/sortilan-descarga.timer" "$tmp/"
  systemd-analyze verify "$tmp/sortilan-descarga.timer" "$tmp/sortilan-descarga.service" > "$tmp/verify" 2>&1 ||
    falla "systemd-analyze verify: $(cat "$tmp/verify")"
fi
termina test_avisos
