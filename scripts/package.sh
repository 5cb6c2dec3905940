#!/usr/bin/env bash
# Builds the Debian package: installs what is needed, builds in Release without tests into
# build-pkg/ with Debian's hardening flags, packs with CPack and prints the package's path.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
dir=build-pkg
# dpkg-buildflags gives Debian's compiler and linker flags (hardening, reproducible paths).
# CMake does not read CPPFLAGS, so the preprocessor flags go in with the compiler's.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cflags="$(dpkg-buildflags --get CFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
cxxflags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)
BUILD_DIR=$dir BUILD_TYPE=Release bash scripts/build.sh -DTOLVARO_TESTS=OFF -DTOLVARO_SANITIZE=OFF \
    -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_C_FLAGS="$cflags" -DCMAKE_CXX_FLAGS="$cxxflags" \
    -DCMAKE_EXE_LINKER_FLAGS="$ldflags"
rm -f "$dir"/tolvaro_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
ls "$PWD/$dir"/tolvaro_*.deb
