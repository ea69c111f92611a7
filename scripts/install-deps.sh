#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only when some are missing.
set -euo pipefail
packages=(cmake g++ make pkg-config qt6-base-dev qt6-base-dev-tools libgl1-mesa-dev
          fonts-liberation2 libgtest-dev qt6-translations-l10n python3
          qt6-tools-dev qt6-documentation-tools libqt6sql6-sqlite
          desktop-file-utils appstream shared-mime-info xdg-utils dpkg-dev file)
# `install-deps.sh fuzz`: clang and its libFuzzer runtime too, for `make fuzz`.
[ "${1:-}" = fuzz ] && packages+=(clang libclang-rt-14-dev)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installo i pacchetti mancanti: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
