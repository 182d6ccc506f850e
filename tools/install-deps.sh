#!/usr/bin/env bash
# Installs the Debian packages Velkaris needs to build, test and run, when any
# is missing. Runs apt-get as root (directly, or through sudo).
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libsdl2-dev libmpg123-dev
  libavformat-dev libavcodec-dev libswresample-dev libavutil-dev ffmpeg flac
  qt6-base-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n libfreetype-dev libfontconfig-dev fonts-ipafont-gothic
  libfftw3-dev libpng-dev librubberband-dev
  clang libclang-rt-dev
  xvfb xdotool gnuplot-nox lame  # tools/soak.sh
  dbus playerctl                   # the media-controls test runs on a private bus
  openbox x11-utils strace         # the window under a real window manager; a held start-up
  dpkg-dev file lintian desktop-file-utils appstream  # cpack -G DEB and its checks
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
echo "Installing: ${missing[*]}"
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
