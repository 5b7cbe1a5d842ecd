#!/usr/bin/env bash
# Each man page formats without a warning and names every option its
# program accepts.
#   CheckManPages.sh DOCS_MAN_DIR
set -euo pipefail
dir=$1
command -v groff >/dev/null || { echo "groff is missing (Debian package groff-base; scripts/setup.sh installs it)" >&2; exit 1; }
status=0
for page in wattrix wattrix-cli wattrix-sim; do
  file=$dir/$page.1
  warnings=$(LC_ALL=C.UTF-8 groff -t -man -ww -z -Tutf8 "$file" 2>&1 || true)
  if [[ -n $warnings ]]; then
    echo "$page.1: $warnings" >&2
    status=1
  fi
  grep -q "^\.TH ${page^^} 1 " "$file" || { echo "$page.1: no .TH line for ${page^^}" >&2; status=1; }
done
# Every command and option of the command-line contract is documented.
for word in ports identify measure ccdf log psh --port --mode --count --freq --offset --tech \
  --repeat --duty --reference --save --sweeps --rate --curve --items --interval --runtime \
  --period --out --title --date --engineer --site --purpose --result --remark --version --help; do
  grep -q -- "${word//-/\\\\-}" "$dir/wattrix-cli.1" || { echo "wattrix-cli.1 does not mention $word" >&2; status=1; }
done
for word in --model --transport --com --firmware --serial --description --baud-pacing --forward \
  --reverse --vswr --return-loss --par --noise --pulse-power --pulse-duty --pulse-width \
  --pulse-period --ccdf-par --ccdf-average --time-scale --drop --corrupt --delay --delay-share \
  --hang-up-after --seed; do
  grep -q -- "${word//-/\\\\-}" "$dir/wattrix-sim.1" || { echo "wattrix-sim.1 does not mention $word" >&2; status=1; }
done
exit $status
