#!/usr/bin/env bash
# Runs the whole of .ci/run as root in a freshly bootstrapped minimal Debian 12
# (debootstrap --variant=minbase bookworm) where nothing is installed by hand: a tool that
# no script installs fails here, whatever the machine running this has. Everything is built
# cold (no compiler cache), so it takes long; it is not part of .ci/run.
#
#   scripts/ci-fresh-root.sh [FOLDER]
#
# FOLDER (default: a new folder in /var/tmp) receives the root and the log ci.log, and is
# removed at the end unless KEEP=1. The checkout's last commit is cloned into the root, its
# draws (../shared/data) copied beside it. MIRROR: the Debian mirror (default: the one apt
# uses here for bookworm). Needs root; installs debootstrap when it is missing.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
[ "$(id -u)" -eq 0 ] || { echo "ci-fresh-root: serve root (chroot, mount)" >&2; exit 1; }
bash "$repo/scripts/install-deps.sh" fresh-root
mirror="${MIRROR:-$(apt-get indextargets --format '$(SITE)' 'Release: bookworm' \
    'Component: main' 'Identifier: Packages' 2>/dev/null | head -n 1)}"
mirror="${mirror:-http://deb.debian.org/debian}"
folder="$(realpath -m "${1:-$(mktemp -d /var/tmp/quintor-ci-root.XXXXXX)}")"
root="$folder/debian"
log="$folder/ci.log"
mkdir -p "$folder"
[ ! -e "$root" ] || { echo "ci-fresh-root: $root esiste già" >&2; exit 1; }
say() { echo "ci-fresh-root: $*" | tee -a "$log"; }

mounted() { awk -v r="$root" '$2 == r || index($2, r "/") == 1 { print $2 }' /proc/mounts; }
cleanup() {
    # Whatever still runs inside (a cupsd left behind, a stuck test) holds the mounts.
    local pid
    for pid in /proc/[0-9]*; do
        [ "$(readlink "$pid/root" 2>/dev/null)" = "$root" ] && kill -9 "${pid#/proc/}" 2>/dev/null || true
    done
    sleep 1
    mounted | sort -r | while read -r m; do umount -l "$m" || true; done
    if [ -n "$(mounted)" ]; then
        say "ancora montato sotto $root: non lo cancello"
    elif [ "${KEEP:-0}" != 1 ]; then
        rm -rf "$root"
    fi
}
trap cleanup EXIT

start=$SECONDS
say "debootstrap --variant=minbase bookworm $root $mirror"
debootstrap --variant=minbase bookworm "$root" "$mirror" >"$folder/debootstrap.log" 2>&1 ||
    { tail -n 20 "$folder/debootstrap.log"; say "debootstrap non riuscito"; exit 1; }
say "debootstrap: $((SECONDS - start)) s"

# What an installed system has and debootstrap leaves out: name resolution for the network
# (apt) and for the machine's own name (CUPS).
cp /etc/resolv.conf "$root/etc/resolv.conf"
printf '127.0.0.1\tlocalhost\n127.0.1.1\t%s\n::1\tlocalhost ip6-localhost ip6-loopback\n' \
    "$(hostname)" >"$root/etc/hosts"
mount -t proc proc "$root/proc"
mount -t sysfs -o ro sysfs "$root/sys"
mount --rbind /dev "$root/dev"
mount --make-rslave "$root/dev"

# A fresh clone of the last commit, with the real draws where the tests look for them.
mkdir -p "$root/ci"
git clone -q --no-checkout "$repo" "$root/ci/quintor"
git -C "$root/ci/quintor" checkout -q --detach "$(git -C "$repo" rev-parse HEAD)"
if [ -d "$repo/../shared/data" ]; then
    mkdir -p "$root/ci/shared"
    cp -r "$repo/../shared/data" "$root/ci/shared/data"
fi
say "commit $(git -C "$repo" rev-parse --short HEAD); registro: $log"

# As CI runs it: root, a clean environment, no compiler cache.
touch "$folder/start"
status=0
ci_start=$SECONDS
chroot "$root" /usr/bin/env -i HOME=/root TERM=dumb \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    bash -c 'cd /ci/quintor && exec bash .ci/run' >>"$log" 2>&1 || status=$?
say ".ci/run: uscita $status, $((SECONDS - ci_start)) s"
grep -E '^(ci|test\.sh): ' "$log" || true
# The tests and checks have homes of their own: root's stays as debootstrap made it.
written=$(find "$root/root" -newer "$folder/start" ! -path "$root/root" | sed "s|^$root||")
[ -z "$written" ] || say "scritto nella cartella di root: $(echo "$written" | tr '\n' ' ')"
say "totale con debootstrap: $((SECONDS - start)) s"
exit "$status"
