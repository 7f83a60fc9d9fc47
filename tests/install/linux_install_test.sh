#!/usr/bin/env bash
# Installs the Linux program into a temporary prefix and checks what a desktop needs of it (program,
# menu entry, icons, AppStream data), builds the Debian package and checks its contents and dependencies,
# and starts the installed program from / : its notes go to the user's own folder. Needs a display
# (DISPLAY); ./test runs it.
set -euo pipefail
source "$(dirname "$0")/../../scripts/common.sh"
work=$(mktemp -d)
program_pid=""
trap '[ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }
app=io.github.skyslate2.skyslate2

prefix=$work/prefix
cmake --install "$ROOT/build/linux" --prefix "$prefix" >/dev/null
expected=(bin/skyslate2 "share/applications/$app.desktop" "share/metainfo/$app.metainfo.xml"
          share/icons/hicolor/scalable/apps/skyslate2.svg share/icons/hicolor/32x32/apps/skyslate2-locked.png
          share/man/man1/skyslate2.1.gz share/doc/skyslate2/copyright share/doc/skyslate2/changelog.gz)
for size in 16 24 32 48 64 128 256; do expected+=("share/icons/hicolor/${size}x${size}/apps/skyslate2.png"); done
for file in "${expected[@]}"; do [ -f "$prefix/$file" ] || fail "not installed: $file"; done
for size in 16 24 32 48 64 128 256; do
  [ "$(identify -format '%wx%h' "$prefix/share/icons/hicolor/${size}x${size}/apps/skyslate2.png")" = "${size}x${size}" ] ||
    fail "the ${size}x${size} icon has another size"
done
desktop-file-validate "$prefix/share/applications/$app.desktop" || fail "the desktop entry"
appstreamcli validate --pedantic --no-net "$prefix/share/metainfo/$app.metainfo.xml" || fail "the AppStream data"
man -l "$prefix/share/man/man1/skyslate2.1.gz" 2>/dev/null | grep -q -- "--settings-dir" || fail "the man page"
"$prefix/bin/skyslate2" --version | grep -q "^Skyslate2 [0-9]" || fail "--version of the installed program"

log "The Debian package"
(cd "$ROOT/build/linux" && cpack -G DEB -B "$work/deb" >/dev/null) || fail "cpack"
deb=$(ls "$work"/deb/skyslate2_*.deb)
contents=$(dpkg-deb -c "$deb")
for file in "${expected[@]}"; do grep -q " \./usr/$file\$" <<<"$contents" || fail "not in the package: /usr/$file"; done
# What Debian's own checker says of it, at its default level: neither an error nor a warning.
lintian --fail-on error,warning "$deb" || fail "lintian"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libqt6dbus6 libxcb1 libc6; do
  grep -q "$library" <<<"$depends" || fail "the package does not depend on $library: $depends"
done

log "The installed program, started from / with a fresh user folder"
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/run
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
(cd / && exec "$prefix/bin/skyslate2") >"$work/program.log" 2>&1 &
program_pid=$!
wait_for "the notes in the user's folder" 20 test -s "$XDG_CONFIG_HOME/skyslate2/TextSetting.ini" ||
  { cat "$work/program.log"; fail "no notes in \$XDG_CONFIG_HOME/skyslate2"; }
kill "$program_pid" && wait "$program_pid" || fail "the installed program did not end cleanly"
program_pid=""
grep -q "noteId=" "$XDG_CONFIG_HOME/skyslate2/TextSetting.ini" || fail "the first-run note was not saved"
# Start with login turned on by hand in the file: the entry names the program to try, so that a session
# skips it once the program is removed.
sed -i 's/^autoStart=0/autoStart=1/' "$XDG_CONFIG_HOME/skyslate2/TextSetting.ini"
(cd / && exec "$prefix/bin/skyslate2") >"$work/program.log" 2>&1 &
program_pid=$!
entry=$XDG_CONFIG_HOME/autostart/vezuDeve_v2.desktop
wait_for "the login-start entry" 20 test -s "$entry" || { cat "$work/program.log"; fail "no login-start entry"; }
kill "$program_pid" && wait "$program_pid" || fail "the installed program did not end cleanly"
program_pid=""
grep -qx "TryExec=$prefix/bin/skyslate2" "$entry" || fail "the login-start entry has no TryExec: $(cat "$entry")"
grep -qx "Icon=skyslate2" "$entry" || fail "the login-start entry has no icon"
[ ! -e /TextSetting.ini ] || fail "notes were written into /"
echo "The Linux installation: passed"
