#!/usr/bin/env bash
# The engine tests under AddressSanitizer and UndefinedBehaviorSanitizer, then
# every fuzz target for FUZZ_SECONDS (default 10) on its seed corpus.
# Expects the packages of scripts/setup.sh to be installed.
set -euo pipefail
cd "$(dirname "$0")/.."
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVISTREL_ENGINE_ONLY=ON \
  -DVISTREL_SANITIZE=ON -DVISTREL_WERROR=ON
cmake --build build-asan
ctest --test-dir build-asan --output-on-failure -j "$(nproc)" --timeout 900

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVISTREL_ENGINE_ONLY=ON -DVISTREL_BUILD_TESTS=OFF -DVISTREL_FUZZ=ON -DVISTREL_WERROR=ON
cmake --build build-fuzz
seconds=${FUZZ_SECONDS:-10}
for fuzzer in build-fuzz/fuzz/*_fuzzer; do
  name=$(basename "$fuzzer")
  corpus=$(mktemp -d)
  if [ -d "fuzz/corpus/$name" ]; then cp -r "fuzz/corpus/$name/." "$corpus/"; fi
  echo "== $name for ${seconds}s"
  "$fuzzer" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 "$corpus" 2>&1 | tail -n 12
  rm -rf "$corpus"
done
