#!/usr/bin/env bash
# Installs every Debian 12 package the player, its tests, benchmarks and fuzz targets need.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail

packages=(
  # toolchain
  build-essential cmake ninja-build pkg-config ccache clang libclang-rt-14-dev
  # windows, drawing, dialogs
  qt6-base-dev qt6-base-dev-tools libgl-dev libegl-dev
  # QOpenGLWidget, which mpv's render API draws into
  libqt6opengl6-dev
  # playback engines
  libmpv-dev
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev gstreamer1.0-plugins-base
  gstreamer1.0-plugins-good gstreamer1.0-x gstreamer1.0-gl gstreamer1.0-libav
  # subtitle tracks inside Matroska, MP4 and WebM files
  libavformat-dev libavcodec-dev libavutil-dev
  # settings registry, subtitle text encodings, X11 window queries
  libsqlite3-dev libuchardet-dev libx11-dev
  # fonts that "Arial" and "Tahoma" resolve to
  fonts-liberation fonts-dejavu-core
  # tests, real-window tests, screenshots, benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth openbox imagemagick x11-utils ffmpeg
  # the engines' own command-line players, the peers the open-to-playing benchmark measures
  mpv gstreamer1.0-tools
  # real clicks on the video in the window tests (XTest)
  libxtst-dev
  # software OpenGL under Xvfb
  libgl1-mesa-dri
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: everything is installed"
  exit 0
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
