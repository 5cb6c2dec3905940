#!/usr/bin/env bash
# The benchmark figures under Wine beside the Linux ones of the same machine:
#   bench.sh CARPETA_WINDOWS WINEPATH [NOMBRE...]
# The Linux figures come from build-rel/ (a Release build, made here when missing). Wine is not
# Windows: the ratios are reported, not judged; one over 3 is marked for a look.
set -euo pipefail
cd "$(dirname "$0")/../.."
windows=$1
export WINEPATH=$2
shift 2
export WINEQT_QPA_PLATFORM=offscreen
if [ ! -x build-rel/bench/tolvaro-bench ]; then
  BUILD_DIR=build-rel BUILD_TYPE=Release nice -n 10 bash scripts/build.sh -DTOLVARO_TESTS=OFF >/dev/null
  nice -n 10 cmake --build build-rel --target tolvaro-bench tolvaro >/dev/null
fi
linux=$(mktemp) wine=$(mktemp)
trap 'rm -f "$linux" "$wine"' EXIT
QT_QPA_PLATFORM=offscreen build-rel/bench/tolvaro-bench "$@" >"$linux"
/usr/lib/wine/wine64 "$windows/bench/tolvaro-bench.exe" "$@" >"$wine" 2>/dev/null
python3 - "$linux" "$wine" <<'PY'
import sys

def leer(ruta):
    figuras = {}
    for linea in open(ruta, encoding='utf-8', errors='replace'):
        nombre, _, resto = linea.strip().partition(': ')
        partes = resto.split(' ', 1)
        if len(partes) == 2:
            try:
                figuras[nombre] = (float(partes[0]), partes[1])
            except ValueError:
                pass
    return figuras

linux, wine = leer(sys.argv[1]), leer(sys.argv[2])
print(f"{'figura':<34}{'Linux':>14}{'Wine':>14}{'Wine/Linux':>12}")
for nombre, (valor, unidad) in linux.items():
    w = wine.get(nombre)
    if w is None:
        print(f"{nombre:<34}{valor:>11.4g} {unidad:<3}{'(no corrió)':>14}")
        continue
    razon = w[0] / valor if valor else float('nan')
    marca = '  > 3x' if razon > 3 else ''
    print(f"{nombre:<34}{valor:>10.4g} {unidad:<3}{w[0]:>10.4g} {unidad:<3}{razon:>10.2f}{marca}")
PY
