#!/usr/bin/env bash
# Takes the screenshots of the user manual (docs/manual/images/*.png) from
# the running application against simulated sensors, on a virtual X screen.
# Run it again whenever the look of the application changes, and commit the
# pictures: the build itself needs no X server.
#   scripts/manual-screenshots.sh [--build DIR] [--only NAME]
#     --build DIR   build folder holding bin/ (default build/run)
#     --only NAME   take only this picture (e.g. history-window)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${WATTRIX_BUILD_DIR:-$root/build/run}
only=""
while (($#)); do
  case $1 in
    --build) build=$(realpath -m "$2"); shift 2 ;;
    --only) only=$2; shift 2 ;;
    *) echo "usage: $0 [--build DIR] [--only NAME]" >&2; exit 2 ;;
  esac
done
images=$root/docs/manual/images
mkdir -p "$images"

"$root/scripts/setup.sh"
if [[ ! -f $build/build.ninja ]]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DWATTRIX_BUILD_TESTS=OFF -DWATTRIX_BUILD_BENCH=OFF -DWATTRIX_BUILD_MANUAL=OFF
fi
cmake --build "$build" --target wattrix wattrix-sim wattrix-cli wattrix_data

# Private folders: the pictures must not depend on the user's settings, and
# the simulated sensors must not meet anyone else's.
work=$(mktemp -d "${TMPDIR:-/tmp}/wattrix-shots.XXXXXX")
export WATTRIX_HOME=$work/home XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/config HOME=$work/user
mkdir -p "$WATTRIX_HOME" "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME" "$HOME"
chmod 700 "$XDG_RUNTIME_DIR"
cp "$build/bin/QLMXEnStr.ini" "$WATTRIX_HOME/"
unset WATTRIX_PORTS_DIR WATTRIX_USB_DIR WATTRIX_USB_DRIVER

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
  rm -rf "$work"
  return 0
}
trap cleanup EXIT

width=1024
height=700
display=""
for n in $(seq 150 199); do
  if [[ ! -e /tmp/.X$n-lock && ! -e /tmp/.X11-unix/X$n ]]; then display=:$n; break; fi
done
[[ -n $display ]] || { echo "manual-screenshots: no free X display" >&2; exit 1; }
Xvfb "$display" -screen 0 "${width}x${height}x24" -nolisten tcp -dpi 96 >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=$display QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY
for ((i = 0; i < 50; i++)); do
  xdpyinfo >/dev/null 2>&1 && break
  sleep 0.1
done

# A PX420B on the USB stand-in and a PX430A on a COM port, as run.sh has.
# The PX420B reads 40.3 dBm, above the AVG high limit set below.
start_sim "$build/bin" --model PX420B --transport usb-vista --forward 40.3 --noise 0.05 --vswr 1.5
start_sim "$build/bin" --model PX430A --transport serial

