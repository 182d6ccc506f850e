#!/usr/bin/env bash
# A long run of the window: tools/soak.sh HOURS [OUT]
#
# Starts the window under Xvfb with the null output on a playlist of 50 made
# files (WAV and MP3, mono and stereo, CBR and VBR, some with lyrics beside
# them) and drives it through its own doors: every minute a second `velkaris`
# hands over the playlist turned by one file, then keys open the menus to
# switch each effect on and off, set and clear A-B points and step to the next
# and previous file, and clicks on the seek bar jump about.
#
# Every minute one CSV row (OUT/soak.csv): resident memory, open files,
# threads, the heard position's drift over a quiet stretch of 20 s (no effect
# switched, no seek: the slope of the sounding frame against the clock, fitted
# over the window's 200 ms ticks), the worst lateness of those ticks during the minute
# (how long its user-interface thread did not answer), and the time an X round
# trip and a hand-over take. At the end the window is closed with SIGTERM, a
# summary goes to OUT/summary.txt and a plot to OUT/soak.png.
#
# Needs: xvfb, xdotool, gnuplot-nox, lame (tools/install-deps.sh), and a built
# build/velkaris and build/samples/velkaris-demo.wav (targets velkaris, vk_sample).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
hours=${1:?usage: tools/soak.sh HOURS [OUT]}
out=$(realpath -m "${2:-$root/build/soak}")
bin="$root/build/velkaris"
demo="$root/build/samples/velkaris-demo.wav"
minutes=$(python3 -c "print(max(1, round(float('$hours') * 60)))")
rate=44100

for tool in Xvfb xdotool gnuplot lame python3; do
  command -v "$tool" >/dev/null || { echo "soak: $tool is missing (tools/install-deps.sh)" >&2; exit 2; }
done
[ -x "$bin" ] && [ -f "$demo" ] || { echo "soak: build velkaris and vk_sample first" >&2; exit 2; }

mkdir -p "$out/files" "$out/config"
# A copy, so a rebuild during the run changes neither the window nor the hand-overs.
cp "$bin" "$out/velkaris"
bin="$out/velkaris"
rm -f "$out"/soak.csv "$out"/window.log "$out"/summary.txt "$out"/soak.png

# --- the playlist: 50 files at 44.1 kHz, so frames convert to ms alike ---
python3 - "$demo" "$out/files" <<'EOF'
import array, sys, wave
src, dest = sys.argv[1], sys.argv[2]
with wave.open(src) as w:
    frames = w.readframes(w.getnframes())
    width, rate = w.getsampwidth(), w.getframerate()
