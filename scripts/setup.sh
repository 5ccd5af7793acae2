#!/usr/bin/env bash
# Installs what the build needs from Debian's packages (only what is missing),
# then configures and builds the project. Shared by run.sh, test.sh and
# sanitize.sh; CMake arguments after the build folder override the defaults.
#   scripts/setup.sh [build-dir [cmake-arguments...]]
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-"$root/build"}

# One entry a package; "a|b" names one package that Debian releases call by
# different names (the first that apt offers is installed).
packages=(
  build-essential cmake ninja-build pkg-config
  # Clang beside GCC, with its runtime (the sanitizers and libFuzzer).
  clang libclang-rt-dev
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev libsodium-dev
  qt6-base-dev qt6-svg-dev qt6-multimedia-dev qt6-translations-l10n
  # The KDE card decks: kdegames-card-data-kf5 up to Debian 12.
  "kdegames-card-data|kdegames-card-data-kf5"
  xvfb xauth libxcb-damage0-dev
  fonts-liberation2 time
  # Installing and packaging, and their checks: the Debian package's file
  # and library scan, the desktop validators, manual pages, the window's
  # class under Xvfb.
  dpkg-dev file lintian desktop-file-utils appstream man-db x11-utils
  # The game in the browser (web/): the WebAssembly compiler, and the
  # browser its tests drive.
  emscripten chromium
)
# Node.js and npm build the page and run its tests. A machine may have
# them from elsewhere (a newer Node.js with its own npm, which Debian's npm
# package would conflict with): Debian's are installed only when missing.
command -v node >/dev/null || packages+=(nodejs)
command -v npm >/dev/null || packages+=(npm)

# The output is read whole before it is searched: grep -q would stop reading
# at the first match, and the writer, cut off, would fail the pipeline.
installed() {
  local status
  status=$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null) || return 1
  [ "$status" = "install ok installed" ]
}
# Whether apt can install the package (after apt-get update).
offered() {
  local policy
  policy=$(apt-cache policy "$1" 2>/dev/null || true)
  grep -q '^  Candidate: [^(]' <<<"$policy"
}

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive

missing=()
for entry in "${packages[@]}"; do
  IFS='|' read -ra names <<<"$entry"
  found=
  for p in "${names[@]}"; do installed "$p" && found=$p && break; done
  [ -n "$found" ] || missing+=("$entry")
done

if [ ${#missing[@]} -gt 0 ]; then
  "${sudo[@]}" apt-get update
  chosen=()
  for entry in "${missing[@]}"; do
    IFS='|' read -ra names <<<"$entry"
    pick=
    for p in "${names[@]}"; do offered "$p" && pick=$p && break; done
    if [ -z "$pick" ]; then
      echo "setup: apt offers none of: ${names[*]}" >&2
      apt-cache policy "${names[@]}" >&2 || true
      exit 1
    fi
    chosen+=("$pick")
  done
  echo "setup: installing ${chosen[*]}"
  "${sudo[@]}" apt-get install -y --no-install-recommends "${chosen[@]}"
fi

# The page's build and test tools from the npm registry, pinned by the
# committed lock file; reinstalled only when the lock file changes.
stamp="$root/web/node_modules/.package-lock.json"
if [ ! -f "$stamp" ] || [ "$root/web/package-lock.json" -nt "$stamp" ]; then
  (cd "$root/web" && npm ci --no-audit --no-fund)
fi

werror=OFF
[ -n "${CI:-}" ] && werror=ON
# Ninja unless the caller's CMAKE_GENERATOR names another; cmake reads the
# generator (and CC, CXX) only when it makes a new build folder.
export CMAKE_GENERATOR=${CMAKE_GENERATOR:-Ninja}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DTESVA_WERROR="$werror" "${@:2}" \
  >/dev/null
cmake --build "$build" --parallel "$(nproc)"
