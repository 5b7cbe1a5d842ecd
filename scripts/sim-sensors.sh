# Sourced by run.sh and screenshot.sh: starts simulated sensors and stops
# them again when the calling script ends (also on Ctrl+C).
#   start_sim BUILD_BIN ARGS...   starts one wattrix-sim, waits for its
#                                 "port=" line, appends the port to SIM_PORTS
#   stop_sims                     stops every sensor started (also the trap)

SIM_PIDS=()
SIM_PORTS=()
SIM_LOGS=()

stop_sims() {
  set +e
  local pid
  for pid in "${SIM_PIDS[@]}"; do
    kill -TERM "$pid" 2>/dev/null || true
  done
  for pid in "${SIM_PIDS[@]}"; do
    wait "$pid" 2>/dev/null || true
  done
  SIM_PIDS=()
  rm -f "${SIM_LOGS[@]}"
  SIM_LOGS=()
}

start_sim() {
  local bin=$1
  shift
  local log
  log=$(mktemp "${TMPDIR:-/tmp}/wattrix-sim.XXXXXX")
  SIM_LOGS+=("$log")
  "$bin/wattrix-sim" "$@" >"$log" 2>&1 &
  local pid=$!
  SIM_PIDS+=("$pid")
  local i port=""
  for ((i = 0; i < 100; i++)); do
    port=$(sed -n 's/^port=\(-\{0,1\}[0-9][0-9]*\)$/\1/p' "$log" | head -n 1)
    [[ -n $port ]] && break
    if ! kill -0 "$pid" 2>/dev/null; then
      echo "wattrix-sim $* ended before it was ready:" >&2
      cat "$log" >&2
      return 1
    fi
    sleep 0.1
  done
  if [[ -z $port ]]; then
    echo "wattrix-sim $* did not report its port within 10 s" >&2
    return 1
  fi
  SIM_PORTS+=("$port")
}

trap stop_sims EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
