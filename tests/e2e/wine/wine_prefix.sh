#!/bin/sh
# The Wine prefix of one test run: booted once, kept warm by a persistent
# wineserver, ended at the end of the run. A prefix booted with a DPI shows
# its programs a screen of that density. While its server runs, Wine keeps
# the monitor of the screen the services started on, so that screen has the
# size of the tests' screens.
#   wine_prefix.sh start|stop <prefix directory> [dpi [screen size]]
set -e
action=$1
export WINEPREFIX=$2
dpi=${3:-}
screen=${4:-640x480}
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG=-all
case "$action" in
start)
    # A server left from an earlier run would carry its state into this one.
    wineserver -k </dev/null >/dev/null 2>&1 || true
    wineserver -w </dev/null >/dev/null 2>&1 || true
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        DISPLAY= wineboot -i >/dev/null 2>&1 || true
        # Without a window manager a managed window's close waits 2 s for an answer.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        if [ -n "$dpi" ]; then
            wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
        fi
        wineserver -w
    fi
    # Detached from our output, or the test runner would wait for it to end.
    wineserver -p </dev/null >/dev/null 2>&1 || true  # one may be running already
    # The prefix's services start with the first program; start them here,
    # where they cannot hold a test's output open. They get an X display of
    # their own for the moment: a desktop started without one would refuse
    # the windows of the programs that follow. When this display goes, the
    # desktop goes with it, and the next program starts one on its own.
    displayFile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp 3>"$displayFile" </dev/null >/dev/null 2>&1 &
    xvfb=$!
    for i in $(seq 50); do [ -s "$displayFile" ] && break; sleep 0.1; done
    DISPLAY=:$(cat "$displayFile") wine cmd.exe /c exit </dev/null >/dev/null 2>&1
    kill "$xvfb"
    wait "$xvfb" 2>/dev/null || true
    rm -f "$displayFile"
    ;;
stop)
    wineserver -k </dev/null >/dev/null 2>&1 || true
    wineserver -w </dev/null >/dev/null 2>&1 || true
    # The server leaves its folder, named for the prefix's device and inode,
    # in a folder of its own under the temporary folder.
    if [ -d "$WINEPREFIX" ]; then
        for folder in "${TMPDIR:-/tmp}"/wine-*/server-"$(stat -c %D "$WINEPREFIX")-$(printf %x "$(stat -c %i "$WINEPREFIX")")"; do
            if [ -d "$folder" ]; then rm -rf "$folder"; rmdir "${folder%/*}" 2>/dev/null || true; fi
        done
    fi
    ;;
esac
