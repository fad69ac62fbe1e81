#!/usr/bin/env bash
# Renders the PNG sizes of the icon from its SVG; run after editing the SVG and commit the
# results (they are small, and the build then needs no SVG renderer).
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 32 48 64 128 256; do
  mkdir -p "hicolor/${size}x${size}/apps"
  rsvg-convert -w "$size" -h "$size" hicolor/scalable/apps/tavrell-veltrix.svg \
    -o "hicolor/${size}x${size}/apps/tavrell-veltrix.png"
done
