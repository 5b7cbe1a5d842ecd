#!/usr/bin/env bash
# Measures the application's CPU share while the CCDF window runs at full
# rate against the simulated PX420B, on a virtual X screen: connects, opens
# CCDF, accepts its settings, starts, and reads the process's CPU time from
# /proc over 20 s. Optionally saves a picture of the running window.
#   scripts/ccdf-cpu.sh [--build DIR] [--size WxH] [--seconds S] [--shot FILE]
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/dev
size=1280x800
seconds=20
shot=""
while (($#)); do
  case $1 in
    --build) build=$2; shift 2 ;;
    --size) size=$2; shift 2 ;;
    --seconds) seconds=$2; shift 2 ;;
    --shot) shot=$(realpath -m "$2"); shift 2 ;;
    *) echo "usage: $0 [--build DIR] [--size WxH] [--seconds S] [--shot FILE]" >&2; exit 2 ;;
  esac
done
bin=$(realpath "$build/bin")
home=$(mktemp -d)
cp "$bin/QLMXEnStr.ini" "$home/"
export WATTRIX_HOME=$home
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$home}
xvfb_pid="" sim_pid="" app_pid=""
cleanup() {
  set +e
  for pid in $app_pid $sim_pid $xvfb_pid; do
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
  rm -rf "$home"
}
trap cleanup EXIT

display=""
for n in $(seq 150 199); do
  if [[ ! -e /tmp/.X$n-lock && ! -e /tmp/.X11-unix/X$n ]]; then display=:$n; break; fi
done
[[ -n $display ]] || { echo "ccdf-cpu: no free X display" >&2; exit 1; }
Xvfb "$display" -screen 0 "${size}x24" -nolisten tcp -dpi 96 >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=$display QT_QPA_PLATFORM=xcb
for ((i = 0; i < 50; i++)); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

"$bin/wattrix-sim" --model PX420B --transport usb-vista >/dev/null 2>&1 &
sim_pid=$!
sleep 1
"$bin/wattrix" -geometry "${size}+0+0" &
app_pid=$!
for ((i = 0; i < 100; i++)); do
  xwininfo -root -tree 2>/dev/null | grep -q '"Wattrix' && break
  sleep 0.1
done
sleep 1
key() { xdotool key --clearmodifiers "$1"; sleep "$2"; }
click() { xdotool mousemove "$1" "$2" click 1; sleep "$3"; }
key ctrl+d 1; key Return 1.5; key Return 1  # connect over USB, confirm
click 325 42 1.5                             # the CCDF tool button
key Return 1                                 # the settings dialog's OK
click 112 8 0.8; key Down 0.2; key Return 1  # Device menu, Start
sleep 3
ticks() { awk '{print $14 + $15}' "/proc/$app_pid/stat"; }
t0=$(ticks); s0=$(date +%s.%N)
sleep "$seconds"
t1=$(ticks); s1=$(date +%s.%N)
[[ -n $shot ]] && import -window root "$shot"
hz=$(getconf CLK_TCK)
awk -v t="$((t1 - t0))" -v hz="$hz" -v s0="$s0" -v s1="$s1" \
  'BEGIN { printf "cpu=%.1f%% (%.2f s of CPU in %.1f s)\n", 100 * t / hz / (s1 - s0), t / hz, s1 - s0 }'
