#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a fixed number of
# runs from the seeds in tests/data, so a crash that was found once is found
# again on every run. The corpus each run grows, and any crashing input, stay
# in build-fuzz/. Usage: tools/fuzz.sh [scale], where the runs below are
# multiplied by scale (default 1: about 15 s of fuzzing in all).
set -euo pipefail
cd "$(dirname "$0")/.."
scale=${1:-1}
out=build-fuzz

CC=clang CXX=clang++ cmake -S . -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVK_FUZZ=ON -DVK_BENCH=OFF -DVK_WERROR=ON >/dev/null
cmake --build "$out" -j "$(nproc)" --target vk_fuzzers

# Seeds for the FFmpeg reader: a tenth of a second in each container it takes,
# made here rather than stored.
ffseeds="$out/seeds/ffmpeg"
mkdir -p "$ffseeds"
for f in a.flac a.ogg a.opus a.m4a a.wv a.aiff a.caf; do
  [ -s "$ffseeds/$f" ] || ffmpeg -nostdin -v error -y -f lavfi -i "sine=f=440:d=0.1" \
    -metadata title=seed "$ffseeds/$f"
done

# fuzzer, seed folder (under tests/data, or a path), runs (a full MPEG open decodes every
# frame, so it gets fewer)
targets=(
  "fuzz_mp3_open mp3 800"
  "fuzz_wav_open wav 5000"
  "fuzz_ffmpeg_open $ffseeds 2000"
  "fuzz_id3_frames id3 20000"
  "fuzz_ini ini 5000"
  "fuzz_m3u m3u 5000"
  "fuzz_lyrics lyrics 5000"
)
mkdir -p "$out/artifacts"
for t in "${targets[@]}"; do
  read -r name seeds base <<<"$t"
  runs=$((base * scale))
  seed_dir="tests/data/$seeds"
  [ -d "$seed_dir" ] || seed_dir="$seeds"
  mkdir -p "$out/corpus/$name"
  echo "== $name: $runs runs"
  # -max_total_time only guards against a slow machine; the runs are the measure.
  log="$out/$name.log"
  status=0
  "$out/fuzz/$name" -runs="$runs" -seed=1 -max_len=65536 -max_total_time=20 -print_final_stats=1 \
    -artifact_prefix="$out/artifacts/$name-" "$out/corpus/$name" "$seed_dir" >"$log" 2>&1 || status=$?
  grep -E "^(Done|stat::number_of_executed_units)" "$log" || true
  if [ "$status" -ne 0 ]; then
    tail -n 60 "$log"
    echo "$name failed; the input is in $out/artifacts/" >&2
    exit 1
  fi
done
