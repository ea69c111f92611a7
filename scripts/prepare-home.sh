#!/usr/bin/env bash
# Makes the program folder that `make run` starts Quintor in.
set -euo pipefail
home="$1"
build="$2"
mkdir -p "$home"
# A fresh folder gets a simulated archive so that the statistics and the selection have
# something to work on; the user replaces it with real draws.
cli="$build/cli/quintor-cli"
if ! ls "$home" | grep -qi '^vincenti\.dat$'; then
    if "$cli" sample-archive "$home/vincenti.dat" --draws 3000 >/dev/null 2>&1; then
        echo "Creato un archivio SIMULATO di 3000 estrazioni (non reali) in $home/vincenti.dat:"
        echo "sostituirlo con le estrazioni reali (Gestione colonne vincenti, Importa CSV)."
    fi
fi
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
