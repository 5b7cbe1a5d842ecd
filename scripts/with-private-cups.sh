#!/usr/bin/env bash
# Runs a command against a private CUPS server with one default queue,
# "wattrix-test", that writes every job to a file: printing can then be
# tested without a printer and without touching the machine's CUPS.
#   scripts/with-private-cups.sh COMMAND [ARGS...]
# The command sees CUPS_SERVER (the server's socket) and
# WATTRIX_CUPS_OUTPUT (the file the queue writes). Exits 77 (skipped) when
# the CUPS server or its tools are not installed.
set -euo pipefail

for tool in cupsd lpadmin lpstat; do
  if ! command -v "$tool" >/dev/null 2>&1 && [[ ! -x /usr/sbin/$tool ]]; then
    echo "with-private-cups: $tool is not installed (packages cups-daemon, cups-client); skipped"
    exit 77
  fi
done
export PATH="$PATH:/usr/sbin"

dir=$(mktemp -d /tmp/wattrix-cups-XXXXXX)
pid=""
cleanup() {
  if [[ -n $pid ]]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
  rm -rf "$dir"
}
trap cleanup EXIT
mkdir -p "$dir"/{spool,cache,state,log,tmp,out,ppd,bin/filter,bin/backend}
chmod 0777 "$dir/out"
# The server's programs, and a backend of our own that stores each job
# as it arrives (the server writes no file for a raw queue by itself).
for sub in daemon notifier; do ln -s "/usr/lib/cups/$sub" "$dir/bin/$sub"; done
cat >"$dir/bin/backend/tofile" <<'BACKEND'
#!/bin/sh
# tofile:/path - CUPS backend: with no arguments it lists nothing; otherwise
# it copies the job (argument 6, or standard input) to the path.
[ $# -eq 0 ] && exit 0
out="${DEVICE_URI#tofile:}"
if [ -n "$6" ]; then cat "$6"; else cat; fi >"$out.part" && mv "$out.part" "$out"
BACKEND
chmod 0755 "$dir/bin/backend/tofile" "$dir/bin/backend" "$dir/bin/filter" "$dir/bin"
group=$(id -gn)

cat >"$dir/cupsd.conf" <<CONF
Listen $dir/cups.sock
LogLevel ${WATTRIX_CUPS_LOGLEVEL:-warn}
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
    Allow all
  </Limit>
</Policy>
CONF
cat >"$dir/cups-files.conf" <<CONF
ServerRoot $dir
RequestRoot $dir/spool
CacheDir $dir/cache
StateDir $dir/state
TempDir $dir/tmp
DataDir /usr/share/cups
ServerBin $dir/bin
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
SystemGroup $group
CONF

cupsd -f -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" &
pid=$!
export CUPS_SERVER="$dir/cups.sock"
for _ in $(seq 100); do
  [[ -S $CUPS_SERVER ]] && lpstat -r >/dev/null 2>&1 && break
  sleep 0.1
done
if ! lpstat -r >/dev/null 2>&1; then
  echo "with-private-cups: the CUPS server did not start" >&2
  cat "$dir/log/error_log" >&2 2>/dev/null || true
  exit 1
fi
export WATTRIX_CUPS_OUTPUT="$dir/out/job.prn"
lpadmin -p wattrix-test -E -v "tofile:$WATTRIX_CUPS_OUTPUT" 2>/dev/null
lpadmin -d wattrix-test
# Private client settings: no user default printer from the home folder.
export HOME="$dir" CUPS_USER="$(id -un)"

set +e
"$@"
status=$?
set -e
if [[ $status -ne 0 ]]; then cat "$dir/log/error_log" >&2 2>/dev/null || true; fi
exit $status
