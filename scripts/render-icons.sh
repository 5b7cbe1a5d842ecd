#!/usr/bin/env bash
# Renders the icon sources (data/icons/*.svg, data/icons/svg/*.svg) into the
# PNG files the build embeds and installs. Run after editing an icon; needs
# rsvg-convert (Debian package librsvg2-bin). The PNGs are committed, so a
# normal build does not need it.
set -euo pipefail
cd "$(dirname "$0")/../data/icons"
command -v rsvg-convert >/dev/null || { echo "render-icons: rsvg-convert missing (apt-get install librsvg2-bin)" >&2; exit 1; }
mkdir -p png toolbar boxpng
for size in 16 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" wattrix.svg -o "png/wattrix-$size.png"
done
for svg in svg/*.svg; do
  name=$(basename "$svg" .svg)
  rsvg-convert -w 32 -h 32 "$svg" -o "toolbar/$name.png"
  rsvg-convert -w 64 -h 64 "$svg" -o "toolbar/$name@2x.png"
done
for svg in box/*.svg; do
  name=$(basename "$svg" .svg)
  rsvg-convert -w 48 -h 48 "$svg" -o "boxpng/$name.png"
  rsvg-convert -w 96 -h 96 "$svg" -o "boxpng/$name@2x.png"
done
