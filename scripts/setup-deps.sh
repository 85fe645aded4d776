#!/usr/bin/env bash
# Installs the Debian packages Tumbrix needs to build, test and run.
# Idempotent: quiet and quick when everything is already there.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libsdl2-dev libx11-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core
  libpng-dev zlib1g-dev libjpeg62-turbo-dev libopenjp2-7-dev
  libvorbisidec-dev libvorbis-dev libogg-dev libopenmpt-dev libmpg123-dev
  libcairo2-dev libpixman-1-dev
  xvfb xfonts-base xdotool x11-utils procps libx11-xcb-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
