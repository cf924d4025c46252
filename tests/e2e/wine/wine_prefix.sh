#!/bin/sh
# The Wine prefix of one test run: booted once, kept warm by a persistent
# wineserver, ended at the end of the run.
#   wine_prefix.sh start|stop <prefix directory>
set -e
action=$1
export WINEPREFIX=$2
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG=-all
case "$action" in
start)
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        DISPLAY= wineboot -i >/dev/null 2>&1 || true
        # Without a window manager a managed window's close waits 2 s for an answer.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        wineserver -w
    fi
    # Detached from our output, or the test runner would wait for it to end.
    wineserver -p </dev/null >/dev/null 2>&1
    # The prefix's services start with the first program; start them here,
    # where they cannot hold a test's output open.
    wine cmd.exe /c exit </dev/null >/dev/null 2>&1
    ;;
stop)
    wineserver -k </dev/null >/dev/null 2>&1 || true
    ;;
esac
