#!/usr/bin/env bash
# Idle CPU of the station, as a ratio to a bare Qt Widgets program with a 56 ms timer
# (build/bench/idle_timer_baseline), all measured in the same run on one virtual display:
#   baseline  the bare program
#   SIM       the real onefortwo polling its built-in installation
#   tcp       the real onefortwo polling onefortwo-sim --tcp over the loopback
# All three run side by side for SECONDS (60 unless given) after a settling time of 5 s;
# CPU is user + system time from /proc/PID/stat over that span (in clock ticks, so long
# runs give steadier ratios), and, where `perf stat` works, each one's task clock as well
# (exact to the microsecond). The tool's own CPU is shown apart: it is the installation,
# not the station.
#   bash bench/idle_cpu.sh [SECONDS] [BUILD_DIR]
# Needs Xvfb; uses the openbox window manager when it is installed, as real desktops
# have one.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=$(cd "${2:-build}" && pwd)
for program in "$build/bench/idle_timer_baseline" "$build/src/gui/onefortwo" \
               "$build/src/sim/onefortwo-sim"; do
  [ -x "$program" ] || { echo "missing $program: build first" >&2; exit 1; }
done

work=$(mktemp -d /tmp/onefortwo-idle-XXXXXX)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A display of our own: Xvfb picks a free number and writes it to fd 3.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
exec 3>&-
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
export QT_QPA_PLATFORM=xcb
if command -v openbox >/dev/null; then
  openbox >/dev/null 2>&1 &
  pids+=($!)
  wm=openbox
else
  wm=none
fi
sleep 0.5

# The installation on TCP; its first line is the port name the station opens.
mkfifo "$work/sim-in"
"$build/src/sim/onefortwo-sim" --tcp 0 <"$work/sim-in" >"$work/sim-out" 2>"$work/sim-err" &
sim=$!
pids+=($sim)
exec 4>"$work/sim-in"  # keeps the tool's standard input open
for _ in $(seq 50); do [ -s "$work/sim-out" ] && break; sleep 0.1; done
tcp_port=$(head -n 1 "$work/sim-out")

mkdir -p "$work/sim" "$work/tcp"
printf 'SIM 9600 N 8 1' >"$work/sim/sdefault.txt"
printf '%s 9600 N 8 1' "$tcp_port" >"$work/tcp/sdefault.txt"

"$build/bench/idle_timer_baseline" >/dev/null 2>&1 &
baseline=$!
pids+=($baseline)
(cd "$work/sim" && exec "$build/src/gui/onefortwo" >/dev/null 2>&1) &
station_sim=$!
pids+=($station_sim)
(cd "$work/tcp" && exec "$build/src/gui/onefortwo" >/dev/null 2>&1) &
station_tcp=$!
pids+=($station_tcp)

sleep 5
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)
declare -A start
for pid in $baseline $station_sim $station_tcp $sim; do start[$pid]=$(ticks "$pid"); done
perf_ok=0
if command -v perf >/dev/null && perf stat -e task-clock -- true >/dev/null 2>&1; then
  perf_ok=1
  for pid in $baseline $station_sim $station_tcp $sim; do
    perf stat -x, -e task-clock -p "$pid" -o "$work/perf-$pid" -- sleep "$seconds" &
  done
fi
t0=$(date +%s.%N)
sleep "$seconds"
t1=$(date +%s.%N)
wait_perf() { for _ in $(seq 50); do grep -q task-clock "$work/perf-$1" 2>/dev/null && return; sleep 0.1; done; }
declare -A used
for pid in $baseline $station_sim $station_tcp $sim; do
  kill -0 "$pid" 2>/dev/null || { echo "process $pid ended during the run" >&2; exit 1; }
  used[$pid]=$(( $(ticks "$pid") - ${start[$pid]} ))
done

grep -q "station connected" "$work/sim-err" || echo "warning: the TCP station never connected" >&2
awk -v hz="$hz" -v span="$(echo "$t1 - $t0" | bc)" -v wm="$wm" \
    -v b="${used[$baseline]}" -v s="${used[$station_sim]}" -v t="${used[$station_tcp]}" \
    -v tool="${used[$sim]}" 'BEGIN {
  printf "idle CPU over %.1f s under Xvfb (window manager: %s), clock ticks of 1/%d s\n", span, wm, hz
  pct = 100.0 / (hz * span)
  printf "  %-34s %6.2f %% CPU  (%d ticks)\n", "bare Qt, 56 ms timer", b * pct, b
  printf "  %-34s %6.2f %% CPU  (%d ticks)  ratio %s\n", "onefortwo on SIM", s * pct, s, b ? sprintf("%.2f", s / b) : "n/a"
  printf "  %-34s %6.2f %% CPU  (%d ticks)  ratio %s\n", "onefortwo over TCP", t * pct, t, b ? sprintf("%.2f", t / b) : "n/a"
  printf "  %-34s %6.2f %% CPU  (%d ticks)\n", "onefortwo-sim --tcp (the installation)", tool * pct, tool
}'

if [ "$perf_ok" = 1 ]; then
  ms() { wait_perf "$1"; awk -F, '/task-clock/ {print $1}' "$work/perf-$1"; }
  awk -v span="$seconds" -v b="$(ms $baseline)" -v s="$(ms $station_sim)" \
      -v t="$(ms $station_tcp)" -v tool="$(ms $sim)" 'BEGIN {
    printf "task clock (perf stat) over %d s, per second and per 56 ms tick\n", span
    ticks = span * 1000 / 56
    printf "  %-34s %7.2f ms/s  %6.1f us/tick\n", "bare Qt, 56 ms timer", b / span, b * 1000 / ticks
    printf "  %-34s %7.2f ms/s  %6.1f us/tick  ratio %.2f\n", "onefortwo on SIM", s / span, s * 1000 / ticks, s / b
    printf "  %-34s %7.2f ms/s  %6.1f us/tick  ratio %.2f\n", "onefortwo over TCP", t / span, t * 1000 / ticks, t / b
    printf "  %-34s %7.2f ms/s\n", "onefortwo-sim --tcp (the installation)", tool / span
  }'
fi
