#!/usr/bin/env bash
# Checks the Debian package built in the build folder with lintian, installs it on this
# machine, checks that the desktop knows it, runs quintor-cli's commands (print and its PDF
# painter included), its manual page and its bash completion from the installed files, starts
# quintor briefly, then removes the package again. Needs root (sudo is used otherwise) and dpkg.
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

echo "== lintian"
# Errors and warnings fail; the rest (info, pedantic) is shown for the reader.
lintian --fail-on error,warning --display-info "$deb" >"$work/lintian.log" 2>&1 ||
    { cat "$work/lintian.log"; echo "lintian segnala errori o avvisi"; exit 1; }
cat "$work/lintian.log"

echo "== installo $deb"
$apt install --no-install-recommends "$(realpath "$deb")" >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log"; exit 1; }
for f in /usr/bin/quintor /usr/bin/quintor-cli /usr/share/quintor/guida/quintor.qhc \
         /usr/lib/quintor/quintor-print /usr/lib/quintor/funzioni/filtrosomma \
         /usr/share/man/man1/quintor.1.gz /usr/share/man/man1/quintor-cli.1.gz \
         /usr/share/doc/quintor/copyright /usr/share/doc/quintor/changelog.gz \
         /usr/share/bash-completion/completions/quintor-cli \
         /usr/share/applications/it.quintor.Quintor.desktop \
         /usr/share/icons/hicolor/scalable/apps/it.quintor.Quintor.svg \
         /usr/share/metainfo/it.quintor.Quintor.metainfo.xml; do
    [ -s "$f" ] || { echo "manca $f"; exit 1; }
done
grep -q 'application/x-quintor-system:\*\.qtr' /usr/share/mime/globs2 ||
    { echo "il tipo dei file .qtr non è registrato"; exit 1; }
app="$(env -u XDG_CURRENT_DESKTOP xdg-mime query default application/x-quintor-system)"
[ "$app" = it.quintor.Quintor.desktop ] || { echo "i file .qtr si aprono con '$app'"; exit 1; }

echo "== quintor-cli --version, --help"
cli=/usr/bin/quintor-cli
version="$("$cli" --version)"
[ "$version" = "quintor-cli $(dpkg-deb -f "$deb" Version)" ] ||
    { echo "quintor-cli --version dice '$version'"; exit 1; }
"$cli" --help | grep -q '^  print ' || { echo "quintor-cli --help non elenca print"; exit 1; }

echo "== quintor-cli show"
# An empty system with one final column: the 791-byte header, then six numbers.
(head -c 791 /dev/zero; printf '\001\002\003\004\005\006') > "$work/prova.qtr"
out="$("$cli" show "$work/prova.qtr")"
grep -qx ' 1  2  3  4  5  6' <<<"$out" || { echo "$out"; exit 1; }

echo "== quintor-cli import, slips, print --pdf"
# Eleven more columns, so that the slips take more than one page.
for i in $(seq 0 10); do
    echo "$((i + 7)) $((i + 20)) $((i + 33)) $((i + 46)) $((i + 59)) $((i + 72))"
done >"$work/colonne.txt"
"$cli" import "$work/prova.qtr" "$work/colonne.txt" >/dev/null
slips="$("$cli" slips "$work/prova.qtr" --layout verticale --page 4000x6000 |
    awk '{ if ($1 > n) n = $1 } END { print n + 0 }')"
[ "$slips" -ge 2 ] || { echo "slips dà $slips schedine per 12 colonne"; exit 1; }
pages_of() { pdfinfo "$1" | awk '$1 == "Pages:" { print $2 }'; }
for layout in verticale orizzontale carta; do
    out="$("$cli" print "$work/prova.qtr" --layout "$layout" --pdf "$work/$layout.pdf")" ||
        { echo "quintor-cli print --layout $layout non riesce"; exit 1; }
    pages="$(pages_of "$work/$layout.pdf")"
    echo "   $layout: $out, il PDF ha $pages pagine"
    [ "$out" = "pagine: $pages" ] || { echo "quintor-cli dice '$out'"; exit 1; }
done
# One page per slip: the slips the slips command counts.
[ "$(pages_of "$work/verticale.pdf")" -eq "$slips" ] ||
    { echo "il PDF verticale non ha una pagina per ognuna delle $slips schedine"; exit 1; }

echo "== man quintor-cli, man quintor"
for page in quintor-cli quintor; do
    text="$(MANPAGER=cat MANWIDTH=80 man "$page" 2>&1)" || { echo "$text"; exit 1; }
    grep -q "^NOME" <<<"$text" && grep -q "$page -" <<<"$text" ||
        { echo "man $page non mostra la pagina:"; echo "$text" | head -n 20; exit 1; }
done
# Every command of the program has its paragraph in the manual.
manual="$(MANPAGER=cat MANWIDTH=200 man quintor-cli)"
for command in $("$cli" --help | awk '/^comandi:/ { on = 1; next } on && /^  [a-z]/ { print $1 }'); do
    grep -q "^       $command " <<<"$manual" ||
        { echo "man quintor-cli non spiega il comando $command"; exit 1; }
done

echo "== completamento di bash"
# As an interactive shell has it: bash-completion loads the file for quintor-cli on demand.
mkdir "$work/completamento"
touch "$work/completamento/"{sistema.qtr,vincenti.dat,note.txt}
completions="$(cd "$work/completamento" && bash -c '
    source /usr/share/bash-completion/bash_completion
    _completion_loader quintor-cli
    complete_line() {
        COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
        COMPREPLY=(); _quintor_cli; echo "${COMPREPLY[*]}"
    }
    complete_line quintor-cli pri
    complete_line quintor-cli print --la
    complete_line quintor-cli print sistema.qtr --layout ""
    complete_line quintor-cli show ""
    complete_line quintor-cli select sistema.qtr --archive ""' 2>"$work/completion.log")" ||
    { cat "$work/completion.log"; exit 1; }
expected="print
--layout
verticale orizzontale carta
sistema.qtr
vincenti.dat"
[ "$completions" = "$expected" ] ||
    { echo "il completamento dà:"; echo "$completions"; cat "$work/completion.log"; exit 1; }

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
for f in /usr/bin/quintor /usr/lib/quintor /usr/share/quintor /usr/share/man/man1/quintor-cli.1.gz; do
    [ ! -e "$f" ] || { echo "$f è rimasto"; exit 1; }
done
echo "pacchetto: ok"
