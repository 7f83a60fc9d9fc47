#!/usr/bin/env bash
# Installs the Windows program under Wine from its MSI, quietly, as a user would: the program lands in
# Program Files with a Start-menu entry; started from elsewhere it keeps its notes in %APPDATA%\Skyslate2;
# uninstalling removes the program and keeps the notes, and a reinstalled program finds them again.
# Needs a display (DISPLAY) and the Wine prefix (setup_wine); ./test runs it.
set -euo pipefail
source "$(dirname "$0")/../../scripts/common.sh"
trap 'wineserver -k 2>/dev/null || true' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

zip=$(ls "$ROOT"/build/mingw/Skyslate2-*-portable.zip)
[ "$(cmake -E tar tf "$zip")" = "$(printf 'Skyslate2/\nSkyslate2/Skyslate2.exe')" ] || fail "the portable zip holds: $(cmake -E tar tf "$zip")"

msi=$(winepath -w "$(ls "$ROOT"/build/mingw/Skyslate2-*-x64.msi)")
installed="$WINEPREFIX/drive_c/Program Files/Skyslate2/Skyslate2.exe"
appdata=$(winepath -u "$(wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')")
notes="$appdata/Skyslate2/TextSetting.ini"
start_menu_entry() { find "$WINEPREFIX/drive_c" -path '*Start Menu*' -name 'Skyslate2.lnk' | grep -q .; }
install() { wine msiexec /i "$msi" /qn || fail "msiexec /i"; wineserver -w; [ -f "$installed" ] || fail "not installed"; }
start_installed() {  # from the user's profile, as from the Start menu: a folder without notes
  (cd "$WINEPREFIX/drive_c/users" && wine 'C:\Program Files\Skyslate2\Skyslate2.exe' >/dev/null 2>&1 &)
}

rm -rf "$appdata/Skyslate2"
install
start_menu_entry || fail "no Start-menu entry"
start_installed
wait_for "the notes in %APPDATA%\\Skyslate2" 60 test -s "$notes" || fail "no notes in %APPDATA%\\Skyslate2"
# The dialogs carry the program's icon: Wine hands a window's icon to the X server.
manager=$(xdotool search --name '^SettingManager$' | head -n 1)
xprop -id "$manager" _NET_WM_ICON | grep -q "Icon (32 x 32)" || fail "the manager has no window icon"
sleep 1
wineserver -k || true
[ ! -e "$WINEPREFIX/drive_c/Program Files/Skyslate2/TextSetting.ini" ] || fail "notes were written into Program Files"

# The user's own note, then uninstall: the program goes, the notes stay.
printf '\xff\xfe' >"$notes"
printf '[Text_0]\r\nisShow=1\r\npositionX=300\r\npositionY=200\r\nwidth=700\r\nheight=300\r\ntext=kept\r\n' | iconv -f UTF-8 -t UTF-16LE >>"$notes"
before=$(md5sum <"$notes")
wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null | tr -d '\r' |
  grep -A30 "DisplayName.*Skyslate2" | grep -q "NoModify.*0x1" || fail "Apps and Features offers a Modify"
wine msiexec /x "$msi" /qn || fail "msiexec /x"
wineserver -w
[ ! -e "$installed" ] || fail "the program is still there after uninstalling"
! start_menu_entry || fail "the Start-menu entry is still there after uninstalling"
[ "$(md5sum <"$notes")" = "$before" ] || fail "uninstalling changed the notes"

install
start_installed
wait_for "the user's note on screen" 60 sh -c "xwininfo -root -tree | grep -q '\"skyslate2.exe\")  700x300+300+200'" ||
  fail "the reinstalled program did not show the user's note"
[ "$(md5sum <"$notes")" = "$before" ] || fail "the reinstalled program changed the notes"
wineserver -k || true
wine msiexec /x "$msi" /qn >/dev/null 2>&1 || true
echo "The Windows installation: passed"
