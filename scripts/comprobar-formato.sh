#!/usr/bin/env bash
# Fails when a C++ file under src/ tests/ tools/ bench/ differs from what clang-format makes of
# it with the repository's .clang-format, and names the files. `clang-format -i FILE` fixes one.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t archivos < <(git ls-files -co --exclude-standard -- src tests tools bench | grep -E '\.(cpp|h)$')
mal=()
for a in "${archivos[@]}"; do
    [[ -f $a ]] || continue
    clang-format --dry-run --Werror "$a" >/dev/null 2>&1 || mal+=("$a")
done
if ((${#mal[@]})); then
    printf 'sin formato: %s\n' "${mal[@]}" >&2
    echo "${#mal[@]} archivos sin formato: clang-format -i ARCHIVO" >&2
    exit 1
fi
echo "formato en orden (${#archivos[@]} archivos)"
