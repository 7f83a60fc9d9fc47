# Wayland compositors for the tests, each on its x11 backend inside the Xvfb of start_xvfb, so that
# xdotool there moves the compositor's own pointer, and a screenshot of the Xvfb shows what it shows.
# sway refuses to run as root, so every compositor runs as an ordinary user of the tests' own, and so
# do the programs on it: as on a user's desktop.
# shellcheck shell=bash

DESKTOP_USER=skyslate2-desktop
WL_WORK=""     # the desktop user's folder: runtime folder, home, the program's copy
WL_ENV=()      # what a program of the session gets: WAYLAND_DISPLAY, DISPLAY (XWayland) and the rest

ensure_desktop_user() {
  id -u "$DESKTOP_USER" >/dev/null 2>&1 ||
    as_root useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin "$DESKTOP_USER"
}

# A folder for one compositor's session, the program copied into it (the build may lie in a folder the
# desktop user cannot enter, such as root's home).
new_session_folder() {
  ensure_desktop_user
  WL_WORK=$(mktemp -d /tmp/skyslate2-wayland.XXXXXX)
  mkdir -p "$WL_WORK/run" "$WL_WORK/home" "$WL_WORK/bin"
  cp "$ROOT/build/linux/bin/skyslate2" "$WL_WORK/bin/"
  chmod 755 "$WL_WORK" "$WL_WORK/bin"
  chmod 700 "$WL_WORK/run"
  as_root chown -R "$DESKTOP_USER" "$WL_WORK/run" "$WL_WORK/home"
}

# Runs "$@" as the desktop user with a clean environment plus the given NAME=VALUE words before --.
as_desktop() {
  local vars=()
  while [ "$1" != "--" ]; do vars+=("$1"); shift; done
  shift
  as_root runuser -u "$DESKTOP_USER" -- env -i PATH=/usr/bin:/bin HOME="$WL_WORK/home" \
    XDG_RUNTIME_DIR="$WL_WORK/run" LANG=C.UTF-8 "${vars[@]}" "$@"
}

# as_desktop in the background, its output in a log: the shell says nothing when the desktop user's
# programs are ended at the end of a test.
in_background() {  # log, then as_desktop's arguments
  local log=$1
  shift
  { as_desktop "$@" >"$log" 2>&1; } 2>/dev/null &
}

# The session's environment, as the compositor gives it to the programs it starts (written to
# $WL_WORK/home/session.env by the command it starts).
read_session_env() {
  wait_for "the compositor's session" 60 test -s "$WL_WORK/home/session.env" || return 1
  WL_ENV=()
  local name line
  for name in WAYLAND_DISPLAY DISPLAY XAUTHORITY DBUS_SESSION_BUS_ADDRESS SWAYSOCK; do
    line=$(grep -m1 "^$name=" "$WL_WORK/home/session.env" || true)
    [ -n "$line" ] && WL_ENV+=("$line")
  done
  return 0
}

session_probe() { echo "sh -c 'env > $WL_WORK/home/session.env; exec sleep infinity'"; }

start_sway() {  # [MONITORS]: side by side, 1600 x 1000 each
  local monitors=${1:-1} i
  new_session_folder
  {
    echo "output * bg #1f4e79 solid_color"
    for ((i = 1; i <= monitors; i++)); do echo "output X11-$i mode 1600x1000 position $(((i - 1) * 1600)) 0"; done
    echo "exec $(session_probe)"
  } >"$WL_WORK/sway.conf"
  chmod 644 "$WL_WORK/sway.conf"
  in_background "$WL_WORK/compositor.log" DISPLAY="$DISPLAY" WLR_BACKENDS=x11 WLR_X11_OUTPUTS="$monitors" \
    WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 -- \
    sway -c "$WL_WORK/sway.conf"
  read_session_env
}

# KWin's binary carries a file capability, which this kind of machine refuses: a copy runs without it.
start_kwin() {
  new_session_folder
  cp "$(command -v kwin_wayland)" "$WL_WORK/bin/kwin_wayland"
  in_background "$WL_WORK/compositor.log" DISPLAY="$DISPLAY" QT_QPA_PLATFORM=xcb -- dbus-run-session "$WL_WORK/bin/kwin_wayland" \
    --x11-display "$DISPLAY" --socket wayland-test --width 1600 --height 1000 --xwayland \
    --exit-with-session "$(session_probe)"
  read_session_env
}

# GNOME's compositor, headless: no layer shell, so the notes go through XWayland.
start_mutter() {
  new_session_folder
  in_background "$WL_WORK/compositor.log" -- dbus-run-session mutter --headless --wayland --virtual-monitor 1600x1000 \
    -- sh -c "env > $WL_WORK/home/session.env; exec sleep infinity"
  read_session_env
}

# weston: no layer shell either, and a window manager of its own for XWayland's windows. Its window is a
# little smaller than the display: it follows xdotool's pointer only once the pointer has entered it.
start_weston() {
  new_session_folder
  printf '[core]\nxwayland=true\n[shell]\nbackground-color=0xff1f4e79\npanel-position=none\n[autolaunch]\npath=%s\n' \
    "$WL_WORK/home/probe.sh" >"$WL_WORK/weston.ini"
  printf '#!/bin/sh\nenv > %s/home/session.env\nexec sleep infinity\n' "$WL_WORK" >"$WL_WORK/home/probe.sh"
  chmod 755 "$WL_WORK/home/probe.sh"
  chmod 644 "$WL_WORK/weston.ini"
  in_background "$WL_WORK/compositor.log" DISPLAY="$DISPLAY" -- weston --backend=x11-backend.so --width=1590 \
    --height=990 --xwayland --config="$WL_WORK/weston.ini" --socket=wayland-test
  read_session_env
}

stop_compositor() {
  disown -a 2>/dev/null || true  # their end is no news
  as_root pkill -KILL -u "$DESKTOP_USER" 2>/dev/null || true
  wait_for "the compositor to end" 20 sh -c "! pgrep -u $DESKTOP_USER >/dev/null"
  [ -n "$WL_WORK" ] && as_root rm -rf "$WL_WORK"
  WL_WORK=""
}
