#!/usr/bin/env bash
# Installs what is needed, builds, and starts the program (a new database is created on first start).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
BUILD_DIR=build bash scripts/build.sh -DTOLVARO_TESTS=OFF
exec ./build/tolvaro "$@"
