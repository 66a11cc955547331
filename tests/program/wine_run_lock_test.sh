#!/usr/bin/env bash
# The display and wineserver that wine-run starts outlive it; none of them may
# keep its lock open, or one failed start would block every later test.
set -euo pipefail
wine_run=$1
lock_file="$(dirname "$wine_run")/wine-run.lock"

"$wine_run" --env >/dev/null

holders=()
for fd in /proc/[0-9]*/fd/*; do
  [[ $(readlink "$fd" 2>/dev/null) == "$lock_file" ]] && holders+=("$(cut -d/ -f3 <<<"$fd")")
done
if ((${#holders[@]})); then
  echo "processes still holding $lock_file:" >&2
  ps -o pid=,args= -p "$(IFS=,; echo "${holders[*]}")" >&2
  exit 1
fi
flock -n "$lock_file" true || { echo "$lock_file is still locked" >&2; exit 1; }
echo "lock released; display and wineserver run without it"
