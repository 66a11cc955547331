#!/usr/bin/env bash
# Start-up benchmark: the time from process creation to the first painted
# window (the window answers once its first paint is done), for tavrin.exe and
# for its floor, a plain window built the same way that finds the active
# adapter first. Both start alternately under one warm Wine server, so that
# the machine's load falls on both alike; prints each one's median and the
# ratio. A benchmark to run and read, not a test.
#   scripts/bench-startup.sh [RUNS]     RUNS starts of each (default 15)
# Uses the configured build in build/windows; a local stand-in answers the
# program's check-in as it would in use.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-15}
build=build/windows
if [[ ! -f $build/CMakeCache.txt ]]; then
  echo "bench-startup.sh: configure the windows preset first (see README.md)" >&2
  exit 1
fi
cmake --build "$build" -j 2 --target tavrin startup_floor startup_probe >/dev/null
eval "$("$build/wine-run" --env)"
results=$(mktemp)
started_standin=false
cleanup() {
  rm -f "$results"
  if $started_standin; then python3 tests/standin/standin.py stop --state-dir "$build/standin" >/dev/null; fi
}
trap cleanup EXIT

api_url=$(sed -n 's/^TAVRIN_API_URL:STRING=//p' "$build/CMakeCache.txt")
if [[ $api_url =~ ^http://127\.0\.0\.1:([0-9]+)$ ]] &&
  ! python3 -c 'import sys, urllib.request; urllib.request.urlopen(sys.argv[1], timeout=1)' \
    "$api_url/_control/info" >/dev/null 2>&1; then
  python3 tests/standin/standin.py start --port "${BASH_REMATCH[1]}" --https-port 0 \
    --state-dir "$build/standin" >/dev/null
  started_standin=true
fi

windows_path() { winepath -w "$1" 2>/dev/null; }

emulated=false
if [[ $("$build/wine-run" --loader) == emulated ]]; then
  emulated=true
  echo "note: Wine's 32-bit loader runs under qemu-i386 emulation on this machine; both programs run"
  echo "several times slower than on Windows and emulation costs differ from native ones, so the"
  echo "ratio below says little about the program on a real machine"
fi
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
wine "$(windows_path "$build/tests/program/startup_probe.exe")" "$runs" \
  "$(windows_path "$build/tavrin.exe")" "$(windows_path "$build/tests/program/startup_floor.exe")" |
  tr -d '\r' | awk '{ name = ($2 ~ /tavrin\.exe$/) ? "tavrin" : "floor"; print $1, name, $3 }' |
  tee "$results" | awk '{ printf "round %2d: %-6s %7s ms\n", $1, $2, $3 }'
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
tavrin=$(awk '$2 == "tavrin" { print $3 }' "$results" | median)
floor=$(awk '$2 == "floor" { print $3 }' "$results" | median)
# The two starts of a round ran under much the same load.
round_ratio=$(awk '{ t[$1, $2] = $3 } $2 == "floor" { r[$1] = 1 }
  END { for (k in r) printf "%.4f\n", t[k, "tavrin"] / t[k, "floor"] }' "$results" | median)
echo "median of $runs: tavrin $tavrin ms, floor $floor ms"
awk -v a="$tavrin" -v b="$floor" -v r="$round_ratio" \
  'BEGIN { printf "ratio of the medians %.2f (median of the rounds'"'"' ratios %.2f)\n", a / b, r }'
if $emulated; then echo "(measured under emulation: see the note above)"; fi
