#!/usr/bin/env bash
# Installs what is missing (make included), builds and runs every test: `make test`. Ends
# with one line per step, its result and time.
set -uo pipefail
cd "$(dirname "$0")"
steps_prefix=test.sh
source scripts/steps.sh
step bash scripts/install-deps.sh
step make build "$@"
step make test "$@"
steps_summary
