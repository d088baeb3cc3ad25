#!/usr/bin/env bash
# Installs the system packages Curvexa needs to build, test and be looked at.
# Idempotent: only missing packages are installed; silent when everything is present.
set -euo pipefail

packages=(
  cmake g++ make ninja-build pkgconf
  qt6-base-dev
  libfreexl-dev libeigen3-dev
  fonts-dejavu-core fonts-liberation2
  xvfb xauth imagemagick poppler-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
