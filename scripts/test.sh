#!/usr/bin/env bash
# Installs what is needed, builds with AddressSanitizer and UBSan, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
BUILD_DIR=build-test BUILD_TYPE=Debug bash scripts/build.sh -DTOLVARO_SANITIZE=ON -DTOLVARO_TESTS=ON
export QT_QPA_PLATFORM=offscreen
cd build-test
ctest --output-on-failure --parallel "$(nproc)" --timeout 600
