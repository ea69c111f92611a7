#!/usr/bin/env bash
# Installs a build into a throwaway prefix and checks what a Linux desktop reads from it:
# the files are there, the .desktop and AppStream files validate, .qtr files get their type
# and the type opens with Quintor.
set -euo pipefail
build="$1"
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
cmake --install "$build" --prefix "$root/usr" >/dev/null
share="$root/usr/share"
id=it.quintor.Quintor
for f in bin/quintor bin/quintor-cli share/quintor/guida/quintor.qhc share/quintor/guida/quintor.qch \
         lib/quintor/quintor-print lib/quintor/funzioni/filtrosomma \
         share/man/man1/quintor.1.gz share/man/man1/quintor-cli.1.gz \
         share/doc/quintor/copyright share/doc/quintor/changelog.gz \
         share/bash-completion/completions/quintor-cli \
         "share/icons/hicolor/scalable/apps/$id.svg" "share/mime/packages/$id.xml"; do
    [ -s "$root/usr/$f" ] || { echo "manca $f"; exit 1; }
done
# Programs of this machine's architecture never among the shared files.
compiled="$(find "$share" -type f -exec file {} + | grep -E ': +ELF' || true)"
[ -z "$compiled" ] || { echo "programmi compilati sotto share/:"; echo "$compiled"; exit 1; }
# The installed quintor-cli prints with the installed painter.
(head -c 791 /dev/zero; printf '\001\002\003\004\005\006') > "$root/prova.qtr"
"$root/usr/bin/quintor-cli" print "$root/prova.qtr" --layout carta --pdf "$root/prova.pdf" |
    grep -qx 'pagine: 1' || { echo "quintor-cli print non riesce dalla cartella installata"; exit 1; }
desktop-file-validate "$share/applications/$id.desktop"
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml"

# Only this prefix counts, not what the machine has installed.
export XDG_DATA_HOME="$share" XDG_DATA_DIRS="$share" XDG_CONFIG_HOME="$root/config" \
       XDG_CONFIG_DIRS="$root/config"
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION
update-mime-database "$share/mime"
grep -qx '50:application/x-quintor-system:\*\.qtr' "$share/mime/globs2" ||
    { echo "il tipo dei file .qtr non è registrato"; exit 1; }
update-desktop-database "$share/applications"
app="$(xdg-mime query default application/x-quintor-system)"
[ "$app" = "$id.desktop" ] || { echo "i file .qtr si aprono con '$app'"; exit 1; }
echo "installazione in $root/usr: ok"
