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
informe=$(mktemp --suffix=.txt)
trap 'rm -f "$informe"' EXIT
/usr/lib/wine/wine64 "$@" -o "$informe,txt"
r=$?
cat "$informe"
exit $r
