#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
"$root/scripts/setup.sh" "$root/build"
ctest --test-dir "$root/build" --output-on-failure -j "$(nproc)"
# The game in the browser: the WebAssembly driver against the native one,
# byte for byte, then the page in Debian's Chromium.
TESVA_WERROR=${CI:+ON} "$root/scripts/web.sh" test
