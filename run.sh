#!/usr/bin/env bash
# Installs what is missing (make included), builds and starts Quintor: `make run`.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/install-deps.sh
exec make run "$@"
