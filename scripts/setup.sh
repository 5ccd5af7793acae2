#!/usr/bin/env bash
# Installs what the build needs from Debian's packages (only what is missing),
# then configures and builds the project. Shared by run.sh, test.sh and
# sanitize.sh; CMake arguments after the build folder override the defaults.
#   scripts/setup.sh [build-dir [cmake-arguments...]]
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-"$root/build"}

packages=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
  qt6-base-dev qt6-svg-dev qt6-multimedia-dev qt6-translations-l10n
  libsodium-dev
  kdegames-card-data-kf5
  xvfb xauth libxcb-damage0-dev
  fonts-liberation2 time
  # Installing and packaging, and their checks: the Debian package's file
  # and library scan, the desktop validators, manual pages, the window's
  # class under Xvfb.
  dpkg-dev file lintian desktop-file-utils appstream man-db x11-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update
  "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi

werror=OFF
[ -n "${CI:-}" ] && werror=ON
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESVA_WERROR="$werror" "${@:2}" \
  >/dev/null
cmake --build "$build"
