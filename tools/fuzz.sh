#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a fixed number of
# runs from the seeds in tests/data, so a crash that was found once is found
# again on every run. The corpus each run grows, and any crashing input, stay
# in build-fuzz/. Usage: tools/fuzz.sh [scale], where the runs below are
# multiplied by scale (default 1: about 15 s of fuzzing in all, then a few
# seconds of the lyrics and M3U readers on inputs of several MB).
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

# run NAME LOG ARGS...: one fuzzer run; on a failure its log's end and where
# the input was kept.
run() {
  local name=$1 log=$2 status=0
  shift 2
  "$out/fuzz/$name" -seed=1 -print_final_stats=1 "$@" >"$log" 2>&1 || status=$?
  grep -E "^(Done|stat::number_of_executed_units|stat::peak_rss_mb)" "$log" || true
  if [ "$status" -ne 0 ]; then
    tail -n 60 "$log"
    echo "$name failed; the input is in $out/artifacts/" >&2
    exit 1
  fi
}

for t in "${targets[@]}"; do
  read -r name seeds base <<<"$t"
  runs=$((base * scale))
  seed_dir="tests/data/$seeds"
  [ -d "$seed_dir" ] || seed_dir="$seeds"
  mkdir -p "$out/corpus/$name"
  echo "== $name: $runs runs"
  # -max_total_time only guards against a slow machine; the runs are the measure.
  run "$name" "$out/$name.log" -runs="$runs" -max_len=65536 -max_total_time=20 \
    -artifact_prefix="$out/artifacts/$name-" "$out/corpus/$name" "$seed_dir"
done

# The text readers once more on inputs of a few MB, seeded with the floods that
# once cost gigabytes (a file of "[" lines, a list line of millions of path
# components), under a memory limit: a reader whose memory grows far beyond
# its input fails here. Few runs, since each input is large.
big="$out/big-seeds"
rm -rf "$big/fuzz_lyrics" "$big/fuzz_m3u"
mkdir -p "$big/fuzz_lyrics" "$big/fuzz_m3u"
python3 - "$big" <<'PY'
import sys
big = sys.argv[1]
open(f"{big}/fuzz_lyrics/brackets", "w").write("[\n" * (512 * 1024))
open(f"{big}/fuzz_lyrics/lines", "w").write("".join(
    f"[{i // 6000:02d}:{i // 100 % 60:02d}.{i % 100:02d}]line\n" for i in range(100000)))
open(f"{big}/fuzz_m3u/long_line", "w").write("a/" * (2 * 1024 * 1024 - 8) + "\nb.mp3\n")
PY
# The RSS limits sit between what the readers need now (about 350 and 300 MB
# with the sanitizers) and what the floods once cost (gigabytes; 550 MB for
# the list line).
for t in "fuzz_lyrics 640" "fuzz_m3u 448"; do
  read -r name rss <<<"$t"
  runs=$((10 * scale))
  echo "== $name, inputs up to 4 MB: $runs runs"
  # What the run finds goes to a scratch folder, so the seeds stay three.
  rm -rf "$big/found-$name" && mkdir -p "$big/found-$name"
  run "$name" "$out/$name-big.log" -runs="$runs" -max_len=4194304 -len_control=0 \
    -rss_limit_mb="$rss" -malloc_limit_mb=256 -max_total_time=30 \
    -artifact_prefix="$out/artifacts/$name-big-" "$big/found-$name" "$big/$name"
done
