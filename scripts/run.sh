#!/usr/bin/env bash
# Sets up and builds what is missing, starts two simulated sensors (a PX420B
# on the two-pipe USB stand-in and a PX430A on a pseudo-terminal COM port)
# and then the application; arguments are passed on to wattrix (e.g. a
# history file). The simulated sensors stop when the application exits.
#   scripts/run.sh [wattrix arguments...]
# WATTRIX_BUILD_DIR chooses the build folder (default build/run).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${WATTRIX_BUILD_DIR:-$root/build/run}

"$root/scripts/setup.sh"
if [[ ! -f $build/build.ninja ]]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DWATTRIX_BUILD_TESTS=OFF -DWATTRIX_BUILD_BENCH=OFF
fi
cmake --build "$build" --target wattrix wattrix-sim wattrix-cli wattrix_data

source "$root/scripts/sim-sensors.sh"
start_sim "$build/bin" --model PX420B --transport usb-vista
start_sim "$build/bin" --model PX430A --transport serial
echo "run: PX420B on USB (port ${SIM_PORTS[0]}), PX430A on COM${SIM_PORTS[1]}"

status=0
"$build/bin/wattrix" "$@" || status=$?
exit "$status"
