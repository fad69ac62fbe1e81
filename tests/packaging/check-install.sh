#!/usr/bin/env bash
# Installs the build folder given as $1 into a scratch root and checks it as a desktop would:
# exactly the expected files, a desktop entry and metainfo that validate without a warning, icons
# of the sizes their folders name, manual pages without a formatting warning, and an installed
# player that answers --version.
set -euo pipefail
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

DESTDIR="$root" cmake --install "$build" --prefix /usr > /dev/null

sizes=(16 32 48 64 128 256)
expected=(
  usr/bin/tavrell-veltrix usr/bin/veltrix-inspect
  usr/libexec/tavrell-veltrix/veltrix-inspect-media
  usr/share/applications/tavrell-veltrix.desktop
  usr/share/metainfo/net.tavrell.veltrix.metainfo.xml
  usr/share/icons/hicolor/scalable/apps/tavrell-veltrix.svg
  usr/share/man/man1/tavrell-veltrix.1.gz usr/share/man/man1/veltrix-inspect.1.gz
  usr/share/doc/tavrell-veltrix/copyright usr/share/doc/tavrell-veltrix/changelog.gz
)
for size in "${sizes[@]}"; do
  expected+=("usr/share/icons/hicolor/${size}x${size}/apps/tavrell-veltrix.png")
done
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$root" && find . -type f -printf '%P\n' | sort) \
  || fail "the installed files differ from the expected ones (< expected, > installed)"

# The width and height of a PNG are the two big-endian words after its signature and IHDR header.
for size in "${sizes[@]}"; do
  png="$root/usr/share/icons/hicolor/${size}x${size}/apps/tavrell-veltrix.png"
  [ -f "$png" ] || continue
  read -r width height < <(od -An -tu4 --endian=big -j16 -N8 "$png")
  [ "$width" = "$size" ] && [ "$height" = "$size" ] \
    || fail "icon ${size}x${size} is ${width}x${height}"
done

desktop="$root/usr/share/applications/tavrell-veltrix.desktop"
report=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate failed"
[ -z "$report" ] || fail "desktop-file-validate: $report"

metainfo="$root/usr/share/metainfo/net.tavrell.veltrix.metainfo.xml"
report=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli: $report"
if grep -E '^(E|W):' <<<"$report"; then fail "appstreamcli reports errors or warnings"; fi

for page in "$root"/usr/share/man/man1/*.1.gz; do
  report=$(zcat "$page" | groff -man -ww -z 2>&1) || fail "groff failed on $page"
  [ -z "$report" ] || fail "$(basename "$page"): $report"
done

version=$("$root/usr/bin/tavrell-veltrix" --version) || fail "tavrell-veltrix --version failed"
[[ $version == "Tavrell Veltrix Version "* ]] || fail "tavrell-veltrix --version printed '$version'"

[ "$failures" -eq 0 ] && echo "install layout: ${#expected[@]} files, all checks passed"
exit $((failures > 0))
