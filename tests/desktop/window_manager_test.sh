#!/usr/bin/env bash
# The window under a real window manager (openbox in Xvfb), as a user starts it:
#  - the stored rectangle is the outer window, so restarting keeps its size and
#    place exactly (no growth by the frame);
#  - the window manager offers no maximise;
#  - a second start without paths brings the running window to the front.
# Usage: window_manager_test.sh PATH/TO/velkaris   (exit 77: tools missing, skipped)
set -u
vk=$1
for tool in xvfb-run openbox xdotool xprop xmessage; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool missing"; exit 77; }
done
if [ -z "${VK_UNDER_XVFB:-}" ]; then
  VK_UNDER_XVFB=1 exec xvfb-run -a -s '-screen 0 1600x1000x24' "$0" "$@"
fi

work=$(mktemp -d)
wm_pid=
trap 'kill $wm_pid 2>/dev/null; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache VELKARIS_AUDIO=null
export QT_QPA_PLATFORM=xcb
unset DBUS_SESSION_BUS_ADDRESS
ini=$XDG_CONFIG_HOME/velkaris/MAIN.INI
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

openbox --sm-disable >/dev/null 2>&1 &
wm_pid=$!
for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done

# Starts the program and waits for its window; sets $app_pid and $wid.
start() {
  "$vk" "$@" >"$work/out.txt" 2>&1 &
  app_pid=$!
  wid=
  for _ in $(seq 100); do
    wid=$(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | head -1)
    [ -n "$wid" ] && xprop -id "$wid" _NET_FRAME_EXTENTS 2>/dev/null | grep -q '=' && break
    sleep 0.1
  done
  [ -n "$wid" ] || { fail "no window"; return 1; }
  sleep 1.5  # the placement settles once the frame is known
}
stop() {
  kill -TERM "$app_pid"
  wait "$app_pid" 2>/dev/null
}
setting() { sed -n "s/^$1=//p" "$ini" | tr -d '\r'; }
# The outer rectangle as the window manager draws it: client plus frame.
outer() {
  local ext info x y w h
  ext=$(xprop -id "$wid" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
  read -r l r t b <<<"$ext"
  info=$(xwininfo -id "$wid")
  x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
  y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
  w=$(sed -n 's/^ *Width: *//p' <<<"$info")
  h=$(sed -n 's/^ *Height: *//p' <<<"$info")
  echo "$((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))"
}

# First start without MAIN.INI, then a wider window placed away from the corner.
start && stop
[ -f "$ini" ] || fail "MAIN.INI not written"
height=$(setting MainWndSizY)
sed -i "s/^MainWndPosX=.*/MainWndPosX=120/; s/^MainWndPosY=.*/MainWndPosY=80/; s/^MainWndSizX=.*/MainWndSizX=1100/" "$ini"

for round in 1 2 3; do
  start || break
  read -r ox oy ow oh <<<"$(outer)"
  [ "$ow" = 1100 ] || fail "round $round: outer width $ow, stored 1100"
  [ "$oh" = "$height" ] || fail "round $round: outer height $oh, stored $height"
  [ "$ox $oy" = "120 80" ] || fail "round $round: outer corner $ox $oy, stored 120 80"
  if [ "$round" = 1 ]; then
    # Motif hints: flags, functions, decorations. Neither the maximise function
    # (0x10) nor its box (0x40) nor "all" (0x01) may be asked for; minimise may.
    read -r flags functions decorations _ <<<"$(xprop -id "$wid" _MOTIF_WM_HINTS | sed 's/.*= //; s/,/ /g')"
    if [ -z "${flags:-}" ]; then
      fail "no window hints"
    else
      (( (flags & 1) && (functions & 0x11) )) && fail "maximise among the functions: $functions"
      (( (flags & 2) && (decorations & 0x41) )) && fail "a maximise box: $decorations"
      (( (flags & 2) && !(decorations & 0x20) )) && fail "no minimise box: $decorations"
    fi

    # Another window takes the focus; a second start without paths gives it back.
    xmessage -name other "another window" &
    other_pid=$!
    other=
    for _ in $(seq 50); do
      other=$(xdotool search --onlyvisible --classname other 2>/dev/null | head -1)
      [ -n "$other" ] && break
      sleep 0.1
    done
    xdotool windowactivate --sync "$other" 2>/dev/null
    [ "$(xdotool getactivewindow)" = "$other" ] || fail "could not focus the other window"
    timeout 10 "$vk"
    status=$?
    [ $status = 0 ] || fail "second start exited with $status"
    for _ in $(seq 30); do [ "$(xdotool getactivewindow)" = "$wid" ] && break; sleep 0.1; done
    [ "$(xdotool getactivewindow)" = "$wid" ] || fail "the second start did not bring the window to the front"
    [ "$(xdotool search --onlyvisible --pid "$app_pid" | wc -l)" = 1 ] || fail "more than one window"
    kill "$other_pid" 2>/dev/null
  fi
  stop
  [ "$(setting MainWndSizX)" = 1100 ] || fail "round $round: stored width $(setting MainWndSizX)"
  [ "$(setting MainWndSizY)" = "$height" ] || fail "round $round: stored height $(setting MainWndSizY)"
  [ "$(setting MainWndPosX) $(setting MainWndPosY)" = "120 80" ] ||
    fail "round $round: stored corner $(setting MainWndPosX) $(setting MainWndPosY)"
done

[ $failures = 0 ] && echo "window under openbox: ok"
exit $((failures > 0))
