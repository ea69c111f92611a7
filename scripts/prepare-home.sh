#!/usr/bin/env bash
# Makes the program folder that `make run` starts Quintor in.
set -euo pipefail
home="$1"
build="$2"
mkdir -p "$home"
# The example user functions and their description files; a settings file the user has
# changed is kept.
src="$(cd "$(dirname "$0")/.." && pwd)/functions"
if [ -x "$build/functions/filtrosomma" ]; then
    install -m 755 "$build/functions/filtrosomma" "$home/filtrosomma"
fi
install -m 755 "$src/consecutivi.py" "$home/consecutivi.py"
install -m 644 "$src/filtrosomma.txt" "$src/consecutivi.txt" "$home/"
if [ ! -e "$home/filtrosomma.cfg" ]; then
    install -m 644 "$src/filtrosomma.cfg" "$home/filtrosomma.cfg"
fi
