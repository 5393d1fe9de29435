#!/usr/bin/env bash
# Installs the Debian packages the program, its tests and its screenshots need
# (only when one is missing), then configures and builds with CMake.
#   scripts/setup.sh [PRESET]     PRESET: default (build/) or asan (build-asan/)
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++ pkg-config qt6-base-dev libqt6opengl6-dev qt6-charts-dev
  libqt6sql6-sqlite libqt6sql6-psql libsqlite3-dev zlib1g-dev libxlsxwriter-dev libminizip-dev
  libfreexl-dev libpq-dev postgresql fonts-noto-cjk xvfb xauth poppler-utils sqlite3)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi

preset=${1:-default}
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
