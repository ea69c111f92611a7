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
conf=/etc/cups/cups-pdf-$QUEUE.conf
work=$(mktemp -d)
# A home of its own: nothing the printing writes reaches the user's.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share" \
       XDG_CACHE_HOME="$work/home/.cache" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"
# The queue writes its PDFs here, in the build folder, where they stay for a look afterwards.
out="$(realpath -m "$BUILD_DIR")/test-printer"
rm -rf "$out"
mkdir -p "$out"
# Where cups-pdf writes when it cannot read the queue's own settings (AppArmor lets it read
# only /etc/cups/cups-pdf.conf): what the test printed there is moved into $out afterwards.
elsewhere=("$(getent passwd "$(id -un)" | cut -d: -f6)/PDF" /var/spool/cups-pdf)
touch "$work/start"
cleanup() {
    $sudo lpadmin -x "$QUEUE" 2>/dev/null || true
    $sudo rm -f "$conf"
    if [ -n "$cupsd_pid" ]; then
        say "fermo cupsd (avviato da questo test)"
        $sudo kill "$cupsd_pid" 2>/dev/null || true
        for _ in $(seq 50); do kill -0 "$cupsd_pid" 2>/dev/null || break; sleep 0.2; done
    fi
    local stray
    stray=$($sudo find "${elsewhere[@]}" -name '*.pdf' -newer "$work/start" 2>/dev/null || true)
    if [ -n "$stray" ]; then
        say "cups-pdf ha scritto fuori da $out: sposto lì ${stray//$'\n'/ }"
        while read -r f; do $sudo mv "$f" "$out/"; done <<<"$stray"
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
# The queue's own settings: the system's, with the output folder in the build folder
# (cups-pdf reads cups-pdf-NAME.conf for the device cups-pdf:/NAME).
{ grep -v '^Out[[:space:]]' /etc/cups/cups-pdf.conf; echo "Out $out"; } | $sudo tee "$conf" >/dev/null
# lpadmin's notice that PPD drivers are deprecated is not a fault of this test.
if ! errors=$($sudo lpadmin -p "$QUEUE" -E -v "cups-pdf:/$QUEUE" -P "$ppd" -o media=A4 2>&1); then
    say "ERRORE: lpadmin: $errors"
    exit 1
fi
grep -v 'drivers are deprecated' <<<"$errors" | sed '/^$/d' >&2 || true
$sudo cupsenable "$QUEUE"
$sudo cupsaccept "$QUEUE"
say "coda $QUEUE pronta"

checker="$BUILD_DIR/tests/printer_check"
[ -x "$checker" ] || { say "ERRORE: $checker non costruito"; exit 1; }
if ! timeout 240 "$checker" "$QUEUE" "$work" "$BUILD_DIR/lib/quintor/quintor-print" "$out" "${elsewhere[@]}"; then
    say "ERRORE: la prova di stampa non è riuscita"
    say "lavori in coda:"; lpstat -W all -o "$QUEUE" 2>/dev/null | tail -5 || true
    exit 1
fi
# A queue that refuses jobs: the window must say so and not move on to the next slip.
$sudo cupsreject "$QUEUE"
refused=0
timeout 120 "$checker" --rifiutata "$QUEUE" "$work" || refused=$?
$sudo cupsaccept "$QUEUE"
if [ "$refused" -ne 0 ]; then
    say "ERRORE: il lavoro rifiutato dalla coda non è stato segnalato come tale"
    exit 1
fi
say "OK (i PDF sono in $out)"
