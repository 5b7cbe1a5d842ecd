#!/usr/bin/env bash
# The desktop entry, the AppStream description and the history file type
# are valid and agree with each other.
#   CheckDesktopFiles.sh DATA_DIR
set -euo pipefail
data=$1
need() { command -v "$1" >/dev/null || { echo "$1 is missing (Debian package $2; scripts/setup.sh installs it)" >&2; exit 1; }; }
need desktop-file-validate desktop-file-utils
need appstreamcli appstream
need xmllint libxml2-utils

desktop-file-validate "$data/wattrix.desktop"
appstreamcli validate --no-net --explain "$data/com.kelvane.wattrix.metainfo.xml"
xmllint --noout "$data/wattrix-history.xml"

mime=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$data/wattrix-history.xml")
grep -q "^MimeType=.*$mime;" "$data/wattrix.desktop" || { echo "wattrix.desktop does not open $mime" >&2; exit 1; }
grep -q "<mediatype>$mime</mediatype>" "$data/com.kelvane.wattrix.metainfo.xml" ||
  { echo "the metainfo does not name $mime" >&2; exit 1; }
grep -q '<glob pattern="\*\.psh"/>' "$data/wattrix-history.xml" || { echo "no *.psh glob" >&2; exit 1; }
grep -q "<launchable type=\"desktop-id\">wattrix.desktop</launchable>" "$data/com.kelvane.wattrix.metainfo.xml" ||
  { echo "the metainfo does not launch wattrix.desktop" >&2; exit 1; }
echo "desktop integration files are valid"
