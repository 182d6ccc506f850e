#!/usr/bin/env bash
# Sets up a fresh Debian machine and passes every test: the normal build, then
# the core tests again under the address and undefined-behaviour sanitizers,
# then a short fixed run of each fuzzer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
jobs=$(nproc)

cmake --preset default -DVK_WERROR=ON
cmake --build --preset default -j "$jobs"
ctest --preset default

cmake --preset asan -DVK_WERROR=ON
cmake --build --preset asan -j "$jobs" --target all
ctest --preset asan

bash tools/fuzz.sh
