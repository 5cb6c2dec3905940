#!/usr/bin/env bash
# Draws the PNG icons of every size from the SVG (needs rsvg-convert, Debian's librsvg2-bin).
# The PNGs are committed, so neither the build nor CI needs this; run it after changing the SVG.
set -euo pipefail
cd "$(dirname "$0")/../data/iconos/hicolor"
for lado in 16 32 48 64 128 256; do
    mkdir -p "${lado}x${lado}/apps"
    rsvg-convert -w "$lado" -h "$lado" scalable/apps/tolvaro.svg -o "${lado}x${lado}/apps/tolvaro.png"
done
