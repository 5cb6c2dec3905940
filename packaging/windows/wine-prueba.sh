#!/usr/bin/env bash
# Runs one Qt Test program under Wine for CTest: wine-prueba.sh CARPETAS PROGRAMA.exe [ARGUMENTOS]
# CARPETAS: the Windows folders of the DLLs separated by "|" (a ";" would split CMake's list).
# Wine does not hand QT_* variables to the program (WINEQT_x becomes QT_x inside), and Qt Test
# prints nothing on a console-less stdout, so its report goes to a file shown afterwards.
# /usr/bin goes last on the program's PATH: the Linux tools the tests call (cabextract, gcab)
# run from Wine as Linux programs.
set -uo pipefail
export WINEPATH="${1//|/;};Z:\usr\bin"
shift
export WINEQT_QPA_PLATFORM=offscreen
# Qt's offscreen platform on Windows reads fonts from a folder of its own, empty in the cross-built
# Qt: it gets the same fonts the Linux tests draw with.
export WINEQT_QPA_FONTDIR='Z:\usr\share\fonts\truetype\dejavu'
export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEPREFIX=${WINEPREFIX:-$HOME/.cache/tolvaro-windows/wine}
informe=$(mktemp --suffix=.txt) salida=$(mktemp)
trap 'rm -f "$informe" "$salida"' EXIT
# Wine's own output to a file: the desktop process the first program starts inherits it and lives
# on, and CTest would wait for it to close a pipe of its own.
/usr/lib/wine/wine64 "$@" -o "$informe,txt" >"$salida" 2>&1 </dev/null
r=$?
cat "$salida" "$informe"
exit $r