# --- helpers ---------------------------------------------------------------
want() { [[ -z $only || $only == "$1" ]]; }
# Waits for a visible top-level window whose name matches; prints its id.
window() {
  local i id
  for ((i = 0; i < 100; i++)); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -n 1 || true)
    [[ -n $id ]] && { echo "$id"; return 0; }
    sleep 0.1
  done
  echo "manual-screenshots: no window '$1'" >&2
  return 1
}
# keys WINDOW-NAME KEY...: presses keys in a window. Xvfb runs no window
# manager, so the window is given the focus first.
keys() {
  local id key
  id=$(window "$1")
  shift
  xdotool windowfocus --sync "$id"
  for key in "$@"; do
    xdotool key --clearmodifiers "$key"
    sleep 0.6
  done
}
main() { keys '^Wattrix' "$@"; }
# shot NAME [WINDOW-NAME]: the whole screen, or one window (a dialog).
shot() {
  local name=$1 id=root
  want "$name" || return 0
  [[ $# -gt 1 ]] && id=$(window "$2")
  sleep 0.5
  import -window "$id" "$images/$name.png"
  convert "$images/$name.png" -strip "$images/$name.png"
  echo "manual-screenshots: $name.png"
}
start_app() {
  "$build/bin/wattrix" -geometry "${width}x${height}+0+0" "$@" >>"$work/app.log" 2>&1 &
  app_pid=$!
  window '^Wattrix' >/dev/null
  sleep 1.5
}
stop_app() {
  kill "$app_pid" 2>/dev/null || true
  wait "$app_pid" 2>/dev/null || true
  app_pid=""
}
# Accepts the settings dialog that every mode window opens.
accept_settings() { keys 'Measurement Settings' Return; }

# Limits on AVG (check and alarm) and VSWR (check), so that the pictures
# show the zones, the limit texts and a red value.
cat >"$WATTRIX_HOME/PX420B.ini" <<'INI'
[HEADER]
DEVICE=PX420B
FREQUENCY=2400
EXTOFFSET=0
RELATIVE=0
SWEEP=0
DECIMAL=2
TECH=7
[AVG]
RATE=0
REPEAT=1
MINDISP=35
MAXDISP=45
MINLIMIT=37
MAXLIMIT=40
ENABLELIMIT=1
BEEPALARM=1
BEEP=0
[REV]
MINDISP=20
MAXDISP=60
MINLIMIT=20
MAXLIMIT=60
[VSWR]
MINDISP=1
MAXDISP=2
MINLIMIT=1
MAXLIMIT=1.4
ENABLELIMIT=1
BEEPALARM=0
[PEAK]
RATE=0
MINDISP=35
MAXDISP=50
MINLIMIT=35
MAXLIMIT=50
[PULSE]
RATE=0
DUTY=0
REFERENCE=0
MINDISP=35
MAXDISP=45
MINLIMIT=35
MAXLIMIT=45
[CCDF]
RATE=1
MINDISP=0
MAXDISP=20
MINLIMIT=10
MAXLIMIT=10
ENABLELIMIT=1
BEEPALARM=0
[LOGGING]
ITEMS=5
INTERVAL=60
RUNTIME=1440
INI

# --- the pictures ----------------------------------------------------------
start_app

# Connect: the dialog, then USB (preselected) to the simulated PX420B, and
# the confirmation box.
main ctrl+d
shot connect-dialog 'Connect Device'
keys 'Connect Device' Return
sleep 2
main Return

# AVG & Peak Power: its settings dialog opens by itself.
main alt+m Return
window 'Measurement Settings' >/dev/null
sleep 1
shot settings-avgpeak 'Measurement Settings'
accept_settings
main alt+d s
sleep 5
shot main-window
main alt+v f
sleep 3
shot limits
main alt+v m
main alt+v h
sleep 4
shot measurement-window

# Stop and save the run for the history pictures.
main alt+d t
main ctrl+s
window 'Save As' >/dev/null
sleep 1
xdotool type --delay 20 "$work/run.psh"
keys 'Save As' Return
sleep 1

# The Logging tab of the PX420B.
main ctrl+t
keys 'Measurement Settings' alt+l
shot settings-logging 'Measurement Settings'
accept_settings

# Pulse Power.
main alt+m u
accept_settings
main alt+d s
sleep 5
shot pulse-window
main alt+d t

# CCDF, with the sweeps of the Samples window filled.
main alt+m c
if window 'Measurement Settings' >/dev/null 2>&1; then
  accept_settings
  main alt+d s
  sleep 12
  shot ccdf-window
  main alt+d t
fi
stop_app

# A history window of the saved run, and its report page as wattrix-cli
# writes it.
[[ -f $work/run.psh ]] || { echo "manual-screenshots: the run was not saved" >&2; exit 1; }
start_app "$work/run.psh"
shot history-window
stop_app
if want report-page; then
  if "$build/bin/wattrix-cli" psh report "$work/run.psh" "$work/report.pdf" \
    --title "Antenna feed, sector 2" --engineer "J. Doe" --site "Tower 14, 2400 MHz" \
    --purpose "Acceptance measurement after repair of the feeder." \
    --result "Forward power stable at 40 dBm; VSWR 1.5 : 1 over the whole run." \
    --remark "Ambient 21 degrees C." >/dev/null; then
    pdftoppm -r 60 -png -singlefile "$work/report.pdf" "$images/report-page"
    echo "manual-screenshots: report-page.png"
  else
    echo "manual-screenshots: this wattrix-cli writes no reports yet; report-page.png not taken" >&2
  fi
fi
echo "manual-screenshots: done; build again to lay the manual out with them"
