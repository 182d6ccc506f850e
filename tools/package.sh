#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds Velkaris, makes the Debian package
# build/velkaris_<version>_amd64.deb and installs it with apt-get (as root, or
# through sudo). With --no-install it only makes the package.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake --preset default
cmake --build --preset default -j "$(nproc)" --target velkaris velkaris-cli vk_package_files
(cd build && cpack -G DEB)
deb=$(ls build/velkaris_*_amd64.deb)
echo "made $deb"
[ "${1:-}" = --no-install ] && exit 0
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "./$deb"
