#!/usr/bin/env bash
# Two programs play a whole game over loopback TCP (the host listens on a
# port the system chooses): both end well, print the same pairing code and
# the same public events, and the game ends with its result.
set -euo pipefail
peer=$1
dir=$(mktemp -d)
trap 'kill "${host:-}" 2>/dev/null || true; rm -rf "$dir"' EXIT
"$peer" host 0 2 Ev >"$dir/host" 2>&1 &
host=$!
for _ in $(seq 100); do grep -q '^port ' "$dir/host" && break; sleep 0.1; done
port=$(awk '/^port /{print $2}' "$dir/host")
timeout 60 "$peer" join 127.0.0.1 "$port" Konuk >"$dir/guest" 2>&1
wait "$host"
grep -v '^port ' "$dir/host" >"$dir/host.events"
diff "$dir/host.events" "$dir/guest"
grep -Eq '^code [0-9]{6}$' "$dir/guest"
grep -q '^hand 2 base ' "$dir/guest"
[ "$(grep -c '^play ' "$dir/guest")" -eq 96 ]
grep -Eq '^game over [0-9]+ [0-9]+$' "$dir/guest"
echo "two programs played a whole game: $(tail -1 "$dir/guest")"
