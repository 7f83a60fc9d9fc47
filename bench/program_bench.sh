#!/usr/bin/env bash
# Memory of the running Linux program with 1 and 100 notes, and the CPU it uses while idle for 10
# seconds. Run on an X display: DISPLAY=:0 bench/program_bench.sh
set -euo pipefail
program="$(cd "$(dirname "$0")/.." && pwd)/build/linux/bin/skyslate2"
ticks_per_second=$(getconf CLK_TCK)

for notes in 1 100; do
  folder=$(mktemp -d)
  for ((i = 0; i < notes; i++)); do
    printf '[Text_%d]\npositionX=%d\npositionY=%d\nwidth=500\nheight=150\ntext=Note %d*#33#second line\n' \
      "$i" $((i * 17 % 1400)) $((i * 29 % 900)) "$i"
  done > "$folder/TextSetting.ini"
  (cd "$folder" && XDG_CONFIG_HOME="$folder/config" XDG_RUNTIME_DIR="$folder" exec "$program" >/dev/null 2>&1) &
  pid=$!
  sleep 3
  rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
  cpu_before=$(awk '{print $14 + $15}' "/proc/$pid/stat")
  sleep 10
  cpu_after=$(awk '{print $14 + $15}' "/proc/$pid/stat")
  echo "$notes notes: resident memory $((rss / 1024)) MiB; CPU while idle for 10 s: $(( (cpu_after - cpu_before) * 1000 / ticks_per_second )) ms"
  kill "$pid"
  wait "$pid" || true
  rm -rf "$folder"
done
