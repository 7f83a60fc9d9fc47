#!/usr/bin/env bash
# The Linux program on Wayland desktops, each compositor on its x11 backend in an Xvfb (xdotool there is
# the compositor's own pointer, a screenshot of the Xvfb is what it shows): on sway and KWin the notes are
# the compositor's own (layer shell): at their places, clicked through where nothing is painted to a
# Wayland program below, dragged with the move stored, on every workspace, under the program's dialogs,
# and let through entirely when locked. On mutter (GNOME, no layer shell) they go through XWayland and
# their places never drift; on weston too, where they are at their places and dragged. On sway with two
# monitors a note shows on the monitor of its place. Needs a display (DISPLAY, from start_xvfb) and root or sudo (the desktop user).
#   tests/wayland/desktops_test.sh [sway] [two-monitors] [kwin] [mutter] [weston]
set -euo pipefail
source "$(dirname "$0")/../../scripts/common.sh"
source "$ROOT/scripts/wayland.sh"
compositors=("$@")
[ ${#compositors[@]} -gt 0 ] || compositors=(sway two-monitors kwin mutter weston)
failures=0
starts=0
trap 'stop_compositor' EXIT

fail() {
  echo "  FAILED: $*"
  failures=$((failures + 1))
  tail -n 5 "$WL_WORK"/home/program-*.log 2>/dev/null || true
}

note() {  # number x y [locked]: a note that begins with two solid blocks, so that its place shows in pixels
  printf '[Text_%d]\nisShow=1\npositionX=%d\npositionY=%d\nwidth=400\nheight=160\ncolor=0,128,255\n' "$1" "$2" "$3"
  printf 'font=DejaVu Sans\nfontSize=600\ntext=\xe2\x96\x88\xe2\x96\x88 N%d\n' "$1"
  [ "${4:-}" = locked ] && printf 'locked=1\n'
  return 0
}

write_notes() {  # [locked]
  mkdir -p "$WL_WORK/home/notes"
  { note 0 40 60 "${1:-}"; note 1 560 330 "${1:-}"; note 2 80 500 "${1:-}"; } >"$WL_WORK/home/notes/TextSetting.ini"
  as_root chown -R "$DESKTOP_USER" "$WL_WORK/home/notes"
}

setting() {  # section key
  awk -v s="[Text_$1]" -v k="$2=" '$0 == s {on=1; next} /^\[/ {on=0} on && index($0, k) == 1 {print substr($0, length(k) + 1); exit}' \
    "$WL_WORK/home/notes/TextSetting.ini"
}

start_program() {  # extra NAME=VALUE words for its environment
  in_background "$WL_WORK/home/program-$((++starts)).log" "${WL_ENV[@]}" "$@" XDG_CONFIG_HOME="$WL_WORK/home/config" \
    XDG_DATA_HOME="$WL_WORK/home/data" -- "$WL_WORK/bin/skyslate2" --settings-dir "$WL_WORK/home/notes"
}

end_program() {  # the user's session ends: SIGTERM, and the program saves
  as_root pkill -TERM -u "$DESKTOP_USER" -x skyslate2 || true
  wait_for "the program to end" 20 sh -c "! pgrep -u $DESKTOP_USER -x skyslate2 >/dev/null"
}

pixel() { import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | grep -o '#[0-9A-F]\{6\}' | head -1; }
blue_at() { [ "$(pixel "$1" "$2")" = "#0080FF" ]; }

# A note's first block begins at its place: blue just inside the corner, not just outside (±4 pixels).
at_place() {  # x y
  blue_at $(($1 + 4)) $(($2 + 4)) && ! blue_at $(($1 - 4)) $(($2 + 4)) && ! blue_at $(($1 + 4)) $(($2 - 4))
}

presses() { grep -c 'state: pressed' "$WL_WORK/home/events.log" 2>/dev/null || true; }

# A native Wayland program under the notes that tells every click it gets.
start_event_window() {
  in_background "$WL_WORK/home/events.log" "${WL_ENV[@]}" -- stdbuf -oL weston-eventdemo --log-button
  wait_for "the Wayland window below the notes" 20 test -f "$WL_WORK/home/events.log"
  sleep 1
}

click_at() { xdotool mousemove "$1" "$2" click 1; sleep 0.4; }

drag() {  # x y dx dy: a user's drag in steps
  xdotool mousemove "$1" "$2" mousedown 1
  sleep 0.1
  for step in 1 2 3 4 5; do xdotool mousemove $(($1 + $3 * step / 5)) $(($2 + $4 * step / 5)); sleep 0.08; done
  sleep 0.2  # a hand rests before it lets go
  xdotool mouseup 1
  sleep 0.4
}

on_every_workspace() {
  case "$1" in
    sway) as_desktop "${WL_ENV[@]}" -- swaymsg workspace 2 >/dev/null ;;
    *) return 0 ;;  # KWin: a layer surface belongs to a monitor, not to a virtual desktop
  esac
  sleep 0.5
  at_place 40 60 || fail "$1: the notes are not on another workspace"
  as_desktop "${WL_ENV[@]}" -- swaymsg workspace 1 >/dev/null
  sleep 0.5
}

