#!/usr/bin/env bash
# A fuzzing campaign: every fuzz target for SECONDS (default 1800) each, as many
# at a time as there are cores. Each target's corpus lives in
# fuzz/corpus-work/<target> and grows from run to run (seeded from
# fuzz/corpus/<target> the first time); findings land in fuzz/findings/<target>.
#   scripts/fuzz.sh 600                  every target for ten minutes
#   scripts/fuzz.sh 3600 image_psd       the targets whose names contain "image_psd"
# Expects the packages of scripts/setup.sh to be installed.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-1800}
filter=${2:-}

cmake --preset fuzz >/dev/null
cmake --build build-fuzz --target fuzzers

run_one() {
  local fuzzer=$1 seconds=$2 name corpus findings
  name=$(basename "$fuzzer")
  corpus=fuzz/corpus-work/$name
  findings=fuzz/findings/$name
  mkdir -p "$corpus" "$findings"
  if [ -d "fuzz/corpus/$name" ] && [ -z "$(ls -A "$corpus")" ]; then cp -r "fuzz/corpus/$name/." "$corpus/"; fi
  if "$fuzzer" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
       -artifact_prefix="$findings/" "$corpus" > "$findings/log.txt" 2>&1; then
    echo "$name: no finding ($(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$findings/log.txt" | grep -o '[0-9]*$') runs)"
  else
    echo "$name: FINDING, see $findings/"
    return 1
  fi
}
export -f run_one

ls build-fuzz/fuzz/*_fuzzer | grep -- "$filter" |
  xargs -P "$(nproc)" -I{} bash -c 'run_one "$1" "$2"' _ {} "$seconds"
