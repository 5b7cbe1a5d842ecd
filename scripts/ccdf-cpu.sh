#!/usr/bin/env bash
# Measures the application's CPU share while the CCDF window runs at full
# rate against the simulated PX420B, on a virtual X screen: connects, opens
# CCDF, accepts its settings, starts, and reads the process's CPU time from
# /proc over 20 s. Optionally saves a picture of the running window.
#   scripts/ccdf-cpu.sh [--build DIR] [--size WxH] [--seconds S] [--shot FILE] [--label TEXT]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=build/dev
size=1280x800
seconds=20
shot=""
label="CCDF window, measuring"
while (($#)); do
  case $1 in
    --build) build=$2; shift 2 ;;
    --size) size=$2; shift 2 ;;
    --seconds) seconds=$2; shift 2 ;;
    --shot) shot=$(realpath -m "$2"); shift 2 ;;
    --label) label=$2; shift 2 ;;
    *) echo "usage: $0 [--build DIR] [--size WxH] [--seconds S] [--shot FILE] [--label TEXT]" >&2; exit 2 ;;
  esac
done
bin=$(realpath "$build/bin")
home=$(mktemp -d)
cp "$bin/QLMXEnStr.ini" "$home/"
export WATTRIX_HOME=$home
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$home}

source "$root/scripts/sim-sensors.sh"
source "$root/scripts/lib/xscreen.sh"
cleanup() {
  set +e
  stop_app
  stop_sims
  stop_xvfb
  rm -rf "$home"
  return 0
}
trap cleanup EXIT

start_xvfb "$size"
start_sim "$bin" --model PX420B --transport usb-vista
SIM_PID=${SIM_PIDS[0]}
start_app "$bin" -geometry "${size}+0+0"
sleep 1
key() { xdotool key --clearmodifiers "$1"; sleep "$2"; }
click() { xdotool mousemove "$1" "$2" click 1; sleep "$3"; }
key ctrl+d 1; key Return 1.5; key Return 1  # connect over USB, confirm
click 325 42 1.5                             # the CCDF tool button
key Return 1                                 # the settings dialog's OK
click 112 8 0.8; key Down 0.2; key Return 1  # Device menu, Start
sleep 3
cpu_share "$label" "$seconds"
[[ -n $shot ]] && import -window root "$shot"
exit 0
