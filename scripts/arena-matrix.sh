#!/usr/bin/env bash
# Plays every pairing of amator, pro, usta and greedy, both seats, with
# tesva-arena and prints the matrix of the human seat's win rates as a
# Markdown table (rows: human seat, columns: computer seat): win rate, Wilson
# 95% interval, drawn games, mean points of both, games.
#   scripts/arena-matrix.sh [GAMES_WITH_USTA_OR_PRO_VS_GREEDY] [OTHER_GAMES] [SEED]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
arena="$root/build/bin/tesva-arena"
big=${1:-2000}
small=${2:-1000}
seed=${3:-1}
players=(amator pro usta greedy)

field() { sed -E "s/.*\"$1\":([^,}]*).*/\1/" <<<"$2"; }
interval() { sed -E 's/.*"human_win_rate_ci95":\[([^,]*),([^]]*)\].*/\1 \2/' <<<"$1"; }

printf '| human \\ computer |'
for c in "${players[@]}"; do printf ' %s |' "$c"; done
printf '\n|---|---|---|---|---|\n'
for h in "${players[@]}"; do
  printf '| %s |' "$h"
  for c in "${players[@]}"; do
    games=$small
    case "$h $c" in *usta* | "pro greedy" | "greedy pro") games=$big ;; esac
    json=$("$arena" --games "$games" --seed "$seed" --json "$h" "$c")
    read -r low high < <(interval "$json")
    awk -v w="$(field human_won "$json")" -v d="$(field drawn "$json")" -v n="$games" \
      -v lo="$low" -v hi="$high" -v hp="$(field human_mean_points "$json")" \
      -v cp="$(field computer_mean_points "$json")" \
      'BEGIN { printf " %.1f%% (%.1f–%.1f), %d drawn, %.0f:%.0f, n=%d |", 100*w/n, 100*lo, 100*hi, d, hp, cp, n }'
  done
  printf '\n'
done
