# Shared by ./run and ./test: installing what is missing, building, Wine and a virtual display.
# shellcheck shell=bash

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

PACKAGES=(
  cmake g++ make pkg-config libgtest-dev libgmock-dev libbenchmark-dev
  g++-mingw-w64-x86-64-posix wine wine64
  qt6-base-dev qt6-qpa-plugins libgl-dev libxkbcommon-dev libx11-dev libxcb1-dev libxcb-shape0-dev
  xvfb xcompmgr xdotool x11-utils x11-xserver-utils imagemagick
  fonts-wqy-microhei fonts-dejavu-core locales
)

log() { printf '\033[1m==> %s\033[0m\n' "$*"; }

as_root() {
  if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

ensure_packages() {
  local missing=()
  for pkg in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    log "Installing ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
  fi
  # Wine behaves like a Simplified Chinese Windows (code page 936, Chinese dialog glyphs) in this locale.
  if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
    log "Generating the zh_CN.UTF-8 locale"
    as_root sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
    as_root locale-gen >/dev/null
  fi
}

build_preset() {
  log "Building the $1 preset"
  cmake --preset "$1" >"$ROOT/build/configure-$1.log" 2>&1 || { cat "$ROOT/build/configure-$1.log"; return 1; }
  cmake --build --preset "$1" -j "$(nproc)"
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
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
    wineserver -w || true
  fi
}

XVFB_PID=""
# Starts Xvfb on a free display when there is none; stop_display ends it.
ensure_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return; fi
  local n=99
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && return; sleep 0.1; done
  echo "Xvfb did not start on $DISPLAY" >&2
  return 1
}

# A compositing manager for per-pixel alpha, over a coloured desktop so that notes stand out.
start_desktop() {
  # A compositing manager paints its own grey where the root has no picture property, so the desktop
  # colour is a plain window at the bottom of the stack.
  convert -size 1920x1080 gradient:'#1f4e79-#5b9bd5' "$ROOT/build/desktop.png"
  display -geometry +0+0 -borderwidth 0 -title desktop "$ROOT/build/desktop.png" >/dev/null 2>&1 &
  DESKTOP_PID=$!
  sleep 1
  if ! pgrep -x xcompmgr >/dev/null 2>&1 || [ -n "$XVFB_PID" ]; then
    xcompmgr >/dev/null 2>&1 &
    XCOMPMGR_PID=$!
  fi
}

XCOMPMGR_PID=""
DESKTOP_PID=""
stop_display() {
  if [ -n "$DESKTOP_PID" ]; then kill "$DESKTOP_PID" 2>/dev/null || true; fi
  if [ -n "$XCOMPMGR_PID" ]; then kill "$XCOMPMGR_PID" 2>/dev/null || true; fi
  if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; fi
}
