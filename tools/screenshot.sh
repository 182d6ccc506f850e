#!/usr/bin/env bash
# Takes the README's picture of the window: the demo song playing under Xvfb
# with the null output. Needs xvfb and imagemagick; usage:
#   tools/screenshot.sh OUT.png [Key=Value]...   (more [Display] keys: MaxMode=1, MiniMode=1)
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-docs/velkaris-window.png}")
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
mkdir -p "$config/velkaris" "$(dirname "$out")"
display='BmpOctave=1'
for kv in "${@:2}"; do display+="\n$kv"; done
printf '[Display]\n%b\n\n' "$display" > "$config/velkaris/MAIN.INI"
XDG_CONFIG_HOME="$config" VELKARIS_AUDIO=null xvfb-run -a -s '-screen 0 1280x800x24' bash -c '
  ./build/velkaris build/samples/velkaris-demo.wav build/samples/velkaris-demo.wav &
  sleep 8
  import -window root -crop "$(xdotool search --onlyvisible --name Velkaris getwindowgeometry --shell | \
    awk -F= "/WIDTH/{w=\$2}/HEIGHT/{h=\$2}END{print w\"x\"h\"+0+0\"}")" "'"$out"'"
  kill -TERM %1; wait %1'
echo "$out"
