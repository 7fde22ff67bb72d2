#!/usr/bin/env bash
# Two programs at once on one data folder: every change is kept, none is lost or doubled.
set -u
source "$(dirname "$0")/comun.sh"

# Two command lines creating 50 peñas each at the same time: 100 whole peñas.
mkdir "$tmp/a"
crear_varias() {  # PREFIJO CARPETA
  local i rc=0
  for i in $(seq 1 50); do
    "$cli" --datos "$2" crear --nombre "$1$i" --clave $((i % 10)) --apuesta "1 2 3 4 5" >/dev/null 2>>"$tmp/err.$1" || rc=1
  done
  return $rc
}
crear_varias A "$tmp/a" & a=$!
crear_varias B "$tmp/a" & b=$!
wait $a || falla "una creación de A falló: $(cat "$tmp/err.A")"
wait $b || falla "una creación de B falló: $(cat "$tmp/err.B")"
igual "tamaño de apuestas.dat" $((100 * 645)) "$(stat -c %s "$tmp/a/apuestas.dat")"
"$cli" --datos "$tmp/a" penas --json >"$tmp/penas.json"
igual "nombres" "$( (for i in $(seq 1 50); do echo "A$i"; echo "B$i"; done) | sort | tr '\n' ' ')" \
  "$(jq -r '.[].nombre' "$tmp/penas.json" | sort | tr '\n' ' ')"
jq -e 'all(.[]; .tipo == 1 and .apuestas == [[1,2,3,4,5]] and .dias == "Domingo")' "$tmp/penas.json" >/dev/null \
  || falla "alguna peña no quedó entera"
ls "$tmp/a" | grep -q -e '\.tmp' -e 'sortilan.lock' && falla "quedaron temporales: $(ls "$tmp/a")"

# Creating and checking while peñas are deleted: 60 peñas, 20 deleted from the front,
# 20 created, the prizes counted all along; nothing lost, nothing counted twice.
mkdir "$tmp/b"
head -c $((500 * 24)) "$datos/numeros.dat" >"$tmp/b/numeros.dat"
python3 - "$tmp/b/apuestas.dat" <<'PY'
import struct, sys
with open(sys.argv[1], 'wb') as f:
    for i in range(60):
        b = bytearray(645)
        b[0:20] = ('P%d' % (i + 1)).encode().ljust(20, b' ')
        struct.pack_into('<6h', b, 20, 3, 12, 25, 40, 54, i % 10)
        b[612:627] = b'Domingo'.ljust(15, b' ')
        struct.pack_into('<h', b, 627, 1)
        struct.pack_into('<d', b, 629, 40179.0)  # 1 January 2010
        f.write(b)
PY
(for i in $(seq 1 20); do "$cli" --datos "$tmp/b" borrar-pena 1 --si >/dev/null 2>>"$tmp/err.borrar" || exit 1; done) & borra=$!
(for i in $(seq 1 20); do "$cli" --datos "$tmp/b" crear --nombre "C$i" --clave 1 --apuesta "3 12 25 40 54" >/dev/null 2>>"$tmp/err.crear" || exit 1; done) & crea=$!
(for i in $(seq 1 20); do "$cli" --datos "$tmp/b" comprobar --sorteos 3 >/dev/null 2>>"$tmp/err.comprobar" || exit 1; done) & comprueba=$!
wait $borra || falla "un borrado falló: $(cat "$tmp/err.borrar")"
wait $crea || falla "una creación falló: $(cat "$tmp/err.crear")"
wait $comprueba || falla "una comprobación falló: $(cat "$tmp/err.comprobar")"
"$cli" --datos "$tmp/b" penas --json >"$tmp/penas.json"
igual "peñas que quedan" "$( (for i in $(seq 21 60); do echo "P$i"; done; for i in $(seq 1 20); do echo "C$i"; done) | sort | tr '\n' ' ')" \
  "$(jq -r '.[].nombre' "$tmp/penas.json" | sort | tr '\n' ' ')"
# Every peña counted each of the 500 draws exactly once: a plain count over the draws
# since its creation gives its counters.
python3 - "$tmp/b/apuestas.dat" "$tmp/b/numeros.dat" <<'PY' || falla "contadores que no cuadran tras los cambios a la vez"
import struct, sys
penas = open(sys.argv[1], 'rb').read()
sorteos = open(sys.argv[2], 'rb').read()
draws = [(set(struct.unpack_from('<5h', sorteos, o)), struct.unpack_from('<h', sorteos, o + 10)[0],
          struct.unpack_from('<d', sorteos, o + 16)[0]) for o in range(0, len(sorteos), 24)]
for o in range(0, len(penas), 645):
    apuesta = set(struct.unpack_from('<5h', penas, o + 20))
    clave = struct.unpack_from('<h', penas, o + 30)[0]
    creacion = struct.unpack_from('<d', penas, o + 629)[0]
    cuenta = [0] * 8
    for numeros, k, fecha in draws:
        h = len(apuesta & numeros)
        if fecha >= creacion and h >= 2:
            cuenta[2 * (h - 2) + (1 if k == clave else 0)] += 1
    assert list(struct.unpack_from('<8h', penas, o + 596)) == cuenta, penas[o:o + 20]
PY

termina "cli concurrencia"
