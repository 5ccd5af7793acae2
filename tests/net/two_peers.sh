#!/usr/bin/env bash
# Two programs play a whole game over loopback TCP (the host listens on a
# port the system chooses): both end well, print the same pairing code and
# the same public events, and the game ends with its result.
set -euo pipefail
peer=$1
dir=$(mktemp -d)
trap 'kill "${host:-}" 2>/dev/null || true; rm -rf "$dir"' EXIT
: >"$dir/host"  # there before the host's first line, which it may not have written yet
"$peer" host 0 2 Ev >"$dir/host" 2>&1 &
host=$!
# The port is read from a whole line only: `read` leaves out a last line
# that has no newline yet, which may still be missing digits.
port=
for _ in $(seq 200); do
  while IFS= read -r line; do
    [[ $line =~ ^port\ ([0-9]+)$ ]] && port=${BASH_REMATCH[1]}
  done <"$dir/host"
  [ -n "$port" ] && break
  kill -0 "$host" 2>/dev/null || break
  sleep 0.05
done
if [ -z "$port" ]; then
  echo "the host printed no port:" >&2
  cat "$dir/host" >&2
  exit 1
fi
timeout 60 "$peer" join 127.0.0.1 "$port" Konuk >"$dir/guest" 2>&1
wait "$host"
grep -v '^port ' "$dir/host" >"$dir/host.events"
diff "$dir/host.events" "$dir/guest"
grep -Eq '^code [0-9]{6}$' "$dir/guest"
grep -q '^hand 2 base ' "$dir/guest"
[ "$(grep -c '^play ' "$dir/guest")" -eq 96 ]
grep -Eq '^game over [0-9]+ [0-9]+$' "$dir/guest"
echo "two programs played a whole game: $(tail -1 "$dir/guest")"
# A host nobody calls gives up with a message instead of waiting for ever.
if TESVA_PEER_WAIT=1 "$peer" host 0 >"$dir/alone" 2>&1; then
  echo "a host without a guest ended well" >&2
  exit 1
fi
grep -q '^tesva-peer: no guest came in 1 s$' "$dir/alone"
