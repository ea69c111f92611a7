#!/usr/bin/env bash
# Runs a GUI test program on a private X server with the openbox window manager, for the
# tests that need a real window manager's behaviour. $1: the test program. Exits 77 (skipped)
# when Xvfb or openbox is missing.
set -u
program="$1"
for tool in Xvfb openbox xprop; do
    command -v "$tool" >/dev/null || { echo "manca $tool: prova saltata"; exit 77; }
done
work=$(mktemp -d)
trap 'kill $manager $server 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
manager=
# The server picks a free display itself and writes its number: no race with other X servers
# started at the same moment (xvfb-run -a can hand two runs the same display, and the second
# window manager then gives up because the first owns the screen).
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
server=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || { echo "Xvfb non è partito:"; cat "$work/xvfb.log"; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"
# On a loaded machine the server may not take connections yet when it names its display.
for _ in $(seq 100); do
    xprop -root >/dev/null 2>&1 && break
    sleep 0.1
done
for _ in 1 2 3; do
    openbox --sm-disable >"$work/openbox.log" 2>&1 &
    manager=$!
    # The window manager is up once it has claimed the screen.
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
        kill -0 "$manager" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$manager" 2>/dev/null && break
    sleep 1
done
if ! kill -0 "$manager" 2>/dev/null; then
    echo "openbox è terminato prima della prova:"
    cat "$work/openbox.log"
    exit 1
fi
QT_QPA_PLATFORM=xcb "$program"
status=$?
kill -0 "$manager" 2>/dev/null || { echo "openbox è terminato durante la prova:"; cat "$work/openbox.log"; }
exit $status
