#!/usr/bin/env bash
# On demand, not in CI: builds the Debian package, runs lintian on it, and tries it on a clean
# Debian 12 root made with debootstrap: installs it with apt-get, asks its version, plays the demo
# headless for three seconds, removes it and checks that nothing of it is left behind.
# Needs root (chroot, mounts) and a Debian mirror: the one apt uses here, or $VELTRIX_DEBIAN_MIRROR.
# The debootstrap download is kept in $VELTRIX_PACKAGE_CHECK_DIR for the next run.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${VELTRIX_BUILD_DIR:-build}
work=${VELTRIX_PACKAGE_CHECK_DIR:-/var/tmp/veltrix-pkgcheck}
step() { printf '\n== %s\n' "$*"; }
fail() { echo "FAILED: $*" >&2; exit 1; }

mirror=${VELTRIX_DEBIAN_MIRROR:-}
if [ -z "$mirror" ]; then
  mirror=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list \
             /etc/apt/sources.list.d/*.sources 2>/dev/null \
           | grep -E '^(URIs:|deb )' | grep -oE 'https?://[^ ]*/debian/?( |$)' | head -1 || true)
fi
mirror=${mirror:-http://deb.debian.org/debian}
mirror=${mirror%% }

step "building the package"
[ -f "$build/CMakeCache.txt" ] || bash scripts/build.sh
cmake --build "$build" --target tavrell-veltrix veltrix-inspect veltrix-inspect-media veltrix_data veltrix-make-demo
rm -rf "$build/package"
(cd "$build" && cpack -G DEB -B package > package.log) || { cat "$build/package.log"; fail "cpack"; }
deb=$(ls "$build"/package/tavrell-veltrix_*.deb)
echo "$(basename "$deb"): $(du -h "$deb" | cut -f1)"
dpkg-deb --field "$deb" Depends Recommends

step "lintian"
lintian --info "$deb" && echo "lintian: no errors"

step "a clean Debian 12 root"
mkdir -p "$work"
root=$(mktemp -d "$work/root.XXXXXX")
chmod 755 "$root"  # apt downloads as its own user, which must reach into the root
cleanup() {
  umount "$root/proc" "$root/dev" "$root/var/cache/apt/archives" 2>/dev/null || true
  rm -rf --one-file-system "$root"
}
trap cleanup EXIT
tarball="$work/bookworm-minbase.tgz"
if [ ! -f "$tarball" ]; then
  debootstrap --variant=minbase --make-tarball="$tarball" bookworm "$root" "$mirror" > /dev/null
  rm -rf --one-file-system "$root" && mkdir "$root"
fi
debootstrap --variant=minbase --unpack-tarball="$tarball" bookworm "$root" "$mirror" > /dev/null
cp /etc/resolv.conf "$root/etc/resolv.conf"
mount -t proc proc "$root/proc"
mount --bind /dev "$root/dev"
# Downloaded packages are kept for the next run.
mkdir -p "$work/apt-archives/partial"
mount --bind "$work/apt-archives" "$root/var/cache/apt/archives"
inside() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
             DEBIAN_FRONTEND=noninteractive "$@"; }
inside apt-get update -q > /dev/null
# debootstrap's minbase leaves out what apt itself recommends; a Debian system has it, and
# autoremove rightly keeps it once anything has brought it in.
inside apt-get install -y -q ca-certificates > /dev/null
echo "debootstrap from $mirror: $(inside dpkg-query -W -f='.\n' | wc -l) packages"

# Everything but caches, logs and the package database, to compare after the removal.
snapshot() {
  (cd "$root" && find . -xdev \( -path ./proc -o -path ./dev -o -path ./tmp -o -path ./run \
     -o -path ./var/cache -o -path ./var/log -o -path ./var/lib/apt -o -path ./var/lib/dpkg \
     -o -path ./root \) -prune -o -print | sort)
}
snapshot > "$work/before.txt"
inside dpkg-query -W -f='${Package}\n' | sort > "$work/packages-before.txt"

step "apt-get install ./$(basename "$deb")"
mkdir -p "$root/tmp/check"
cp "$deb" "$root/tmp/check/"
inside apt-get install -y -q "/tmp/check/$(basename "$deb")" > "$work/install.log" \
  || { tail -20 "$work/install.log"; fail "apt-get install"; }
grep -E '^[0-9]+ upgraded' "$work/install.log"
inside dpkg -L tavrell-veltrix > "$work/owned.txt"
grep -E '^/usr/(bin|libexec/tavrell-veltrix|share/(applications|metainfo|man/man1|icons/hicolor/.*/apps))/.' \
  "$work/owned.txt"

step "tavrell-veltrix --version"
inside tavrell-veltrix --version

step "the demo, headless, for 3 s"
"$build/src/shell/veltrix-make-demo" "$root/tmp/check/Veltrix Demo.avi"
chroot "$root" /usr/bin/env -i PATH=/usr/bin:/bin HOME=/tmp/check QT_QPA_PLATFORM=offscreen \
  XDG_RUNTIME_DIR=/tmp/check VELTRIX_REGISTRY=/tmp/check/registry.db \
  tavrell-veltrix "/tmp/check/Veltrix Demo.avi" > "$work/player.log" 2>&1 &
player=$!
sleep 3
pid=$player  # chroot and env replace themselves with the player
[ -d "/proc/$pid" ] || { cat "$work/player.log"; fail "the player ended within 3 s"; }
ls -l "/proc/$pid/fd" 2>/dev/null | grep -q 'Veltrix Demo.avi' \
  && echo "playing: the demo is open in process $pid" || fail "the demo is not open"
grep -o '/usr/lib/[^ ]*libmpv.so.2[^ ]*' "/proc/$pid/maps" | head -1 | sed 's/^/engine: /'
kill "$pid" 2>/dev/null || true
wait "$player" 2>/dev/null || true
# Without a sound card mpv's ALSA and PipeWire clients complain and play on without sound.
echo "player output: $(wc -l < "$work/player.log") lines, of which not about sound:"
grep -viE 'alsa|pw\.|pipewire|pulse|audio|XDG_RUNTIME_DIR' "$work/player.log" || echo "(none)"

step "apt-get purge tavrell-veltrix, autoremove"
inside apt-get purge -y -q tavrell-veltrix > "$work/remove.log"
inside apt-get autoremove --purge -y -q >> "$work/remove.log"
grep -E '^[0-9]+ upgraded' "$work/remove.log"
inside dpkg-query -W -f='${Package}\n' | sort > "$work/packages-after.txt"
snapshot > "$work/after.txt"
diff "$work/packages-before.txt" "$work/packages-after.txt" || fail "packages left behind"
while read -r path; do
  [ "$path" = /. ] || [ ! -e "$root$path" ] || [ -d "$root$path" ] || fail "left behind: $path"
done < "$work/owned.txt"
if diff "$work/before.txt" "$work/after.txt" > "$work/changes.txt"; then
  echo "nothing left: $(wc -l < "$work/after.txt") paths and" \
    "$(wc -l < "$work/packages-after.txt") packages, as before the installation"
else
  # Only what the dependencies' own scripts leave can differ: none of the package's files is left.
  echo "none of the package's files is left; the dependencies' scripts changed these paths:"
  cat "$work/changes.txt"
fi
