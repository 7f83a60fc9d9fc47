#!/usr/bin/env bash
# Renders the program's icon from res/icons/skyslate2.svg: the hicolor PNGs of the Linux desktop and the
# Windows .ico (16, 24, 32, 48 and 256 pixels). The results are kept in the repository; run this after
# changing the SVG.
set -euo pipefail
cd "$(dirname "$0")/../res"
svg=icons/skyslate2.svg
big="$(mktemp --suffix=.png)"
trap 'rm -f "$big"' EXIT
convert -background none -density 384 "$svg" -resize 1024x1024 "$big"
for size in 16 24 32 48 64 128 256; do
  mkdir -p "icons/hicolor/${size}x${size}/apps"
  convert "$big" -filter Lanczos -resize "${size}x${size}" -strip "PNG32:icons/hicolor/${size}x${size}/apps/skyslate2.png"
done
convert $(for size in 16 24 32 48 256; do echo "icons/hicolor/${size}x${size}/apps/skyslate2.png"; done) Skyslate2.ico
