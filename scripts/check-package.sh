#!/usr/bin/env bash
# Checks a built Debian package: its contents and dependencies, that apt can
# install it here, and that the installed programs (unpacked into a scratch
# root) run and find their data files.
#   scripts/check-package.sh wattrix_<version>_<arch>.deb VERSION
set -euo pipefail
deb=$(realpath "$1")
version=$2
fail() { echo "check-package: $*" >&2; exit 1; }

scratch=$(mktemp -d "${TMPDIR:-/tmp}/wattrix-package.XXXXXX")
sim_pid=""
cleanup() {
  set +e
  if [[ -n $sim_pid ]]; then
    kill -TERM "$sim_pid" 2>/dev/null
    wait "$sim_pid" 2>/dev/null
  fi
  rm -rf "$scratch"
}
trap cleanup EXIT

# Contents.
contents=$(dpkg-deb --contents "$deb" | awk '{ print $6 }' | sed 's|^\./|/|')
for path in /usr/bin/wattrix /usr/bin/wattrix-cli /usr/bin/wattrix-sim \
  /usr/share/wattrix/QLMXEnStr.ini /usr/share/wattrix/QLMXEnHlp.pdf \
  /usr/share/applications/wattrix.desktop /usr/share/mime/packages/wattrix-history.xml \
  /usr/share/metainfo/com.kelvane.wattrix.metainfo.xml \
  /usr/share/icons/hicolor/scalable/apps/wattrix.svg /usr/share/icons/hicolor/48x48/apps/wattrix.png \
  /usr/share/man/man1/wattrix.1.gz /usr/share/man/man1/wattrix-cli.1.gz /usr/share/man/man1/wattrix-sim.1.gz; do
  grep -qx "$path" <<<"$contents" || fail "$path is not in the package"
done
# Dependencies: the shared libraries found by dpkg-shlibdeps, plus the fonts.
depends=$(dpkg-deb --field "$deb" Depends)
for dep in libc6 libstdc++6 libqt6widgets6 libcanberra0 fonts-liberation; do
  grep -q "\b$dep\b" <<<"$depends" || fail "Depends lacks $dep: $depends"
done
# Everything it depends on can be installed here (nothing is changed).
apt-get install --simulate -q "$deb" >"$scratch/apt.log" 2>&1 || { cat "$scratch/apt.log" >&2; fail "apt cannot install it"; }

# The installed programs, unpacked into a scratch root and run from there
# with a clean environment.
root=$scratch/root
dpkg-deb -x "$deb" "$root"
mkdir -p "$scratch/home" "$scratch/run"
export HOME=$scratch/home XDG_RUNTIME_DIR=$scratch/run XDG_CONFIG_HOME=$scratch/home/.config
unset WATTRIX_HOME WATTRIX_PORTS_DIR WATTRIX_USB_DIR WATTRIX_USB_DRIVER
bin=$root/usr/bin

out=$("$bin/wattrix-cli" --version) || fail "wattrix-cli --version failed"
[[ $out == "wattrix-cli $version" ]] || fail "wattrix-cli --version printed '$out'"

"$bin/wattrix-sim" --model PX420B --transport usb-vista >"$scratch/sim.log" 2>&1 &
sim_pid=$!
for ((i = 0; i < 100; i++)); do
  grep -q '^port=-1$' "$scratch/sim.log" && break
  kill -0 "$sim_pid" 2>/dev/null || fail "wattrix-sim ended: $(cat "$scratch/sim.log")"
  sleep 0.1
done
grep -q '^port=-1$' "$scratch/sim.log" || fail "wattrix-sim did not come up"

"$bin/wattrix-cli" measure --port -1 --mode avgpeak --count 5 --save "$scratch/sample.psh" >/dev/null ||
  fail "wattrix-cli measure failed"
info=$("$bin/wattrix-cli" psh info "$scratch/sample.psh") || fail "wattrix-cli psh info failed"
grep -qx "model=PX420B" <<<"$info" || fail "psh info: $info"
grep -qx "mask=0x13" <<<"$info" || fail "psh info: $info"
grep -qE "^points=[1-9][0-9]*$" <<<"$info" || fail "psh info: $info"

# A message taken from the installed string table proves the lookup works.
expected=$(sed -n 's/^S_SETTING_WARNING_DN_0_FAIL=//p' "$root/usr/share/wattrix/QLMXEnStr.ini")
[[ -n $expected ]] || fail "the installed string table lacks S_SETTING_WARNING_DN_0_FAIL"
status=0
message=$("$bin/wattrix-cli" log download --port -1 --out "$scratch/log.psh" 2>&1 >/dev/null) || status=$?
((status == 1)) || fail "log download with nothing logged exited $status"
[[ $message == "error: $expected" ]] || fail "log download said '$message', not the string table's text"

# The desktop application starts from the installed tree.
QT_QPA_PLATFORM=offscreen timeout 60 "$bin/wattrix" --measure-startup >"$scratch/app.log" 2>&1 ||
  fail "wattrix did not start: $(cat "$scratch/app.log")"
grep -q "^startup_ms=" "$scratch/app.log" || fail "wattrix: $(cat "$scratch/app.log")"
pdfinfo "$root/usr/share/wattrix/QLMXEnHlp.pdf" >/dev/null || fail "the installed manual is not a valid PDF"

echo "check-package: $(basename "$deb") ($(du -k "$deb" | cut -f1) KiB) installs and runs"
