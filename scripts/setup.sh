#!/usr/bin/env bash
# Installs every package the build and the tests need from Debian's
# archive, when missing. Safe to run again: it only installs what is absent
# and updates the package lists at most once.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  fonts-liberation libcanberra-dev
  xvfb xauth x11-apps x11-utils xdotool imagemagick
  weasyprint python3-markdown poppler-utils groff-base
  dpkg-dev file appstream desktop-file-utils libxml2-utils
  cups-daemon cups-client ccache
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "setup: installing ${missing[*]}"
sudo=""
if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
