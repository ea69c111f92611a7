#!/usr/bin/env bash
# The two set-up commands on a machine with bash and apt only: every other tool the scripts
# meet is a stand-in in a private bin folder, so nothing is installed and no root is needed.
set -uo pipefail
root="$1"
build="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FALLITO: $*" >&2; failures=$((failures + 1)); }

setup_machine() { # $1: packages missing, every other one is installed
    rm -rf "$work/bin" "$work/state"
    mkdir -p "$work/bin" "$work/state/missing"
    for tool in bash grep dirname cat mktemp tail rm; do ln -s "$(command -v "$tool")" "$work/bin/$tool"; done
    for p in $1; do touch "$work/state/missing/$p"; done
    printf '#!/bin/bash\necho "make $*" >> "$STATE/make.log"\n[ "$1" != "${FAKE_MAKE_FAIL:-}" ] || exit 2\n' \
        > "$work/state/make"
    /bin/chmod +x "$work/state/make"
    [ -e "$work/state/missing/make" ] || /bin/cp "$work/state/make" "$work/bin/make"
    cat > "$work/bin/dpkg-query" <<'FAKE'
#!/bin/bash
[ -e "$STATE/missing/${!#}" ] || printf 'install ok installed'
exit 0
FAKE
    cat > "$work/bin/apt-get" <<'FAKE'
#!/bin/bash
echo "apt-get $*" >> "$STATE/apt.log"
[[ " $* " == *" update "* ]] && exit 0
for p in "$@"; do
    case "$p" in -*|*=*|install) ;; *) rm -f "$STATE/missing/$p" ;; esac
    [ "$p" = make ] && /bin/cp "$STATE/make" "$STATE/../bin/make"
done
exit 0
FAKE
    printf '#!/bin/bash\necho "$FAKE_UID"\n' > "$work/bin/id"
    /bin/chmod +x "$work/bin/dpkg-query" "$work/bin/apt-get" "$work/bin/id"
}

run_script() { # $1: script, $2: user id
    STATE="$work/state" FAKE_UID="$2" PATH="$work/bin" bash "$root/$1" \
        >"$work/out" 2>"$work/err"
}


# Root on a machine without make: make is installed, then called with the README's target.
for script in test.sh run.sh; do
    setup_machine make
    run_script "$script" 0 || fail "$script come root: uscita $?: $(cat "$work/err")"
    grep -q 'install -y.* make$' "$work/state/apt.log" || fail "$script non installa make"
    expected="make ${script%.sh}"
    [ "$script" = test.sh ] && expected=$'make build\nmake test'
    [ "$(cat "$work/state/make.log" 2>/dev/null)" = "$expected" ] || fail "$script non chiama $expected"
done

# Everything installed: apt is never called.
setup_machine ""
run_script test.sh 1000 || fail "tutto installato: uscita $?"
[ "$(cat "$work/state/make.log" 2>/dev/null)" = $'make build\nmake test' ] ||
    fail "tutto installato: make non chiamato"
[ ! -e "$work/state/apt.log" ] || fail "apt-get chiamato senza pacchetti mancanti"

# A build that fails stops test.sh with its status, and the last lines say which step failed.
setup_machine ""
FAKE_MAKE_FAIL=build run_script test.sh 1000
status=$?
[ "$status" -eq 2 ] || fail "compilazione fallita: uscita $status"
[ "$(cat "$work/state/make.log" 2>/dev/null)" = "make build" ] || fail "test eseguiti dopo una compilazione fallita"
grep -qx 'test.sh: make build: NON RIUSCITO (uscita 2) in [0-9]* s (CPU [0-9]* s)' "$work/out" ||
    fail "il riepilogo non nomina il passo fallito: $(cat "$work/out")"

# A user who cannot become root (no sudo, or sudo refusing him) is told in Italian what is
# missing and the one command to run as root, and nothing is built.
for sudo_kind in none refusing; do
    setup_machine make
    if [ "$sudo_kind" = refusing ]; then
        printf '#!/bin/bash\necho "user is not in the sudoers file" >&2\nexit 1\n' > "$work/bin/sudo"
        /bin/chmod +x "$work/bin/sudo"
    fi
    run_script test.sh 1000 && fail "sudo $sudo_kind: riuscito senza installare"
    grep -q '^Mancano questi pacchetti: make$' "$work/err" || fail "sudo $sudo_kind: $(cat "$work/err")"
    ! grep -q 'Installo' "$work/out" "$work/err" || fail "sudo $sudo_kind: annuncia un'installazione che non fa"
    grep -qF "su -c 'apt-get update && apt-get install -y --no-install-recommends make'" \
        "$work/err" || fail "sudo $sudo_kind: manca il comando da eseguire come root"
    [ ! -e "$work/state/make.log" ] || fail "sudo $sudo_kind: make chiamato"
    [ ! -e "$work/state/apt.log" ] || fail "sudo $sudo_kind: apt-get chiamato"
done

# A target that needs a tool installs it first: on a machine without clang-format-14 a user
# without sudo is told to install it, instead of make failing on a missing command.
setup_machine clang-format-14
ln -sf "$(command -v make)" "$work/bin/make"
STATE="$work/state" FAKE_UID=1000 PATH="$work/bin" make -s -C "$root" format-check \
    >"$work/out" 2>"$work/err" && fail "format-check senza clang-format-14: riuscito"
grep -q '^Mancano questi pacchetti: clang-format-14$' "$work/err" ||
    fail "format-check senza clang-format-14: $(cat "$work/err")"

# CI runs the README's test command.
grep -q '^step \./test\.sh$' "$root/.ci/run" || fail ".ci/run non chiama ./test.sh"
grep -q '^    \./test\.sh' "$root/README.md" || fail "il README non dà ./test.sh"

# The examples of the command line name the program where the build leaves it.
grep -q '^BUILD_DIR ?= build$' "$root/Makefile" || fail "la cartella di compilazione non è build"
[ -x "$build/cli/quintor-cli" ] || fail "manca $build/cli/quintor-cli"
examples=$(grep -c '^    build/cli/quintor-cli [a-z]' "$root/README.md")
bare=$(grep -c '^    quintor-cli ' "$root/README.md")
[ "$examples" -ge 9 ] && [ "$bare" -eq 0 ] || fail "esempi del README senza percorso"

# A skipped test says why in the normal output of the test command, from a real ctest log.
mkdir -p "$work/skip/src"
cat > "$work/skip/src/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.16)
project(skip NONE)
enable_testing()
add_test(NAME Files.ReadOnly COMMAND sh -c "echo 'x.cpp:9: Skipped'; echo 'run as another user'; echo; echo '[  SKIPPED ] Files.ReadOnly'")
set_tests_properties(Files.ReadOnly PROPERTIES SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
add_test(NAME Files.Plain COMMAND true)
CMAKE
if cmake -S "$work/skip/src" -B "$work/skip/build" >/dev/null 2>&1 &&
    (cd "$work/skip/build" && ctest >/dev/null 2>&1); then
    reasons=$(bash "$root/scripts/skipped-tests.sh" "$work/skip/build/Testing/Temporary/LastTest.log")
    [ "$reasons" = "Test saltato: Files.ReadOnly: run as another user" ] ||
        fail "motivo del test saltato: '$reasons'"
else
    fail "ctest di prova non eseguito"
fi

exit $((failures > 0))
