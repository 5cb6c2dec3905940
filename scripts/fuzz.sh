#!/usr/bin/env bash
# Builds the libFuzzer harnesses of tests/fuzz with clang (only them and the core, into BUILD_DIR,
# default build-fuzz/) and runs each for SECONDS (default 30), starting from the seeds in
# tests/fuzz/semillas/<name> (and, for access and cab, the files of tests/fixtures/legacy). New
# inputs go to BUILD_DIR/corpus/<name>; an input that makes a harness fail is kept as
# BUILD_DIR/hallazgos/<name>-crash-... and the script exits 1.
#
#   scripts/fuzz.sh [SECONDS]
#   BUILD_DIR/tests/fuzz/fuzz_recepcion BUILD_DIR/hallazgos/recepcion-crash-...   replays one finding
set -euo pipefail
cd "$(dirname "$0")/.."
segundos=${1:-30}
dir=${BUILD_DIR:-build-fuzz}
arneses=(json recepcion direccion csv access cab)
# Harnesses whose seeds are the farm's files of the tests' fixtures.
declare -A semillasExtra=([access]=tests/fixtures/legacy [cab]=tests/fixtures/legacy)

command -v clang++ >/dev/null || { echo "fuzz.sh: falta clang (scripts/install-deps.sh lo instala)" >&2; exit 2; }
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$dir" -G Ninja "${launcher[@]}" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLVARO_FUZZ=ON -DTOLVARO_TESTS=OFF >/dev/null
cmake --build "$dir" --parallel "$(nproc)" --target "${arneses[@]/#/fuzz_}"

export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
falla=0
mkdir -p "$dir/hallazgos"
for a in "${arneses[@]}"; do
    corpus="$dir/corpus/$a"
    mkdir -p "$corpus"
    diccionario=()
    [ -f "tests/fuzz/$a.dict" ] && diccionario=(-dict="tests/fuzz/$a.dict")
    semillas=()
    [ -d "tests/fuzz/semillas/$a" ] && semillas+=("tests/fuzz/semillas/$a")
    [ -n "${semillasExtra[$a]:-}" ] && semillas+=("${semillasExtra[$a]}")
    programa="$dir/tests/fuzz/fuzz_$a"
    [ -x "$programa" ] || { echo "fuzz.sh: no se compiló $programa" >&2; exit 2; }
    echo "== fuzz_$a: $segundos s"
    if ! "$programa" -max_total_time="$segundos" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        "${diccionario[@]}" -artifact_prefix="$dir/hallazgos/$a-" "$corpus" "${semillas[@]}" \
        >"$dir/fuzz_$a.log" 2>&1; then
        echo "fuzz_$a encontró una falla ($dir/fuzz_$a.log):" >&2
        grep -v '^#' "$dir/fuzz_$a.log" | tail -n 60 >&2
        falla=1
    else
        grep -E '^stat::number_of_executed_units|^stat::new_units_added' "$dir/fuzz_$a.log" || true
    fi
done
exit $falla
