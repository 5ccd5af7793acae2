#!/usr/bin/env bash
# The time from a key press that plays a card to the next drawing on the
# screen, measured from outside (tools/clickwatch) as a player sees it, for
# two builds of the game in turns, on a private Xvfb display: to show that
# keeping the game after every move does not make a move slower.
#
#   scripts/measure-click.sh A_PROGRAM B_PROGRAM [ROUNDS]   (5 rounds unless given)
#
# Each round starts each program once, with options of its own (a computer
# that answers at once, two hands) and an empty data folder, and plays 20
# cards by their keys. Prints the median and the 90th percentile of each
# program's presses, and how many presses drew. It also gathers the pauses
# between drawings while the table moves (clickwatch --gaps) and prints, for
# each program, how many frames came and how many came late: a pause of 25
# to 100 ms inside a movement is a frame the slide lost (longer pauses are
# the game's own: the end-of-hand wait).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
a=${1:?usage: scripts/measure-click.sh A_PROGRAM B_PROGRAM [ROUNDS]}
b=${2:?usage: scripts/measure-click.sh A_PROGRAM B_PROGRAM [ROUNDS]}
rounds=${3:-5}
watch=${CLICKWATCH:-"$root/build/tools/clickwatch/clickwatch"}
display=${DISPLAY_NUMBER:-63}
[ -x "$watch" ] || { echo "measure-click: $watch is missing; build it first" >&2; exit 1; }

work=$(mktemp -d)
xvfb_pid=
finish() {
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null; fi
  rm -rf "$work"
}
trap finish EXIT
Xvfb ":$display" -screen 0 1280x1024x24 -noreset >/dev/null 2>&1 &
xvfb_pid=$!
sleep 1

run() {  # program, file of figures
  rm -rf "$work/home" && mkdir -p "$work/home/config/Tesva (TT)" "$work/home/data" "$work/home/runtime"
  chmod 700 "$work/home/runtime"
  printf '[Secenekler]\nSeviye=2\nCpuDusunmeHizi=10\nOyuncuIsim=Ayşe\nCpuIsim=Can\nElSayisi=2\n' \
    >"$work/home/config/Tesva (TT)/Tesva (TT).ini"
  DISPLAY=":$display" QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$work/home/config" \
    XDG_DATA_HOME="$work/home/data" XDG_RUNTIME_DIR="$work/home/runtime" \
    "$watch" --presses 20 --gaps "$2.gaps" "$1" >>"$2" 2>>"$work/missed"
}
for ((r = 0; r < rounds; r++)); do
  run "$a" "$work/a"
  run "$b" "$work/b"
done
summary() {
  sort -n "$1" | awk -v name="$2" '{ v[NR] = $1 } END {
    printf "%s: %d presses drew, median %.2f ms, 90th percentile %.2f ms\n", name, NR,
      v[int((NR + 1) / 2)], v[int(NR * 0.9 + 0.5)] }'
}
frames() {
  sort -n "$1.gaps" | awk -v name="$2" '$1 < 100 { v[++n] = $1; if ($1 >= 25) late++ } END {
    printf "%s: %d frames while moving, median pause %.1f ms, 99th percentile %.1f ms, %d late (25-100 ms)\n",
      name, n, v[int((n + 1) / 2)], v[int(n * 0.99 + 0.5)], late + 0 }'
}
summary "$work/a" "A $a"
summary "$work/b" "B $b"
frames "$work/a" "A"
frames "$work/b" "B"
echo "presses that drew nothing: $(awk '{ s += $2 } END { print s + 0 }' "$work/missed")"
echo "load: $(uptime)"
