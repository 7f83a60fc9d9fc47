#!/usr/bin/env bash
# The real programs: start-up until every shown note is mapped and painted, and resident memory then.
# The Linux program with 1, 100 and 1000 notes (300 x 200, two lines each), with and without a
# compositing manager, and the CPU it uses while idle for 10 seconds; the Windows program under Wine
# with 1 and 100 notes. Runs on virtual displays of its own.
#   bench/program_bench.sh [RUNS]        (after ./test, which builds both programs)
set -euo pipefail
source "$(dirname "$0")/../scripts/common.sh"
runs=${1:-5}
bin="$ROOT/build/linux/bin"
work=$(mktemp -d)
# A wineserver left behind would keep the prefix busy for the next run.
trap '{ [ -n "${WINEPREFIX:-}" ] && wineserver -k; } 2>/dev/null || true; stop_display; rm -rf "$work"' EXIT

notes_file() {  # $1 notes
  for ((i = 0; i < $1; i++)); do
    printf '[Text_%d]\npositionX=%d\npositionY=%d\nwidth=300\nheight=200\ntext=Note %d*#33#second line\n' \
      "$i" $((i * 37 % 1300)) $((i * 53 % 800)) "$i"
  done
}

# The processes whose processor time counts besides the program's: the X server, the compositing manager.
others_cpu() {
  echo "--cpu-of Xvfb=$XVFB_PID"
  if [ -n "$XCOMPMGR_PID" ]; then echo "--cpu-of xcompmgr=$XCOMPMGR_PID"; fi
}

idle_cpu() {  # $1 folder: CPU milliseconds over 10 idle seconds after start-up
  (cd "$1" && XDG_RUNTIME_DIR="$1/run" XDG_CONFIG_HOME="$1" exec "$bin/skyslate2" >/dev/null 2>&1) &
  local pid=$! ticks=$(getconf CLK_TCK)
  sleep 3
  local before after
  before=$(awk '{print $14 + $15}' "/proc/$pid/stat")
  sleep 10
  after=$(awk '{print $14 + $15}' "/proc/$pid/stat")
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  echo $(((after - before) * 1000 / ticks))
}

for desktop in "without a compositing manager" "with a compositing manager"; do
  start_xvfb
  case "$desktop" in with\ a*) start_compositor ;; esac
  log "Start-up $desktop (medians of $runs runs)"
  for notes in 1 100 1000; do
    folder="$work/$notes"
    mkdir -p "$folder/run" && chmod 700 "$folder/run"
    notes_file "$notes" >"$folder/TextSetting.ini"
    "$bin/startup_x11" $(others_cpu) "$folder" "$notes" "$runs" "$bin/skyslate2" 2>/dev/null | tail -n 1
  done
  echo "CPU while idle for 10 s, 100 notes: $(idle_cpu "$work/100") ms"
  stop_display
done

log "The Windows program under Wine, without a compositing manager (medians of $runs runs)"
setup_wine
start_xvfb
# A running wineserver: what is measured is the program, not Wine starting up.
wineserver -p 2>/dev/null || true
for notes in 1 100; do
  folder="$work/wine-$notes"
  mkdir -p "$folder/run" && chmod 700 "$folder/run"
  notes_file "$notes" >"$folder/TextSetting.ini"
  LANG=zh_CN.UTF-8 "$bin/startup_x11" --class skyslate2.exe $(others_cpu) --cpu-of wineserver="$(pgrep -n wineserver)" \
    "$folder" "$notes" "$runs" \
    wine "$ROOT/build/mingw/bin/Skyslate2.exe" 2>/dev/null | tail -n 1
done
echo "Wine's own share: 100 layered windows given a picture and shown, nothing drawn:"
LANG=zh_CN.UTF-8 "$bin/startup_x11" --class layered_windows_bench.exe $(others_cpu) \
  --cpu-of wineserver="$(pgrep -n wineserver)" "$work" 100 "$runs" \
  wine "$ROOT/build/mingw/bin/layered_windows_bench.exe" --stay 2>/dev/null | tail -n 1
