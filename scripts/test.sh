#!/usr/bin/env bash
# Installs the build and the readers the tests check with, then builds and
# runs every test twice: an optimised build, and a build with
# AddressSanitizer and UndefinedBehaviorSanitizer that stops at the first error.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh --readers

jobs=$(nproc)

cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release
cmake --build build/release -j "$jobs"
ctest --test-dir build/release --output-on-failure -j "$jobs"

cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug -DRESULTS_SANITIZE=ON
cmake --build build/sanitize -j "$jobs"
ASAN_OPTIONS=halt_on_error=1:abort_on_error=0:detect_leaks=1 \
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --test-dir build/sanitize --output-on-failure -j "$jobs"