layer_shell_desktop() {  # compositor
  local name=$1
  log "  $name: the compositor's own notes"
  "start_$name"
  write_notes
  start_event_window
  # Qt told to use Wayland, as some sessions tell every program: the notes show all the same.
  start_program QT_QPA_PLATFORM=wayland
  wait_for "$name: the notes at their places" 30 at_place 40 60 || fail "$name: note 0 is not at 40,60"
  at_place 560 330 || fail "$name: note 1 is not at 560,330"
  at_place 80 500 || fail "$name: note 2 is not at 80,500"
  import -window root "$ROOT/build/wayland-$name.png"

  local before
  before=$(presses)
  click_at 900 450  # inside note 1's box, where it paints nothing
  [ "$(presses)" -gt "$before" ] || fail "$name: a click where a note paints nothing does not reach the window below"
  before=$(presses)
  click_at 600 360  # on note 1's text
  [ "$(presses)" -eq "$before" ] || fail "$name: a click on a note's text reaches the window below"

  drag 600 360 100 50
  at_place 660 380 || fail "$name: the dragged note is not where the drag left it"
  on_every_workspace "$name"

  start_program  # a second start shows the running copy's manager, which must lie above the topmost note
  sleep 1.5
  import -window root "$ROOT/build/wayland-$name-manager.png"
  blue_at 680 430 && fail "$name: a topmost note lies over the manager"
  end_program
  [ "$(setting 1 positionX),$(setting 1 positionY)" = "660,380" ] ||
    fail "$name: the drag is not stored (the file says $(setting 1 positionX),$(setting 1 positionY))"
  [ "$(setting 0 positionX),$(setting 2 positionY)" = "40,500" ] || fail "$name: a note that was not dragged moved"

  write_notes locked
  start_program
  wait_for "$name: the locked notes" 30 at_place 40 60 || fail "$name: the locked notes do not show"
  before=$(presses)
  click_at 600 360
  [ "$(presses)" -gt "$before" ] || fail "$name: a locked note takes a click"
  end_program
  stop_compositor
}

