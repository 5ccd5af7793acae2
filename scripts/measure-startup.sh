#!/usr/bin/env bash
# Measures how long the game takes from its start until its window is shown
# and painted, and its peak memory, beside an empty Qt window of the same
# size (tools/barewindow), under a private Xvfb display. Prints the medians
# of several runs and the game's ratio to the empty window (goal: 1.3 at most).
#   scripts/measure-startup.sh [runs]
# TESVA and BAREWINDOW name other builds of the two programs.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=${1:-11}
tesva=${TESVA:-"$root/build/bin/tesva"}
bare=${BAREWINDOW:-"$root/build/tools/barewindow/barewindow"}
display=:97

for program in "$tesva" "$bare"; do
  if [ ! -x "$program" ]; then
    echo "measure-startup: $program is missing; build it first (cmake --build build)" >&2
    exit 1
  fi
done
for tool in Xvfb /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "measure-startup: $tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
done

work=$(mktemp -d)
xvfb_pid=
finish() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap finish EXIT

Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do
  [ -S "/tmp/.X11-unix/X${display#:}" ] && break
  sleep 0.1
done
[ -S "/tmp/.X11-unix/X${display#:}" ] || { echo "measure-startup: Xvfb did not start" >&2; exit 1; }

# The game keeps its options in a folder of its own here, not the user's.
mkdir -m 700 "$work/runtime" "$work/config"
export DISPLAY=$display QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$work/config" \
  XDG_RUNTIME_DIR="$work/runtime" TESVA_EXIT_ON_FIRST_PAINT=1
unset WAYLAND_DISPLAY

# One run of a program: "<milliseconds to the first paint> <peak KiB>".
measure() {
  local start painted
  start=${EPOCHREALTIME/./}
  /usr/bin/time -f '%M' -o "$work/peak" "$1" >"$work/out" 2>"$work/err"
  painted=$(sed -n 's/^first-paint-us //p' "$work/out")
  if [ -z "$painted" ]; then
    echo "measure-startup: $1 printed no first paint:" >&2
    cat "$work/err" >&2
    exit 1
  fi
  echo "$(( (painted - start) / 1000 )).$(( (painted - start) % 1000 / 100 )) $(tail -n 1 "$work/peak")"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# A first run of each warms the disk cache and writes the game's first-run options.
measure "$tesva" >/dev/null
measure "$bare" >/dev/null
: >"$work/tesva.runs"
: >"$work/bare.runs"
# The two take turns; a pause lets the display server finish with one
# program before the next starts.
for _ in $(seq "$runs"); do
  measure "$tesva" >>"$work/tesva.runs"
  sleep 0.2
  measure "$bare" >>"$work/bare.runs"
  sleep 0.2
done

tesva_ms=$(cut -d' ' -f1 "$work/tesva.runs" | median)
bare_ms=$(cut -d' ' -f1 "$work/bare.runs" | median)
tesva_kb=$(cut -d' ' -f2 "$work/tesva.runs" | median)
bare_kb=$(cut -d' ' -f2 "$work/bare.runs" | median)

echo "Medians of $runs runs (Xvfb $display):"
awk -v tm="$tesva_ms" -v bm="$bare_ms" -v tk="$tesva_kb" -v bk="$bare_kb" 'BEGIN {
  printf "%-22s %12s %12s %8s\n", "", "tesva", "barewindow", "ratio"
  printf "%-22s %12.1f %12.1f %8.2f\n", "first paint (ms)", tm, bm, tm / bm
  printf "%-22s %12.1f %12.1f %8.2f\n", "peak memory (MiB)", tk / 1024, bk / 1024, tk / bk
  printf "goal: ratios of 1.30 at most: start-up %s, memory %s\n",
    (tm / bm <= 1.3 ? "met" : "NOT met"), (tk / bk <= 1.3 ? "met" : "NOT met")
}'
