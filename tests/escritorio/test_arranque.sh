#!/usr/bin/env bash
# The real window program started as a user starts it on a desktop (a virtual display with
# a window manager): once with a news server that answers only after 2 s, once with a
# damaged draw file. Boxes are answered with Return, as a user would. Each time the main
# window must come up and still be there 10 s after the start.
set -u
exe=$1
datos=$2

for h in xvfb-run xauth openbox xdotool python3; do
  command -v "$h" >/dev/null || {
    echo "Falta $h: instálelo con «bash tools/dependencias.sh»."
    exit 1
  }
done
if [ -z "${SORTILAN_EN_XVFB:-}" ]; then
  SORTILAN_EN_XVFB=1 exec xvfb-run -a -s "-screen 0 1366x768x24" bash "$0" "$@"
fi
unset QT_QPA_PLATFORM

tmp=$(mktemp -d)
pid="" servidor=""
openbox >/dev/null 2>&1 &
wm=$!
trap 'kill $pid $servidor $wm 2>/dev/null; rm -rf "$tmp"' EXIT
for _ in $(seq 100); do xdotool get_desktop >/dev/null 2>&1 && break; sleep 0.1; done

fallos=0
falla() {
  echo "FALLO: $*"
  fallos=$((fallos + 1))
}

# Id of the window on screen whose title is exactly $1, waiting up to $2 s while the
# program runs.
ventana() {
  local fin=$((SECONDS + $2)) id
  while [ "$SECONDS" -lt "$fin" ]; do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
    [ -n "$id" ] && echo "$id" && return 0
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.2
  done
  return 1
}

# Return on the window $1, as a user who brings it to the front and presses the key.
pulsarReturn() {
  timeout 10 xdotool windowactivate --sync "$1" >/dev/null 2>&1
  xdotool key --clearmodifiers Return
}

principal='Sortilan - Para El Gordo de la Primitiva\. v\.1\.3\.82'

arrancar() {  # CASO CARPETA
  caso=$1
  "$exe" --datos "$2" >"$tmp/$caso.log" 2>&1 &
  pid=$!
  inicio=$SECONDS
  if id=$(ventana 'Presentación' 30); then
    pulsarReturn "$id"
  else
    falla "$caso: no se vio la presentación"
  fi
}

# The program runs 10 s after its start, and at least 2 s after its main window came up,
# with that window on screen and nothing reported by the sanitizers.
comprobar() {
  local visto=$1
  local hasta=$((inicio + 10 > visto + 2 ? inicio + 10 : visto + 2))
  while [ "$SECONDS" -lt "$hasta" ]; do sleep 0.5; done
  if ! kill -0 "$pid" 2>/dev/null; then
    wait "$pid"
    falla "$caso: el programa terminó con estado $? antes de 10 s"
  elif [ -z "$(xdotool search --onlyvisible --name "^$principal\$" 2>/dev/null)" ]; then
    falla "$caso: la ventana principal ya no está"
  fi
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  pid=""
  if grep -qE 'AddressSanitizer|runtime error' "$tmp/$caso.log"; then falla "$caso: el saneador informó de un fallo"; fi
  [ "$fallos" -eq 0 ] || tail -n 30 "$tmp/$caso.log"
}

# A folder with one peña, created after the newest draw it holds (nothing to count);
# the draws end at least 3 days before today, so the start asks for the news.
mkdir "$tmp/noticias"
python3 - "$datos/numeros.dat" "$tmp/noticias" <<'PY'
import datetime, struct, sys
hoy = (datetime.date.today() - datetime.date(1899, 12, 30)).days
datos = open(sys.argv[1], 'rb').read()
registros = [datos[i:i + 24] for i in range(0, len(datos) - 23, 24)]
registros = [r for r in registros if struct.unpack_from('<d', r, 16)[0] <= hoy - 3]
open(sys.argv[2] + '/numeros.dat', 'wb').write(b''.join(registros))
b = bytearray(645)
b[0:20] = b'NOTICIAS'.ljust(20, b' ')
struct.pack_into('<6h', b, 20, 3, 12, 25, 40, 54, 7)
b[612:627] = b'Domingo'.ljust(15, b' ')
struct.pack_into('<h', b, 627, 1)
struct.pack_into('<d', b, 629, struct.unpack_from('<d', registros[-1], 16)[0] + 1)
open(sys.argv[2] + '/apuestas.dat', 'wb').write(b)
PY
python3 - "$tmp/pedidas" "$tmp/puerto" 2>/dev/null <<'PY' &
import http.server, sys, time
class Lento(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        with open(sys.argv[1], 'a') as f:
            f.write(self.path + '\n')
        time.sleep(2)
        cuerpo = ('<html><body><p>' + 'Noticias de la prueba. ' * 30 + '</p></body></html>').encode()
        self.send_response(200)
        self.send_header('Content-Type', 'text/html')
        self.send_header('Content-Length', str(len(cuerpo)))
        self.end_headers()
        self.wfile.write(cuerpo)
    def log_message(self, *args):
        pass
s = http.server.HTTPServer(('127.0.0.1', 0), Lento)
with open(sys.argv[2], 'w') as f:
    f.write(str(s.server_port))
s.serve_forever()
PY
servidor=$!
for _ in $(seq 100); do [ -s "$tmp/puerto" ] && break; sleep 0.1; done
printf '[servicios]\nfabricante=http://127.0.0.1:%s\n' "$(cat "$tmp/puerto")" >"$tmp/noticias/sortilan.ini"

arrancar noticias "$tmp/noticias"
if visto=$(ventana "$principal" 40 >/dev/null && echo $SECONDS); then
  grep -qx '/ginforme.dat' "$tmp/pedidas" 2>/dev/null || falla "noticias: no se pidieron las noticias"
  ventana 'Noticias del jefe\.\.\.' 5 >/dev/null || falla "noticias: no se abrió la ventana de noticias"
  comprobar "$visto"
else
  falla "noticias: no apareció la ventana principal"
  comprobar "$SECONDS"
fi

# A draw with a number out of range: the start says the file is not valid, puts it aside
# and goes on with no draws.
mkdir "$tmp/danado"
cp "$datos/numeros.dat" "$tmp/danado/"
printf '\x37\x00' | dd of="$tmp/danado/numeros.dat" bs=1 seek=$((16 * 24)) conv=notrunc 2>/dev/null
cp "$tmp/noticias/apuestas.dat" "$tmp/danado/"
arrancar danado "$tmp/danado"
if id=$(ventana 'Error de lectura' 40); then
  pulsarReturn "$id"
else
  falla "danado: no se vio el aviso del archivo dañado"
fi
if visto=$(ventana "$principal" 40 >/dev/null && echo $SECONDS); then
  [ -s "$tmp/danado/numeros.err" ] || falla "danado: el archivo dañado no quedó apartado en numeros.err"
  comprobar "$visto"
else
  falla "danado: no apareció la ventana principal"
  comprobar "$SECONDS"
fi

[ "$fallos" -eq 0 ] && echo "La ventana llegó y siguió abierta en los 2 arranques."
exit $((fallos > 0))
