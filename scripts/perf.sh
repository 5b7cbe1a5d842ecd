#!/usr/bin/env bash
# Speed figures of Wattrix, each printed beside a reference measured in the
# same run, and the application's CPU share at full rate.
#   scripts/perf.sh [--build DIR] [--seconds S] [--no-bench] [--no-app] [--shots DIR]
#     --build DIR   build folder (default build/perf, or WATTRIX_BUILD_DIR)
#     --seconds S   length of each CPU-share measurement (default 20)
#     --no-bench    skip the Google Benchmark figures
#     --no-app      skip the application's CPU share
#     --shots DIR   save a PNG of the screen after each application step
#
# Benchmarks: medians of 5 repetitions (wall time), as ratios to their
# references: history write against a plain fwrite+fsync of the same bytes,
# history read against a plain fread, CSV export against a plain
# fwrite+fsync of the CSV's bytes, one CCDF sweep against re-merging the
# stored sweeps, and one live refresh of a measurement window with a whole
# repaint.
#
# Application: a virtual X screen (Xvfb), a simulated PX420B on the USB
# stand-in and wattrix at its default window size. Keys and tool bar clicks
# connect (and close the message that says so), open AVG & Peak (four
# panels), close the settings dialog and start measuring. The
# share of one core is the process's user + system time from /proc/PID/stat
# over S seconds: with the window stopped, measuring with four panels, and
# measuring with the history graph shown once its window is full. The simulated sensor's write
# calls over the same time show that it was answering at full rate. The
# machine's load average is printed beside each figure: on a busy machine
# the figures are high and vary.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${WATTRIX_BUILD_DIR:-$root/build/perf}
seconds=20
do_bench=1
do_app=1
shots=""
while (($#)); do
  case $1 in
    --build) build=$(realpath -m "$2"); shift 2 ;;
    --seconds) seconds=$2; shift 2 ;;
    --no-bench) do_bench=0; shift ;;
    --no-app) do_app=0; shift ;;
    --shots) shots=$(realpath -m "$2"); mkdir -p "$shots"; shift 2 ;;
    *) echo "perf: unknown option $1" >&2; exit 2 ;;
  esac
done

"$root/scripts/setup.sh"
if [[ ! -f $build/build.ninja ]]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWATTRIX_BUILD_TESTS=OFF
fi
cmake --build "$build" --target bench_history bench_ccdf bench_mode_view wattrix wattrix-sim wattrix_data
bin=$build/bin

load() { cut -d' ' -f1-3 /proc/loadavg; }

# Median wall time (ms) of each benchmark named in the CSV on stdin.
medians() { awk -F, '$1 ~ /_median"$/ { gsub(/"/, "", $1); sub(/_median$/, "", $1); print $1, $3, $5 }'; }

# Runs a benchmark program with a filter; prints "name time unit" lines.
bench() {
  "$bin/$1" --benchmark_filter="$2" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_format=csv 2>/dev/null | medians
}

# figure NAME REFERENCE LABEL: the two medians and their ratio.
figure() {
  awk -v a="$1" -v b="$2" -v label="$3" '
    $1 == a { x = $2; u = $3 } $1 == b { y = $2; v = $3 }
    END {
      if (x == "" || y == "") { printf "  %-34s (missing)\n", label; exit }
      printf "  %-34s %9.3f %s vs %9.3f %s  ratio %.2f\n", label, x, u, y, v, x / y
    }' "$results"
}

if ((do_bench)); then
  results=$(mktemp)
  trap 'rm -f "$results"' EXIT
  echo "perf: benchmarks (median of 5, load $(load))"
  # One run per set of user counters: the CSV output wants the same ones.
  bench bench_history 'BM_WriteHistoryFile|BM_PlainFwriteSameBytes|BM_ReadHistoryFile|BM_PlainFreadSameBytes|BM_PlainFwriteCsvBytes|BM_BuildHistoryHeader' >>"$results"
  bench bench_history 'BM_ExportCsv' >>"$results"
  bench bench_ccdf 'BM_ProcessSweep' >>"$results"
  bench bench_ccdf 'BM_StraightforwardReMerge' >>"$results"
  bench bench_mode_view 'BM_LiveRefreshAndPaint' >>"$results"
  figure BM_WriteHistoryFile BM_PlainFwriteSameBytes/fsync:1 "history write / fwrite+fsync"
  figure BM_WriteHistoryFile BM_PlainFwriteSameBytes/fsync:0 "history write / fwrite"
  figure BM_ReadHistoryFile BM_PlainFreadSameBytes "history read / fread"
  figure BM_ExportCsv BM_PlainFwriteCsvBytes/fsync:1 "CSV export / fwrite+fsync"
  figure BM_ProcessSweep/100 BM_StraightforwardReMerge/100 "CCDF sweep / re-merge (100)"
  figure BM_ProcessSweep/10 BM_StraightforwardReMerge/10 "CCDF sweep / re-merge (10)"
  echo "  header statistics alone:           $(awk '$1 == "BM_BuildHistoryHeader" { print $2, $3 }' "$results")"
  echo "  one live refresh (PX420B reading pair) with a whole repaint:"
  awk '$1 ~ /^BM_LiveRefresh/ { printf "    %-48s %9.1f %s\n", $1, $2, $3 }' "$results"
