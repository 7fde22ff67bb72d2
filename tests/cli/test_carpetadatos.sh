#!/usr/bin/env bash
# The data folder a copy of sortilan-cli uses: the user's when installed, its own when
# marked portable, --datos over both; "estado" names it.
set -u
source "$(dirname "$0")/comun.sh"

mkdir -p "$tmp/bin" "$tmp/otra"
cp "$cli" "$tmp/bin/sortilan-cli"
copia=$tmp/bin/sortilan-cli
export XDG_DATA_HOME=$tmp/xdg

"$copia" --ayuda >/dev/null; igual "ayuda" 0 $?
[ -e "$XDG_DATA_HOME/sortilan" ] && falla "la ayuda creó la carpeta del usuario"

carpeta() { "$copia" "$@" estado | tail -1; }
igual "instalada" "- Carpeta de datos: $XDG_DATA_HOME/sortilan" "$(carpeta)"
# Reading creates nothing; the first change writes into the user's folder.
"$copia" crear --nombre A --clave 1 --apuesta "1 2 3 4 5" >/dev/null; igual "crear" 0 $?
[ -f "$XDG_DATA_HOME/sortilan/apuestas.dat" ] || falla "los datos no están en la carpeta del usuario"
[ -e "$tmp/bin/numeros.dat" ] && falla "la copia instalada escribió junto al ejecutable"
igual "--datos" "- Carpeta de datos: $tmp/otra" "$(carpeta --datos "$tmp/otra")"

touch "$tmp/bin/portable"
igual "portable" "- Carpeta de datos: $tmp/bin" "$(carpeta)"

sale 1 "--datos inexistente" -- "$copia" --datos "$tmp/no-existe" estado
igual "--datos inexistente: aviso" "La carpeta de datos no existe: $tmp/no-existe" "$(cat "$tmp/err")"
# An unset variable in a script must not send a deletion to the usual data.
sale 2 "--datos vacío" -- "$copia" --datos "" borrar-sorteos --si
igual "--datos vacío: aviso" "Falta la carpeta tras --datos." "$(cat "$tmp/err")"

termina test_carpetadatos
