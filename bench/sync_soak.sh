#!/usr/bin/env bash
# The notes shared through a real sync engine: two Syncthing instances on 127.0.0.1, a copy of the notes on
# each side, rounds of edits on both (some at the same time). Fails when the sides end apart or an edit is
# lost. ./test runs it; on its own:
#   bench/sync_soak.sh [ROUNDS] [SEED]      (after ./test, which installs Syncthing and builds sync_soak)
set -euo pipefail
source "$(dirname "$0")/../scripts/common.sh"
source "$ROOT/scripts/syncthing.sh"
rounds=${1:-20}
seed=${2:-1}
work=$(mktemp -d)
trap 'stop_sync_pair; rm -rf "$work"' EXIT

start_sync_pair "$work"
QT_QPA_PLATFORM=offscreen "$ROOT/build/linux/bin/sync_soak" "$work/a" "$work/b" "$work/data" "$rounds" "$seed"
