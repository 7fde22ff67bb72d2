#!/usr/bin/env bash
# Packs the built tree as a Debian package and checks it as a user's machine would get it:
# the files it installs and nothing else, dependencies found from the linked libraries, a
# menu entry, metainfo and icons that validate, a manual page for every order, and an
# installed sortilan-cli that keeps its data in the user's folder.
# Arguments: the build tree and the source tree.
set -u
arbol=$1
fuente=$2

for h in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli lintian; do
  command -v "$h" >/dev/null || { echo "Falta $h (tools/dependencias.sh lo instala): prueba omitida"; exit 77; }
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fallos=0
falla() { echo "FALLO: $*"; fallos=$((fallos + 1)); }

if ! cpack -G DEB --config "$arbol/CPackConfig.cmake" -B "$tmp/paquete" >"$tmp/cpack.log" 2>&1; then
  cat "$tmp/cpack.log"
  echo "FALLO: cpack"
  exit 1
fi
deb=$(echo "$tmp"/paquete/sortilan_*_*.deb)
[ -f "$deb" ] || { ls "$tmp/paquete"; echo "FALLO: no hay sortilan_VERSIÓN_ARQUITECTURA.deb"; exit 1; }
echo "Paquete: $(basename "$deb")"

id=es.sortilan.sortilan
esperados=(
  ./usr/bin/sortilan
  ./usr/bin/sortilan-cli
  ./usr/share/applications/$id.desktop
  ./usr/share/metainfo/$id.metainfo.xml
  ./usr/share/icons/hicolor/scalable/apps/$id.svg
  ./usr/share/man/man1/sortilan.1.gz
  ./usr/share/man/man1/sortilan-cli.1.gz
  ./usr/share/doc/sortilan/guia.html
  ./usr/share/doc/sortilan/copyright
  ./usr/share/doc/sortilan/changelog.gz
  ./usr/lib/systemd/user/sortilan-descarga.service
  ./usr/lib/systemd/user/sortilan-descarga.timer
)
tamanos=(16 22 24 32 48 64 128 256)
for n in "${tamanos[@]}"; do esperados+=("./usr/share/icons/hicolor/${n}x$n/apps/$id.png"); done

dpkg-deb -c "$deb" | tee "$tmp/lista" | awk '$NF !~ /\/$/ {print $NF}' | sort >"$tmp/archivos"
printf '%s\n' "${esperados[@]}" | sort >"$tmp/esperados"
if ! diff -u "$tmp/esperados" "$tmp/archivos"; then falla "los archivos del paquete no son los esperados"; fi
awk '$NF ~ /^\.\/usr\/bin\/./ && $1 != "-rwxr-xr-x" {print}' "$tmp/lista" | grep -q . && falla "un ejecutable sin permisos 755"

campos=$(dpkg-deb -f "$deb" Package Version Architecture Depends)
echo "$campos"
echo "$campos" | grep -q "^Package: sortilan$" || falla "nombre del paquete"
echo "$campos" | grep -q "^Version: $(sed -n 's/^project(Sortilan VERSION \([0-9.]*\).*/\1/p' "$fuente/CMakeLists.txt")$" ||
  falla "versión del paquete"
# Versioned library dependencies are what dpkg-shlibdeps writes.
for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6 libqt6sql6 libcurl4; do
  echo "$campos" | grep -Eq "(: |, )${lib//+/\\+} \(>= " || falla "sin dependencia de $lib"
done
echo "$campos" | grep -Eq "(: |, )libqt6sql6-sqlite(,|$)" || falla "sin el controlador SQLite"
echo "$campos" | grep -Eq "(: |, )ca-certificates(,|$)" || falla "sin las autoridades de certificación"

raiz=$tmp/raiz
dpkg-deb -x "$deb" "$raiz"

desktop-file-validate "$raiz/usr/share/applications/$id.desktop" || falla "desktop-file-validate"
appstreamcli validate --no-net "$raiz/usr/share/metainfo/$id.metainfo.xml" || falla "appstreamcli validate"
# The whole tree: the metainfo's launchable finds its menu entry and the entry its icon.
appstreamcli validate-tree --no-net "$raiz" || falla "appstreamcli validate-tree"
valor() { sed -n "s/^$1=//p" "$raiz/usr/share/applications/$id.desktop"; }
igual() { [ "$2" = "$3" ] || falla "$1: se esperaba «$2», hay «$3»"; }
igual "Icon de la entrada" "$id" "$(valor Icon)"
igual "Exec de la entrada" "sortilan" "$(valor Exec)"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$raiz/usr/share/metainfo/$id.metainfo.xml" ||
  falla "la metainfo no lanza la entrada del menú"

