#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need, only when missing.
set -euo pipefail

paquetes=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libqt6sql6-sqlite qt6-charts-dev qt6-pdf-dev libqt6opengl6-dev qt6-qpa-plugins qt6-translations-l10n libgl-dev
  libcurl4-openssl-dev ca-certificates libbenchmark-dev clang-14 libclang-rt-14-dev clang-format ccache fonts-dejavu-core jq python3
  dpkg-dev desktop-file-utils appstream man-db lintian
  xvfb xauth openbox xdotool
  dbus-daemon systemd sqlite3
)

faltan=()
for p in "${paquetes[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || faltan+=("$p")
done

if ((${#faltan[@]})); then
  echo "Instalando: ${faltan[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${faltan[@]}"
fi
