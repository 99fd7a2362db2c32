#!/usr/bin/env bash
# Installs, builds with warnings as errors, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh -DVISTREL_WERROR=ON -DVISTREL_BUILD_TESTS=ON
ctest --test-dir build --output-on-failure -j "$(nproc)" --timeout 600
