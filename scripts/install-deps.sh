#!/usr/bin/env bash
# Installs the Debian 12 packages the player needs. `install-deps.sh run` (what scripts/run.sh
# uses) installs what building and playing need; `install-deps.sh test` (the default, what
# scripts/test.sh uses) adds the tests, benchmarks, fuzzing and packaging checks.
# Safe to run again: only what is missing is installed.
set -euo pipefail

run_set=(
  # toolchain
  build-essential cmake ninja-build pkg-config
  # windows, drawing, dialogs; QOpenGLWidget, which mpv's render API draws into
  qt6-base-dev qt6-base-dev-tools libgl-dev libegl-dev libqt6opengl6-dev
  # playback engines
  libmpv-dev
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev gstreamer1.0-plugins-base
  gstreamer1.0-plugins-good gstreamer1.0-x gstreamer1.0-gl gstreamer1.0-libav
  # subtitle tracks inside Matroska, MP4 and WebM files
  libavformat-dev libavcodec-dev libavutil-dev
  # synchronising subtitles with the film's sound: FFT and the WebRTC voice detector
  libfftw3-dev libwebrtc-audio-processing-dev
  # settings registry, subtitle text encodings, X11 window queries
  libsqlite3-dev libuchardet-dev libx11-dev
  # fonts that "Arial" and "Tahoma" resolve to
  fonts-liberation fonts-dejavu-core
  # OpenGL where no graphics driver is installed (mpv draws through it)
  libgl1-mesa-dri
)

test_set=(
  # shared compiler cache; clang and its runtime for the fuzz targets
  ccache clang libclang-rt-14-dev
  # tests, real-window tests, screenshots, benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth openbox imagemagick x11-utils ffmpeg
  # the engines' own command-line players, the peers the open-to-playing benchmark measures
  mpv gstreamer1.0-tools
  # spoken films whose subtitle timing is known, for the synchronisation tests and evaluation
  espeak-ng sox
  # real clicks on the video in the window tests (XTest)
  libxtst-dev
  # the desktop entry, metainfo and package checks; the clean root the package is tried in
  desktop-file-utils appstream lintian debootstrap
)

case "${1:-test}" in
  run) packages=("${run_set[@]}") ;;
  test) packages=("${run_set[@]}" "${test_set[@]}") ;;
  *) echo "usage: install-deps.sh [run|test]" >&2; exit 2 ;;
esac

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