fi

((do_app)) || exit 0

source "$root/scripts/sim-sensors.sh"
xvfb_pid=""
app_pid=""
cleanup() {
  set +e
  if [[ -n $app_pid ]]; then
    kill "$app_pid" 2>/dev/null
    wait "$app_pid" 2>/dev/null
  fi
  stop_sims
  if [[ -n $xvfb_pid ]]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  [[ -n ${results:-} ]] && rm -f "$results"
  return 0
}
trap cleanup EXIT

display=""
for n in $(seq 150 199); do
  if [[ ! -e /tmp/.X$n-lock && ! -e /tmp/.X11-unix/X$n ]]; then display=:$n; break; fi
done
[[ -n $display ]] || { echo "perf: no free X display" >&2; exit 1; }
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp -dpi 96 >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb
for ((i = 0; i < 50; i++)); do
  xdpyinfo >/dev/null 2>&1 && break
  sleep 0.1
done

# Private folders for the simulated sensor, so that no other one is found.
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/perf-$$}
mkdir -p "$XDG_RUNTIME_DIR"
start_sim "$bin" --model PX420B --transport usb-vista
sim_pid=${SIM_PIDS[0]}

"$bin/wattrix" &
app_pid=$!
up=0
for ((i = 0; i < 100; i++)); do
  if xwininfo -root -tree 2>/dev/null | grep -q '"Wattrix'; then up=1; break; fi
  kill -0 "$app_pid" 2>/dev/null || { echo "perf: wattrix ended early" >&2; exit 1; }
  sleep 0.1
done
((up)) || { echo "perf: no main window within 10 s" >&2; exit 1; }
sleep 1

keys() {
  local key
  for key in "$@"; do
    xdotool key --clearmodifiers "$key"
    sleep 0.5
  done
}
# Tool bar buttons, at their places in the default window (no window
# manager: the menu bar's Alt keys need an active window, which Xvfb alone
# does not give after the first dialog).
click() {
  xdotool mousemove "$1" "$2" click 1
  sleep 0.5
  xdotool mousemove 1270 1010
  sleep 0.5
}
shot() { [[ -n $shots ]] && import -window root "$shots/$1.png" || true; }

# user + system ticks of a process (fields after the command's closing bracket).
ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'; }
writes() { awk '/^syscw/ { print $2 }' "/proc/$1/io"; }

# share LABEL: CPU share of wattrix over $seconds, with the sensor's replies.
share() {
  local hz t0 t1 w0 w1 s0 s1 l0
  hz=$(getconf CLK_TCK)
  l0=$(load)
  t0=$(ticks "$app_pid")
  w0=$(writes "$sim_pid")
  s0=$(date +%s.%N)
  sleep "$seconds"
  t1=$(ticks "$app_pid")
  w1=$(writes "$sim_pid")
  s1=$(date +%s.%N)
  awk -v label="$1" -v a="$t0" -v b="$t1" -v hz="$hz" -v s0="$s0" -v s1="$s1" -v w0="$w0" -v w1="$w1" \
    -v l0="$l0" -v l1="$(load)" 'BEGIN {
      s = s1 - s0
      printf "  %-34s %5.1f %% of a core  (%.1f s; sensor writes %.1f/s; load %s -> %s)\n",
        label, (b - a) / hz / s * 100, s, (w1 - w0) / s, l0, l1
    }'
}

echo "perf: wattrix on $display against a simulated PX420B (USB), ${seconds} s each"
keys ctrl+d
sleep 1
keys Return
sleep 3
keys Return  # "connected"
click 160 42  # AVG & Peak
sleep 2
keys Return  # the settings dialog
sleep 1
shot stopped
share "AVG & Peak, stopped"
click 202 42  # Start
sleep 3
shot measuring
share "AVG & Peak, four panels, measuring"
click 414 42  # History graph
# The graph's window is one AVG reading per plot column (about 25 a
# second here): once it is full it scrolls with every reading, the dearer
# case, which is the one measured.
sleep 45
shot graph
share "AVG & Peak, live graph view (scrolling)"
