# Shared by ./run and ./test: installing what is missing, building, Wine and virtual displays.
# shellcheck shell=bash

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# What building and showing the Linux program needs (./run), on a virtual display too.
PROGRAM_PACKAGES=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-qpa-plugins libgl-dev libxkbcommon-dev libx11-dev libxcb1-dev libxcb-shape0-dev libxcb-damage0-dev
  libwayland-dev wayland-protocols qt6-wayland qt6-l10n-tools qt6-tools-dev qt6-translations-l10n
  fonts-wqy-microhei fonts-dejavu-core locales
  xvfb xcompmgr openbox trayer x11-utils x11-xserver-utils imagemagick
)
# The Windows program, cross-built and run under Wine (./run --wine, ./test).
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix wine wine64 wixl)
# What the tests need besides.
TEST_PACKAGES=(
  libgtest-dev libgmock-dev libbenchmark-dev xdotool syncthing dbus-daemon
  appstream desktop-file-utils dpkg-dev lintian man-db
)
# The Wayland compositors of the tests, without what they recommend: a whole desktop each (KDE Plasma
# alone is some 700 packages).
WAYLAND_PACKAGES=(sway kwin-wayland mutter weston xwayland grim)

log() { printf '\033[1m==> %s\033[0m\n' "$*"; }

as_root() {
  if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

missing_packages() {
  local pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || echo "$pkg"
  done
}

# Installs what is missing of the sets named: program, windows, tests, wayland.
ensure_packages() {
  local set missing=() wayland=()
  for set in "$@"; do
    case "$set" in
      program) mapfile -t -O "${#missing[@]}" missing < <(missing_packages "${PROGRAM_PACKAGES[@]}") ;;
      windows) mapfile -t -O "${#missing[@]}" missing < <(missing_packages "${WINDOWS_PACKAGES[@]}") ;;
      tests) mapfile -t -O "${#missing[@]}" missing < <(missing_packages "${TEST_PACKAGES[@]}") ;;
      wayland) mapfile -t wayland < <(missing_packages "${WAYLAND_PACKAGES[@]}") ;;
    esac
  done
  if [ ${#missing[@]} -gt 0 ] || [ ${#wayland[@]} -gt 0 ]; then
    log "Installing ${missing[*]} ${wayland[*]}"
    as_root apt-get update -qq
  fi
  if [ ${#missing[@]} -gt 0 ]; then
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
  fi
  if [ ${#wayland[@]} -gt 0 ]; then
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${wayland[@]}" >/dev/null
  fi
  # Wine behaves like a Simplified Chinese Windows (code page 936, Chinese dialog glyphs) in zh_CN; the
  # English interface is tried in en_US.
  local wanted
  for wanted in zh_CN en_US; do
    if ! locale -a 2>/dev/null | grep -qi "^$wanted\.utf-\?8$"; then
      log "Generating the $wanted.UTF-8 locale"
      as_root sed -i "s/^# *$wanted.UTF-8 UTF-8/$wanted.UTF-8 UTF-8/" /etc/locale.gen
      grep -q "^$wanted.UTF-8 UTF-8" /etc/locale.gen || echo "$wanted.UTF-8 UTF-8" | as_root tee -a /etc/locale.gen >/dev/null
      as_root locale-gen >/dev/null
    fi
  done
}

# Builds a preset: everything, or only the targets named after it.
build_preset() {
  local preset=$1
  shift
  log "Building the $preset preset${*:+: $*}"
  cmake --preset "$preset" >"$ROOT/build/configure-$preset.log" 2>&1 ||
    { cat "$ROOT/build/configure-$preset.log"; return 1; }
  local targets=()
  if [ $# -gt 0 ]; then targets=(--target "$@"); fi
  cmake --build --preset "$preset" -j "$(nproc)" "${targets[@]}"
}

# Wine with its prefix inside build/, quiet, without the Mono and Gecko install prompts.
setup_wine() {
  export WINEPREFIX="$ROOT/build/wineprefix"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEARCH=win64
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    log "Creating the Wine prefix in build/wineprefix"
    LANG=zh_CN.UTF-8 wineboot -i >/dev/null 2>&1 || true
    # A crash prints a backtrace instead of waiting in a dialog nobody can answer.
    wine reg add 'HKCU\Software\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
    wineserver -w || true
  fi
  # Xvfb has no window manager: Wine then places and activates its windows itself, instead of waiting
  # seconds for a window manager's answer whenever a window is hidden.
  if ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true
    wineserver -w || true
  fi
}

# Runs "$@" every tenth of a second until it succeeds, for at most $2 seconds; $1 says what is awaited.
wait_for() {
  local what=$1 seconds=$2
  shift 2
  for _ in $(seq $((seconds * 10))); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "Timed out waiting for $what" >&2
  return 1
}

XVFB_PID=""
WM_PID=""
XCOMPMGR_PID=""
EXTRA_PIDS=()

# A virtual display of its own (1600 x 1000), on a display number Xvfb picks and reports itself. It
# does not reset when its last client leaves, so the next program never meets a display half reset.
start_xvfb() {
  local numberfile
  numberfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp -noreset 3>"$numberfile" >/dev/null 2>&1 &
  XVFB_PID=$!
  wait_for "Xvfb" 20 test -s "$numberfile" || return 1
  export DISPLAY=":$(head -n 1 "$numberfile")"
  rm -f "$numberfile"
}

start_window_manager() {
  openbox >/dev/null 2>&1 &
  WM_PID=$!
  wait_for "openbox" 20 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'
}

# A compositing manager, for per-pixel alpha.
start_compositor() {
  xcompmgr >/dev/null 2>&1 &
  XCOMPMGR_PID=$!
  wait_for "xcompmgr" 20 sh -c 'xwininfo -root -tree | grep -q "\"xcompmgr\""'
}

# The desktop as ./run shows it: a coloured background, a compositing manager for per-pixel alpha and
# a system tray for the program's icon.
start_desktop() {
  # A compositing manager paints its own grey where the root has no picture property, so the desktop
  # colour is a plain window at the bottom of the stack.
  convert -size 1600x1000 gradient:'#1f4e79-#5b9bd5' "$ROOT/build/desktop.png"
  display -geometry +0+0 -borderwidth 0 -title desktop "$ROOT/build/desktop.png" >/dev/null 2>&1 &
  EXTRA_PIDS+=($!)
  wait_for "the desktop picture" 60 sh -c 'xwininfo -root -tree | grep -q "\"desktop\""'
  start_compositor
  trayer --edge top --align right --widthtype pixel --width 120 --heighttype pixel --height 32 >/dev/null 2>&1 &
  EXTRA_PIDS+=($!)
}

stop_display() {
  for pid in "${EXTRA_PIDS[@]}" "$XCOMPMGR_PID" "$WM_PID"; do
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  done
  EXTRA_PIDS=()
  XCOMPMGR_PID=""
  WM_PID=""
  if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; fi
  XVFB_PID=""
}
