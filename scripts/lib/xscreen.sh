# Sourced by the scripts that run the application on a virtual X screen
# (screenshot.sh, perf.sh, ccdf-cpu.sh), also under `set -e`. The caller
# stops what it started in its own EXIT trap (stop_app, stop_xvfb).
#   start_xvfb WxH            Xvfb on a free display; sets DISPLAY, XVFB_PID
#   stop_xvfb
#   start_app BIN ARGS...     wattrix from BIN in the background (APP_PID),
#                             returns once its main window is mapped
#   stop_app
#   cpu_ticks PID             user + system clock ticks of a process
#   cpu_share LABEL SECONDS   the application's share of one core over
#                             SECONDS, with the simulated sensor's write
#                             calls (SIM_PID, when set) and the load

XVFB_PID=""
APP_PID=""

start_xvfb() {
  local size=$1 n i
  # Another script may take the same number at the same moment: a server
  # that did not come up means the next number is tried.
  for n in $(seq 90 199); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp -dpi 96 >/dev/null 2>&1 &
    XVFB_PID=$!
    for ((i = 0; i < 50; i++)); do
      kill -0 "$XVFB_PID" 2>/dev/null || break
      if DISPLAY=:$n xdpyinfo >/dev/null 2>&1; then
        export DISPLAY=:$n QT_QPA_PLATFORM=xcb
        unset WAYLAND_DISPLAY
        return 0
      fi
      sleep 0.1
    done
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=""
  done
  echo "no free X display" >&2
  return 1
}

stop_xvfb() {
  [[ -n $XVFB_PID ]] || return 0
  kill "$XVFB_PID" 2>/dev/null || true
  wait "$XVFB_PID" 2>/dev/null || true
  XVFB_PID=""
  return 0
}

start_app() {
  local bin=$1 i
  shift
  "$bin/wattrix" "$@" &
  APP_PID=$!
  for ((i = 0; i < 100; i++)); do
    xwininfo -root -tree 2>/dev/null | grep -q '"Wattrix' && return 0
    kill -0 "$APP_PID" 2>/dev/null || { echo "wattrix ended early" >&2; return 1; }
    sleep 0.1
  done
  echo "no main window within 10 s" >&2
  return 1
}

stop_app() {
  [[ -n $APP_PID ]] || return 0
  kill "$APP_PID" 2>/dev/null || true
  wait "$APP_PID" 2>/dev/null || true
  APP_PID=""
  return 0
}

# Fields after the command's closing bracket: its name may hold spaces.
cpu_ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'; }

sensor_writes() {
  if [[ -n ${SIM_PID:-} ]]; then awk '/^syscw/ { print $2 }' "/proc/$SIM_PID/io"; else echo 0; fi
}

cpu_share() {
  local label=$1 seconds=$2 hz t0 t1 w0 w1 s0 s1 l0
  hz=$(getconf CLK_TCK)
  l0=$(cut -d' ' -f1-3 /proc/loadavg)
  t0=$(cpu_ticks "$APP_PID")
  w0=$(sensor_writes)
  s0=$(date +%s.%N)
  sleep "$seconds"
  t1=$(cpu_ticks "$APP_PID")
  w1=$(sensor_writes)
  s1=$(date +%s.%N)
  awk -v label="$label" -v a="$t0" -v b="$t1" -v hz="$hz" -v s0="$s0" -v s1="$s1" -v w0="$w0" -v w1="$w1" \
    -v l0="$l0" -v l1="$(cut -d' ' -f1-3 /proc/loadavg)" 'BEGIN {
      s = s1 - s0
      printf "  %-34s %5.1f %% of a core  (%.1f s; sensor writes %.1f/s; load %s -> %s)\n",
        label, (b - a) / hz / s * 100, s, (w1 - w0) / s, l0, l1
    }'
}
