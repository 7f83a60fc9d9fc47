#!/usr/bin/env bash
# Two programs on one notes folder that do not see each other's single-copy lock: two Linux programs with
# runtime folders of their own (as two machines on a network share are), and the Linux and the Windows
# program (under Wine). Each round both start, each moves a different note, and both end at the same moment;
# every move must be in the file afterwards. Needs a display (DISPLAY) and the Wine prefix (setup_wine).
#   tests/cross/two_programs_test.sh [LINUX_ROUNDS] [WINDOWS_ROUNDS]      (./test runs a few of each)
set -euo pipefail
source "$(dirname "$0")/../../scripts/common.sh"
linux_rounds=${1:-10}
windows_rounds=${2:-3}
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill -KILL "$pid" 2>/dev/null || true; done
  wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
notes=$work/notes
mkdir -p "$notes"

note() {  # number x y: a note of solid blocks, so that a press inside it lands on painted pixels
  printf '[Text_%d]\nisShow=1\npositionX=%d\npositionY=%d\nwidth=600\nheight=200\ncolor=0,128,255\n' "$1" "$2" "$3"
  printf 'font=DejaVu Sans\nfontSize=800\ntext=\xe2\x96\x88\xe2\x96\x88\xe2\x96\x88\xe2\x96\x88\n'
}

setting() {  # section key: the value in the file, whichever program wrote it last (UTF-8 or UTF-16)
  local text
  if [ "$(head -c 2 "$notes/TextSetting.ini" | od -An -tx1 | tr -d ' ')" = fffe ]; then
    text=$(iconv -f UTF-16 -t UTF-8 "$notes/TextSetting.ini")
  else
    text=$(cat "$notes/TextSetting.ini")
  fi
  printf '%s\n' "$text" | tr -d '\r' | awk -v s="[Text_$1]" -v k="$2=" '$0 == s {on=1; next} /^\[/ {on=0} on && index($0, k) == 1 {print substr($0, length(k) + 1); exit}'
}

window_of() {  # pid role: that Linux program's note window
  local w
  for w in $(xwininfo -root -tree | grep -o '^ *0x[0-9a-f]*' | tr -d ' '); do
    xprop -id "$w" _NET_WM_PID WM_WINDOW_ROLE 2>/dev/null | tr -d '\n' | grep -q "= $1.*\"$2\"" && { echo "$w"; return 0; }
  done
  return 1
}

drag() {  # x y by: a user's drag by the left button from (x, y), by pixels to the right
  xdotool mousemove "$1" "$2" mousedown 1
  sleep 0.1
  for step in 1 2 3 4; do xdotool mousemove $(($1 + $3 * step / 4)) "$2"; sleep 0.08; done
  xdotool mouseup 1
}

drag_linux_note() {  # pid role to_x: that program's note, raised over the other program's, dragged to to_x
  local w x y
  w=$(window_of "$1" "$2")
  xdotool windowraise "$w"
  eval "$(xdotool getwindowgeometry --shell "$w")"
  x=$X y=$Y
  drag $((x + 60)) $((y + 50)) $(($3 - x))
}

started=""
start_linux() {  # name: a Linux program with folders of its own, as on a machine of its own; its pid in $started
  local home=$work/$1
  mkdir -p "$home/run"
  chmod 700 "$home/run"
  XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_RUNTIME_DIR=$home/run \
    "$ROOT/build/linux/bin/skyslate2" --settings-dir "$notes" >>"$home/log" 2>&1 &
  started=$!
  pids+=("$started")
}

wine_notes_shown() { [ "$(xwininfo -root -tree | grep -c '"skyslate2.exe" "skyslate2.exe")  600x200')" -ge 2 ]; }

lost=0
moved=0
expect() {  # round section x: a move that must be in the file
  moved=$((moved + 1))
  local now
  now=$(setting "$2" positionX)
  if [ "$now" != "$3" ]; then
    lost=$((lost + 1))
    echo "  round $1: the move of note $2 to x=$3 is lost (the file says $now)"
  fi
}

{ note 0 100 100; note 1 100 500; } >"$notes/TextSetting.ini"
for round in $(seq "$linux_rounds"); do
  start_linux a
  a=$started
  start_linux b
  b=$started
  wait_for "both programs' notes" 20 sh -c "$(declare -f window_of); window_of $a text_1 && window_of $b text_1"
  xa=$((round % 2 ? 300 : 200)) xb=$((round % 2 ? 800 : 700))
  drag_linux_note "$a" text_0 "$xa"
  drag_linux_note "$b" text_1 "$xb"
  sleep 0.3
  kill -TERM "$a" "$b"  # both sessions end at once
  wait "$a" "$b" || true
  expect "$round" 0 "$xa"
  expect "$round" 1 "$xb"
done
echo "two Linux programs: $linux_rounds rounds, $moved moves, $lost lost"
linux_lost=$lost

lost=0
moved=0
{ note 0 100 100; note 1 100 500; } >"$notes/TextSetting.ini"
for round in $(seq "$windows_rounds"); do
  start_linux l
  l=$started
  wait_for "the Linux program's notes" 20 sh -c "$(declare -f window_of); window_of $l text_1"
  (cd "$notes" && LANG=zh_CN.UTF-8 exec wine "$ROOT/build/mingw/bin/Skyslate2.exe") >/dev/null 2>&1 &
  wait_for "the Windows program's notes" 60 wine_notes_shown
  sleep 1
  # The Windows program's note 0 is on top: a user's drag, 200 pixels to the right, and back the next round.
  x0=$(setting 0 positionX)
  by=$((round % 2 ? 200 : -200))
  drag $((x0 + 60)) 150 "$by"
  xl=$((round % 2 ? 800 : 700))
  drag_linux_note "$l" text_1 "$xl"
  sleep 0.5
  kill -TERM "$l"  # both sessions end at once
  wineboot --end-session >/dev/null 2>&1 || true
  wait "$l" || true
  wineserver -w
  expect "$round" 0 $((x0 + by))
  expect "$round" 1 "$xl"
done
echo "the Linux and the Windows program: $windows_rounds rounds, $moved moves, $lost lost"
[ "$linux_lost" = 0 ] && [ "$lost" = 0 ] || { echo "FAILED: moves were lost"; exit 1; }
echo "PASSED: every move of both programs is in the file"
