#!/usr/bin/env bash
# How far each fuzz target gets from its seed corpus in the gate's fixed
# number of runs: coverage (cov) and features (ft) after 1,000, 5,000 and
# 20,000 runs from -seed=1 (at most 90 seconds: then the runs made are
# shown), and the seconds taken. The figures for
# the README's fuzzing section, and for choosing the counts in
# fuzz/gate-runs.txt.
#   scripts/fuzz-depth.sh [NAME-PART]     (after cmake --build build-fuzz --target fuzzers)
set -euo pipefail
cd "$(dirname "$0")/.."
filter=${1:-}
printf '%-28s %14s %14s %14s %8s %8s\n' target "1000 runs" "5000 runs" "20000 runs" runs seconds
for fuzzer in $(ls build-fuzz/fuzz/*_fuzzer | grep -- "$filter"); do
  name=$(basename "$fuzzer")
  corpus=$(mktemp -d)
  if [ -d "fuzz/corpus/$name" ]; then cp -r "fuzz/corpus/$name/." "$corpus/"; fi
  start=$(date +%s%N)
  log=$("$fuzzer" -seed=1 -runs=20000 -max_total_time=90 -rss_limit_mb=2048 -timeout=10 "$corpus" 2>&1 || true)
  tenths=$((($(date +%s%N) - start) / 100000000))
  rm -rf "$corpus"
  # The last status line at or before each count: "#N ... cov: C ft: F ...".
  at() {
    echo "$log" | awk -v n="$1" '$1 ~ /^#[0-9]+$/ && substr($1, 2) + 0 <= n {
      for (i = 2; i < NF; i++) { if ($i == "cov:") c = $(i + 1); if ($i == "ft:") f = $(i + 1) } }
      END { printf "%s/%s", c, f }'
  }
  runs=$(echo "$log" | grep -o '^#[0-9][0-9]*' | tail -n 1 | tr -d '#')
  printf '%-28s %14s %14s %14s %8s %6d.%d\n' "$name" "$(at 1000)" "$(at 5000)" "$(at 20000)" "$runs" \
    $((tenths / 10)) $((tenths % 10))
done
