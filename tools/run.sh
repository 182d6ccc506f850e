#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds Velkaris and plays the demo song.
# Extra arguments go to the player, e.g. --audio null on a machine without sound.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake --preset default
cmake --build --preset default -j "$(nproc)" --target velkaris-cli vk_sample
exec ./build/velkaris-cli play build/samples/velkaris-demo.wav "$@"
