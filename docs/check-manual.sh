#!/usr/bin/env bash
# Checks the laid-out manual: a PDF that poppler reads, with a table of
# contents, bookmarks, internal links and every chapter a user looks for.
#   check-manual.sh QLMXEnHlp.pdf
set -euo pipefail
pdf=$1
fail() { echo "check-manual: $*" >&2; exit 1; }

[[ -f $pdf ]] || fail "$pdf is missing"
pages=$(pdfinfo "$pdf" | sed -n 's/^Pages: *//p')
[[ -n $pages ]] || fail "pdfinfo cannot read $pdf"
((pages >= 20)) || fail "only $pages pages"

text=$(pdftotext -layout "$pdf" - | tr -s ' \t' ' ')
contents=$(pdftotext -f 2 -l 3 "$pdf" - | tr -s ' \t' ' ')
chapters=(
  "Installing" "Connecting a sensor" "The main window" "Measurement settings"
  "Live measurement" "Limits and alarms" "CCDF" "History files" "Reports"
  "Unattended logging" "Settings files" "wattrix-cli" "wattrix-sim" "Troubleshooting"
)
for chapter in "${chapters[@]}"; do
  grep -qF "$chapter" <<<"$contents" || fail "chapter '$chapter' is not in the table of contents"
  grep -qE "^ ?[0-9]+ $chapter\$" <<<"$text" || fail "chapter heading '$chapter' not found"
done
for topic in "Serial port permissions" "usermod -aG dialout" "sensor not responding" \
  "The sensor does not answer" "psh report" "The simulated sensor"; do
  grep -qF -- "$topic" <<<"$text" || fail "'$topic' is not covered"
done

# Bookmarks and internal links are objects of the file itself.
grep -aq "/Outlines" "$pdf" || fail "no bookmarks"
links=$(grep -ac "/Dest" "$pdf" || true)
((links >= 50)) || fail "only $links internal links"
echo "check-manual: $pdf: $pages pages, ${#chapters[@]} chapters, $links internal links"