# Two monitors side by side: a note shows on the monitor that holds its place, and goes to the other one
# when its place changes there (here by another writer of the file). The screenshot is sway's own: each
# monitor is a window of its own in the Xvfb.
two_monitors() {
  log "  sway: two monitors"
  start_sway 2
  mkdir -p "$WL_WORK/home/notes"
  { note 0 40 60; note 1 1700 330; } >"$WL_WORK/home/notes/TextSetting.ini"
  as_root chown -R "$DESKTOP_USER" "$WL_WORK/home/notes"
  start_program
  local shot=$WL_WORK/home/monitors.png
  grim_blue_at() { as_desktop "${WL_ENV[@]}" -- grim "$shot" && [ "$(convert "$shot" -crop "1x1+$1+$2" -depth 8 txt:- |
    grep -o '#[0-9A-F]\{6\}' | head -1)" = "#0080FF" ]; }
  wait_for "sway: the note on the second monitor" 30 grim_blue_at 1704 334 || fail "sway: note 1 is not at 1700,330"
  sed -i '0,/positionX=40/s//positionX=2000/; 0,/positionY=60/s//positionY=600/' "$WL_WORK/home/notes/TextSetting.ini"
  wait_for "sway: the note moved to the second monitor" 30 grim_blue_at 2004 604 ||
    fail "sway: a note placed on the other monitor does not show there"
  grim_blue_at 44 64 && fail "sway: the note is still on the first monitor"
  end_program
  stop_compositor
}

# Where the window system puts a window (mutter pulls notes inside the monitor) is never stored.
xwayland_desktop() {  # compositor
  local name=$1
  log "  $name: notes through XWayland"
  "start_$name"
  mkdir -p "$WL_WORK/home/notes"
  { note 0 40 60; note 1 1500 330; note 2 80 -50; } >"$WL_WORK/home/notes/TextSetting.ini"
  as_root chown -R "$DESKTOP_USER" "$WL_WORK/home/notes"
  start_program "QT_QPA_PLATFORM=wayland;xcb"
  local shown=0
  for _ in $(seq 50); do
    shown=$(as_desktop "${WL_ENV[@]}" -- xwininfo -root -tree 2>/dev/null | grep -c '"skyslate2"' || true)
    [ "$shown" -ge 3 ] && break
    sleep 0.2
  done
  [ "$shown" -ge 3 ] || fail "$name: $shown of 3 notes show"
  end_program
  [ "$(setting 1 positionX),$(setting 2 positionY),$(setting 0 positionX)" = "1500,-50,40" ] ||
    fail "$name: a place the window system chose was stored"
  stop_compositor
}

# Nowhere to show a note: the program says so and ends, instead of running with no note at all.
set +e
said=$(env -u DISPLAY -u WAYLAND_DISPLAY "$ROOT/build/linux/bin/skyslate2" --settings-dir "$(mktemp -d)" 2>&1)
code=$?
set -e
[ "$code" -eq 3 ] && [[ "$said" == *"Notes cannot show"* ]] || fail "without a display the program says \"$said\" ($code)"

# weston places every window its X11 window manager manages where it likes: the notes place themselves.
weston_desktop() {
  log "  weston: notes through XWayland, placed by the program"
  start_weston
  # weston follows the pointer once it has entered its window, which is a little smaller than the display.
  xdotool mousemove 1599 999
  sleep 0.2
  write_notes
  start_program
  wait_for "weston: the notes at their places" 30 at_place 40 60 || fail "weston: note 0 is not at 40,60"
  at_place 560 330 || fail "weston: note 1 is not at 560,330"
  at_place 80 500 || fail "weston: note 2 is not at 80,500"
  # weston reports the pointer to a dragged XWayland window late: the note may stop short of the pointer,
  # but what is stored is where it shows.
  drag 600 360 100 50
  import -window root "$ROOT/build/wayland-weston.png"
  end_program
  local x y
  x=$(setting 1 positionX) y=$(setting 1 positionY)
  [ "$x,$y" != "560,330" ] || fail "weston: the drag is not stored"
  start_program
  wait_for "weston: the dragged note where the file has it" 30 at_place "$x" "$y" || fail "weston: note 1 is not at $x,$y"
  end_program
  stop_compositor
}

for compositor in "${compositors[@]}"; do
  case "$compositor" in
    sway | kwin) layer_shell_desktop "$compositor" ;;
    two-monitors) two_monitors ;;
    mutter) xwayland_desktop "$compositor" ;;
    weston) weston_desktop ;;
    *) echo "unknown compositor: $compositor" >&2; exit 2 ;;
  esac
done
[ "$failures" -eq 0 ] && echo "  every check passed on: ${compositors[*]}"
exit $((failures > 0))
