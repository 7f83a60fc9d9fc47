#!/usr/bin/env bash
# Renders the program's icons from res/icons/skyslate2.svg and skyslate2-locked.svg (the tray's while the
# notes are locked): the hicolor PNGs of the Linux desktop and the Windows .ico files (16, 24, 32, 48 and
# 256 pixels). The results are kept in the repository; run this after changing an SVG.
set -euo pipefail
cd "$(dirname "$0")/../res"
big="$(mktemp --suffix=.png)"
trap 'rm -f "$big"' EXIT
render() {  # name ico
  convert -background none -density 384 "icons/$1.svg" -resize 1024x1024 "$big"
  for size in 16 24 32 48 64 128 256; do
    mkdir -p "icons/hicolor/${size}x${size}/apps"
    convert "$big" -filter Lanczos -resize "${size}x${size}" -strip "PNG32:icons/hicolor/${size}x${size}/apps/$1.png"
  done
  convert $(for size in 16 24 32 48 256; do echo "icons/hicolor/${size}x${size}/apps/$1.png"; done) "$2"
}
render skyslate2 Skyslate2.ico
render skyslate2-locked Skyslate2Locked.ico
