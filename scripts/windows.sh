#!/usr/bin/env bash
# The Windows program, cross-built on Debian 12 (as root) with MinGW-w64 and tested under Wine.
#
#   bash scripts/windows.sh           installs what it needs, builds the libraries once (cache),
#                                     cross-builds everything and makes the setup program and the
#                                     portable .zip (prints both paths)
#   bash scripts/windows.sh test      the same build, then every test under Wine (CTest)
#   bash scripts/windows.sh test -R X only the tests CTest selects with the given arguments
#   bash scripts/windows.sh comprobar the setup program and the portable folder used as a farm
#                                     would, under Wine (install, start, back up, restore, ...)
#   bash scripts/windows.sh bench     the benchmarks under Wine beside the Linux ones
#   bash scripts/windows.sh bibliotecas-listas
#                                     exits 0 when the cross-built libraries are in the cache
#
# BUILD_DIR (build-windows) is where it builds; TOLVARO_WINDOWS_TIPO the CMake build type
# (Release; CI uses None, unoptimised, which compiles in half the time); TOLVARO_WINDOWS_OBJETIVOS
# the targets to build when not all (the programs are always needed by the setup program).
#
# The libraries (Qt 6.4.2 with qtcharts, SQLite, libxlsxwriter, libmdb) are built once into
# ~/.cache/tolvaro-windows/<versions>/ (TOLVARO_WINDOWS_CACHE moves it). Cabinet archives use
# Windows' own cabinet library, which needs nothing built.
set -euo pipefail
cd "$(dirname "$0")/.."
RAIZ=$(pwd)
orden=${1:-paquete}
[ $# -gt 0 ] && shift

TRIPLETA=x86_64-w64-mingw32
WINE=/usr/lib/wine/wine64
BUILD_DIR=${BUILD_DIR:-build-windows}
case "$BUILD_DIR" in /*) ;; *) BUILD_DIR=$RAIZ/$BUILD_DIR ;; esac

# ---- The recipe of the libraries. Changing any of it changes the cache's name. ----
QT_VERSION=6.4.2
SQLITE_VERSION=3.40.1
XLSXWRITER_VERSION=1.1.4
MDBTOOLS_VERSION=1.0.0
# qtbase: shared, Release, without OpenGL, tablet events (Debian's source drops wintab.h) and
# OpenSSL (Schannel instead), Qt's bundled third-party code, SQLite as the only SQL driver.
QTBASE_OPCIONES=(
  -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON -DQT_HOST_PATH=/usr
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
  -DFEATURE_pkg_config=OFF -DFEATURE_opengl=OFF -DINPUT_opengl=no -DFEATURE_vulkan=OFF
  -DFEATURE_dbus=OFF -DFEATURE_tabletevent=OFF -DFEATURE_zstd=OFF -DFEATURE_openssl=OFF
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF
  -DFEATURE_system_freetype=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF
  -DFEATURE_system_doubleconversion=OFF -DFEATURE_system_libb2=OFF
  -DFEATURE_sql_sqlite=ON -DFEATURE_system_sqlite=ON
  -DFEATURE_sql_mysql=OFF -DFEATURE_sql_psql=OFF -DFEATURE_sql_odbc=OFF -DFEATURE_sql_ibase=OFF
  -DFEATURE_sql_oci=OFF -DFEATURE_sql_db2=OFF -DFEATURE_sql_mimer=OFF
)
# The prebuilt qtbase in shared/windows was made with exactly this recipe (its README says how);
# it is used only when its checksum is this one.
QTBASE_PREHECHO=qt6-base-6.4.2-mingw64-posix.tar.xz
QTBASE_PREHECHO_SHA256=7518ff3a36733cd1b05d7b38828aaa58830dee57c9b9a9a805842317ef3e0d7a

# The cache's name: the versions and the recipe (the compiler is known once it is installed).
fijar_cache() {
  GCC_MINGW=$(ls /usr/lib/gcc/$TRIPLETA 2>/dev/null | grep -- '-posix$' | head -1 || true)
  local receta
  receta=$(printf '%s\n' "${QTBASE_OPCIONES[@]}" | sha256sum | cut -c1-8)
  CLAVE=qt$QT_VERSION-sqlite$SQLITE_VERSION-xlsxwriter$XLSXWRITER_VERSION-mdbtools$MDBTOOLS_VERSION-mingw${GCC_MINGW:-?}-$receta
  CACHE=${TOLVARO_WINDOWS_CACHE:-$HOME/.cache/tolvaro-windows}/$CLAVE
  export TOLVARO_WINDOWS_PREFIXES="$CACHE/qt6-mingw:$CACHE/deps:$CACHE/mdbtools"
}
fijar_cache
export WINEPREFIX=${WINEPREFIX:-${TOLVARO_WINDOWS_CACHE:-$HOME/.cache/tolvaro-windows}/wine}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# The upstream sources Debian's archive cannot give here: shared/windows beside the repository.
COMPARTIDO=""
for d in "${TOLVARO_WINDOWS_FUENTES:-}" "$RAIZ/../shared/windows" "$RAIZ/../../shared/windows" /work/shared/windows; do
  if [ -n "$d" ] && [ -f "$d/qtcharts-$QT_VERSION.tar.xz" ]; then COMPARTIDO=$(cd "$d" && pwd); break; fi
done

paso() { echo "== windows: $*" >&2; }

bibliotecas_listas() { [ -f "$CACHE/listo" ]; }

if [ "$orden" = bibliotecas-listas ]; then
  bibliotecas_listas && exit 0
  echo "No están las bibliotecas para Windows en $CACHE (las arma 'bash scripts/windows.sh')." >&2
  exit 1
fi

instalar() {
  bash scripts/install-deps.sh
  local pkgs=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    mingw-w64-x86-64-dev libz-mingw-w64-dev wine64 nsis qt6-translations-l10n zip xz-utils
    cabextract gcab python3 python3-openpyxl nlohmann-json3-dev dpkg-dev autoconf automake libtool
    pkgconf make tcl)
  local faltan=()
  for p in "${pkgs[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || faltan+=("$p")
  done
  if [ ${#faltan[@]} -gt 0 ]; then
    paso "instalando ${faltan[*]}"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${faltan[@]}" >/dev/null
  fi
  fijar_cache
}

toolchain() { echo "$RAIZ/packaging/windows/mingw-w64.cmake"; }

# Debian's source packages through a private sources list: the system's apt setup is not touched.
fuente_debian() {
  local paquete=$1 destino=$2 apt=$CACHE/../apt-privado
  mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$destino"
  local uri suite
  uri=$(grep -hoE '^URIs: *\S+' /etc/apt/sources.list.d/*.sources 2>/dev/null | head -1 | awk '{print $2}')
  suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
  echo "deb-src ${uri:-http://deb.debian.org/debian} ${suite:-bookworm} main" >"$apt/sources.list"
  local opciones=(-o Dir::Etc::SourceList="$apt/sources.list" -o Dir::Etc::SourceParts=/dev/null
    -o Dir::State::Lists="$apt/lists" -o Dir::Cache="$apt/cache" -o APT::Sandbox::User=root)
  [ -n "$(ls "$apt/lists" 2>/dev/null | grep -v partial)" ] || apt-get "${opciones[@]}" update -qq
  (cd "$destino" && apt-get "${opciones[@]}" source -qq "$paquete" >/dev/null)
}

# SQLite and libxlsxwriter (a DLL each) from Debian's source, into deps/.
deps_desde_fuente() {
  local t=$CACHE/fuentes
  paso "SQLite $SQLITE_VERSION desde la fuente de Debian"
  fuente_debian sqlite3 "$t/sqlite3"
  (cd "$t/sqlite3"/sqlite3-*/ && mkdir -p win && cd win &&
    ../configure --host=$TRIPLETA CC=$TRIPLETA-gcc-posix --prefix="$CACHE/deps" --disable-static \
      --disable-tcl --disable-readline --enable-fts5 >/dev/null &&
    nice -n 10 make -j"$(nproc)" libsqlite3.la >/dev/null && make install-libLTLIBRARIES install-includeHEADERS >/dev/null)
  paso "libxlsxwriter $XLSXWRITER_VERSION desde la fuente de Debian"
  fuente_debian libxlsxwriter "$t/xlsxwriter"
  (cd "$t/xlsxwriter"/libxlsxwriter-*/ &&
    cmake -S . -B win -G Ninja -DCMAKE_TOOLCHAIN_FILE="$(toolchain)" -DCMAKE_BUILD_TYPE=Release \
      -DBUILD_SHARED_LIBS=ON -DCMAKE_INSTALL_PREFIX="$CACHE/deps" >/dev/null &&
    nice -n 10 cmake --build win >/dev/null && cmake --install win >/dev/null)
}

