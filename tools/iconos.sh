#!/usr/bin/env bash
# Renders the PNG sizes of the program icon from dist/iconos/sortilan.svg. Run it after
# changing the drawing and commit the PNGs with it (needs rsvg-convert: librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../dist/iconos"
for n in 16 22 24 32 48 64 128 256; do
  rsvg-convert -w "$n" -h "$n" sortilan.svg -o "sortilan-$n.png"
done
