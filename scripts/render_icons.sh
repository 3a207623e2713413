#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the application icon data/appicon/varga-map-maker.svg into the PNG sizes the
# desktop's icon theme looks for (data/appicon/varga-map-maker-SIZE.png). Run it after
# changing the SVG and commit the PNGs: the build does not need librsvg.
#
# Needs rsvg-convert (Debian: librsvg2-bin) or, failing that, inkscape.
set -euo pipefail
cd "$(dirname "$0")/../data/appicon"

sizes=(16 22 24 32 48 64 128 256)
svg=varga-map-maker.svg

render() {
  local size=$1 out=$2
  if command -v rsvg-convert >/dev/null; then
    rsvg-convert --width "$size" --height "$size" --format png "$svg" --output "$out"
  elif command -v inkscape >/dev/null; then
    inkscape "$svg" --export-type=png --export-width="$size" --export-height="$size" \
      --export-filename="$out" >/dev/null 2>&1
  else
    echo "render_icons.sh: needs rsvg-convert (librsvg2-bin) or inkscape" >&2
    exit 1
  fi
}

for size in "${sizes[@]}"; do
  render "$size" "varga-map-maker-$size.png"
  echo "data/appicon/varga-map-maker-$size.png"
done
