#!/usr/bin/env bash
# What a user gets from a build folder: installs it into a temporary root and checks the file
# list, the desktop entry, the AppStream metainfo, the icons and the manual pages (every command
# and option that the programs' own help names must be in them); then packs the Debian package
# and checks its file list and control fields.
#
#   comprobar.sh BUILD_DIR SOURCE_DIR VERSION DEBIAN_VERSION
set -euo pipefail
build=$1
fuente=$2
version=$3
version_debian=$4
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fallas=0
falla() {
    echo "FALLA: $*" >&2
    fallas=$((fallas + 1))
}

# The file list.
raiz=$tmp/raiz
DESTDIR=$raiz cmake --install "$build" --prefix /usr >/dev/null
esperado=$(LC_ALL=C sort "$fuente/tests/instalacion/archivos.txt")
instalado=$(cd "$raiz" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort)
diff <(echo "$esperado") <(echo "$instalado") >&2 ||
    falla "lo instalado no es tests/instalacion/archivos.txt (< falta, > sobra)"
for programa in usr/bin/tolvaro usr/bin/tolvaro-cli usr/lib/tolvaro/tolvaro-tablet-sim \
    usr/lib/tolvaro/nremoto-sim usr/lib/tolvaro/tolvaro-lector-access usr/lib/tolvaro/mariadb-privada.sh; do
    [ -x "$raiz/$programa" ] || falla "$programa no es ejecutable"
done

# The desktop entry: valid, its commands and its icon installed.
escritorio=$raiz/usr/share/applications/tolvaro.desktop
if ! salida=$(desktop-file-validate "$escritorio" 2>&1) || [ -n "$salida" ]; then
    falla "desktop-file-validate: $salida"
