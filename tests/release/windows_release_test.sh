#!/usr/bin/env bash
# What a Windows player gets, under Wine in a prefix and an Xvfb of the
# test's own: the zip's files, the installer's /S, the shortcut, a game
# started from it that enters the Top Ten, the shortcut again once the Top
# Ten's folder is deleted, a second install over the first, and the silent
# uninstall.
#   windows_release_test.sh <dist dir>
set -uo pipefail
# Wine takes a closed standard input for its own socket; CI runs without one.
exec </dev/null
here=$(cd "$(dirname "$0")" && pwd)
dist=$(cd "$1" && pwd)
setup=$(echo "$dist"/quadrafall-*-windows-x64-setup.exe)
version=${setup##*/quadrafall-} && version=${version%-windows-x64-setup.exe}
zip=$dist/quadrafall-$version-windows-x64.zip
work=$(mktemp -d /tmp/quadrafall-release-XXXXXX)
# Started from here, a game that loses its folder leaves its Top Ten here.
cd "$work" || exit 1
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
xvfb=
finish() {
  timeout 60 "$here/../e2e/wine/wine_prefix.sh" stop "$WINEPREFIX"
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap finish EXIT
failures=0
check() {  # check <what> <command...>
  local what=$1 && shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
within() {  # within <seconds> <command...>: until it succeeds
  local tries=$(($1 * 5)) && shift
  for _ in $(seq $tries); do "$@" && return 0; sleep 0.2; done
  return 1
}
wine_program=$(type -P wine)
wine() { timeout 60 "$wine_program" "$@"; }  # every Wine command ends within a minute
unix() { timeout 60 winepath -u "$1" 2>/dev/null; }
gone() { [ ! -e "$1" ]; }
no_window() { ! xdotool search --name '^Quadrafall$' >/dev/null; }
no_entry() { ! wine reg query "$uninstall_key" >/dev/null 2>&1; }
same_as_zip() { cmp -s "$program" <(unzip -p "$zip" quadrafall.exe); }
other_window() { xdotool search --onlyvisible --class quadrafall.exe | grep -v "^$window\$"; }

echo "Windows release $version in $dist"
check "the zip holds quadrafall.exe, README.txt, LICENSE.txt" test "$(unzip -Z1 "$zip" | xargs)" = "quadrafall.exe README.txt LICENSE.txt"
check "README.txt and LICENSE.txt end every line with CR LF" bash -c "! unzip -p '$zip' README.txt LICENSE.txt | grep -qv $'\r\$'"

Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$work/display" </dev/null >/dev/null 2>&1 &
xvfb=$!
within 10 test -s "$work/display" || { echo "FAILED: no Xvfb"; exit 1; }
export DISPLAY=:$(cat "$work/display")
# Booted with the display: a desktop started without one refuses windows.
timeout 300 wineboot -i >/dev/null 2>&1
timeout 60 wineserver -w
[ -f "$WINEPREFIX/system.reg" ] || { echo "FAILED: Wine could not make its prefix"; exit 1; }
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
appdata_windows=$(wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')
appdata=$(unix "$appdata_windows")
scores=$appdata/Quadrafall
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quadrafall'
shortcut="$appdata/Microsoft/Windows/Start Menu/Programs/Quadrafall.lnk"

check "the installer's /S ends with status 0" wine "$setup" /S
entry=$(wine reg query "$uninstall_key" 2>/dev/null | tr -d '\r')
location=$(sed -n 's/^ *InstallLocation *REG_SZ *//p' <<<"$entry")
program=$(unix "$location")/quadrafall.exe
check "the program is installed, the same as in the zip" same_as_zip
check "the shortcut is in the Start menu" test -f "$shortcut"
check "the uninstall entry has all its values" test "$(sed -n 's/^ \+\([A-Za-z]\+\) .*/\1/p' <<<"$entry" | sort | xargs)" = \
  "DisplayIcon DisplayName DisplayVersion EstimatedSize InstallLocation NoModify NoRepair Publisher QuietUninstallString UninstallString"
check "its DisplayVersion is $version" grep -q "DisplayVersion *REG_SZ *$version\$" <<<"$entry"
check "the version resource reads $version" test "$(strings -el "$program" | grep -A1 -xE 'FileVersion|ProductVersion' | xargs)" = \
  "FileVersion $version -- ProductVersion $version"

installed_kb=$(( ($(cat "$(dirname "$program")"/* | wc -c) + 1023) / 1024 ))
check "its EstimatedSize is the $installed_kb KiB the program's folder takes, uninstaller and all" \
  grep -q "EstimatedSize *REG_DWORD *$(printf '0x%x' "$installed_kb")\$" <<<"$entry"

{ read -r target; read -r folder; read -r arguments; } < <(python3 "$here/read_shortcut.py" "$shortcut")
check "the shortcut starts the installed program" test "$(unix "$target")" = "$program"
check "the shortcut starts it in its own folder and names %APPDATA%\\Quadrafall for the Top Ten" test \
  "$(unix "$folder")|$arguments" = "$(dirname "$program")|--top-ten-folder \"$appdata_windows\\Quadrafall\""

# A Top Ten of scores below zero, which the game's 0 points enter.
mkdir -p "$scores"
for _ in $(seq 10); do printf '\xff\xff\xff\xffLow\0\0\0\0\0\0\0'; done >"$scores/highscores.dat"
wine start /unix "$shortcut" >/dev/null 2>&1
window=$(timeout 60 xdotool search --sync --name '^Quadrafall$' | head -1)
check "the shortcut starts the game" test -n "$window"
if [ -n "$window" ]; then
  sleep 1 && xdotool windowfocus "$window" && sleep 0.5
  # Level 9, then New: the well fills up within seconds and the name entry opens.
  xdotool key --delay 200 F10 Down Down Right Down Down Down Down Down Down Down Down Down Return F10 Down Return
  dialog=$(within 60 other_window && other_window | head -1)
  check "the game ends and asks for a name" test -n "$dialog"
  if [ -n "$dialog" ]; then
    sleep 0.3 && xdotool windowfocus "$dialog" && sleep 0.3
    xdotool key --delay 200 Tab && xdotool type --delay 100 Shortcut && xdotool key --delay 200 Return
  fi
  check "highscores.dat in %APPDATA%\\Quadrafall holds the name" within 10 grep -q Shortcut "$scores/highscores.dat"
  xdotool windowfocus "$window" && xdotool key --delay 200 F10 Down Up Return
  check "the game ends from its menu" within 15 no_window
fi

# The player deletes the Top Ten's folder: the shortcut still starts the game,
# which makes the folder again and keeps its Top Ten there ("Reset Scores"
# stores it).
rm -rf "$scores"
wine start /unix "$shortcut" >/dev/null 2>&1
window=$(timeout 60 xdotool search --sync --name '^Quadrafall$' | head -1)
check "with the folder deleted, the shortcut starts the game" test -n "$window"
if [ -n "$window" ]; then
  sleep 1 && xdotool windowfocus "$window" && sleep 0.5
  xdotool key --delay 200 F10 Down Down Down Return
  dialog=$(within 20 other_window && other_window | head -1)
  [ -n "$dialog" ] && sleep 0.3 && xdotool windowfocus "$dialog" && sleep 0.3 && xdotool key --delay 200 Tab space
  check "its Top Ten is in %APPDATA%\\Quadrafall again" within 10 grep -qs Anonymous "$scores/highscores.dat"
  xdotool windowfocus "$window" && xdotool key --delay 200 F10 Down Up Return
  check "the game ends from its menu again" within 15 no_window
fi

printf 'damaged' >"$program"
check "a second install over the first ends with status 0" wine "$setup" /S
check "it replaces the installed program and keeps the Top Ten" bash -c \
  "cmp -s '$program' <(unzip -p '$zip' quadrafall.exe) && grep -q Anonymous '$scores/highscores.dat'"

check "the uninstaller's /S ends with status 0" wine "$location\\uninstall.exe" /S
# It copies itself away and returns at once; the copy does the work.
check "uninstalling removes the program folder" within 60 gone "$(dirname "$program")"
check "uninstalling removes the shortcut" within 10 gone "$shortcut"
check "uninstalling removes the uninstall entry" within 10 no_entry
check "uninstalling keeps highscores.dat" grep -q Anonymous "$scores/highscores.dat"
echo "$failures failed"
[ "$failures" -eq 0 ]
