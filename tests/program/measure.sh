#!/usr/bin/env bash
# Measures tavrin.exe as built in build/windows: its size and imports, the
# time from process start to the window's first paint (against its floor, see
# scripts/bench-startup.sh) and its CPU use idle and busy under Wine.
# Needs the stand-in at the build's API URL (scripts/run.sh starts one the
# same way) and no other Tavrin running in the build's prefix.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=build/windows
cmake --build "$build" -j "$(nproc)" --target tavrin >/dev/null
eval "$("$build/wine-run" --env)"
api_url=$(sed -n 's/^TAVRIN_API_URL:STRING=//p' "$build/CMakeCache.txt")

echo "tavrin.exe: $(stat -c %s "$build/tavrin.exe") bytes"
echo "imports: $(i686-w64-mingw32-objdump -p "$build/tavrin.exe" | awk '/DLL Name/ { print $3 }' | sort | tr '\n' ' ')"

echo "start to first paint:"
scripts/bench-startup.sh 9 | tail -n 2

cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
cpu_percent_over_10s() {  # unix pid
  local before after
  before=$(cpu_ticks "$1")
  sleep 10
  after=$(cpu_ticks "$1")
  awk -v t="$((after - before))" -v hz="$(getconf CLK_TCK)" 'BEGIN { printf "%.1f", t * 100 / (hz * 10) }'
}

wine "$build/tavrin.exe" &
sleep 3
pid=$(pgrep -f 'tavrin\.exe$' | head -n 1)
echo "CPU idle: $(cpu_percent_over_10s "$pid") %"

# Busy: the service stops answering, so the program probes once a second with
# its indicator turning.
control() { python3 -c 'import sys, urllib.request; urllib.request.urlopen(sys.argv[1]).read()' "$api_url/_control/$1"; }
control 'reply?path=/myip&status=500&body=down&times=100000'
window=$(xdotool search --name '^Tavrin$' | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$window")"
border=$(((WIDTH - 498) / 2))
xdotool mousemove --window "$window" $((border + 257)) $((HEIGHT - border - 426 + 350)) click 1
sleep 1
echo "CPU busy: $(cpu_percent_over_10s "$pid") %"
control reset
wine taskkill /im tavrin.exe >/dev/null 2>&1 || true
wait
