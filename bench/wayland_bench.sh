#!/usr/bin/env bash
# Start-up under sway of the compositor's own notes (layer shell) against the same notes as X11 windows
# through XWayland, one run each: from the start until every shown note has its picture (layer shell:
# the last note surface given its buffer, as the program's Wayland log tells; XWayland: every note window
# mapped and painted, as the X server tells). 100 notes of 300 x 200, on sway's x11 backend in an Xvfb.
#   bench/wayland_bench.sh [NOTES]        (after ./test, which builds the program)
set -euo pipefail
source "$(dirname "$0")/../scripts/common.sh"
source "$ROOT/scripts/wayland.sh"
notes=${1:-100}
trap 'stop_compositor; stop_display' EXIT

start_xvfb
start_sway
cp "$ROOT/build/linux/bin/startup_x11" "$WL_WORK/bin/"
folder="$WL_WORK/home/notes"
mkdir -p "$folder"
for ((i = 0; i < notes; i++)); do
  printf '[Text_%d]\npositionX=%d\npositionY=%d\nwidth=300\nheight=200\ntext=Note %d*#33#second line\n' \
    "$i" $((i * 37 % 1300)) $((i * 53 % 800)) "$i"
done >"$folder/TextSetting.ini"
as_root chown -R "$DESKTOP_USER" "$folder"
program=("$WL_WORK/bin/skyslate2" --settings-dir "$folder")

log "$notes notes under sway, the compositor's own (layer shell)"
# The log line of each note's first picture: wl_surface@N.attach(wl_buffer@M, 0, 0).
cat >"$WL_WORK/bin/pictures.awk" <<'AWK'
match($0, /wl_surface@[0-9]+\.attach\(wl_buffer/) {
  id = substr($0, RSTART, RLENGTH)
  if (id in seen) next
  seen[id] = 1
  if (++count == n) {
    "date +%s%N" | getline now
    printf "%d notes shown: %.1f ms\n", n, (now - start) / 1e6
    exit
  }
}
AWK
as_desktop "${WL_ENV[@]}" WAYLAND_DEBUG=client -- sh -c \
  'n=$1 count=$2; shift 2; start=$(date +%s%N); "$@" 2>&1 >/dev/null | awk -v n="$n" -v start="$start" -f "$count"' \
  sh "$notes" "$WL_WORK/bin/pictures.awk" "${program[@]}"
as_root pkill -TERM -u "$DESKTOP_USER" -x skyslate2 || true
sleep 1

log "$notes notes under sway, X11 windows through XWayland"
as_desktop "${WL_ENV[@]}" -- "$WL_WORK/bin/startup_x11" "$folder" "$notes" 1 "${program[@]}" --notes-on x11 | tail -n 1
