#!/usr/bin/env bash
# What happens while the window is still reading its start-up playlist (strace
# holds the opening of PLAYLIST.M3U for a few seconds, as a slow disk would):
# a second start hands over to it instead of opening a second window, and
# SIGTERM still ends in the saving shutdown once the restore is done.
# Usage: startup_handover_test.sh PATH/TO/velkaris WAVFILE   (exit 77: skipped)
set -u
vk=$1
wav=$2
command -v strace >/dev/null || { echo "skipped: strace missing"; exit 77; }
work=$(mktemp -d)
tracer=
trap '[ -n "$tracer" ] && kill -KILL "$tracer" 2>/dev/null; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=offscreen VELKARIS_AUDIO=null
unset DBUS_SESSION_BUS_ADDRESS
dir=$XDG_CONFIG_HOME/velkaris
mkdir -p "$dir"
printf '%s\n' "$wav" >"$dir/PLAYLIST.M3U"
# A container may forbid tracing: then there is nothing to test with.
strace -qq -o /dev/null true 2>/dev/null || { echo "skipped: tracing not allowed"; exit 77; }
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

strace -f -qq --seccomp-bpf -o "$work/strace.log" -P "$dir/PLAYLIST.M3U" -e trace=openat \
  -e inject=openat:delay_enter=6000000 "$vk" >"$work/first.log" 2>&1 &
tracer=$!
# Held: the program's main thread stays stopped by the tracer.
first=
held=0
for _ in $(seq 100); do
  first=$(pgrep -P "$tracer" | head -1)
  if [ -n "$first" ] && [ "$(cat "/proc/$first/wchan" 2>/dev/null)" = ptrace_stop ]; then
    held=$((held + 1))
    [ $held -ge 3 ] && break
  else
    held=0
  fi
  sleep 0.1
done
[ $held -ge 3 ] || { fail "the restore was never held"; exit 1; }

# While the restore is held.
timeout 4 "$vk" >"$work/second.log" 2>&1
status=$?
[ $status = 0 ] || fail "the second start did not hand over (status $status)"

kill -TERM "$first"
sleep 0.3
kill -0 "$first" 2>/dev/null || fail "SIGTERM ended the program in the middle of its restore"
wait "$tracer"
status=$?
tracer=
[ $status = 0 ] || fail "exit status $status after SIGTERM: $(cat "$work/first.log")"
[ -f "$dir/MAIN.INI" ] || fail "MAIN.INI not saved"
grep -qF "$wav" "$dir/PLAYLIST.M3U" || fail "the restored row is not in the saved playlist"

[ $failures = 0 ] || { cat "$dir/PLAYLIST.M3U" "$work/strace.log" "$work/first.log"; }
[ $failures = 0 ] && echo "start-up hand-over and SIGTERM: ok"
exit $((failures > 0))
