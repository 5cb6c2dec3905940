#!/usr/bin/env bash
# Checks the layering of src/: a folder includes only itself and the folders before it in
#   core db access ui catalog plan link web historial events costos impresion maint app cli
# and a file of the core library includes no header of the window library.
# Usage: comprobar-capas.sh [SRC] [CORE_SOURCES GUI_SOURCES]
#   SRC defaults to the src/ beside this script; the two optional files list, one path a line,
#   the sources of tolvaro_core and tolvaro_gui (the build writes them).
set -euo pipefail
src=${1:-"$(dirname "$0")/../src"}
orden=(core db access ui catalog plan link web historial events costos impresion maint app cli)
declare -A puesto
for i in "${!orden[@]}"; do puesto[${orden[$i]}]=$i; done

fallas=0
fallar() {
    echo "$1" >&2
    fallas=$((fallas + 1))
}

# Every quoted include with a folder: file:line:text.
while IFS= read -r hallazgo; do
    archivo=${hallazgo%%:*}
    resto=${hallazgo#*:}
    linea=${resto%%:*}
    incluido=$(sed -E 's/^[^"]*"([^"]+)".*/\1/' <<<"${resto#*:}")
    carpeta=${archivo#"$src"/}
    carpeta=${carpeta%%/*}
    otra=${incluido%%/*}
    [[ -v puesto[$carpeta] ]] || continue
    if [[ ! -v puesto[$otra] ]]; then
        fallar "$archivo:$linea: \"$incluido\" no es de ninguna carpeta de src/"
    elif ((puesto[$otra] > puesto[$carpeta])); then
        fallar "$archivo:$linea: $carpeta no puede incluir $otra (\"$incluido\"): $otra va después en el orden"
    fi
done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]*/' "$src" --include='*.h' --include='*.cpp' || true)

# The core library knows nothing of windows: none of its files includes a header of the window
# library or of QtWidgets.
if (($# >= 3)); then
    patrones=$(mktemp)
    trap 'rm -f "$patrones"' EXIT
    grep -E '/src/.*\.h$' "$3" | sed -E 's|^.*/src/(.*)$|"\1"|' >"$patrones" || true
    printf '%s\n' '<QtWidgets' '<QWidget>' '<QDialog>' '<QMainWindow>' '<QPushButton>' '<QLineEdit>' >>"$patrones"
    mapfile -t nucleo < <(grep -E '/src/' "$2")
    while IFS= read -r hallazgo; do
        fallar "$hallazgo: la biblioteca del núcleo no incluye nada de las ventanas"
    done < <(grep -nHF -f "$patrones" "${nucleo[@]}" | grep -E ':[[:space:]]*#[[:space:]]*include' || true)
fi

if ((fallas)); then
    echo "$fallas inclusiones fuera del orden de capas" >&2
    exit 1
fi
echo "capas en orden"
