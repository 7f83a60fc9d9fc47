#!/usr/bin/env bash
# The real Linux program on both ends of a real sync engine: two Syncthing instances on 127.0.0.1, a program
# on a virtual display of its own on each side, rounds of edits as users make them (drags, the quick
# settings, the manager, the file edited by hand), restarts between rounds, and at the end a quiet time in
# which no program may write. ./test runs a short form; on its own (after ./test):
#   bench/program_soak.sh [ROUNDS] [SEED] [QUIET_SECONDS]      (defaults: 20 rounds, seed 1, 60 s)
set -euo pipefail
source "$(dirname "$0")/../scripts/common.sh"
source "$ROOT/scripts/syncthing.sh"
rounds=${1:-20}
seed=${2:-1}
quiet=${3:-60}
work=$(mktemp -d)
displays=()
cleanup() {
  stop_sync_pair
  for pid in "${displays[@]}"; do kill "$pid" 2>/dev/null || true; done
  if [ -n "${SOAK_KEEP:-}" ]; then echo "kept in $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT

start_sync_pair "$work"
start_xvfb
display_a=$DISPLAY
displays+=("$XVFB_PID")
start_xvfb
display_b=$DISPLAY
displays+=("$XVFB_PID")
XVFB_PID=""
"$ROOT/build/linux/bin/program_soak" "$work/a" "$work/b" "$work/home-program-a" "$work/home-program-b" \
  "$display_a" "$display_b" "$rounds" "$seed" "$quiet"
