#!/usr/bin/env bash
# Screenshots of the window in its three layouts (normal, max, mini) for the
# README: the demo song playing on the null output under a virtual X server.
#   bash tools/take_screenshots.sh [BUILD_DIR] [OUT_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=${2:-docs}
mkdir -p "$out"
song="$build/samples/velkaris-demo.wav"
[ -x "$build/velkaris" ] || { echo "build velkaris first: cmake --build $build --target velkaris vk_sample"; exit 1; }

shoot() {  # name, extra [Display] lines
  local name=$1 display=$2 cfg
  cfg=$(mktemp -d)
  mkdir -p "$cfg/velkaris"
  printf '[Window]\nMainWndPosX=0\nMainWndPosY=0\nMainWndSizX=0\nMainWndSizY=0\n\n[Display]\nTheme=\n%b\nAutoThres=1\n\n[Option]\nNextPlayList=0\n\n' \
    "$display" > "$cfg/velkaris/MAIN.INI"
  XDG_CONFIG_HOME="$cfg" VELKARIS_AUDIO=null xvfb-run -a -s '-screen 0 1280x800x24' \
    bash -c "\"$build/velkaris\" \"$song\" & pid=\$!
             sleep 6
             wid=\$(xdotool search --sync --onlyvisible --name Velkaris | head -1)
             eval \$(xdotool getwindowgeometry --shell \$wid)
             import -window root -crop \${WIDTH}x\${HEIGHT}+\${X}+\${Y} +repage \"$out/$name.png\"
             kill \$pid; wait \$pid || true"
  rm -rf "$cfg"
  # Small for the README: 64 colours are plenty for flat controls.
  convert "$out/$name.png" -colors 128 "PNG8:$out/$name.png"
}

shoot window-normal 'MiniMode=0\nMaxMode=0\nBmpOctave=1'
shoot window-max 'MiniMode=0\nMaxMode=1\nBmpOctave=1'
shoot window-mini 'MiniMode=1\nMaxMode=0\nBmpOctave=1\nBmpWndPos=0'
ls -l "$out"/window-*.png
