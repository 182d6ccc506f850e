#!/bin/sh
# Encodes the MP3 twin of the demo song into samples/ from the WAV that the
# build synthesises (vk_sample target): velkaris-demo.wav in BUILD/samples.
# Needs lame. The result is committed; run this only when the song changes.
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
wav="${1:-$root/build/samples/velkaris-demo.wav}"
lame --quiet -b 96 --tt "Velkaris Demo" --ta "Velkaris" --tl "Velkaris Samples" \
  --add-id3v2 --id3v2-only "$wav" "$root/samples/velkaris-demo.mp3"
