#!/usr/bin/env bash
# Builds every preset and runs every test: natively under the sanitizers (the
# fuzz targets' corpora replayed among them), and the Windows build under Wine.
# The fuzz targets are built with libFuzzer too; scripts/fuzz.sh runs them.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

jobs=$(nproc)
status=0
echo "== layer order"
scripts/check_layers.sh || status=1
for preset in native windows fuzz; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done
for preset in native windows; do
  echo "== tests: $preset"
  ctest --preset "$preset" || status=1
done
build/windows/wine-run --shutdown
exit $status
