#!/usr/bin/env bash
# A match between two bots through a local billiards-server: one at full
# strength (seat 0) against one at a weaker setting (seat 1) for a number of
# games, the breakers alternating game by game. Prints who won, how long the
# games were, how long each bot thought per shot and the server's totals.
#
#   tools/bot/play-match.sh [--games N] [--strong LEVEL] [--weak LEVEL]
#                           [--seed N] [--bin DIR] [--keep DIR]
#
# --bin is the folder of billiards-server and billiards-bot (default build/bin),
# --keep a folder that keeps the logs (default: a temporary one, removed).
set -euo pipefail

games=20
strong=5
weak=1
seed=20
bin="$(cd "$(dirname "$0")/../.." && pwd)/build/bin"
keep=""
while [ $# -gt 0 ]; do
  case "$1" in
    --games) games=$2; shift 2 ;;
    --strong) strong=$2; shift 2 ;;
    --weak) weak=$2; shift 2 ;;
    --seed) seed=$2; shift 2 ;;
    --bin) bin=$2; shift 2 ;;
    --keep) keep=$2; shift 2 ;;
    -h|--help) sed -n '2,11p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "play-match: unknown option $1" >&2; exit 2 ;;
  esac
done

if [ -n "$keep" ]; then
  dir=$keep
  mkdir -p "$dir"
else
  dir=$(mktemp -d)
  trap 'rm -rf "$dir"' EXIT
fi

# No shot limit in the rules: a game ends with the black. The limit only
# keeps a run from hanging on a game that never ends.
printf '{"seed": %d, "maxShotsPerGame": 400}\n' "$seed" >"$dir/server.json"

coproc SERVER { exec "$bin/billiards-server" --port 0 --config "$dir/server.json" 2>"$dir/server.log"; }
server_pid=$SERVER_PID
read -r listening <&"${SERVER[0]}"
address=${listening#listening }

start=$(date +%s.%N)
"$bin/billiards-bot" --server "$address" --id 1 --desk 1 --seat 0 --level "$strong" \
  --games "$games" >"$dir/strong.out" 2>"$dir/strong.err" &
strong_pid=$!
"$bin/billiards-bot" --server "$address" --id 2 --desk 1 --seat 1 --level "$weak" \
  --games "$games" >"$dir/weak.out" 2>"$dir/weak.err" &
weak_pid=$!
wait "$strong_pid" "$weak_pid"
end=$(date +%s.%N)
kill -TERM "$server_pid"
wait "$server_pid" || true

played=$(grep -c '^game-over' "$dir/strong.out" || true)
strong_wins=$(grep -c '^game-over winner=0' "$dir/strong.out" || true)
shots=$(grep -c '^shot ' "$dir/strong.out" || true)
summary() { grep '^summary' "$1" | grep -o "\\b$2=[0-9-]*" | cut -d= -f2; }

echo "games: $played, level $strong (seat 0) won $strong_wins, level $weak (seat 1) won $((played - strong_wins))"
awk -v s="$shots" -v g="$played" -v a="$start" -v b="$end" \
  'BEGIN { printf "shots: %d, %.1f per game; %.1f s in all, %.2f s per game\n", s, (g ? s / g : 0), b - a, (g ? (b - a) / g : 0) }'
for side in strong weak; do
  f="$dir/$side.out"
  printf '%s bot: %s shots chosen, %s ms thinking per shot, %s stale choices, %s mismatches, %s network faults\n' \
    "$side" "$(summary "$f" chosen)" \
    "$(awk -v us="$(summary "$f" think_us)" 'BEGIN { printf "%.1f", us / 1000 }')" \
    "$(summary "$f" stale)" "$(summary "$f" mismatches)" "$(summary "$f" faults)"
done
grep 'shut down:' "$dir/server.log" | sed 's/^[^ ]* /server: /'
