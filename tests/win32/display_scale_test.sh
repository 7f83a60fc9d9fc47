#!/usr/bin/env bash
# The Windows program under Wine at 150 % and 200 % (Wine's LogPixels, in a copy of the test prefix): a
# note's window is that much larger, at the place the file holds. Needs a display (DISPLAY) and the Wine
# prefix (setup_wine); ./test runs it.
set -euo pipefail
source "$(dirname "$0")/../../scripts/common.sh"
work=$(mktemp -d)
trap 'WINEPREFIX=$work/prefix wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

cp -a "$WINEPREFIX" "$work/prefix"
export WINEPREFIX=$work/prefix
mkdir -p "$work/notes"
for case in "144 1050x300" "192 1400x400"; do
  read -r dpi size <<<"$case"
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  wineserver -k 2>/dev/null || true
  printf '[Text_0]\nisShow=1\npositionX=100\npositionY=100\nwidth=700\nheight=200\ncolor=0,128,255\nfontSize=400\ntext=scaled\n' \
    >"$work/notes/TextSetting.ini"
  (wine "$ROOT/build/mingw/bin/Skyslate2.exe" --settings-dir "$(winepath -w "$work/notes")" >/dev/null 2>&1 &)
  wait_for "the note at $dpi dpi" 60 sh -c "xwininfo -root -tree | grep -q '\"skyslate2.exe\")  $size+100+100'" ||
    fail "at $dpi dpi the note is not $size at 100,100: $(xwininfo -root -tree | grep skyslate2.exe | head -n 3)"
  wineserver -k 2>/dev/null || true
  grep -q "^width=700" "$work/notes/TextSetting.ini" || fail "at $dpi dpi the file's width changed"
done
echo "The Windows program at 150 % and 200 %: passed"