# Each PNG is as wide and as high as the folder it sits in says (IHDR, bytes 16 to 23).
for n in "${tamanos[@]}"; do
  png=$raiz/usr/share/icons/hicolor/${n}x$n/apps/$id.png
  igual "firma PNG $n" "89504e470d0a1a0a" "$(od -An -tx1 -N8 "$png" | tr -d ' \n')"
  igual "tamaño PNG $n" "$n $n" "$(od -An -tu1 -j16 -N8 "$png" | awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')"
done
grep -q "<svg " "$raiz/usr/share/icons/hicolor/scalable/apps/$id.svg" || falla "el icono SVG no es SVG"

cli=$raiz/usr/bin/sortilan-cli
# The scheduled download runs the installed command line, and systemd reads its units (the
# copy checked points at the unpacked program, which systemd would find in /usr/bin).
unidades=$raiz/usr/lib/systemd/user
grep -qx "ExecStart=sortilan-cli descargar --avisar" "$unidades/sortilan-descarga.service" ||
  falla "ExecStart de sortilan-descarga.service"
if command -v systemd-analyze >/dev/null; then
  mkdir -p "$tmp/unidades"
  sed "s|^ExecStart=sortilan-cli |ExecStart=$cli |" "$unidades/sortilan-descarga.service" >"$tmp/unidades/sortilan-descarga.service"
  cp "$unidades/sortilan-descarga.timer" "$tmp/unidades/"
  systemd-analyze verify "$tmp/unidades/sortilan-descarga.timer" "$tmp/unidades/sortilan-descarga.service" \
    >"$tmp/verify" 2>&1 || falla "systemd-analyze verify: $(cat "$tmp/verify")"
fi

# Every order the command line knows has its entry in the manual page.
cli=$raiz/usr/bin/sortilan-cli
manual=$tmp/sortilan-cli.1
gzip -dc "$raiz/usr/share/man/man1/sortilan-cli.1.gz" >"$manual" || falla "manual sortilan-cli"
gzip -t "$raiz/usr/share/man/man1/sortilan.1.gz" || falla "manual sortilan"
ordenes=$("$cli" --ayuda | sed -n 's/^  \([a-z][a-z-]*\).*/\1/p')
[ -n "$ordenes" ] || falla "sortilan-cli --ayuda no lista órdenes"
for orden in $ordenes; do
  grep -qF "\\fB${orden//-/\\-}\\fR" "$manual" || falla "la orden $orden no está en sortilan-cli(1)"
done
if command -v man >/dev/null; then
  for pagina in sortilan sortilan-cli; do
    avisos=$(LC_ALL=C.UTF-8 man --warnings -E UTF-8 -l "$raiz/usr/share/man/man1/$pagina.1.gz" 2>&1 >/dev/null)
    [ -z "$avisos" ] || falla "$pagina(1): $avisos"
  done
fi

# Installed, with no data beside it: the user's folder, where the first change writes.
datos=$(XDG_DATA_HOME=$tmp/xdg "$cli" estado | tail -1)
igual "carpeta del programa instalado" "- Carpeta de datos: $tmp/xdg/sortilan" "$datos"
XDG_DATA_HOME=$tmp/xdg "$cli" crear --nombre A --clave 1 --apuesta "1 2 3 4 5" >/dev/null
[ -f "$tmp/xdg/sortilan/apuestas.dat" ] || falla "sin apuestas.dat en la carpeta del usuario"

# Debian's own check of a package: no error and no warning (the informational tags stay).
if ! lintian --fail-on error,warning --tag-display-limit 0 "$deb" >"$tmp/lintian" 2>&1; then
  cat "$tmp/lintian"
  falla "lintian"
fi
# Built hardened: lintian tells of a binary without checked calls or early binding only as
# information, so those tags are asked for by name.
endurecido=$(lintian --display-info --tags hardening-no-fortify-functions,hardening-no-bindnow,hardening-no-relro "$deb" 2>/dev/null)
[ -z "$endurecido" ] || { echo "$endurecido"; falla "ejecutables sin endurecer"; }
# The copyright file is machine-readable and names the terms the sources state.
grep -qx "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" \
  "$raiz/usr/share/doc/sortilan/copyright" || falla "copyright sin formato DEP-5"
igual "versión del changelog" "$(dpkg-deb -f "$deb" Version)" \
  "$(gzip -dc "$raiz/usr/share/doc/sortilan/changelog.gz" | sed -n '1s/^sortilan (\([^)]*\)).*/\1/p')"

if [ "$fallos" -eq 0 ]; then echo "test_paquete: todo bien"; exit 0; fi
echo "test_paquete: $fallos fallos"
exit 1
