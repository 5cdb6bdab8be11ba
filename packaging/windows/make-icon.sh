#!/usr/bin/env bash
# Redraws pTarmak.ico from ../ptarmak.svg (run after changing the drawing and
# commit the result): a Windows build has no SVG renderer to make it there.
# Needs Debian's librsvg2-bin and icoutils.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
pngs=()
for size in 16 24 32 48 64 256; do
  rsvg-convert -w "$size" -h "$size" -o "$tmp/$size.png" ../ptarmak.svg
  pngs+=("$tmp/$size.png")
done
# The large size stays PNG-compressed inside the icon, as Windows allows.
icotool -c -o pTarmak.ico "${pngs[@]:0:5}" -r "${pngs[5]}"
