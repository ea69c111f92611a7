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
