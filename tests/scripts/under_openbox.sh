#!/usr/bin/env bash
# Runs a GUI test program on a private X server with the openbox window manager, for the
# tests that need a real window manager's behaviour. $1: the test program. Exits 77 (skipped)
# when Xvfb or openbox is missing.
set -u
program="$1"
for tool in xvfb-run openbox; do
    command -v "$tool" >/dev/null || { echo "manca $tool: prova saltata"; exit 77; }
done
exec xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    openbox --sm-disable >/dev/null 2>&1 &
    manager=$!
    # The window manager is up once it has claimed the screen.
    for _ in $(seq 50); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
        sleep 0.1
    done
    QT_QPA_PLATFORM=xcb "$0"
    status=$?
    kill "$manager"
    exit $status' "$program"
