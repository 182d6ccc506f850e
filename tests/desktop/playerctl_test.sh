#!/usr/bin/env bash
# playerctl, as a desktop's media keys use it, sees and drives the program on a
# private session bus.
# Usage: playerctl_test.sh PATH/TO/velkaris WAVFILE   (exit 77: tools missing, skipped)
set -u
vk=$1
wav=$2
for tool in dbus-run-session playerctl; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool missing"; exit 77; }
done
if [ -z "${VK_PRIVATE_BUS:-}" ]; then
  VK_PRIVATE_BUS=1 exec dbus-run-session -- "$0" "$@"
fi
work=$(mktemp -d)
app=
trap '[ -n "$app" ] && kill -TERM "$app" 2>/dev/null; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache QT_QPA_PLATFORM=offscreen VELKARIS_AUDIO=null
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pc() { playerctl -p velkaris "$@" 2>&1; }

"$vk" "$wav" >"$work/log" 2>&1 &
app=$!
for _ in $(seq 100); do [ "$(pc status)" = Playing ] && break; sleep 0.1; done
[ "$(pc status)" = Playing ] || fail "status: $(pc status)"
[ "$(pc metadata xesam:url)" = "file://$wav" ] || fail "url: $(pc metadata xesam:url)"
pc pause
[ "$(pc status)" = Paused ] || fail "after pause: $(pc status)"
pc position 1
position=$(pc position)
case $position in 1.0*|0.9*) ;; *) fail "position after seeking to 1 s: $position" ;; esac
pc loop Playlist
[ "$(pc loop)" = Playlist ] || fail "loop: $(pc loop)"
pc play
[ "$(pc status)" = Playing ] || fail "after play: $(pc status)"
pc stop
[ "$(pc status)" = Stopped ] || fail "after stop: $(pc status)"
playerctl -p velkaris --no-messages status >/dev/null || fail "not listed"
kill -TERM "$app"
wait "$app"
app=
grep -q '^RepeatAll=1' "$XDG_CONFIG_HOME/velkaris/MAIN.INI" || fail "the loop status did not reach the settings"

[ $failures = 0 ] && echo "playerctl: ok"
exit $((failures > 0))
