#!/usr/bin/env bash
# Installs what is missing, builds, and starts the game.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
"$root/scripts/setup.sh" "$root/build"

# ./run.sh --web [PORT]: the game in the browser, served on this machine.
if [ "${1:-}" = "--web" ]; then
  exec "$root/scripts/web.sh" serve "${2:-0}"
fi

if [ -x "$root/build/bin/tesva" ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
  exec "$root/build/bin/tesva" "$@"
fi
echo "run.sh: no display found; playing a short demo game with tesva-headless instead." >&2
exec "$root/build/bin/tesva-headless" "$root/scripts/demo.txt"