for i in range(50):
    data = frames * (2 + i % 2)          # 44 or 66 s, longer than a quiet stretch
    channels = 2
    if i % 5 == 4:                        # every fifth one mono
        s = array.array("h", data)        # 16-bit stereo: average each pair
        data, channels = array.array("h", ((a + b) // 2 for a, b in zip(s[::2], s[1::2]))).tobytes(), 1
    with wave.open(f"{dest}/soak-{i:02d}.wav", "wb") as o:
        o.setnchannels(channels); o.setsampwidth(width); o.setframerate(rate)
        o.writeframes(data)
EOF
lyrics="$root/samples/velkaris-demo.lrc"
for i in $(seq -w 0 49); do
  f="$out/files/soak-$i"
  if [ $((10#$i % 2)) -eq 1 ]; then  # odd ones become MP3: CBR, then VBR (with a Xing frame)
    if [ ! -f "$f.mp3" ]; then
      if [ $((10#$i % 4)) -eq 1 ]; then lame --quiet -b 128 "$f.wav" "$f.mp3"
      else lame --quiet -V 4 "$f.wav" "$f.mp3"; fi
    fi
    rm -f "$f.wav"
    list+=("$f.mp3")
  else
    list+=("$f.wav")
  fi
  [ $((10#$i % 3)) -eq 0 ] && [ -f "$lyrics" ] && cp "$lyrics" "$f.lrc"
done

# --- the display and the window ---
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1600x1000x24 -nolisten tcp >"$out/xvfb.log" 2>&1 &
xvfb=$!
export DISPLAY=$display XDG_CONFIG_HOME="$out/config" VELKARIS_AUDIO=null
cleanup() {
  [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
sleep 2
VELKARIS_MEASURE=soak:200 "$bin" "${list[@]}" >"$out/window.log" 2>&1 &
pid=$!
for _ in $(seq 50); do grep -q SoakTick "$out/window.log" && break; sleep 0.2; done
win=$(xdotool search --sync --pid "$pid" --onlyvisible --name . | head -1)

ms() { date +%s%3N; }
key() { xdotool windowfocus --sync "$win" key --delay 60 "$@"; sleep 0.3; }
# Menu item n (counted from 1, separators skipped) of the menu with mnemonic m.
menu() {
  local m=$1 n=$2 downs=()
  for _ in $(seq 2 "$n"); do downs+=(Down); done
  key "alt+$m" "${downs[@]}" Return
}
# Effects menu: items 1…6 switch an effect. Play menu: 3 previous, 4 next,
# 9 A here, 10 B here, 11 clear A-B (disabled items are skipped, so it is
# only asked for while A and B are set).
effect() { menu e "$1"; }
seek_to() {  # a click on the seek bar at fraction $1 of its width
  eval "$(xdotool getwindowgeometry --shell "$win")"
  xdotool mousemove --window "$win" $((WIDTH * $1 / 100)) "$seek_y" click 1
  sleep 0.3
}
last_tick() { grep SoakTick "$out/window.log" | tail -1 | sed 's/.*wall_us=\([0-9]*\).*frame=\(-*[0-9]*\)/\1 \2/'; }
# The heard position's drift from w0 to w1 (µs of the window's clock): the
# least-squares slope of frame against time, less one, times the stretch. A
# stretch with a jump (the file ended, a stray seek) gives no figure.
drift_between() {
  grep SoakTick "$out/window.log" | python3 -c "
import sys
w0, w1, rate = int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3])
p = []
for line in sys.stdin:
    f = dict(kv.split('=') for kv in line.split()[1:])
    w, fr = int(f['wall_us']), int(f['frame'])
    if w0 <= w <= w1 and fr >= 0: p.append((w / 1e3, fr * 1e3 / rate))
if len(p) < 10 or any(b[1] - a[1] < 0 or b[1] - a[1] > 2 * (b[0] - a[0]) + 50 for a, b in zip(p, p[1:])):
    print(''); sys.exit()
n = len(p); mx = sum(a for a, _ in p) / n; my = sum(b for _, b in p) / n
slope = sum((a - mx) * (b - my) for a, b in p) / sum((a - mx) ** 2 for a, _ in p)
print(round((slope - 1) * (p[-1][0] - p[0][0]), 3))
" "$1" "$2" "$rate"
}
rotate() { local k=$1; printf '%s\n' "${list[@]:k}" "${list[@]:0:k}"; }

# The seek bar's height in the window at its first size (0 turns the clicks off).
seek_y=${VK_SOAK_SEEK_Y:-300}

echo "minute,elapsed_s,rss_kb,open_files,threads,drift_ms,worst_late_ms,x_roundtrip_ms,handover_ms" >"$out/soak.csv"
start=$(ms)
for m in $(seq 1 "$minutes"); do
  minute_start=$(ms)
  mark=$(wc -l <"$out/window.log")
  # The hand-over: the whole list, turned by one, plays its first file.
  mapfile -t turned < <(rotate $(((m - 1) % 50)))
  t0=$(ms); "$bin" "${turned[@]}"; handover=$(($(ms) - t0))
  sleep 2
  read -r w0 _ < <(last_tick)
  sleep 20
  read -r w1 _ < <(last_tick)
  drift=$(drift_between "$w0" "$w1")

  # The busy part: effects on, seeks, A-B, next and previous, effects off.
  for e in 1 2 3 4 5 6; do effect "$e"; done
  [ "$seek_y" -gt 0 ] && { seek_to $((10 + RANDOM % 60)); seek_to $((5 + RANDOM % 30)); }
  menu p 9; sleep 2; menu p 10; sleep 5; menu p 11
  menu p 4; sleep 2; menu p 4; sleep 2; menu p 3; sleep 1
  [ "$seek_y" -gt 0 ] && seek_to $((RANDOM % 90))
  for e in 1 2 3 4 5 6; do effect "$e"; done

  # Wait out the minute, then sample.
  while [ $(($(ms) - minute_start)) -lt 59000 ]; do sleep 0.5; done
  kill -0 "$pid" 2>/dev/null || { echo "soak: the window ended in minute $m" >&2; exit 1; }
  rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status")
  threads=$(awk '/^Threads:/ {print $2}' "/proc/$pid/status")
  files=$(find "/proc/$pid/fd" -mindepth 1 -maxdepth 1 | wc -l)
  late=$(tail -n +"$((mark + 1))" "$out/window.log" | grep SoakTick |
         sed 's/.*late_us=\(-*[0-9]*\).*/\1/' | sort -n | tail -1)
  t0=$(ms); xdotool getwindowname "$win" >/dev/null; xrt=$(($(ms) - t0))
  echo "$m,$(( ($(ms) - start) / 1000 )),$rss,$files,$threads,$drift,$(python3 -c "print(round(${late:-0} / 1000, 1))"),$xrt,$handover" >>"$out/soak.csv"
done

# --- close as a session end would, and check the settings were saved ---
t0=$(ms); kill -TERM "$pid"
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then close="still running 10 s after SIGTERM"; else close="closed in $(($(ms) - t0)) ms"; fi
pid=

python3 - "$out" "$close" <<'EOF' | tee "$out/summary.txt"
import csv, sys
out, close = sys.argv[1], sys.argv[2]
rows = list(csv.DictReader(open(f"{out}/soak.csv")))
def col(k, rs=rows): return [float(r[k]) for r in rs if r[k] != ""]
late = [r for r in rows if int(r["minute"]) > 10] or rows
x, y = col("minute", late), col("rss_kb", late)
n = len(x)
mx, my = sum(x) / n, sum(y) / n
sxx = sum((a - mx) ** 2 for a in x)
slope = sum((a - mx) * (b - my) for a, b in zip(x, y)) / sxx if sxx else 0.0
drift = col("drift_ms")
quiet_s = 20 * len(drift)
print(f"minutes: {len(rows)}")
print(f"rss: first {rows[0]['rss_kb']} kB, at minute 10 {y[0]:.0f} kB, last {rows[-1]['rss_kb']} kB")
print(f"rss growth after minute 10 (least squares): {slope * 60 / 1024:.2f} MB per hour")
# Resident memory swings between what the playing file needs; the highest value
# of each ten minutes shows growth without that swing.
tops = [(m + 5, max(b for a, b in zip(x, y) if m < a <= m + 10)) for m in range(10, int(max(x)), 10)
        if any(m < a <= m + 10 for a in x)]
if len(tops) > 1:
    tx, ty = [a for a, _ in tops], [b for _, b in tops]
    tmx, tmy = sum(tx) / len(tx), sum(ty) / len(ty)
    tslope = sum((a - tmx) * (b - tmy) for a, b in zip(tx, ty)) / sum((a - tmx) ** 2 for a in tx)
    print(f"rss growth of the ten-minute highs: {tslope * 60 / 1024:.2f} MB per hour "
          f"({', '.join(str(b) for b in ty)} kB)")
for k in ("open_files", "threads"):
    v = col(k, late)
    print(f"{k} after minute 10: min {min(v):.0f}, max {max(v):.0f}")
if drift:
    print(f"drift over {len(drift)} quiet stretches of 20 s: sum {sum(drift):.1f} ms, "
          f"mean {sum(drift) / len(drift):.2f} ms, worst {max(drift, key=abs):.1f} ms; "
          f"{sum(drift) * 3600 / quiet_s:.1f} ms per hour of playing")
print(f"worst lateness of the window's timer: {max(col('worst_late_ms')):.1f} ms")
print(f"worst X round trip: {max(col('x_roundtrip_ms')):.0f} ms; worst hand-over: {max(col('handover_ms')):.0f} ms")
print(f"close: {close}")
EOF
gnuplot <<EOF
set terminal pngcairo size 900,600 font ",9"
set output "$out/soak.png"
set datafile separator ","
set multiplot layout 2,2 title "velkaris soak (null output, Xvfb)"
set xlabel "minute"
set offsets 0, 0, 1, 1
set title "resident memory (MB)"; plot "$out/soak.csv" skip 1 using 1:(\$3/1024) with lines notitle
set title "open files / threads"; plot "$out/soak.csv" skip 1 using 1:4 with lines title "files", "" skip 1 using 1:5 with lines title "threads"
set title "drift per 20 s quiet stretch (ms)"; plot "$out/soak.csv" skip 1 using 1:6 with points pt 7 ps 0.5 notitle
set title "worst timer lateness per minute (ms)"; plot "$out/soak.csv" skip 1 using 1:7 with lines notitle
unset multiplot
EOF
