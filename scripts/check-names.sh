#!/usr/bin/env bash
# Fails when a source or test brings back the old form-designer vocabulary: numbered controls
# (Label5, SpeedButton14), T-prefixed form classes (TSIS, TGestra), upper-case procedures
# (NUM_INVIDEO()) and files named after the old units (usis.cpp). Names say what a thing is.
# Not that vocabulary: the test frameworks' macros (TEST, EXPECT_TRUE, QTRY_VERIFY, ...) and
# texts the program keeps exactly (the file names VRTL.TMP and FILTRO.TXT, the CLI's "TESTO" placeholder).
set -uo pipefail
cd "$(dirname "$0")/.."
# Outside a git checkout (a source tarball) there is nothing to list: skipped.
git rev-parse --is-inside-work-tree >/dev/null 2>&1 || { echo "names: not a git checkout"; exit 77; }
found=0
report() { # title, matches as file:line:match
    [ -n "$2" ] || return 0
    printf '%s:\n' "$1" >&2
    printf '%s\n' "$2" | sed 's/^/    /' >&2
    found=1
}
matches() { git grep -n -o -E "$1" -- '*.cpp' '*.h' '*.cmake' 'CMakeLists.txt'; }

report "numbered controls" "$(matches '\b(Label|SpeedButton|Edit|Button|Panel|Memo)[0-9]+')"
report "form class names" "$(matches '\bT[A-Z]{2,}[A-Za-z]*\b' |
    grep -v -E ':(TEST|TESTO|TMP|TXT)$')"
report "form class names" "$(matches '\bT(Gestra|Distri|Piuseg|Visua|Buchi|Completa|Garanzia|Verifica|Filtri|Guida|Miopan|Modi|costo|fiss|elifu|inese|newfun)\b')"
report "upper-case procedures" "$(matches '\b[A-Z]{3,}_[A-Z_]{3,}\(' |
    grep -v -E ':(EXPECT|ASSERT|QTRY|QTEST|GTEST|SCOPED|INSTANTIATE|TYPED|Q)_[A-Z_]*\($')"
report "files named after the old units" "$(git ls-files |
    grep -E '(^|/)u(sis|pri|selco|provi|filtri|gestra|conf|visua|distri|piuseg|buchi|completa|garanzia|verifica|guida|modi|proba|costo|dainu|fis|tast|stam|staor|suca|elifu|inese|newfun)[._]')"
if [ "$found" -ne 0 ]; then
    echo "Names must say what a thing is (see CONTRIBUTING.md)." >&2
    exit 1
fi
echo "names: ok"
