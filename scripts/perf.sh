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
# stored sweeps, one live refresh of a measurement window with a whole
# repaint, and one refresh of the CCDF window (a sweep processed, then a
# whole repaint or the paced paint of what changed).
#
# Application: a virtual X screen (Xvfb), a simulated PX420B on the USB
# stand-in and wattrix at its default window size. Keys and tool bar clicks
# connect (and close the message that says so), open AVG & Peak (four
# panels), close the settings dialog and start measuring. The
# share of one core is the process's user + system time from /proc/PID/stat
# over S seconds: with the window stopped, measuring with four panels, and
# measuring with the history graph shown once its window is full. Then
# scripts/ccdf-cpu.sh runs the CCDF window at full rate in a fresh
# application, screen and sensor. The simulated sensor's write
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
cmake --build "$build" --target bench_history bench_ccdf bench_ccdf_window bench_mode_view wattrix wattrix-sim \
  wattrix_data
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
  bench bench_ccdf_window 'BM_CcdfRefreshAndPaint' >>"$results"
  figure BM_WriteHistoryFile BM_PlainFwriteSameBytes/fsync:1 "history write / fwrite+fsync"
  figure BM_WriteHistoryFile BM_PlainFwriteSameBytes/fsync:0 "history write / fwrite"
  figure BM_ReadHistoryFile BM_PlainFreadSameBytes "history read / fread"
  figure BM_ExportCsv BM_PlainFwriteCsvBytes/fsync:1 "CSV export / fwrite+fsync"
  figure BM_ProcessSweep/100 BM_StraightforwardReMerge/100 "CCDF sweep / re-merge (100)"
  figure BM_ProcessSweep/10 BM_StraightforwardReMerge/10 "CCDF sweep / re-merge (10)"
  echo "  header statistics alone:           $(awk '$1 == "BM_BuildHistoryHeader" { print $2, $3 }' "$results")"
  echo "  one live refresh (PX420B reading pair) with a whole repaint:"
  awk '$1 ~ /^BM_LiveRefresh/ { printf "    %-48s %9.1f %s\n", $1, $2, $3 }' "$results"
  echo "  one CCDF refresh (sweep processed; whole:0 paints what changed, whole:1 every widget):"
  awk '$1 ~ /^BM_CcdfRefresh/ { printf "    %-56s %9.1f %s\n", $1, $2, $3 }' "$results"
fi

((do_app)) || exit 0

source "$root/scripts/sim-sensors.sh"
source "$root/scripts/lib/xscreen.sh"
cleanup() {
  set +e
  stop_app
  stop_sims
  stop_xvfb
  [[ -n ${results:-} ]] && rm -f "$results"
  return 0
}
trap cleanup EXIT

start_xvfb 1280x1024

# Private folders for the simulated sensor, so that no other one is found.
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/perf-$$}
mkdir -p "$XDG_RUNTIME_DIR"
start_sim "$bin" --model PX420B --transport usb-vista
SIM_PID=${SIM_PIDS[0]}

start_app "$bin"
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
share() { cpu_share "$1" "$seconds"; }

echo "perf: wattrix on $DISPLAY against a simulated PX420B (USB), ${seconds} s each"
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

# The CCDF window in an application of its own, on its own screen and
# sensor: the one above goes first, so that only one sensor is found.
stop_app
stop_sims
stop_xvfb
ccdf_args=(--build "$build" --seconds "$seconds" --label "CCDF window, measuring")
[[ -n $shots ]] && ccdf_args+=(--shot "$shots/ccdf.png")
"$root/scripts/ccdf-cpu.sh" "${ccdf_args[@]}"
