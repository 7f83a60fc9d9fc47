#!/usr/bin/env bash
# One note of a single huge paragraph (50 and 200 MB): how long the Linux program takes to show its
# manager on that note when a second start asks for it, its peak memory against the file's size, and
# how long a session end (SIGTERM: save, close, quit) takes. Runs on a virtual display of its own.
#   bench/huge_note_bench.sh        (after ./test, which builds the program)
set -euo pipefail
source "$(dirname "$0")/../scripts/common.sh"
bin="$ROOT/build/linux/bin"
work=$(mktemp -d)
trap 'stop_display; rm -rf "$work"' EXIT

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# True once the first note's window ("text_0") exists.
note_window_exists() {
  for window in $(xwininfo -root -children | awk '/^ +0x/ {print $1}'); do
    xprop -id "$window" WM_WINDOW_ROLE 2>/dev/null | grep -q '"text_0"' && return 0
  done
  return 1
}

start_xvfb
printf '%-8s %-14s %-14s %-16s %s\n' "note" "manager shown" "session end" "peak memory" "limit (3 x file + 100 MB)"
for megabytes in 50 200; do
  folder="$work/$megabytes"
  mkdir -p "$folder/run" && chmod 700 "$folder/run"
  {
    printf '[Text_0]\nwidth=800\nheight=500\ntext='
    head -c $((megabytes * 1024 * 1024)) /dev/zero | tr '\0' 'x'
    printf '\n'
  } >"$folder/TextSetting.ini"
  (cd "$folder" && XDG_RUNTIME_DIR="$folder/run" XDG_CONFIG_HOME="$folder" exec "$bin/skyslate2" 2>/dev/null) &
  pid=$!
  wait_for "the note's window" 600 note_window_exists
  asked=$(now_ms)
  # A second start: the running copy shows its manager.
  (cd "$folder" && XDG_RUNTIME_DIR="$folder/run" XDG_CONFIG_HOME="$folder" "$bin/skyslate2" 2>/dev/null)
  xdotool search --sync --onlyvisible --name '^SettingManager$' >/dev/null
  shown=$(($(now_ms) - asked))
  peak=$(awk '/VmHWM/ {print int($2 / 1024)}' "/proc/$pid/status")
  asked=$(now_ms)
  kill -TERM "$pid"
  wait "$pid" || true
  ended=$(($(now_ms) - asked))
  printf '%-8s %-14s %-14s %-16s %s\n' "${megabytes} MB" "${shown} ms" "${ended} ms" "${peak} MB" \
    "$((3 * megabytes + 100)) MB"
done