fi
while IFS= read -r linea; do
    orden=${linea#Exec=}
    orden=${orden%% *}
    [ -x "$raiz/usr/bin/$orden" ] || falla "la entrada del menú ejecuta $orden, que no está en /usr/bin"
done < <(grep '^Exec=' "$escritorio")
icono=$(sed -n 's/^Icon=//p' "$escritorio")
[ -f "$raiz/usr/share/icons/hicolor/scalable/apps/$icono.svg" ] || falla "falta el icono $icono.svg"
for png in "$raiz"/usr/share/icons/hicolor/*x*/apps/"$icono".png; do
    carpeta=$(basename "$(dirname "$(dirname "$png")")")
    # The PNG header holds the width and the height, four big-endian bytes each, at byte 16.
    read -r a b c d e f g h < <(od -An -tu1 -j16 -N8 "$png")
    medida="$((a << 24 | b << 16 | c << 8 | d))x$((e << 24 | f << 16 | g << 8 | h))"
    [ "$medida" = "$carpeta" ] || falla "el icono de $carpeta mide $medida"
done

# The metainfo, alone and together with the desktop entry and the icons it names.
metainfo=$raiz/usr/share/metainfo/ar.tolvaro.tolvaro.metainfo.xml
salida=$(appstreamcli validate --no-net --pedantic "$metainfo" 2>&1) || falla "appstreamcli validate: $salida"
salida=$(appstreamcli validate-tree --no-net "$raiz" 2>&1) || falla "appstreamcli validate-tree: $salida"

# The newest entries of the metainfo and of the changelog name this version.
grep -q "<release version=\"$version\"" "$metainfo" ||
    falla "la metainfo no tiene una versión $version en <releases>: agregue la entrada con su fecha"
zcat "$raiz/usr/share/doc/tolvaro/changelog.Debian.gz" | head -n1 | grep -q "^tolvaro ($version_debian)" ||
    falla "packaging/debian/changelog no empieza por la versión $version_debian: agregue la entrada"

# The manual pages: no warning from groff or man, and every command and option of the help.
for pagina in "$raiz"/usr/share/man/man1/*.1.gz; do
    salida=$(zcat "$pagina" | preconv | groff -man -Tutf8 -ww -z 2>&1)
    [ -z "$salida" ] || falla "groff en $(basename "$pagina"): $salida"
    salida=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$pagina" 2>&1 >/dev/null)
    [ -z "$salida" ] || falla "man en $(basename "$pagina"): $salida"
done
# In troff a dash is written \- : "--aun-asi" appears as "\-\-aun\-asi".
en_pagina() {
    zcat "$raiz/usr/share/man/man1/$1" | grep -qF -- "$(sed 's/-/\\-/g' <<<"$2")"
}
opciones_de() {
    { grep -o -- '--[a-z][a-z-]*' <<<"$1" || true; } | sort -u
}
export ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$tmp/run
mkdir -m 700 "$XDG_RUNTIME_DIR"
cli=$build/src/cli/tolvaro-cli
ayuda=$("$cli" --help)
for opcion in $(opciones_de "$ayuda"); do
    en_pagina tolvaro-cli.1.gz "$opcion" || falla "tolvaro-cli.1 no menciona $opcion"
done
for comando in $(sed -n '/^Comandos:/,/^$/p' <<<"$ayuda" | awk '/^  [a-z]/ {print $1}'); do
    zcat "$raiz/usr/share/man/man1/tolvaro-cli.1.gz" | grep -q "^\.SS $comando$" ||
        falla "tolvaro-cli.1 no describe el comando $comando"
    for opcion in $(opciones_de "$("$cli" "$comando" --help)"); do
        en_pagina tolvaro-cli.1.gz "$opcion" || falla "tolvaro-cli.1 no menciona $opcion de $comando"
    done
done
# The program's --help and --version answer without a display, as on a terminal of a server.
ayuda=$(env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY "$build/tolvaro" --help 2>&1) ||
    falla "tolvaro --help sin pantalla: $ayuda"
for opcion in $(opciones_de "$ayuda"); do
    en_pagina tolvaro.1.gz "$opcion" || falla "tolvaro.1 no menciona $opcion"
done
salida=$(env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY "$build/tolvaro" --version 2>&1)
[ "$salida" = "tolvaro $version" ] || falla "tolvaro --version sin pantalla: $salida"

# The Debian package: named as Debian names it, the same files, the libraries it needs and
# nothing for building.
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/paquete" >"$tmp/cpack.log" 2>&1 ||
    { cat "$tmp/cpack.log" >&2; falla "cpack falló"; }
deb=$tmp/paquete/tolvaro_${version_debian}_$(dpkg --print-architecture).deb
if [ -f "$deb" ]; then
    en_paquete=$(dpkg-deb -c "$deb" | awk '{print $6}' | grep -v '/$' | sed 's|^\./||' | LC_ALL=C sort)
    diff <(echo "$esperado") <(echo "$en_paquete") >&2 || falla "el paquete no lleva los archivos de la lista"
    depende=$(dpkg-deb -f "$deb" Depends)
    for paquete in libc6 libqt6core6 libqt6widgets6 libqt6sql6 libqt6sql6-sqlite libqt6network6 \
        libqt6printsupport6 fonts-dejavu-core qt6-translations-l10n; do
        grep -qE "(^|, )$paquete( |,|$)" <<<"$depende" || falla "Depends no incluye $paquete: $depende"
    done
    grep -q -- '-dev\b' <<<"$depende" && falla "Depends pide paquetes de desarrollo: $depende"
    for campo in Section Priority Maintainer Description; do
        [ -n "$(dpkg-deb -f "$deb" "$campo")" ] || falla "el paquete no tiene $campo"
    done
    largas=$(dpkg-deb -f "$deb" Description | awk 'length > 80')
    [ -z "$largas" ] || falla "líneas de más de 80 caracteres en Description: $largas"
else
    falla "cpack no dio $(basename "$deb"): $(ls "$tmp/paquete")"
fi

[ "$fallas" -eq 0 ] || exit 1
echo "instalación y paquete: todo en orden"