qtbase_desde_fuente() {
  local t=$CACHE/fuentes
  deps_desde_fuente
  paso "qtbase $QT_VERSION desde la fuente de Debian (la primera vez tarda más de una hora)"
  fuente_debian qt6-base "$t/qtbase"
  local src
  src=$(ls -d "$t/qtbase"/qt6-base-*/)
  # Debian's source drops the bundled SQLite: Qt's driver links the one built above.
  cmake -S "$src" -B "$t/qtbase/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$(toolchain)" \
    -DCMAKE_INSTALL_PREFIX="$CACHE/qt6-mingw" "${QTBASE_OPCIONES[@]}" \
    -DSQLite3_INCLUDE_DIR="$CACHE/deps/include" -DSQLite3_LIBRARY="$CACHE/deps/lib/libsqlite3.dll.a" >/dev/null
  nice -n 10 cmake --build "$t/qtbase/build" --parallel "$(nproc)" >/dev/null
  cmake --install "$t/qtbase/build" >/dev/null
}

qtbase() {
  [ -f "$CACHE/.qtbase" ] && return
  rm -rf "$CACHE/qt6-mingw" "$CACHE/deps"
  mkdir -p "$CACHE"
  local prehecho=$COMPARTIDO/$QTBASE_PREHECHO
  if [ -n "$COMPARTIDO" ] && [ -f "$prehecho" ] &&
    [ "$(sha256sum "$prehecho" | cut -d' ' -f1)" = "$QTBASE_PREHECHO_SHA256" ]; then
    paso "qtbase, SQLite y libxlsxwriter: el armado previo de $prehecho (misma receta)"
    tar xJf "$prehecho" -C "$CACHE"
  else
    qtbase_desde_fuente
  fi
  # pkg-config files naming this cache (the prebuilt ones name the folder they were built in).
  mkdir -p "$CACHE/deps/lib/pkgconfig"
  sed -i "s#^prefix=.*#prefix=$CACHE/deps#" "$CACHE"/deps/lib/pkgconfig/*.pc 2>/dev/null || true
  cat >"$CACHE/deps/lib/pkgconfig/sqlite3.pc" <<EOF
prefix=$CACHE/deps
includedir=\${prefix}/include
libdir=\${prefix}/lib

Name: SQLite
Description: SQL database engine
Version: $SQLITE_VERSION
Libs: -L\${libdir} -lsqlite3
Cflags: -I\${includedir}
EOF
  [ -f "$CACHE/deps/lib/pkgconfig/xlsxwriter.pc" ] || cat >"$CACHE/deps/lib/pkgconfig/xlsxwriter.pc" <<EOF
prefix=$CACHE/deps
includedir=\${prefix}/include
libdir=\${prefix}/lib

Name: libxlsxwriter
Description: A C library for creating Excel XLSX files
Version: $XLSXWRITER_VERSION
Cflags: -I\${includedir}
Libs: -L\${libdir} -lxlsxwriter -lz
EOF
  touch "$CACHE/.qtbase"
}

qtcharts() {
  [ -f "$CACHE/.qtcharts" ] && return
  paso "Qt Charts $QT_VERSION desde $COMPARTIDO (unos 20 minutos)"
  local t=$CACHE/fuentes/qtcharts
  rm -rf "$t" && mkdir -p "$t"
  tar xJf "$COMPARTIDO/qtcharts-$QT_VERSION.tar.xz" -C "$t"
  cmake -S "$t"/qtcharts-everywhere-src-$QT_VERSION -B "$t/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$CACHE/qt6-mingw/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$(toolchain)" -DQT_HOST_PATH=/usr -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$CACHE/qt6-mingw" -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF >/dev/null
  nice -n 10 cmake --build "$t/build" --parallel "$(nproc)" >/dev/null
  cmake --install "$t/build" >/dev/null
  rm -rf "$t"
  touch "$CACHE/.qtcharts"
}

# libmdb without GLib (its bundled stand-in); text through Windows' UTF-8 conversion and
# in-memory files through a temporary file (Windows has no fmemopen).
mdbtools() {
  # Rebuilt alone when its patch changes.
  local parche
  parche=$(sha256sum packaging/windows/libmdb-windows.patch | cut -d' ' -f1)
  [ "$(cat "$CACHE/.mdbtools" 2>/dev/null)" = "$parche" ] && return
  paso "libmdb $MDBTOOLS_VERSION desde $COMPARTIDO"
  local t=$CACHE/fuentes/mdbtools
  rm -rf "$t" "$CACHE/mdbtools" && mkdir -p "$t"
  tar xJf "$COMPARTIDO/mdbtools-$MDBTOOLS_VERSION.tar.xz" -C "$t"
  (cd "$t/mdbtools-$MDBTOOLS_VERSION" && patch -p1 -s <"$RAIZ/packaging/windows/libmdb-windows.patch" &&
    autoreconf -i >/dev/null 2>&1 &&
    ./configure --host=$TRIPLETA CC=$TRIPLETA-gcc-posix --disable-glib --disable-man --disable-iconv \
      --disable-static --prefix="$CACHE/mdbtools" >/dev/null &&
    nice -n 10 make -C src/libmdb >/dev/null && make -C src/libmdb install >/dev/null &&
    make -C include install >/dev/null && make install-pkgconfigDATA >/dev/null)
  rm -rf "$t"
  echo "$parche" >"$CACHE/.mdbtools"
}

# nlohmann::json (header-only, for the benchmarks) where the cross-build looks for packages.
nlohmann() {
  [ -f "$CACHE/.nlohmann" ] && return
  mkdir -p "$CACHE/deps/include" "$CACHE/deps/share/cmake"
  cp -r /usr/include/nlohmann "$CACHE/deps/include/"
  cp -r /usr/share/cmake/nlohmann_json "$CACHE/deps/share/cmake/"
  touch "$CACHE/.nlohmann"
}

# Qt's Spanish texts where the cross-built Qt looks for them, so that the tests find them as the
# installed program does beside itself.
traducciones() {
  mkdir -p "$CACHE/qt6-mingw/translations"
  cp -u /usr/share/qt6/translations/qtbase_es.qm "$CACHE/qt6-mingw/translations/"
}

bibliotecas() {
  bibliotecas_listas && mdbtools && traducciones && return
  [ -n "$COMPARTIDO" ] || { echo "Faltan las fuentes de shared/windows (qtcharts, mdbtools)." >&2; exit 1; }
  local inicio=$SECONDS
  qtbase
  qtcharts
  mdbtools
  nlohmann
  traducciones
  rm -rf "$CACHE/fuentes"
  touch "$CACHE/listo"
  paso "bibliotecas listas en $CACHE ($(((SECONDS - inicio) / 60)) min)"
}

# Windows folders where the program's DLLs are, as Wine's Z: drive names them.
winepath_dlls() {
  local dirs=("$CACHE/qt6-mingw/bin" "$CACHE/deps/bin" "$CACHE/mdbtools/bin" "/usr/lib/gcc/$TRIPLETA/$GCC_MINGW"
    "/usr/$TRIPLETA/lib")
  local r="" d
  for d in "${dirs[@]}"; do r+="Z:${d//\//\\};"; done
  echo "${r%;}"
}

compilar() {
  paso "compilando en $BUILD_DIR"
  local lanzador=()
  command -v ccache >/dev/null && lanzador=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  PKG_CONFIG_LIBDIR="$CACHE/deps/lib/pkgconfig:$CACHE/mdbtools/lib/pkgconfig" PKG_CONFIG_PATH="" \
    cmake -S . -B "$BUILD_DIR" -G Ninja "${lanzador[@]}" -DCMAKE_BUILD_TYPE="${TOLVARO_WINDOWS_TIPO:-Release}" \
    -DCMAKE_TOOLCHAIN_FILE="$CACHE/qt6-mingw/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$(toolchain)" -DQT_HOST_PATH=/usr -DTOLVARO_TESTS=ON \
    "-DCMAKE_CROSSCOMPILING_EMULATOR=$RAIZ/packaging/windows/wine-prueba.sh;$(winepath_dlls | tr ';' '|')" >/dev/null
  local objetivos=()
  [ -n "${TOLVARO_WINDOWS_OBJETIVOS:-}" ] && objetivos=(--target $TOLVARO_WINDOWS_OBJETIVOS)
  nice -n 10 cmake --build "$BUILD_DIR" --parallel "$(nproc)" "${objetivos[@]}"
}

# Every DLL a program or plugin needs that Windows itself does not have, found among the
# cross-built libraries and the compiler's runtime, followed to their own needs.
dlls_necesarias() {
  local dirs=("$CACHE/qt6-mingw/bin" "$CACHE/deps/bin" "$CACHE/mdbtools/bin" "/usr/lib/gcc/$TRIPLETA/$GCC_MINGW"
    "/usr/$TRIPLETA/lib")
  local pendientes=("$@") vistos=" " f n d
  while [ ${#pendientes[@]} -gt 0 ]; do
    f=${pendientes[0]}
    pendientes=("${pendientes[@]:1}")
    for n in $($TRIPLETA-objdump -p "$f" | awk '/DLL Name:/ {print $3}'); do
      case "$vistos" in *" $n "*) continue ;; esac
      vistos+="$n "
      for d in "${dirs[@]}"; do
        if [ -f "$d/$n" ]; then
          echo "$d/$n"
          pendientes+=("$d/$n")
          break
        fi
      done
    done
  done
}

paquete() {
  local version destino raiz
  version=$(sed -n 's/^project(tolvaro VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
  destino=$BUILD_DIR/paquete
  raiz=$destino/Tolvaro
  paso "armando el programa instalable en $raiz"
  rm -rf "$destino" && mkdir -p "$raiz"
  cmake --install "$BUILD_DIR" --prefix "$raiz" >/dev/null
  local qt=$CACHE/qt6-mingw/plugins p
  for p in platforms/qwindows.dll platforms/qoffscreen.dll styles/qwindowsvistastyle.dll sqldrivers/qsqlite.dll \
    imageformats/qico.dll imageformats/qjpeg.dll imageformats/qgif.dll tls/qschannelbackend.dll \
    tls/qcertonlybackend.dll; do
    mkdir -p "$raiz/$(dirname $p)"
    cp "$qt/$p" "$raiz/$p"
  done
  local exes=("$raiz"/*.exe "$raiz"/simuladores/*.exe "$raiz"/*/*.dll)
  dlls_necesarias "${exes[@]}" | sort -u | while read -r d; do cp "$d" "$raiz/"; done
  cp "$raiz"/*.dll "$raiz/simuladores/"
  # Qt's Spanish texts (standard buttons and dialogs).
  mkdir -p "$raiz/translations"
  cp /usr/share/qt6/translations/qtbase_es.qm "$raiz/translations/"
  printf '[Paths]\nPrefix=.\nPlugins=.\nTranslations=translations\n' >"$raiz/qt.conf"
  cp "$raiz/qt.conf" "$raiz/simuladores/"
  $TRIPLETA-strip --strip-unneeded "$raiz"/*.exe "$raiz"/simuladores/*.exe
  cp packaging/debian/copyright "$raiz/copyright.txt"

  local zip=$destino/tolvaro-$version-windows-portable.zip
  (cd "$destino" && zip -qr9 "$zip" Tolvaro)
  local setup=$destino/tolvaro-$version-setup.exe
  local mayor menor parche
  IFS=. read -r mayor menor parche <<<"$version"
  makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DVERSION4="$mayor.$menor.$parche.0" -DORIGEN="$raiz" \
    -DICONO="$BUILD_DIR/packaging/tolvaro.ico" -DSALIDA="$setup" packaging/windows/tolvaro.nsi >/dev/null
  echo "$setup"
  echo "$zip"
}

case "$orden" in
paquete)
  instalar
  bibliotecas
  compilar
  paquete
  ;;
bibliotecas)
  instalar
  bibliotecas
  ;;
compilar)
  instalar
  bibliotecas
  compilar
  ;;
test)
  instalar
  bibliotecas
  compilar
  paso "pruebas bajo Wine"
  cd "$BUILD_DIR"
  ctest --output-on-failure --parallel "$(nproc)" --timeout 900 "$@"
  ;;
comprobar)
  instalar
  bibliotecas
  compilar
  paquete >"$BUILD_DIR/rutas.txt"
  cat "$BUILD_DIR/rutas.txt"
  bash packaging/windows/comprobar.sh "$BUILD_DIR/paquete/Tolvaro" "$(head -1 "$BUILD_DIR/rutas.txt")"
  ;;
bench)
  instalar
  bibliotecas
  compilar
  bash packaging/windows/bench.sh "$BUILD_DIR" "$(winepath_dlls)" "$@"
  ;;
*)
  echo "Uso: bash scripts/windows.sh [paquete|compilar|test [ARGUMENTOS DE CTEST]|comprobar|bench|bibliotecas-listas]" >&2
  exit 2
  ;;
esac
