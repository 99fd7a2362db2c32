#!/usr/bin/env bash
# The engine tests under AddressSanitizer and UndefinedBehaviorSanitizer, then
# every fuzz target on its seed corpus for its count of inputs
# (fuzz/gate-runs.txt, or FUZZ_RUNS for all) from a fixed seed, at most
# FUZZ_SECONDS (default 60, a safety net the counts stay well inside) each.
# Expects the packages of scripts/setup.sh to be installed.
set -euo pipefail
cd "$(dirname "$0")/.."
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

cmake --preset asan
cmake --build build-asan
ctest --test-dir build-asan --output-on-failure -j "$(nproc)" --timeout 900

cmake --preset fuzz
cmake --build build-fuzz --target fuzzers
# A fixed seed and count make the gate repeatable: the same build fuzzes the
# same inputs every time. Each target runs the count fuzz/gate-runs.txt gives
# it (measured to reach the plateau of the first depth of its formats; see the
# README) unless FUZZ_RUNS is set, two targets at a time. Longer hunts:
# scripts/fuzz.sh.
gate_one() {
  local fuzzer=$1 name runs corpus output status=0
  name=$(basename "$fuzzer")
  runs=${FUZZ_RUNS:-$(awk -v name="$name" '$1 == name { print $2 }' fuzz/gate-runs.txt)}
  runs=${runs:-5000}
  corpus=$(mktemp -d)
  if [ -d "fuzz/corpus/$name" ]; then cp -r "fuzz/corpus/$name/." "$corpus/"; fi
  output=$("$fuzzer" -seed=1 -runs="$runs" -max_total_time="${FUZZ_SECONDS:-60}" -rss_limit_mb=2048 -timeout=10 \
    -print_final_stats=1 "$corpus" 2>&1) || status=$?
  rm -rf "$corpus"
  printf '== %s: %s runs, at most %ss\n%s\n' "$name" "$runs" "${FUZZ_SECONDS:-60}" "$(echo "$output" | tail -n 12)"
  return $status
}
export -f gate_one
ls build-fuzz/fuzz/*_fuzzer | xargs -P 2 -I{} bash -c 'gate_one "$1"' _ {}
