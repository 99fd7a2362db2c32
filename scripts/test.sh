#!/usr/bin/env bash
# Installs, builds the program and its tests (warnings are errors), and runs
# every test. It reuses what scripts/setup.sh built.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --build build
ctest --test-dir build --output-on-failure -j "$(nproc)" --timeout 600
