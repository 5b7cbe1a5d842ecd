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
xvfb_pid=""
app_pid=""
# Each step on its own: a failing kill or wait must not skip the rest.
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
  return 0
}
trap cleanup EXIT

# A free display number.
display=""
for n in $(seq 90 140); do
  if [[ ! -e /tmp/.X$n-lock && ! -e /tmp/.X11-unix/X$n ]]; then display=:$n; break; fi
done
[[ -n $display ]] || { echo "screenshot: no free X display" >&2; exit 1; }
Xvfb "$display" -screen 0 "${size}x24" -nolisten tcp -dpi 96 >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb
for ((i = 0; i < 50; i++)); do
  xdpyinfo >/dev/null 2>&1 && break
  sleep 0.1
done

if ((sim)); then
  start_sim "$build/bin" --model PX420B --transport usb-vista
  start_sim "$build/bin" --model PX430A --transport serial
fi

"$build/bin/wattrix" -geometry "${size}+0+0" "$@" &
app_pid=$!
up=0
for ((i = 0; i < 100; i++)); do
  if xwininfo -root -tree 2>/dev/null | grep -q '"Wattrix'; then up=1; break; fi
  kill -0 "$app_pid" 2>/dev/null || { echo "screenshot: wattrix ended early" >&2; exit 1; }
  sleep 0.1
done
((up)) || { echo "screenshot: no main window within 10 s" >&2; exit 1; }
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
