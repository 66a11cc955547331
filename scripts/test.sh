#!/usr/bin/env bash
# Builds both presets and runs every test: natively under the sanitizers, and
# the Windows build under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

jobs=$(nproc)
status=0
echo "== layer order"
scripts/check_layers.sh || status=1
for preset in native windows; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done
for preset in native windows; do
  echo "== tests: $preset"
  ctest --preset "$preset" || status=1
done
build/windows/wine-run --shutdown
exit $status
