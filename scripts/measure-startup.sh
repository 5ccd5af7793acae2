#!/usr/bin/env bash
# How quickly the game starts and how much memory it takes, measured from
# outside as a person sees it, beside an empty Qt window of the same size
# (tools/barewindow) on the same machine in the same minutes.
#
#   scripts/measure-startup.sh [RUNS]      (31 runs of each unless given)
#
# Both programs run on a private Xvfb display, in turns (game, empty window,
# game, ...) so that any load on the machine hits both alike. For every run
# tools/startupwatch records, from the moment the program is started:
#   mapped  when its window is mapped on the display,
#   drawn   the last drawing on the screen before it stays unchanged for a
#           second (the first complete picture of the window),
#   memory  the program's peak resident memory after that idle second,
#           with everything start-up loads, read once it is ended from
#           outside.
# The table gives the medians and the game's ratio to the empty window; the
# goals are a ratio of at most 1.3 for "drawn" and for memory.
#
# Environment: TESVA, BAREWINDOW and STARTUPWATCH name other builds of the
# three programs; CPUS (e.g. "1") pins both programs to those processors
# with taskset; REALTIME=1 runs the display and both programs under the
# real-time scheduler (chrt, needs root), so that other work on a busy
# machine waits for them instead of the other way round; RAW names a file
# to keep every run's figures in.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=${1:-31}
tesva=${TESVA:-"$root/build/bin/tesva"}
bare=${BAREWINDOW:-"$root/build/tools/barewindow/barewindow"}
watch=${STARTUPWATCH:-"$root/build/tools/startupwatch/startupwatch"}
goal=1.3

case $runs in '' | *[!0-9]* | 0)
  echo "usage: scripts/measure-startup.sh [RUNS]" >&2
  exit 2
  ;;
esac
for program in "$tesva" "$bare" "$watch"; do
  if [ ! -x "$program" ]; then
    echo "measure-startup: $program is missing; build it first (scripts/setup.sh)" >&2
    exit 1
  fi
done
command -v Xvfb >/dev/null || { echo "measure-startup: Xvfb is missing (scripts/setup.sh installs it)" >&2; exit 1; }
pin=()
if [ -n "${CPUS:-}" ]; then pin=(taskset -c "$CPUS"); fi
realtime=()
if [ "${REALTIME:-0}" = 1 ]; then realtime=(chrt -f 10); fi

work=$(mktemp -d)
xvfb_pid=
finish() {
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null; fi
  rm -rf "$work"
}
trap finish EXIT

# A display of its own: nothing else draws on it. -noreset keeps it alive
# between programs.
exec 3>"$work/display"
"${realtime[@]}" Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || { echo "measure-startup: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }

# The game keeps its options in a folder of its own here, not the user's.
mkdir -m 700 "$work/runtime" "$work/config"
export DISPLAY=:$(head -n 1 "$work/display") QT_QPA_PLATFORM=xcb \
  XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
unset WAYLAND_DISPLAY

# One run: "<ms mapped> <ms drawn> <peak KiB> <drawings>".
measure() {
  if ! "${realtime[@]}" "${pin[@]}" "$watch" "$1" 2>"$work/err"; then
    echo "measure-startup: $1 could not be measured:" >&2
    cat "$work/err" >&2
    exit 1
  fi
}

# A first run of each fills the disk cache and writes the game's first-run
# options; it is not counted.
measure "$tesva" >/dev/null
measure "$bare" >/dev/null
: >"$work/tesva"
: >"$work/bare"
load_before=$(cut -d' ' -f1 /proc/loadavg 2>/dev/null || echo '?')
for i in $(seq "$runs"); do
  printf '\rrun %d of %d' "$i" "$runs" >&2
  measure "$tesva" >>"$work/tesva"
  measure "$bare" >>"$work/bare"
done
printf '\r%*s\r' 20 '' >&2
load_after=$(cut -d' ' -f1 /proc/loadavg 2>/dev/null || echo '?')
if [ -n "${RAW:-}" ]; then
  paste -d' ' "$work/tesva" "$work/bare" |
    awk 'BEGIN { print "tesva: mapped drawn KiB drawings | barewindow: mapped drawn KiB drawings" } { print }' >"$RAW"
fi

# The median of column $1 of file $2.
median() {
  cut -d' ' -f"$1" "$2" | sort -g |
    awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

echo "Medians of $runs alternating runs on Xvfb, $(nproc) processors," \
  "load average ${load_before} before and ${load_after} after${CPUS:+, pinned to processors $CPUS}${realtime:+, real-time scheduling}:"
awk -v goal="$goal" \
  -v tm="$(median 1 "$work/tesva")" -v bm="$(median 1 "$work/bare")" \
  -v td="$(median 2 "$work/tesva")" -v bd="$(median 2 "$work/bare")" \
  -v tk="$(median 3 "$work/tesva")" -v bk="$(median 3 "$work/bare")" 'BEGIN {
  printf "%-24s %10s %12s %7s\n", "", "tesva", "barewindow", "ratio"
  printf "%-24s %10.1f %12.1f %7.2f\n", "window mapped (ms)", tm, bm, tm / bm
  printf "%-24s %10.1f %12.1f %7.2f\n", "window drawn (ms)", td, bd, td / bd
  printf "%-24s %10.1f %12.1f %7.2f\n", "peak memory (MiB)", tk / 1024, bk / 1024, tk / bk
  printf "goal, ratios of %.1f at most: drawn %s, memory %s\n", goal,
    (td / bd <= goal ? "met" : "NOT met"), (tk / bk <= goal ? "met" : "NOT met")
}'
