#!/usr/bin/env bash
# Installs what is needed, builds, and starts the player (arguments are passed on, e.g. a video).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
build=${VELTRIX_BUILD_DIR:-build}
if [ -x "$build/src/shell/tavrell-veltrix" ]; then
  exec "$build/src/shell/tavrell-veltrix" "$@"
fi
# Until the player window exists, show what the subtitle core makes of the bundled example.
exec "$build/tools/inspect/veltrix-inspect" subtitles examples/Example.srt --at 1500 --at 4200 "$@"
