#!/bin/sh
# Regenerates the MPEG audio fixtures in tests/data/mp3 from synthetic sines.
# Needs sox and lame. The results are committed; run this only to change them.
set -eu
out="$(cd "$(dirname "$0")/.." && pwd)/tests/data/mp3"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$out"

# Sines at half of full scale: left 1000 Hz, right 2500 Hz (mono: 440 Hz).
sox -n -r 44100 -c 2 -b 16 "$tmp/st44.wav" synth 2 sine 1000 sine 2500 vol 0.5
sox -n -r 22050 -c 1 -b 16 "$tmp/mono22.wav" synth 2 sine 440 vol 0.5
sox -n -r 11025 -c 1 -b 16 "$tmp/mono11.wav" synth 1 sine 440 vol 0.5

L="lame --quiet --noreplaygain"
# MPEG-1 Layer III, 128 kbps CBR, joint stereo, LAME "Info" frame, ID3v2.3 + ID3v1.
$L -b 128 -m j --tt "Sine Title" --ta "Sine Artist" --tl "Sine Album" --add-id3v2 \
  "$tmp/st44.wav" "$out/cbr128_js_44k.mp3"
# The same without the "Info" frame and without tags.
$L -b 128 -m j -t "$tmp/st44.wav" "$out/cbr128_notag_44k.mp3"
# MPEG-1 VBR with a Xing header, ID3v2.3 only.
$L -V 5 -m j --tt "VBR Title" --id3v2-only "$tmp/st44.wav" "$out/vbr_xing_44k.mp3"
# MPEG-2 Layer III, 64 kbps mono, ID3v1 only (title blank-padded by the format).
$L -b 64 -m m --tt "Mono" --ta "Low" --id3v1-only "$tmp/mono22.wav" "$out/cbr64_mono_22k.mp3"
# MPEG-2.5 Layer III, 32 kbps mono, no tags, no Info frame.
$L -b 32 -m m -t "$tmp/mono11.wav" "$out/cbr32_mono_11k.mp3"
ls -l "$out"
