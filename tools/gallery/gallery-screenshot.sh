#!/bin/bash
# Screenshots of the controls gallery under Xvfb with a window manager, at 1x and 2x:
#   tools/gallery/gallery-screenshot.sh BUILD_DIR OUT_DIR
set -euo pipefail
build=${1:?build folder}
out=${2:-/tmp}
gallery="$build/tools/gallery/controls_gallery"
mkdir -p "$out"

shoot() { # output, screen size, extra environment
    local png=$1 screen=$2
    shift 2
    xvfb-run -a -s "-screen 0 ${screen}x24" bash -c '
        openbox >/dev/null 2>&1 & wm=$!
        sleep 1
        env QT_QPA_PLATFORM=xcb '"$*"' "'"$gallery"'" --open-menu >/dev/null 2>&1 & app=$!
        sleep 3
        import -window root "'"$png"'"
        kill $app $wm'
}

shoot "$out/controls.png" 1280x1024
shoot "$out/controls-2x.png" 2600x1560 QT_SCALE_FACTOR=2
echo "$out/controls.png $out/controls-2x.png"
