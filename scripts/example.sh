#!/usr/bin/env bash
# Builds the tool and shows its command line.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release
cmake --build build/release -j "$(nproc)" --target results
build/release/src/app/results --help
