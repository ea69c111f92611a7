#!/usr/bin/env bash
# Installs the Debian packages a command needs, only when some are missing.
# Works on a minimal Debian with bash and apt alone: make itself is among the packages.
#
#   install-deps.sh [GROUP...]     without a group: build
#
#   build    compiler, Qt, the test tools (pdftotext and pdftoppm among them): everything
#            `make`, `make run` and `make test` need
#   fuzz     clang and its libFuzzer runtime (`make fuzz`)
#   format   the pinned clang-format and git (`make format`, `make format-check`)
#   tidy     clang-tidy with its runner, and git (`make tidy`)
#   printer  CUPS, the PDF queue of cups-pdf and pdftoppm (`make test-printer`)
#   package  what builds and checks the .deb, and what package-test runs from it: lintian,
#            pdfinfo, man, bash-completion (`make package`, `make package-test`)
#   asan     the address and undefined-behaviour runtimes of GCC (`make test-asan`)
#   fresh-root  debootstrap and git (scripts/ci-fresh-root.sh)
set -euo pipefail
[ $# -eq 0 ] && set -- build
packages=()
for group in "$@"; do
    case "$group" in
        build) packages+=(cmake g++ make pkg-config qt6-base-dev qt6-base-dev-tools
                          libgl1-mesa-dev fonts-liberation2 libgtest-dev qt6-translations-l10n
                          python3 qt6-tools-dev qt6-documentation-tools libqt6sql6-sqlite
                          desktop-file-utils appstream shared-mime-info xdg-utils dpkg-dev file
                          libqt6svg6 poppler-utils) ;;
        fuzz) packages+=(clang libclang-rt-14-dev) ;;
        # Debian 12's clang-format: the Makefile calls clang-format-14 by that name, so the
        # layout never depends on which clang-format a machine has.
        format) packages+=(clang-format-14 git) ;;
        # run-clang-tidy-14 is in clang-tidy-14, and is a python3 script.
        tidy) packages+=(clang-tidy-14 python3 git) ;;
        printer) packages+=(cups printer-driver-cups-pdf poppler-utils) ;;
        package) packages+=(dpkg-dev file xdg-utils shared-mime-info lintian poppler-utils
                            man-db bash-completion) ;;
        asan) packages+=(libasan8 libubsan1) ;;
        fresh-root) packages+=(debootstrap git) ;;
        *) echo "install-deps.sh: gruppo sconosciuto: $group" >&2; exit 64 ;;
    esac
done
missing=()
for p in "${packages[@]}"; do
    [[ " ${missing[*]} " == *" $p "* ]] && continue
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

install_command="apt-get update && apt-get install -y --no-install-recommends ${missing[*]}"
cannot_install() {
    echo "Mancano questi pacchetti: ${missing[*]}" >&2
    echo "Per installarli, esegui come amministratore (root) questo comando:" >&2
    echo "    su -c '$install_command'" >&2
    echo "poi ripeti il comando di prima." >&2
    exit 1
}

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    # Without sudo rights the user is told what to run as root instead of a bare refusal.
    command -v sudo >/dev/null 2>&1 || cannot_install
    sudo -v 2>/dev/null || cannot_install
    sudo=(sudo)
fi

echo "Installo i pacchetti mancanti: ${missing[*]}"
# What apt and the packages' own scripts print (services that cannot start in a container,
# certificates, debconf) is kept in a log, shown only when the installation fails.
log=$(mktemp)
trap 'rm -f "$log"' EXIT
failed() {
    tail -n 40 "$log" >&2
    echo "Installazione non riuscita ($1): ${missing[*]}" >&2
    exit 1
}
export DEBIAN_FRONTEND=noninteractive
apt=("${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600)
"${apt[@]}" update -qq >"$log" 2>&1 || failed "apt-get update"
"${apt[@]}" install -y -qq --no-install-recommends "${missing[@]}" >>"$log" 2>&1 ||
    failed "apt-get install"
echo "Pacchetti installati: ${#missing[@]}"
