#!/usr/bin/env bash
# The Linux program and the Windows program (under Wine) on one notes folder at the same time: each user
# moves a different note, and the file keeps both moves. Needs a display (DISPLAY) and the Wine prefix
# (setup_wine); ./test runs it.
set -euo pipefail
source "$(dirname "$0")/../../scripts/common.sh"
work=$(mktemp -d)
linux_pid=""
trap '[ -n "$linux_pid" ] && kill "$linux_pid" 2>/dev/null; wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
notes=$work/notes
mkdir -p "$notes" "$work/run"
chmod 700 "$work/run"

note() {  # number x y: a note of solid blocks, so that a press inside it lands on painted pixels
  printf '[Text_%d]\nisShow=1\npositionX=%d\npositionY=%d\nwidth=600\nheight=200\ncolor=0,128,255\n' "$1" "$2" "$3"
  printf 'font=DejaVu Sans\nfontSize=800\ntext=\xe2\x96\x88\xe2\x96\x88\xe2\x96\x88\xe2\x96\x88\n'
}
{ note 0 100 100; note 1 100 500; } >"$notes/TextSetting.ini"

window_with_role() {  # the Linux program's window of that role
  local w
  for w in $(xwininfo -root -tree | grep -o '0x[0-9a-f]*'); do
    xprop -id "$w" WM_WINDOW_ROLE 2>/dev/null | grep -q "\"$1\"" && { echo "$w"; return 0; }
  done
  return 1
}
wine_notes_shown() { [ "$(xwininfo -root -tree | grep -c '"skyslate2.exe" "skyslate2.exe")  600x200')" -ge 2 ]; }
setting() {  # section key: the value in the file, whichever program wrote it last (UTF-8 or UTF-16)
  local text
  if [ "$(head -c 2 "$notes/TextSetting.ini" | od -An -tx1 | tr -d ' ')" = fffe ]; then
    text=$(iconv -f UTF-16 -t UTF-8 "$notes/TextSetting.ini")
  else
    text=$(cat "$notes/TextSetting.ini")
  fi
  printf '%s\n' "$text" | tr -d '\r' | awk -v s="[Text_$1]" -v k="$2=" '$0 == s {on=1; next} /^\[/ {on=0} on && index($0, k) == 1 {print substr($0, length(k) + 1); exit}'
}

XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/run \
  "$ROOT/build/linux/bin/skyslate2" --settings-dir "$notes" >"$work/linux.log" 2>&1 &
linux_pid=$!
wait_for "the Linux program's notes" 20 window_with_role text_1
(cd "$notes" && LANG=zh_CN.UTF-8 exec wine "$ROOT/build/mingw/bin/Skyslate2.exe") >/dev/null 2>&1 &
wait_for "the Windows program's notes" 60 wine_notes_shown
sleep 1

# On the Windows program's note 0, on top: a user's drag, 200 pixels to the right.
xdotool mousemove 160 150 mousedown 1
sleep 0.1
for step in 1 2 3 4; do xdotool mousemove $((160 + 50 * step)) 150; sleep 0.08; done
xdotool mouseup 1
sleep 0.5
# The Linux program's note 1 moves to (700, 500); its session ends, which saves.
xdotool windowmove "$(window_with_role text_1)" 700 500
sleep 0.5
kill -TERM "$linux_pid"
wait "$linux_pid" || true
linux_pid=""
# The Windows program sees the Linux program's save, merges its own move in and writes both back.
for _ in $(seq 100); do
  [ "$(setting 0 positionX)" = 300 ] && [ "$(setting 1 positionX)" = 700 ] && break
  sleep 0.1
done
echo "note 0 (moved by the Windows program): x=$(setting 0 positionX); note 1 (moved by the Linux program): x=$(setting 1 positionX)"
[ "$(setting 0 positionX)" = 300 ] && [ "$(setting 1 positionX)" = 700 ] || { echo "FAILED: a move was lost"; exit 1; }
echo "PASSED: both programs' moves are in the file"
