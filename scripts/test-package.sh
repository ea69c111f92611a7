#!/usr/bin/env bash
# Installs the Debian package built in the build folder on this machine, checks that the
# desktop knows it, runs quintor-cli on a system file and starts quintor briefly, then
# removes the package again. Needs root (sudo is used otherwise) and dpkg.
set -euo pipefail
build="${1:-build}"
deb="$(realpath "$(ls -t "$build"/quintor_*.deb | head -n 1)")"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
if dpkg-query -W -f='${Status}' quintor 2>/dev/null | grep -q 'install ok installed'; then
    echo "quintor è già installato: la prova non lo tocca"
    exit 1
fi
apt="$sudo apt-get -o DPkg::Lock::Timeout=600 -y -qq"
work="$(mktemp -d)"
# A user of their own, with a home in the work folder: the program folder becomes their data
# folder, made on the first start, and nothing reaches the real home.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" \
       XDG_DATA_HOME="$work/home/.local/share" XDG_CACHE_HOME="$work/home/.cache" \
       XDG_RUNTIME_DIR="$work/run"
unset QUINTOR_HOME
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
cleanup() {
    $apt purge quintor >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT

echo "== installo $deb"
$apt install --no-install-recommends "$(realpath "$deb")" >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log"; exit 1; }
for f in /usr/bin/quintor /usr/bin/quintor-cli /usr/share/quintor/guida/quintor.qhc \
         /usr/share/applications/it.quintor.Quintor.desktop \
         /usr/share/icons/hicolor/scalable/apps/it.quintor.Quintor.svg \
         /usr/share/metainfo/it.quintor.Quintor.metainfo.xml; do
    [ -s "$f" ] || { echo "manca $f"; exit 1; }
done
grep -q 'application/x-quintor-system:\*\.qtr' /usr/share/mime/globs2 ||
    { echo "il tipo dei file .qtr non è registrato"; exit 1; }
app="$(env -u XDG_CURRENT_DESKTOP xdg-mime query default application/x-quintor-system)"
[ "$app" = it.quintor.Quintor.desktop ] || { echo "i file .qtr si aprono con '$app'"; exit 1; }

echo "== quintor-cli show"
# An empty system with one final column: the 791-byte header, then six numbers.
(head -c 791 /dev/zero; printf '\001\002\003\004\005\006') > "$work/prova.qtr"
out="$(quintor-cli show "$work/prova.qtr")"
grep -qx ' 1  2  3  4  5  6' <<<"$out" || { echo "$out"; exit 1; }

echo "== quintor --platform offscreen"
cd "$work"
quintor --platform offscreen "$work/prova.qtr" >"$work/quintor.log" 2>&1 &
pid=$!
sleep 4
# Still running after 4 seconds: it started and stayed up.
if ! kill -0 "$pid" 2>/dev/null; then
    status=0
    wait "$pid" || status=$?
    cat "$work/quintor.log"
    echo "quintor è uscito con $status"
    exit 1
fi
# The plugins it has loaded by now: platform, icon engine, ...
plugins="$(grep -o '/[^ ]*/qt6/plugins/[^ ]*' "/proc/$pid/maps" | sort -u || true)"
kill "$pid"
wait "$pid" || true

echo "== i plugin caricati vengono da pacchetti richiesti"
# dpkg-shlibdeps sees only the libraries linked in: a plugin's package must be named in
# Depends, or come with one that is.
depends="$(dpkg-deb -f "$deb" Depends | tr ',|' '\n\n' | awk '{print $1}' | sed '/^$/d')"
provided="$depends"
for d in $depends; do
    provided+=$'\n'"$(apt-cache depends --installed "$d" 2>/dev/null |
        awk '$1 == "Depends:" {print $2}' | sed 's/:.*//')"
done
[ -n "$plugins" ] || { echo "nessun plugin caricato: la prova non vede nulla"; exit 1; }
for plugin in $plugins; do
    owner="$(dpkg -S "$plugin" 2>/dev/null | head -n 1 | cut -d: -f1)"
    echo "   $plugin ($owner)"
    grep -qx "$owner" <<<"$provided" ||
        { echo "$plugin viene da '$owner', che il pacchetto non richiede"; exit 1; }
done
[ -s "$XDG_DATA_HOME/Quintor/vincenti.dat" ] ||
    { echo "la cartella dei dati non ha l'archivio"; exit 1; }
for f in consecutivi.py consecutivi.txt; do
    [ -e "$XDG_DATA_HOME/Quintor/$f" ] || { echo "manca la funzione di esempio $f"; exit 1; }
done

echo "== rimuovo il pacchetto"
$apt purge quintor >/dev/null
[ ! -e /usr/bin/quintor ] || { echo "/usr/bin/quintor è rimasto"; exit 1; }
echo "pacchetto: ok"
