#!/usr/bin/env bash
# The engine tests under AddressSanitizer and UndefinedBehaviorSanitizer, then
# every fuzz target on its seed corpus for FUZZ_RUNS inputs (default 5000) from a
# fixed seed, at most FUZZ_SECONDS (default 30).
# Expects the packages of scripts/setup.sh to be installed.
set -euo pipefail
cd "$(dirname "$0")/.."
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

cmake --preset asan
cmake --build build-asan
ctest --test-dir build-asan --output-on-failure -j "$(nproc)" --timeout 900

cmake --preset fuzz
cmake --build build-fuzz
# A fixed seed and count make the gate repeatable: the same build fuzzes the
# same inputs every time. Longer hunts: FUZZ_RUNS=-1 FUZZ_SECONDS=600.
runs=${FUZZ_RUNS:-5000}
seconds=${FUZZ_SECONDS:-30}
for fuzzer in build-fuzz/fuzz/*_fuzzer; do
  name=$(basename "$fuzzer")
  corpus=$(mktemp -d)
  if [ -d "fuzz/corpus/$name" ]; then cp -r "fuzz/corpus/$name/." "$corpus/"; fi
  echo "== $name: $runs runs, at most ${seconds}s"
  "$fuzzer" -seed=1 -runs="$runs" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
    "$corpus" 2>&1 | tail -n 12
  rm -rf "$corpus"
done
