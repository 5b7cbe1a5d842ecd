#!/usr/bin/env bash
# Starts the application on a virtual X screen (Xvfb), waits until its main
# window is up, optionally presses keys, and saves a PNG of the screen.
#   scripts/screenshot.sh [options] [-- wattrix arguments...]
#     --out FILE      PNG to write (default screenshot.png)
#     --size WxH      screen size (default 1280x800); the window fills it
#     --sim           start the two simulated sensors first (as run.sh does)
#     --keys "K ..."  xdotool key names pressed in turn after start-up,
#                     e.g. "ctrl+d Return"; "sleep:S" waits S seconds
#     --delay S       seconds to wait before the picture (default 1)
#     --build DIR     build folder holding bin/ (default build/run)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out=$root/screenshot.png
size=1280x800
sim=0
keys=""
delay=1
build=${WATTRIX_BUILD_DIR:-$root/build/run}
while (($#)); do
  case $1 in
    --out) out=$(realpath -m "$2"); shift 2 ;;
    --size) size=$2; shift 2 ;;
    --sim) sim=1; shift ;;
    --keys) keys=$2; shift 2 ;;
    --delay) delay=$2; shift 2 ;;
    --build) build=$(realpath -m "$2"); shift 2 ;;
    --) shift; break ;;
    *) break ;;
  esac
done

"$root/scripts/setup.sh"
if [[ ! -f $build/build.ninja ]]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DWATTRIX_BUILD_TESTS=OFF -DWATTRIX_BUILD_BENCH=OFF
fi
targets=(wattrix wattrix_data)
((sim)) && targets+=(wattrix-sim)
cmake --build "$build" --target "${targets[@]}"

source "$root/scripts/sim-sensors.sh"
source "$root/scripts/lib/xscreen.sh"
# Each step on its own: a failing kill or wait must not skip the rest.
cleanup() {
  set +e
  stop_app
  stop_sims
  stop_xvfb
  return 0
}
trap cleanup EXIT

start_xvfb "$size"

if ((sim)); then
  start_sim "$build/bin" --model PX420B --transport usb-vista
  start_sim "$build/bin" --model PX430A --transport serial
fi

start_app "$build/bin" -geometry "${size}+0+0" "$@"
sleep 0.5

for key in $keys; do
  if [[ $key == sleep:* ]]; then
    sleep "${key#sleep:}"
  else
    xdotool key --clearmodifiers "$key"
    sleep 0.4
  fi
done
sleep "$delay"
import -window root "$out"
echo "screenshot: $out"
