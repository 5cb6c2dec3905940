#!/usr/bin/env bash
# What a farm does with the Windows program, under Wine, from the portable folder and from the
# setup program: comprobar.sh CARPETA_PORTABLE SETUP.exe
# Prints one line per check and ends with the count; exits 1 when any failed.
set -uo pipefail
cd "$(dirname "$0")/../.."
RAIZ=$(pwd)
portable=$(cd "$1" && pwd)
setup=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
WINE=/usr/lib/wine/wine64
export WINEQT_QPA_PLATFORM=offscreen WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX=${WINEPREFIX:-$HOME/.cache/tolvaro-windows/wine}
unset WINEPATH # the program must find everything it needs in its own folder
bien=0
mal=0
comprobar() {
  local que=$1
  shift
  if "$@" >>"$registro" 2>&1; then
    echo "bien: $que"
    bien=$((bien + 1))
  else
    echo "MAL:  $que (ver $registro)"
    mal=$((mal + 1))
  fi
}
trabajo=$(mktemp -d)
registro=$trabajo/registro.txt
# A user folder with a name outside ASCII and spaces, as a farm's PC may have.
datos="$trabajo/Datos de Ñandú"
mkdir -p "$datos"
cli() { "$WINE" "$portable/tolvaro-cli.exe" "$@"; }
en_windows() { echo "Z:${1//\//\\}"; }

comprobar "tolvaro-cli --version" bash -c "'$WINE' '$portable/tolvaro-cli.exe' --version | grep -q 'tolvaro'"
comprobar "tolvaro-cli --help" bash -c "'$WINE' '$portable/tolvaro-cli.exe' --help | grep -q 'respaldar'"
comprobar "importa una base de Access (ruta con \\ y letra de unidad)" \
  cli --datos "$(en_windows "$datos")" importar "$(en_windows "$RAIZ/tests/fixtures/legacy/base.mdb")"
comprobar "la base de datos quedó creada" test -s "$datos/base.db"
mkdir -p "$trabajo/respaldos"
comprobar "respalda en un .cab" cli --datos "$(en_windows "$datos")" respaldar --carpeta "$(en_windows "$trabajo/respaldos")"
cab=$(ls "$trabajo"/respaldos/*.cab 2>/dev/null | head -1)
comprobar "cabextract -t lee el respaldo" cabextract -t "$cab"
comprobar "lista el respaldo" cli contenido "$(en_windows "$cab")"
mkdir -p "$trabajo/recuperada"
comprobar "recupera el respaldo" cli --datos "$(en_windows "$datos")" recuperar "$(en_windows "$cab")" \
  --destino "$(en_windows "$trabajo/recuperada")"
comprobar "la base recuperada es la respaldada" cmp "$datos/base.db" "$trabajo/recuperada/base.db"

# The tablet simulator (the Windows one) on a free loopback port.
puerto=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
"$WINE" "$portable/simuladores/tolvaro-tablet-sim.exe" --puerto "$puerto" >/dev/null 2>&1 &
sim=$!
sleep 3
comprobar "descarga de la tablet a una planilla" cli --datos "$(en_windows "$datos")" recibir --directa "127.0.0.1:$puerto" \
  --desde 2026-01-01 --hasta 2026-12-31 --xlsx "$(en_windows "$trabajo/sucesos.xlsx")"
kill "$sim" 2>/dev/null
comprobar "openpyxl lee la planilla" /usr/bin/python3 -c "import openpyxl, sys; openpyxl.load_workbook(sys.argv[1])" \
  "$trabajo/sucesos.xlsx"

# The setup program, silent; the installed program starts; the uninstaller keeps the data.
local_app=$WINEPREFIX/drive_c/users/${USER:-root}/AppData/Local
[ -d "$local_app" ] || local_app=$WINEPREFIX/drive_c/users/root/AppData/Local
comprobar "el instalador instala sin preguntar (/S)" bash -c "'$WINE' '$setup' /S && '${WINE%64}server' -w"
instalado=$(dirname "$(find "$WINEPREFIX/drive_c" -path '*Tolvaro/tolvaro.exe' -not -path '*AppData/Local/Tolvaro/*' | head -1)")
comprobar "quedan las entradas del menú Inicio" bash -c \
  "find '$WINEPREFIX/drive_c' -name 'Tolvaro - Recuperar un respaldo.lnk' | grep -q . && find '$WINEPREFIX/drive_c' -name 'Tolvaro.lnk' | grep -q ."
comprobar "el tolvaro.exe instalado arranca y muestra la ventana" bash -c \
  "TOLVARO_SIN_DIALOGOS=1 timeout 120 '$WINE' '$instalado/tolvaro.exe' --cerrar-al-mostrar | grep -q mostrado"
comprobar "los datos están en %LOCALAPPDATA%\\Tolvaro" test -f "$local_app/Tolvaro/base.db"
comprobar "el desinstalador quita el programa" bash -c \
  "'$WINE' \"\$(echo 'Z:$instalado/desinstalar.exe' | tr / '\\\\')\" /S && '${WINE%64}server' -w && sleep 2 && test ! -e '$instalado/tolvaro.exe'"
comprobar "y deja los datos" test -f "$local_app/Tolvaro/base.db"
echo "$bien passed, $mal failed"
[ "$mal" -eq 0 ] && rm -rf "$trabajo"
[ "$mal" -eq 0 ]
