#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds Velkaris and opens the window playing
# the demo song. Extra arguments are more files for the playlist. On a machine
# without sound: VELKARIS_AUDIO=null bash tools/run.sh
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake --preset default
cmake --build --preset default -j "$(nproc)" --target velkaris velkaris-cli vk_sample
exec ./build/velkaris build/samples/velkaris-demo.wav "$@"
