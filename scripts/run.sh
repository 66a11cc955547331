#!/usr/bin/env bash
# Builds tavrin.exe and starts it under Wine against a local stand-in of the
# maker's service (the Windows build's API URL points at it).
#   With a display: the program opens there; close it to end.
#   Without one: it runs on a private Xvfb display, Run is pressed once, the
#   tweak values found in the registry are printed and a screenshot is written
#   to build/windows/run-screenshot.png.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)" --target tavrin

build=build/windows
api_url=$(sed -n 's/^TAVRIN_API_URL:STRING=//p' "$build/CMakeCache.txt")
if [[ ! $api_url =~ ^http://127\.0\.0\.1:([0-9]+)$ ]]; then
  echo "run.sh: the build's API URL ($api_url) is not a local stand-in" >&2
  exit 1
fi
python3 tests/standin/standin.py start --port "${BASH_REMATCH[1]}" --https-port 0 \
  --state-dir "$build/standin" >/dev/null
trap 'python3 tests/standin/standin.py stop --state-dir "$build/standin" >/dev/null' EXIT

if [[ -n ${DISPLAY:-} ]] && xdpyinfo >/dev/null 2>&1; then
  eval "$("$build/wine-run" --env | sed 's/ DISPLAY=[^ ]*//')"
  # The build's wineserver belongs to the tests' private display, whose size
  # Wine would take for the screen's; start afresh on this one.
  "$build/wine-run" --shutdown
  wine "$build/tavrin.exe"
  exit 0
fi

eval "$("$build/wine-run" --env)"
reg_dword() {  # key value [view]
  wine reg query "$1" /v "$2" ${3:+/reg:$3} 2>/dev/null | tr -d '\r' | awk -v v="$2" '$1 == v { print $3 }'
}
# Generous limits: under emulation every Wine process takes a second or more.
wait_for_status() {
  local deadline=$((SECONDS + 180))
  while ((SECONDS < deadline)); do
    [[ $(reg_dword 'HKCU\Software\Tavrin' status) == "$1" ]] && return 0
    sleep 0.1
  done
  echo "run.sh: Tavrin did not settle" >&2
  return 1
}

wine reg delete 'HKCU\Software\Tavrin' /f >/dev/null 2>&1 || true
wine "$build/tavrin.exe" &
program=$!
window=
deadline=$((SECONDS + 120))
while ((SECONDS < deadline)) && kill -0 "$program" 2>/dev/null; do
  window=$(xdotool search --name '^Tavrin$' 2>/dev/null | head -n 1) && [[ -n $window ]] && break
  sleep 0.1
done
[[ -n $window ]] || { echo "run.sh: no window appeared" >&2; exit 1; }
wait_for_status 0x0

# The start button's centre, in the client area at 96 dpi, below the frame Wine draws.
eval "$(xdotool getwindowgeometry --shell "$window")"
border=$(((WIDTH - 498) / 2))
xdotool mousemove --window "$window" $((border + 257)) $((HEIGHT - border - 426 + 350)) click 1
wait_for_status 0x1
echo "Running. Tweak values in the registry (64-bit view):"
interfaces='HKLM\SYSTEM\CurrentControlSet\Services\Tcpip\Parameters\Interfaces'
wine reg query "$interfaces" /s /reg:64 2>/dev/null | tr -d '\r' |
  grep -E '^HKEY|TcpAckFrequency|TcpDelAckTicks|TCPNoDelay' | grep -B1 -E '^ ' | grep -v '^--' || true
for value in 'HKLM\SOFTWARE\Microsoft\MSMQ\Parameters|TCPNoDelay' \
  'HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Multimedia\SystemProfile|NetworkThrottlingIndex' \
  'HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Multimedia\SystemProfile|SystemResponsiveness'; do
  echo "${value%|*}: ${value#*|} = $(reg_dword "${value%|*}" "${value#*|}" 64)"
done
sleep 0.3
import -display "$DISPLAY" -window "$window" "$build/run-screenshot.png"
echo "Screenshot: $build/run-screenshot.png"
wine taskkill /im tavrin.exe >/dev/null 2>&1 || true
wait
