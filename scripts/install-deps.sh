#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only when some are missing.
# Works on a minimal Debian with bash and apt alone: make itself is among the packages.
set -euo pipefail
packages=(cmake g++ make pkg-config qt6-base-dev qt6-base-dev-tools libgl1-mesa-dev
          fonts-liberation2 libgtest-dev qt6-translations-l10n python3
          qt6-tools-dev qt6-documentation-tools libqt6sql6-sqlite
          desktop-file-utils appstream shared-mime-info xdg-utils dpkg-dev file libqt6svg6)
# `install-deps.sh fuzz`: clang and its libFuzzer runtime too, for `make fuzz`.
[ "${1:-}" = fuzz ] && packages+=(clang libclang-rt-14-dev)
missing=()
for p in "${packages[@]}"; do
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

echo "Installo i pacchetti mancanti: ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
    # Without sudo rights the user is told what to run as root instead of a bare refusal.
    command -v sudo >/dev/null 2>&1 || cannot_install
    sudo -v 2>/dev/null || cannot_install
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq || cannot_install
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" || cannot_install
