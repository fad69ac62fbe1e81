#!/usr/bin/env bash
# Installs what is needed, builds, and starts the player. With a file argument it plays that
# file; with none it plays a demo video with subtitles, written on first run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh run
bash scripts/build.sh
build=${VELTRIX_BUILD_DIR:-build}
player="$build/src/shell/tavrell-veltrix"
if [ "$#" -gt 0 ]; then
  exec "$player" "$@"
fi
demo="$build/demo/Veltrix Demo.avi"
# Written again when the generator has changed since, so an updated build shows the new demo.
if [ ! -f "$demo" ] || [ ! -f "${demo%.avi}.srt" ] \
   || [ "$build/src/shell/veltrix-make-demo" -nt "$demo" ]; then
  "$build/src/shell/veltrix-make-demo" "$demo"
fi
exec "$player" "$demo"
