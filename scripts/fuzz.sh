#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan, UBSan) and runs one of them,
# or each in turn, for the given seconds (60 by default):
#   scripts/fuzz.sh [all|text_helpers|check_in_reply|translation|http_body] [seconds]
# New inputs go to build/fuzz/corpus/TARGET, findings to build/fuzz/findings;
# the seeds in tests/fuzz/corpus are only read. Add a finding's input there
# once it is fixed, and the test run keeps replaying it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

targets=(text_helpers check_in_reply translation http_body)
chosen=${1:-all}
seconds=${2:-60}
if [[ $chosen != all && ! " ${targets[*]} " =~ " $chosen " ]]; then
  echo "unknown target: $chosen (one of: all ${targets[*]})" >&2
  exit 2
fi

# Runs started side by side share one build.
mkdir -p build
flock build/fuzz.lock sh -c 'cmake --preset fuzz >/dev/null && cmake --build --preset fuzz -j "$(nproc)"'

status=0
for target in "${targets[@]}"; do
  [[ $chosen == all || $chosen == "$target" ]] || continue
  corpus=build/fuzz/corpus/$target
  mkdir -p "$corpus" build/fuzz/findings
  echo "== fuzz: $target for ${seconds}s"
  build/fuzz/tests/fuzz/fuzz_$target -max_total_time="$seconds" -print_final_stats=1 \
    -dict="tests/fuzz/$target.dict" -artifact_prefix="build/fuzz/findings/$target-" \
    "$corpus" "tests/fuzz/corpus/$target" || status=1
done
exit $status
