#!/usr/bin/env bash
# Prints a test slip and one slip of a system through a real CUPS queue (cups-pdf), with the
# program's own printer, then checks the marks on the PDF the queue wrote. Starts cupsd when
# it is not running and stops it again afterwards; every wait is bounded. `make test-printer`
# installs CUPS, cups-pdf and pdftoppm first.
set -euo pipefail
BUILD_DIR=${1:-build}
QUEUE=QuintorPDF
export LC_ALL=C

say() { echo "test-printer: $*"; }
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

scheduler_running() { lpstat -r 2>/dev/null | grep -q 'scheduler is running'; }

cupsd_pid=""
work=$(mktemp -d)
export XDG_RUNTIME_DIR="$work/run"
mkdir -m 700 "$XDG_RUNTIME_DIR"
cleanup() {
    $sudo lpadmin -x "$QUEUE" 2>/dev/null || true
    if [ -n "$cupsd_pid" ]; then
        say "fermo cupsd (avviato da questo test)"
        $sudo kill "$cupsd_pid" 2>/dev/null || true
        for _ in $(seq 50); do kill -0 "$cupsd_pid" 2>/dev/null || break; sleep 0.2; done
    fi
    rm -rf "$work"
}
trap cleanup EXIT

if ! scheduler_running; then
    say "avvio cupsd"
    $sudo mkdir -p /run/cups
    $sudo /usr/sbin/cupsd -f &
    cupsd_pid=$!
    for _ in $(seq 100); do scheduler_running && break; sleep 0.2; done
    scheduler_running || { say "ERRORE: cupsd non risponde dopo 20 s"; exit 1; }
fi

ppd=$(ls /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null || true)
[ -n "$ppd" ] || { say "ERRORE: manca il PPD di cups-pdf"; exit 1; }
$sudo lpadmin -p "$QUEUE" -E -v cups-pdf:/ -P "$ppd" -o media=A4
$sudo cupsenable "$QUEUE"
$sudo cupsaccept "$QUEUE"
say "coda $QUEUE pronta"

# cups-pdf writes into the user's PDF folder (or its folder for anonymous jobs).
home_pdf="$(getent passwd "$(id -un)" | cut -d: -f6)/PDF"
checker="$BUILD_DIR/tests/printer_check"
[ -x "$checker" ] || { say "ERRORE: $checker non costruito"; exit 1; }
if ! timeout 240 "$checker" "$QUEUE" "$work" "$home_pdf" /var/spool/cups-pdf; then
    say "ERRORE: la prova di stampa non è riuscita"
    say "lavori in coda:"; lpstat -W all -o "$QUEUE" 2>/dev/null | tail -5 || true
    exit 1
fi
say "OK"
