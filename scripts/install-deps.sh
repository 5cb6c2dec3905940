#!/usr/bin/env bash
# Installs every Debian 12 package the build, the program and the tests need.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
pkgs=(
  build-essential cmake ninja-build pkgconf clang-format
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libqt6sql6-mysql libgl-dev
  qt6-charts-dev libqt6opengl6-dev qt6-translations-l10n
  libsqlite3-dev
  libgcab-dev cabextract gcab
  libxlsxwriter-dev python3-openpyxl locales
  mdbtools mdbtools-dev
  libcpp-httplib-dev nlohmann-json3-dev
  mariadb-server mariadb-client libmariadb-dev
  xvfb xauth
  clang libclang-rt-14-dev
  dpkg-dev desktop-file-utils appstream man-db groff-base
  fonts-dejavu-core poppler-utils
)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# The export tests write the same workbook under these locales.
for loc in es_AR en_US; do
  locale -a | grep -qx "$loc.utf8" || localedef -i "$loc" -f UTF-8 "$loc.UTF-8"
done
