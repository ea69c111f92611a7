#!/usr/bin/env bash
# Installs what is missing (make included), builds and runs every test: `make test`.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/install-deps.sh
exec make test "$@"
